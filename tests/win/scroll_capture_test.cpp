// Scrolling captures of windows that scroll: the test's own page with a
// sticky header and footer, a list view and Notepad.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "capture/scroll_capture.h"
#include "tests/support/input.h"
#include "tests/support/scroll_page.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

constexpr int kWidth = 300, kHeight = 260;

capture::ScrollTarget TargetOf(const ScrollPage& page) {
    const RECT c = page.ClientOnScreen();
    const auto target = capture::ScrollableAt(POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    EXPECT_TRUE(target && target->window == page.hwnd());
    return target.value_or(capture::ScrollTarget{});
}

const auto kGoOn = [](int) { return true; };

}  // namespace

TEST(ScrollCapture, TheWholePageOnceAndTheScrollPositionPutBack) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    const capture::ScrollTarget target = TargetOf(page);
    const RECT c = page.ClientOnScreen();
    EXPECT_EQ(target.area.left, c.left);
    EXPECT_EQ(target.area.bottom, c.bottom);
    EXPECT_EQ(target.area.right - target.area.left, kWidth) << "no scroll bar";

    for (const int from : {0, 777}) {
        page.ScrollTo(from);
        const capture::ScrolledPicture shot = capture::CaptureScrolling(target, 100000, kGoOn);
        EXPECT_EQ(shot.end, capture::ScrollEnd::Bottom);
        const Pixels p = ReadPicture(shot.picture);
        const std::vector<uint32_t> whole = page.Whole(from);
        ASSERT_EQ(p.width, kWidth);
        ASSERT_EQ(size_t(p.height) * kWidth, whole.size()) << "from " << from;
        EXPECT_TRUE(p.data == whole) << "from " << from;
        EXPECT_EQ(page.position(), from);
    }
}

TEST(ScrollCapture, WithoutTheWheelByTheScrollBar) {
    ScrollPage page(40, 40, kWidth, kHeight, 1500, false);
    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetOf(page), 100000, kGoOn);
    EXPECT_TRUE(ReadPicture(shot.picture).data == page.Whole());
    EXPECT_EQ(page.position(), 0);
}

TEST(ScrollCapture, EscapeMidwayKeepsThePartRead) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    capture::ScrollKeys keys(false);
    ASSERT_TRUE(keys.installed());
    bool pressed = false;
    const capture::ScrolledPicture shot =
        capture::CaptureScrolling(TargetOf(page), 100000, [&](int height) {
            if (height > 900 && !pressed) {
                PressKeys({VK_ESCAPE});
                pressed = true;
            }
            return !keys.escaped();
        });
    EXPECT_EQ(shot.end, capture::ScrollEnd::Stopped);
    const Pixels p = ReadPicture(shot.picture);
    const int rows = p.height - ScrollPage::kHeader - ScrollPage::kFooter;
    EXPECT_GT(rows, 900 - kHeight);
    EXPECT_LT(rows, 2000);
    EXPECT_TRUE(p.data == page.Whole(0, rows));
    EXPECT_EQ(page.position(), 0);
}

TEST(ScrollCapture, StopsAtTheHeightAllowed) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetOf(page), 1000, kGoOn);
    EXPECT_EQ(shot.end, capture::ScrollEnd::Full);
    const Pixels p = ReadPicture(shot.picture);
    EXPECT_LE(p.height, 1000);
    EXPECT_TRUE(p.data == page.Whole(0, p.height - ScrollPage::kHeader - ScrollPage::kFooter));
    EXPECT_EQ(page.position(), 0);
}
