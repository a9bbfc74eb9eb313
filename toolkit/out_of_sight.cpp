#include "toolkit/out_of_sight.h"

#include <dwmapi.h>

#include "toolkit/handles.h"

namespace toolkit {

namespace {
// Long enough for the programs beneath to repaint, seen to take up to 50 ms.
constexpr DWORD kRepaintMilliseconds = 100;
}  // namespace

OutOfSight::OutOfSight(HWND hwnd) : hwnd_(hwnd) {
    UniqueRegion nothing(CreateRectRgn(0, 0, 0, 0));
    if (SetWindowRgn(hwnd_, nothing.get(), TRUE)) nothing.release();  // the window's now
}

// The window had no region of its own to give back.
OutOfSight::~OutOfSight() { SetWindowRgn(hwnd_, nullptr, TRUE); }

void WaitForScreenBeneath() {
    BOOL composed = FALSE;
    if (SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed)
        DwmFlush();
    else
        Sleep(kRepaintMilliseconds);
}

void ReclaimKeyboard(HWND hwnd) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetForegroundWindow(hwnd);
    SetFocus(nullptr);
    SetFocus(hwnd);
}

}  // namespace toolkit
