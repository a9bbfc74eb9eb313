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

#include "toolkit/handles.h"
#include "bench/measure.h"
#include "capture/region_frame.h"

int main() {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const std::string suffix = bench::DisplayName(cx);
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
    const auto measured = bench::Compare(kRuns, step, bare);
    capture::DrawRegionFrame(screen.get(), small);  // even number of steps: erases the frame
    std::printf("bench: region_step_ms_%s %.3f ms\n", suffix.c_str(), measured.ms);
    std::printf("bench: region_step_ratio_%s %.3f ratio\n", suffix.c_str(), measured.ratio);
    return 0;
}
