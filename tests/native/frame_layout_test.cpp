#include "app/frame_layout.h"

#include <gtest/gtest.h>

namespace app {
namespace {

// The controls as first laid out at 96 dpi, in twips.
FrameGeometry Designed() {
    FrameGeometry g;
    g.toolbarHeight = 360;
    g.statusBarHeight = 375;
    g.picScrollLeft = 0;
    g.picScrollWidth = 8055;
    g.picScrollHeight = 4665;
    g.hScrollTop = 5040;
    g.hScrollWidth = 2895;
    g.hScrollHeight = 255;
    g.vScrollLeft = 8040;
    g.vScrollWidth = 255;
    g.vScrollHeight = 2535;
    return g;
}

TEST(FrameLayout, FillsTheSpaceBetweenToolbarAndStatusBar) {
    FrameGeometry g = Designed();
    LayOutFrame(6360, 5115, g);  // client area of the default 6500 x 6500 window
    EXPECT_EQ(g.picScrollWidth, 6360 - 255);
    EXPECT_EQ(g.picScrollHeight, 5115 - 255 - 375 - 360);
    EXPECT_EQ(g.hScrollTop, 360 + g.picScrollHeight);
    EXPECT_EQ(g.hScrollWidth, g.picScrollWidth);
    EXPECT_EQ(g.vScrollLeft, g.picScrollWidth);
    EXPECT_EQ(g.vScrollHeight, g.picScrollHeight);
    // The bars meet the viewport's edges, not each other's designed places.
    EXPECT_EQ(g.hScrollTop + g.hScrollHeight + g.statusBarHeight, 5115);
    EXPECT_EQ(g.vScrollLeft + g.vScrollWidth, 6360);
}

TEST(FrameLayout, TooSmallWindowSkipsOnlyTheFailingSizes) {
    FrameGeometry g = Designed();
    // Wide enough, but shorter than toolbar + status bar + scroll bar.
    LayOutFrame(3000, 800, g);
    EXPECT_EQ(g.picScrollWidth, 3000 - 255);
    EXPECT_EQ(g.picScrollHeight, 4665);   // negative height refused: kept
    EXPECT_EQ(g.hScrollTop, 360 + 4665);  // later steps read the kept value
    EXPECT_EQ(g.hScrollWidth, 3000 - 255);
    EXPECT_EQ(g.vScrollLeft, 3000 - 255);
    EXPECT_EQ(g.vScrollHeight, 4665);

    FrameGeometry narrow = Designed();
    LayOutFrame(100, 5115, narrow);
    EXPECT_EQ(narrow.picScrollWidth, 8055);
    EXPECT_EQ(narrow.hScrollWidth, 8055);
    EXPECT_EQ(narrow.vScrollLeft, 8055);
    EXPECT_EQ(narrow.picScrollHeight, 5115 - 255 - 375 - 360);
}

TEST(FrameLayout, ExactFitGivesAZeroHeightViewport) {
    FrameGeometry g = Designed();
    LayOutFrame(255, 255 + 375 + 360, g);
    EXPECT_EQ(g.picScrollWidth, 0);
    EXPECT_EQ(g.picScrollHeight, 0);
    EXPECT_EQ(g.hScrollTop, 360);
}

TEST(FrameLayout, WorksInPixelsToo) {
    FrameGeometry g;  // the same window measured in pixels while a selection is armed
    g.toolbarHeight = 24;
    g.statusBarHeight = 25;
    g.hScrollHeight = 17;
    g.vScrollWidth = 17;
    LayOutFrame(424, 341, g);
    EXPECT_EQ(g.picScrollWidth, 407);
    EXPECT_EQ(g.picScrollHeight, 275);
    EXPECT_EQ(g.hScrollTop, 299);
}

}  // namespace
}  // namespace app
