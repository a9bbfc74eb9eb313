// GrabFullScreen against a bare BitBlt of the same screen, in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/toolkit/handles.h"
#include "capture/capture_core.h"

namespace {

template <typename F>
double MedianMs(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

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
    const char* display = std::getenv("FOTOLARK_BENCH_DISPLAY");
    const std::string suffix = display ? display : "1080p";
    constexpr int kRuns = 20;
    // Warm both paths up so neither pays the first-use costs.
    capture::GrabFullScreen();
    BareBitBlt();
    const double bare = MedianMs(kRuns, BareBitBlt);
    const double grab = MedianMs(kRuns, [] { capture::GrabFullScreen(); });
    std::printf("bench: grab_full_screen_ms_%s %.2f ms\n", suffix.c_str(), grab);
    std::printf("bench: grab_full_screen_ratio_%s %.3f ratio\n", suffix.c_str(), grab / bare);
    OleUninitialize();
    return 0;
}
