// From the free-capture command to the selection armed: the window minimized,
// the crosshair shown and the press awaited anywhere on the screen.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "app/toolkit/runtime.h"

namespace {

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (GetTickCount() > end) return false;
        Sleep(1);
    }
}

HCURSOR CursorShown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

// A click that ends the selection, from another thread as a person's would.
void Click(POINT at) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = at.x * 65535 / (cx - 1);
        i.mi.dy = at.y * 65535 / (cy - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(2, in, sizeof in[0]);
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    toolkit::SetMsgBoxHandler([](HWND, const std::wstring&, UINT, const std::wstring&) { return IDOK; });
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
            if (!PumpUntil([&] { return IsIconic(form.hwnd()) && CursorShown() == cross; })) return 1;
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            std::thread user(Click, corner);
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
