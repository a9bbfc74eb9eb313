#include "capture/region_rect.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace capture {
namespace {

TEST(RegionRect, NormalizeOrdersEachAxisOnItsOwn) {
    Rect32 r{50, 10, 20, 40};
    NormalizeRect(r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.bottom, 40);

    r = {-5, 30, -2, -7};
    NormalizeRect(r);
    EXPECT_EQ(r.left, -5);
    EXPECT_EQ(r.top, -7);
    EXPECT_EQ(r.right, -2);
    EXPECT_EQ(r.bottom, 30);

    r = {7, 7, 7, 7};  // a click without a drag
    NormalizeRect(r);
    EXPECT_TRUE(IsEmpty(r));
}

TEST(RegionRect, LabelIsWidthByHeightWithoutSpaces) {
    EXPECT_EQ(RegionLabel({0, 0, 320, 200}), L"320x200");
    EXPECT_EQ(RegionLabel({100, 43, 101, 100}), L"1x57");
    EXPECT_EQ(RegionLabel({5, 5, 5, 5}), L"0x0");
    const int32_t lo = std::numeric_limits<int32_t>::min(),
                  hi = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(RegionLabel({lo, 0, hi, 1}), L"4294967295x1");
}

TEST(RegionRect, LabelIsCentredWithHalvesToEven) {
    // (3 + 0 - 2) / 2 = 0.5 -> 0; (5 + 0 - 2) / 2 = 1.5 -> 2
    EXPECT_EQ(LabelOrigin({0, 0, 3, 5}, 2, 2).x, 0);
    EXPECT_EQ(LabelOrigin({0, 0, 3, 5}, 2, 2).y, 2);
    // A label wider than the rectangle overflows it on both sides.
    const Point32 p = LabelOrigin({100, 43, 101, 100}, 30, 16);
    EXPECT_EQ(p.x, 86);                                        // (201 - 30) / 2 = 85.5 -> 86
    EXPECT_EQ(p.y, 64);                                        // (143 - 16) / 2 = 63.5 -> 64
    EXPECT_EQ(LabelOrigin({-11, -20, -4, -10}, 4, 3).x, -10);  // -10.5 -> -10
    EXPECT_EQ(LabelOrigin({-11, -20, -4, -10}, 4, 3).y, -16);  // -16.5 -> -16
}

// Applies the strokes to a grid and returns how often each pixel was inverted.
std::vector<int> Inversions(const Rect32& r, int size) {
    std::vector<int> grid(size_t(size) * size);
    for (const Stroke& s : FrameStrokes(r)) {
        // Where a negative extent would start is the platform's choice.
        EXPECT_GT(s.width, 0);
        EXPECT_GT(s.height, 0);
        for (int y = s.y; y < s.y + s.height; ++y)
            for (int x = s.x; x < s.x + s.width; ++x) ++grid[size_t(y) * size + x];
    }
    return grid;
}

TEST(RegionRect, FrameInvertsTheOuterRingButNotItsCorners) {
    const Rect32 r{2, 3, 9, 8};
    const std::vector<int> grid = Inversions(r, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            const bool onRing =
                inside && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
            const bool corner =
                (x == r.left || x == r.right - 1) && (y == r.top || y == r.bottom - 1);
            const int expected = !onRing ? 0 : corner ? 2 : 1;
            EXPECT_EQ(grid[size_t(y) * 12 + x], expected) << x << "," << y;
        }
}

TEST(RegionRect, OnePixelWideFrameChangesOnlyItsEnds) {
    // The left and right edges fall on the same column and cancel out.
    const Rect32 r{4, 1, 5, 7};
    const std::vector<int> grid = Inversions(r, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool end = x == 4 && (y == 1 || y == 6);
            EXPECT_EQ(grid[size_t(y) * 8 + x] % 2, end ? 1 : 0) << x << "," << y;
        }
}

}  // namespace
}  // namespace capture
