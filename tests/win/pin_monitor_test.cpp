// A pin on a desk of two displays, the other one left of or above the
// primary (at negative coordinates).
#include <windows.h>
#include <gtest/gtest.h>

#include "capture/screen_grab.h"
#include "tests/support/shown_form.h"
#include "tests/win/pin_support.h"

using namespace testing_support;

namespace {

constexpr int kW = 160, kH = 120;

class PinOnTwoDisplays : public ShownForm {};

TEST_F(PinOnTwoDisplays, DraggedAcrossTheSeamEveryPixelStaysExact) {
    const auto displays = capture::DisplayRects();
    ASSERT_EQ(displays.size(), 2u) << "the test platform's two-display layout";
    const bool left = displays[1].left < 0;
    // Away from the form, near the seam on the primary display.
    SetWindowPos(form.hwnd(), nullptr, 600, 500, 400, 300, SWP_NOZORDER);
    const POINT at = left ? POINT{40, 400} : POINT{400, 40};
    ASSERT_TRUE(form.Pins.Pin(PatternPicture(kW, kH, &at)));
    ASSERT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form), 100, kW, kH); }));
    // Astride the seam, then whole on the other display.
    for (const int step : {100, 200}) {
        const RECT before = PinRect(form);
        const POINT from = Inside(before, 20, 20);
        const POINT to = left ? POINT{from.x - step, from.y} : POINT{from.x, from.y - step};
        Press(from);
        Pump();
        MouseTo(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Pump();
        MouseTo(to);
        Release(to);
        ASSERT_TRUE(PumpUntil([&] {
            const RECT now = PinRect(form);
            return now.left == before.left + to.x - from.x && now.top == before.top + to.y - from.y;
        }));
        EXPECT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form), 100, kW, kH); })) << step;
    }
    const RECT last = PinRect(form);
    EXPECT_TRUE(last.right <= 0 || last.bottom <= 0);
}

}  // namespace
