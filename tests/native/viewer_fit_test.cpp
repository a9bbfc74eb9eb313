#include "app/viewer_fit.h"

#include <gtest/gtest.h>

#include "toolkit/scroll_range.h"

namespace app {
namespace {

ViewerFit Fit(float viewportWidth, float viewportHeight, float pictureWidth, float pictureHeight,
              double twipsPerPixel = 15) {
    ViewerFit fit;
    fit.viewportWidth = viewportWidth;
    fit.viewportHeight = viewportHeight;
    fit.pictureWidth = pictureWidth;
    fit.pictureHeight = pictureHeight;
    FitScrollBars(fit, twipsPerPixel, twipsPerPixel);
    return fit;
}

void ExpectShown(const ScrollBarState& bar, int32_t max, int32_t largeChange,
                 int32_t smallChange = 15) {
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.value, 0);
    EXPECT_EQ(bar.max, max);
    EXPECT_EQ(bar.largeChange, largeChange);
    EXPECT_EQ(bar.smallChange, smallChange);
}

TEST(ViewerFit, PictureSmallerBothWaysHidesBothBarsAndGivesTheirStrips) {
    // The holder's first size in the default window's viewport.
    const ViewerFit fit = Fit(6000, 4200, 3225, 2685);
    EXPECT_FALSE(fit.h.visible);
    EXPECT_FALSE(fit.v.visible);
    EXPECT_EQ(fit.viewportWidth, 6255);
    EXPECT_EQ(fit.viewportHeight, 4455);
    EXPECT_EQ(fit.h.max, 32767);  // untouched defaults
    EXPECT_EQ(fit.h.largeChange, 1);
}

TEST(ViewerFit, WiderOnly) {
    const ViewerFit fit = Fit(6000, 4000, 9000, 2000);
    ExpectShown(fit.h, 3000, 2000);
    EXPECT_FALSE(fit.v.visible);
    EXPECT_EQ(fit.viewportWidth, 6255);
    EXPECT_EQ(fit.viewportHeight, 4000);
}

TEST(ViewerFit, TallerOnlyMeasuresAgainstTheViewportTheFirstHalfGrew) {
    const ViewerFit fit = Fit(6000, 4000, 3000, 9000);
    EXPECT_FALSE(fit.h.visible);
    EXPECT_EQ(fit.viewportHeight, 4255);
    ExpectShown(fit.v, 9000 - 4255, 4255 / 3);
    EXPECT_EQ(fit.viewportWidth, 6000);
}

TEST(ViewerFit, EqualWidthFitsButEqualHeightGetsABarWithNoRange) {
    const ViewerFit across = Fit(6000, 4000, 6000, 9000);
    EXPECT_FALSE(across.h.visible);
    EXPECT_TRUE(across.v.visible);

    const ViewerFit down = Fit(6000, 4000, 9000, 4000);
    ExpectShown(down.h, 3000, 2000);
    ExpectShown(down.v, 0, 1333);
    EXPECT_EQ(down.viewportWidth, 6000);
    EXPECT_EQ(down.viewportHeight, 4000);

    // Hiding the horizontal bar makes room for exactly as tall a picture.
    const ViewerFit grown = Fit(6000, 4000, 5000, 4255);
    EXPECT_FALSE(grown.h.visible);
    ExpectShown(grown.v, 0, 1418);
}

TEST(ViewerFit, HalvesRoundToEven) {
    // 9000 - 4503.5 = 4496.5 -> 4496; 4503.5 -> 4504, a third 1501; 12.5 twips -> 12.
    const ViewerFit fit = Fit(4503.5f, 30000, 9000, 100, 12.5);
    ExpectShown(fit.h, 4496, 1501, 12);
    const ViewerFit other = Fit(4502.5f, 30000, 9000, 100);
    ExpectShown(other.h, 4498, 1500);  // 4502.5 -> 4502
}

TEST(ViewerFit, ViewportTooThinForAStepTakesOnePixel) {
    ViewerFit fit;
    fit.h.largeChange = 700;  // from an earlier fitting
    fit.viewportWidth = 2;
    fit.viewportHeight = 0;
    fit.pictureWidth = 3000;
    fit.pictureHeight = 3000;
    FitScrollBars(fit, 15, 12);
    ExpectShown(fit.h, 2998, 15);
    ExpectShown(fit.v, 3000, 12, 12);
}

TEST(ViewerFit, LargePicturesScrollToTheirLastPixel) {
    // 3840 x 2160 and 7680 x 4320 pixels at 15 twips: far beyond 16 bits.
    const ViewerFit uhd = Fit(8000, 5000, 3840 * 15, 2160 * 15);
    ExpectShown(uhd.h, 57600 - 8000, 2666);
    ExpectShown(uhd.v, 32400 - 5000, 1666);
    const ViewerFit eightK = Fit(28800, 16000, 7680 * 15, 4320 * 15);
    ExpectShown(eightK.h, 115200 - 28800, 9600);
    ExpectShown(eightK.v, 64800 - 16000, 5333);
}

TEST(ViewerFit, ARefusedSettingKeepsItsValueAndTheRestGoesOn) {
    ViewerFit fit;
    fit.h.max = 1234;
    fit.viewportWidth = 3000;
    fit.viewportHeight = 3000;
    fit.pictureWidth = 3e10f;  // an excess beyond 32 bits
    fit.pictureHeight = 100;
    FitScrollBars(fit, 15, 15);
    ExpectShown(fit.h, 1234, 1000);
    EXPECT_FALSE(fit.v.visible);

    EXPECT_TRUE(toolkit::ScrollRangeFits(2147483647, 1));
    EXPECT_FALSE(toolkit::ScrollRangeFits(2147483647, 2));
    EXPECT_FALSE(toolkit::ScrollRangeFits(-1, 1));
    EXPECT_FALSE(toolkit::ScrollRangeFits(0, 0));
}

TEST(ViewerFit, AHiddenBarGivesUpItsOffset) {
    ViewerFit fit;
    fit.h.value = 3000;  // scrolled to the far right, then the window grew
    fit.v.value = 450;
    fit.viewportWidth = 9000;
    fit.viewportHeight = 6000;
    fit.pictureWidth = 9000;
    fit.pictureHeight = 5000;
    FitScrollBars(fit, 15, 15);
    EXPECT_FALSE(fit.h.visible);
    EXPECT_EQ(fit.h.value, 0);
    EXPECT_EQ(fit.v.value, 0);
}

TEST(ViewerFit, AShownBarStartsAtTheNearEdge) {
    ViewerFit fit;
    fit.h.value = 3000;
    fit.v.value = 450;
    fit.viewportWidth = 3000;
    fit.viewportHeight = 3000;
    fit.pictureWidth = 9000;
    fit.pictureHeight = 9000;
    FitScrollBars(fit, 15, 15);
    EXPECT_EQ(fit.h.value, 0);
    EXPECT_EQ(fit.v.value, 0);
}

}  // namespace
}  // namespace app
