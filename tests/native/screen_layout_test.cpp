#include "capture/screen_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace capture {

bool operator==(const Rect32& a, const Rect32& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::ostream& operator<<(std::ostream& out, const Rect32& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

// The layouts of the multi-display tests, and one with gaps between displays
// of three sizes.
const std::vector<Rect32> kLeft{{0, 0, 1280, 1024}, {-1024, 0, 0, 768}};
const std::vector<Rect32> kAbove{{0, 0, 1280, 1024}, {128, -768, 1152, 0}};
const std::vector<Rect32> kGaps{{0, 0, 1920, 1080}, {-1300, 200, -20, 1000}, {1940, -600, 2740, 0}};

int64_t Area(const Rect32& r) { return int64_t(r.right - r.left) * (r.bottom - r.top); }

bool Covered(const std::vector<Rect32>& rects, Point32 p) {
    for (const Rect32& r : rects)
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return true;
    return false;
}

TEST(ScreenLayout, VirtualScreenIsTheBoxAroundEveryDisplay) {
    EXPECT_EQ(BoundingBox(kLeft), (Rect32{-1024, 0, 1280, 1024}));
    EXPECT_EQ(BoundingBox(kAbove), (Rect32{0, -768, 1280, 1024}));
    EXPECT_EQ(BoundingBox(kGaps), (Rect32{-1300, -600, 2740, 1080}));
    EXPECT_EQ(BoundingBox({}), Rect32{});
}

TEST(ScreenLayout, TheDisplayUnderAPointOrTheNearestOne) {
    EXPECT_EQ(DisplayAt(kLeft, {-1, 0}), 1u);
    EXPECT_EQ(DisplayAt(kLeft, {0, 0}), 0u);  // right and bottom edges belong to the next
    EXPECT_EQ(DisplayAt(kLeft, {-1024, 767}), 1u);
    EXPECT_EQ(DisplayAt(kLeft, {-500, 900}), 1u);  // below the left one, in no display
    EXPECT_EQ(DisplayAt(kLeft, {-5, 900}), 0u);    // nearer the primary's left edge
    EXPECT_EQ(DisplayAt(kAbove, {600, -1}), 1u);
    EXPECT_EQ(DisplayAt(kAbove, {10, -1}),
              0u);  // beside the upper one: the primary is a pixel away
    EXPECT_EQ(DisplayAt(kGaps, {-10, 500}), 0u);
    // The gap's pixel nearer the primary, whichever display is listed first.
    EXPECT_EQ(DisplayAt({kGaps[1], kGaps[0]}, {-10, 500}), 1u);
    EXPECT_EQ(DisplayAt(kGaps, {-15, 500}), 1u);
    EXPECT_EQ(DisplayAt(kGaps, {2000, -1}), 2u);
    EXPECT_FALSE(DisplayAt({}, {0, 0}));
}

TEST(ScreenLayout, RectanglesAndPointsAreKeptOnTheVirtualScreen) {
    const Rect32 screen = BoundingBox(kLeft);
    // A window half off the left display's outer edge.
    EXPECT_EQ(ClampTo({-1100, 100, -900, 300}, screen), (Rect32{-1024, 100, -900, 300}));
    // Across the seam, untouched.
    EXPECT_EQ(ClampTo({-200, 10, 200, 20}, screen), (Rect32{-200, 10, 200, 20}));
    EXPECT_FALSE(ClampTo({-3000, 0, -2000, 10}, screen));
    EXPECT_FALSE(ClampTo({5, 5, 5, 9}, screen));
    EXPECT_EQ(ClampPoint({-5000, -5}, screen).x, -1024);
    EXPECT_EQ(ClampPoint({-5000, -5}, screen).y, 0);
    EXPECT_EQ(ClampPoint({1280, 1024}, screen).x, 1279);
    EXPECT_EQ(ClampPoint({1280, 1024}, screen).y, 1023);
}

// Every pixel of the virtual screen lies on a display or in exactly one
// uncovered part, never both.
TEST(ScreenLayout, UncoveredPartsAreExactlyWhatNoDisplayShows) {
    for (const auto* layout : {&kLeft, &kAbove, &kGaps}) {
        const Rect32 screen = BoundingBox(*layout);
        const std::vector<Rect32> gaps = Uncovered(screen, *layout);
        int64_t covered = 0, uncovered = 0;
        for (const Rect32& d : *layout) covered += Area(d);
        for (const Rect32& g : gaps) uncovered += Area(g);
        EXPECT_EQ(covered + uncovered, Area(screen));
        for (int32_t y = screen.top; y < screen.bottom; y += 7)
            for (int32_t x = screen.left; x < screen.right; x += 7)
                ASSERT_NE(Covered(*layout, {x, y}), Covered(gaps, {x, y})) << x << "," << y;
    }
    EXPECT_EQ(Uncovered(BoundingBox(kLeft), kLeft), (std::vector<Rect32>{{-1024, 768, 0, 1024}}));
    EXPECT_TRUE(Uncovered({0, 0, 1280, 1024}, {{0, 0, 1280, 1024}}).empty());
    // Only the part asked about: a region across the seam below the left display.
    EXPECT_EQ(Uncovered({-100, 700, 100, 800}, kLeft), (std::vector<Rect32>{{-100, 768, 0, 800}}));
}

}  // namespace
}  // namespace capture
