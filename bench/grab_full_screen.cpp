// GrabFullScreen against a bare BitBlt of the same screen, in the same run;
// and the whole entire-screen command, with the window stepping out of the
// picture and the wait for the screen beneath.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "capture/capture_core.h"
#include "tests/support/wait.h"
#include "toolkit/handles.h"

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

    app::FrmMain form;
    if (!form.Load()) return 1;
    form.Show();
    SetForegroundWindow(form.hwnd());
    testing_support::Pump(300);
    const double command = bench::MedianMs(11, [&](int) { form.mnuScreen_Click(); });
    std::printf("bench: screen_command_ms_%s %.2f ms\n", suffix.c_str(), command);
    OleUninitialize();
    return 0;
}
