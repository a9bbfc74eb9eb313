// A scrolling capture of a 10000-row page end to end, as the user waits for
// it: every scroll, the wait for the window to paint, the reads and the
// stitching, and the page put back where it stood.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/measure.h"
#include "capture/scroll_capture.h"
#include "tests/support/scroll_page.h"
#include "tests/support/test_window.h"

int main() {
    constexpr int kWidth = 800, kHeight = 600, kPage = 10000;
    testing_support::ScrollPage page(40, 40, kWidth, kHeight, kPage);
    const RECT c = page.ClientOnScreen();
    const auto target =
        capture::ScrollableAt(POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    if (!target || target->window != page.hwnd()) {
        std::printf("the page is not what scrolls under its centre\n");
        return 1;
    }
    const std::vector<uint32_t> whole = page.Whole();
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        capture::ScrolledPicture shot;
        times.push_back(bench::TimeMs(
            [&] { shot = capture::CaptureScrolling(*target, 1 << 20, [](int) { return true; }); }));
        // A fast capture of the wrong picture is no figure.
        if (testing_support::ReadPicture(shot.picture).data != whole || page.position() != 0) {
            std::printf("the capture is not the whole page\n");
            return 1;
        }
    }
    std::printf("bench: scroll_capture_s_10k %.2f s\n", bench::Median(times) / 1000);
    return 0;
}
