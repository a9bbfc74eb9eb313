// Stitching a 20000-row page from the reads a scrolling capture takes of it:
// 800 x 600 reads with a header and a footer, a third of a read a step. The
// time covers placing every read and composing the picture.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/measure.h"
#include "capture/scroll_stitch.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kPage = 20000, kHeader = 40, kFooter = 30,
              kStep = (kHeight - kHeader - kFooter) / 3;

uint32_t PageAt(int x, int y) {
    const int line = y / 17, row = y % 17;
    return row > 3 && ((x + line * 13) / 6 + row) % 4 == 0 ? uint32_t(line * 2654435761u) & 0xFFFFFF
                                                           : 0xFFFFFF;
}

std::vector<uint32_t> Read(int top) {
    std::vector<uint32_t> read(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            read[size_t(y) * kWidth + x] = y < kHeader              ? 0x204080u
                                           : y >= kHeight - kFooter ? 0x208040u
                                                                    : PageAt(x, top + y - kHeader);
    return read;
}

}  // namespace

int main() {
    const int body = kHeight - kHeader - kFooter;
    std::vector<int> tops;
    for (int top = 0;; top += kStep) {
        tops.push_back(std::min(top, kPage - body));
        if (tops.back() == kPage - body) break;
    }
    std::vector<std::vector<uint32_t>> reads;
    for (int top : tops) reads.push_back(Read(top));
    // Placing the reads and finding the bands is the stitching; writing the
    // picture's rows is the same for any capture of that size, timed apart.
    int height = 0;
    std::vector<double> stitching, composing;
    for (int run = 0; run < 5; ++run) {
        std::vector<std::vector<uint32_t>> taken = reads;  // as the capture hands them over
        capture::ScrollStitcher stitcher(kWidth, kHeight, 1 << 30);
        capture::StitchResult result;
        stitching.push_back(bench::TimeMs([&] {
            for (auto& read : taken) stitcher.Add(std::move(read), stitcher.LastShift());
            result = stitcher.Result();
        }));
        std::vector<const uint32_t*> frames;
        for (int i = 0; i < stitcher.Frames(); ++i) frames.push_back(stitcher.Frame(i).data());
        composing.push_back(bench::TimeMs(
            [&] { height = int(capture::ComposeStitched(result, frames).size() / kWidth); }));
    }
    if (height != kPage + kHeader + kFooter) {
        std::printf("stitched %d rows, not %d\n", height, kPage + kHeader + kFooter);
        return 1;
    }
    std::printf("bench: scroll_stitch_ms_20k %.1f ms\n", bench::Median(stitching));
    std::printf("bench: scroll_compose_ms_20k %.1f ms\n", bench::Median(composing));
    return 0;
}
