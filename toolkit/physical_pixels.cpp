#include "toolkit/physical_pixels.h"

#include <windows.h>

namespace toolkit {

namespace {

using SetContext = void*(WINAPI*)(void*);
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; the headers for Windows 7 lack it.
void* const kPerMonitorV2 = reinterpret_cast<void*>(intptr_t(-4));

// Looked up once: linking to it would keep the program from starting on Windows 7.
SetContext SetThreadContext() {
    static const SetContext set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    return set;
}

}  // namespace

bool PhysicalPixels::Available() { return SetThreadContext() != nullptr; }

PhysicalPixels::PhysicalPixels() {
    // Fails (null) before Windows 10 1703, which has no v2 context; nothing to undo then.
    if (const SetContext set = SetThreadContext()) previous_ = set(kPerMonitorV2);
}

PhysicalPixels::~PhysicalPixels() {
    if (previous_) SetThreadContext()(previous_);
}

}  // namespace toolkit
