// GrabFullScreen against a bare BitBlt of the same screen, in the same run;
// and the whole entire-screen command, with the window stepping out of the
// picture and the wait for the screen beneath.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/frm_main.h"
#include "bench/bare_screen.h"
#include "bench/measure.h"
#include "capture/capture_core.h"
#include "tests/support/wait.h"

int main() {
    OleInitialize(nullptr);
    const std::string suffix = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    // Warm both paths up so neither pays the first-use costs.
    capture::GrabFullScreen();
    bench::BareScreenBitBlt();
    const auto grab = bench::Compare(
        41, [](int) { capture::GrabFullScreen(); }, [](int) { bench::BareScreenBitBlt(); });
    std::printf("bench: grab_full_screen_ms_%s %.2f ms\n", suffix.c_str(), grab.ms);
    std::printf("bench: grab_full_screen_ratio_%s %.3f ratio\n", suffix.c_str(), grab.ratio);

    app::FrmMain form;
    if (!form.Load()) return 1;
    form.Show();
    SetForegroundWindow(form.hwnd());
    testing_support::Pump(300);
    // Untimed between runs, the window repaints, as it has when a user gives the command.
    const auto command = bench::Compare(
        41, [&](int) { form.mnuScreen_Click(); }, [](int) { bench::BareScreenBitBlt(); },
        [] { testing_support::Pump(30); });
    std::printf("bench: screen_command_ms_%s %.2f ms\n", suffix.c_str(), command.ms);
    std::printf("bench: screen_command_ratio_%s %.3f ratio\n", suffix.c_str(), command.ratio);
    OleUninitialize();
    return 0;
}
