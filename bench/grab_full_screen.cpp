// GrabFullScreen against a bare BitBlt of the same screen, in the same run.
#include <windows.h>

#include <cstdio>
#include <string>

#include "toolkit/handles.h"
#include "bench/measure.h"
#include "capture/capture_core.h"

namespace {

void BareBitBlt() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    toolkit::WindowDC screen(GetDesktopWindow(), toolkit::WindowDC::Area::Whole);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    toolkit::SelectGuard selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    const std::string suffix = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    // Warm both paths up so neither pays the first-use costs.
    capture::GrabFullScreen();
    BareBitBlt();
    const auto grab = bench::Compare(
        41, [](int) { capture::GrabFullScreen(); }, [](int) { BareBitBlt(); });
    std::printf("bench: grab_full_screen_ms_%s %.2f ms\n", suffix.c_str(), grab.ms);
    std::printf("bench: grab_full_screen_ratio_%s %.3f ratio\n", suffix.c_str(), grab.ratio);
    OleUninitialize();
    return 0;
}
