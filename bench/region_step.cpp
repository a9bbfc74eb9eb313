// One mouse-move step of the selection's rubber band (erase, then draw the
// frame and label one pixel larger) against a bare pair of four-PatBlt frame
// inversions of the same rectangle, on the display as during a drag.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/toolkit/handles.h"
#include "capture/region_frame.h"

namespace {

template <typename F>
double MedianMs(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f(i);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const char* display = std::getenv("FOTOLARK_BENCH_DISPLAY");
    const std::string suffix = display ? display : cx >= 3840 ? "4k" : "1080p";
    toolkit::UniqueDC screen(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!screen) return 1;
    const capture::Rect32 small{(cx - 1000) / 2, (cy - 700) / 2, (cx - 1000) / 2 + 1000, (cy - 700) / 2 + 700};
    const capture::Rect32 large{small.left, small.top, small.right + 1, small.bottom + 1};
    const capture::Rect32 rects[2] = {small, large};
    constexpr int kRuns = 200;

    // Reading a pixel back waits until the display has done the drawing:
    // Wine hands it to the X server without waiting.
    const auto finish = [&] { GetPixel(screen.get(), small.left, small.top); };
    capture::DrawRegionFrame(screen.get(), small);
    const auto step = [&](int i) {
        capture::DrawRegionFrame(screen.get(), rects[i % 2]);
        capture::DrawRegionFrame(screen.get(), rects[(i + 1) % 2]);
        finish();
    };
    const auto bare = [&](int) {
        for (int pass = 0; pass < 2; ++pass)
            for (const capture::Stroke& s : capture::FrameStrokes(small))
                PatBlt(screen.get(), s.x, s.y, s.width, s.height, DSTINVERT);
        finish();
    };
    for (int i = 0; i < 10; ++i) step(i), bare(i);  // first-use costs out of the way
    const double stepMs = MedianMs(kRuns, step);
    const double bareMs = MedianMs(kRuns, bare);
    capture::DrawRegionFrame(screen.get(), small);  // even number of steps: erases the frame
    std::printf("bench: region_step_ms_%s %.3f ms\n", suffix.c_str(), stepMs);
    std::printf("bench: region_step_ratio_%s %.3f ratio\n", suffix.c_str(), stepMs / bareMs);
    return 0;
}
