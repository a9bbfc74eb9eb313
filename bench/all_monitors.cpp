// The all-displays capture against a bare BitBlt of the virtual screen, pair
// by pair in the same run.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/measure.h"
#include "capture/screen_grab.h"
#include "toolkit/handles.h"

namespace {

void BareBitBlt() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    toolkit::SelectGuard selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    const std::string display = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    const std::string suffix = display == "twin" ? "" : "_" + display;
    capture::GrabAllMonitors();  // first-use costs out of the pairs
    BareBitBlt();
    const auto grab = bench::Compare(
        41, [](int) { capture::GrabAllMonitors(); }, [](int) { BareBitBlt(); });
    std::printf("bench: all_monitors_ms%s %.2f ms\n", suffix.c_str(), grab.ms);
    std::printf("bench: all_monitors_ratio%s %.3f ratio\n", suffix.c_str(), grab.ratio);
    OleUninitialize();
    return 0;
}
