// From the free-capture command to the selection armed: the window minimized,
// the crosshair shown and the press awaited anywhere on the screen.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "tests/support/input.h"
#include "tests/support/wait.h"
#include "toolkit/runtime.h"

using testing_support::PumpUntil;

int main() {
    OleInitialize(nullptr);
    toolkit::SetMsgBoxHandler(
        [](HWND, const std::wstring&, UINT, const std::wstring&) { return IDOK; });
    const std::string display = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    const std::string name = display == "1080p" ? "arm_ms" : "arm_ms_" + display;
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    std::vector<double> times;
    {
        app::FrmMain form;
        if (!form.Load()) return 1;
        form.Show();
        SetForegroundWindow(form.hwnd());
        PumpUntil([] { return false; }, 300);
        const POINT corner{GetSystemMetrics(SM_CXSCREEN) - 50, 50};
        for (int run = 0; run < 21; ++run) {
            const auto start = std::chrono::steady_clock::now();
            form.mnuDistrict_Click();
            if (!PumpUntil([&] {
                    return IsIconic(form.hwnd()) && testing_support::CursorShown() == cross;
                }))
                return 1;
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            std::thread user(testing_support::Click, corner);
            const bool done = PumpUntil([&] {
                return !IsIconic(form.hwnd()) && form.GetScaleMode() == toolkit::ScaleMode::Twips;
            });
            user.join();
            if (!done) return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("bench: %s %.2f ms\n", name.c_str(), times[times.size() / 2]);
    OleUninitialize();
    return 0;
}
