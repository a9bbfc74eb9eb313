// One mouse-move step of the selection's rubber band (erase, then draw the
// frame and label one pixel larger) against a bare pair of four-PatBlt frame
// inversions of the same rectangle, on the display as during a drag: what the
// drawing calls cost the program, without the display's own round trip.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "capture/region_frame.h"
#include "toolkit/handles.h"
#include "toolkit/runtime.h"

namespace {

bench::Comparison MeasureHere() {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    toolkit::UniqueDC screen(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!screen) return {};
    const capture::Rect32 small{(cx - 1000) / 2, (cy - 700) / 2, (cx - 1000) / 2 + 1000,
                                (cy - 700) / 2 + 700};
    const capture::Rect32 large{small.left, small.top, small.right + 1, small.bottom + 1};
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
            capture::DrawRegionFrame(screen.get(), small);
            capture::DrawRegionFrame(screen.get(), large);
        }
    };
    const auto bare = [&](int) {
        for (int i = 0; i < kBatch * 2; ++i)
            for (const capture::Stroke& s : capture::FrameStrokes(small))
                PatBlt(screen.get(), s.x, s.y, s.width, s.height, DSTINVERT);
    };
    for (int i = 0; i < 50; ++i) step(i), bare(i), finish();  // first-use costs out of the way
    bench::Comparison measured = bench::Compare(kPairs, step, bare, finish);
    capture::DrawRegionFrame(screen.get(), small);  // even number of steps: erases the frame
    measured.ms /= kBatch;
    return measured;
}

}  // namespace

// With a file name, measures once and appends "ms ratio" to it. Without, runs
// itself that way in several processes and prints their lower quartile: under
// Wine the step's cost settles at a level of its own in each process. Two
// thirds settle within a tenth of each other; the rest a quarter to a half
// higher, and in numbers that move a median from one run to the next.
int main() {
    int argc = 0;
    toolkit::UniqueArguments args(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!args) return 1;
    if (argc > 1) {
        const bench::Comparison c = MeasureHere();
        if (c.ratio <= 0) return 1;
        FILE* out = _wfopen(args.get()[1], L"a");
        if (!out) return 1;
        std::fprintf(out, "%f %f\n", c.ms, c.ratio);
        return std::fclose(out) == 0 ? 0 : 1;
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring results = temp + std::wstring(L"fotolark_region_step_") +
                                 std::to_wstring(GetCurrentProcessId()) + L".txt";
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    constexpr int kProcesses = 11;
    for (int i = 0; i < kProcesses; ++i) {
        const toolkit::Process child =
            toolkit::Shell(L"\"" + std::wstring(self) + L"\" \"" + results + L"\"", SW_HIDE);
        if (!child.Id()) return 1;
        WaitForSingleObject(child.Handle(), INFINITE);
    }
    std::vector<bench::Comparison> runs;
    if (FILE* in = _wfopen(results.c_str(), L"r")) {
        for (double m, r; std::fscanf(in, "%lf %lf", &m, &r) == 2;) runs.push_back({m, r});
        std::fclose(in);
    }
    DeleteFileW(results.c_str());
    if (runs.size() != kProcesses) return 1;
    std::sort(runs.begin(), runs.end(), [](auto& a, auto& b) { return a.ratio < b.ratio; });
    const bench::Comparison& quartile = runs[kProcesses / 4];
    const std::string suffix = bench::DisplayName(GetSystemMetrics(SM_CXSCREEN));
    std::printf("bench: region_step_ms_%s %.3f ms\n", suffix.c_str(), quartile.ms);
    std::printf("bench: region_step_ratio_%s %.3f ratio\n", suffix.c_str(), quartile.ratio);
    return 0;
}
