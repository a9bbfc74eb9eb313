// One mouse-move step of the selection's rubber band (erase, then draw the
// frame and label one pixel larger) against a bare pair of four-PatBlt frame
// inversions of the same rectangle, on the display as during a drag: what the
// drawing calls cost the program, without the display's own round trip.
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
    // Each sample times a batch of steps, then waits for the display untimed:
    // a round trip to the X server costs as much as a step and varies from
    // one process to the next by half, which no number of pairs evens out.
    constexpr int kPairs = 201, kBatch = 20;

    // Reading a pixel back waits until the display has done the drawing:
    // Wine hands it to the X server without waiting.
    const auto finish = [&] { GetPixel(screen.get(), small.left, small.top); };
    capture::DrawRegionFrame(screen.get(), small);
    const auto step = [&](int) {
        for (int i = 0; i < kBatch; ++i) {
            capture::DrawRegionFrame(screen.get(), rects[0]);
            capture::DrawRegionFrame(screen.get(), rects[1]);
        }
    };
    const auto bare = [&](int) {
        for (int i = 0; i < kBatch * 2; ++i)
            for (const capture::Stroke& s : capture::FrameStrokes(small))
                PatBlt(screen.get(), s.x, s.y, s.width, s.height, DSTINVERT);
    };
    for (int i = 0; i < 50; ++i) step(i), bare(i), finish();  // first-use costs out of the way
    const auto measured = bench::Compare(kPairs, step, bare, finish);
    capture::DrawRegionFrame(screen.get(), small);  // even number of steps: erases the frame
    std::printf("bench: region_step_ms_%s %.3f ms\n", suffix.c_str(), measured.ms / kBatch);
    std::printf("bench: region_step_ratio_%s %.3f ratio\n", suffix.c_str(), measured.ratio);
    return 0;
}
