// The outline following the pointer between two windows of another thread.
// pick_move_ms: the pick's own work for one move, as it runs once the hook has
// handed the point on (the window under it, its visible frame, the outline
// moved and drawn). pick_move_input_ms: from a real pointer move to the
// outline shown, which adds how long the system takes to bring the move to
// the hook (under Wine on a busy machine, most of it).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "capture/pick_overlay.h"
#include "capture/screen_grab.h"
#include "capture/screen_layout.h"
#include "capture/window_pick.h"
#include "tests/support/input.h"
#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/visible_frame.h"

using testing_support::PumpUntil;

int main() {
    OleInitialize(nullptr);
    const std::string display = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    const std::string suffix = display == "twin" ? "" : "_" + display;
    std::atomic<HWND> left{nullptr}, right{nullptr};
    std::atomic<bool> stop{false};
    std::atomic<int> moveTo{-1};  // the window the person moves to next
    std::thread other([&] {
        testing_support::PatternWindow a(300, 300, 400, 300, L"left");
        testing_support::PatternWindow b(900, 300, 400, 300, L"right");
        left = a.hwnd();
        right = b.hwnd();
        while (!stop) testing_support::Pump(10);
    });
    while (!left || !right) Sleep(10);
    const auto centre = [](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const toolkit::UniqueHandle go(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    const auto moveOn = [&](int to) {
        moveTo = to;
        SetEvent(go.get());
    };
    std::thread person([&] {
        while (WaitForSingleObject(go.get(), INFINITE) == WAIT_OBJECT_0 && !stop) {
            const int to = moveTo.exchange(-1);
            if (to >= 0) testing_support::MouseTo(centre(to ? right : left));
        }
    });
    std::vector<double> times;
    int lost = 0;
    {
        app::FrmMain form;
        if (!form.Load()) return 1;
        form.Show();
        SetForegroundWindow(form.hwnd());
        testing_support::Pump(300);
        moveOn(0);
        PumpUntil([&] { return moveTo == -1; });
        testing_support::Pump(100);
        form.mnuPickWindow_Click();
        const HWND outline = capture::WindowPickOutline();
        for (int run = 0; run < 41; ++run) {
            const HWND target = run % 2 ? left : right;
            RECT want;
            GetWindowRect(target, &want);
            const double ms = bench::TimeMs([&] {
                moveOn(run % 2 ? 0 : 1);
                lost += !PumpUntil(
                    [&] {
                        RECT r{};
                        return GetWindowRect(outline, &r) && EqualRect(&r, &want);
                    },
                    2000);
            });
            times.push_back(ms);
        }
        std::thread user([] { testing_support::PressKeys({VK_ESCAPE}); });
        PumpUntil([&] { return !IsIconic(form.hwnd()); });
        user.join();
    }
    double work = 0;
    {
        capture::PickOverlay outline(nullptr);
        work = bench::MedianMs(41, [&](int i) {
            const HWND under =
                capture::PickableWindowAt(centre(i % 2 ? left : right), GetCurrentThreadId());
            outline.Show(capture::ClampTo(toolkit::VisibleFrame(under), capture::VirtualScreen())
                             .value_or(capture::Rect32{}),
                         3);
        });
    }
    stop = true;
    SetEvent(go.get());
    person.join();
    other.join();
    if (lost) std::printf("the outline did not follow in %d of 41 moves\n", lost);
    std::printf("bench: pick_move_ms%s %.2f ms\n", suffix.c_str(), work);
    std::printf("bench: pick_move_input_ms%s %.2f ms\n", suffix.c_str(), bench::Median(times));
    OleUninitialize();
    return lost ? 1 : 0;
}
