#include "output/coverage_raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace output::raster;

constexpr double kPi = 3.14159265358979323846;

double CoveredArea(Rasterizer& raster, const Shape& shape, const Area& clip) {
    const Area a = raster.Cover(shape, clip);
    double sum = 0;
    for (int32_t y = a.top; y < a.bottom; ++y)
        for (int32_t x = a.left; x < a.right; ++x) {
            const double c = raster.Coverage(x, y);
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 1.0f);
            sum += c;
        }
    return sum;
}

// The coverage adds up to the shape's area, edges at fractions of a pixel
// included, and the edge pixels are partly covered.
TEST(CoverageRaster, CoverageAddsUpToTheArea) {
    Rasterizer raster;
    const Area all{-100, -100, 200, 200};
    struct Case {
        const char* name;
        Shape shape;
        double area, tolerance;
    };
    std::vector<Case> cases(5);
    const Vec box[4] = {{3.25, 4.5}, {23.75, 4.5}, {23.75, 17.75}, {3.25, 17.75}};
    cases[0] = {"box", {}, 20.5 * 13.25, 1e-3};
    cases[0].shape.Polygon(box, 4);
    const Vec triangle[3] = {{10.2, 3.7}, {40.9, 20.1}, {5.5, 33.3}};
    cases[1] = {"triangle",
                {},
                0.5 * std::abs((40.9 - 10.2) * (33.3 - 3.7) - (5.5 - 10.2) * (20.1 - 3.7)),
                1e-3};
    cases[1].shape.Polygon(triangle, 3);
    cases[2] = {"disc", {}, kPi * 12.5 * 12.5, 0.5};
    cases[2].shape.Disc({30.3, 40.6}, 12.5);
    cases[3] = {"diagonal stroke", {}, 2 * 1.5 * std::hypot(60, 35) + kPi * 1.5 * 1.5, 0.2};
    cases[3].shape.Capsule({10.5, 10.5}, {70.5, 45.5}, 1.5);
    cases[4] = {"ellipse ring", {}, kPi * (41.5 * 21.5 - 38.5 * 18.5), 1.0};
    cases[4].shape.EllipseRing({50.5, 50.5}, 40, 20, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(CoveredArea(raster, c.shape, all), c.area, c.tolerance);
        bool partial = false;
        const Area a = raster.Cover(c.shape, all);
        for (int32_t y = a.top; y < a.bottom; ++y)
            for (int32_t x = a.left; x < a.right; ++x) {
                const double v = raster.Coverage(x, y);
                partial = partial || (v > 0.05 && v < 0.95);
            }
        EXPECT_TRUE(partial);
    }
}

// A clip box cuts the coverage and changes none of it: edges left of the box
// still wind the rows inside it.
TEST(CoverageRaster, ClippingKeepsEachPixelsCoverage) {
    Shape shape;
    shape.EllipseRing({40.3, 30.7}, 35, 25, 6);
    shape.Capsule({-10, 5}, {90, 60}, 4);
    Rasterizer whole, clipped;
    const Area all = whole.Cover(shape, {-200, -200, 200, 200});
    for (const Area clip : {Area{10, 10, 30, 25}, Area{0, 50, 100, 58}, Area{70, -3, 95, 40}}) {
        const Area a = clipped.Cover(shape, clip);
        ASSERT_FALSE(a.Empty());
        for (int32_t y = a.top; y < a.bottom; ++y)
            for (int32_t x = a.left; x < a.right; ++x) {
                const double expected =
                    x >= all.left && x < all.right && y >= all.top && y < all.bottom
                        ? whole.Coverage(x, y)
                        : 0.0;
                ASSERT_NEAR(clipped.Coverage(x, y), expected, 1e-9) << x << "," << y;
            }
    }
}

// A path's strokes overlap at every point it passes: the overlap is covered
// once, so the soft edge of a straight path is the edge of one stroke.
TEST(CoverageRaster, OverlappingStrokesOfAPathCoverOnce) {
    Shape one, path;
    one.Capsule({10, 10.25}, {60, 10.25}, 2);
    for (int x = 10; x < 60; x += 3) path.Capsule({double(x), 10.25}, {x + 3.0, 10.25}, 2);
    Rasterizer a, b;
    a.Cover(one, {0, 0, 100, 100});
    b.Cover(path, {0, 0, 100, 100});
    for (int y = 7; y <= 13; ++y)
        for (int x = 15; x < 55; ++x) ASSERT_NEAR(b.Coverage(x, y), a.Coverage(x, y), 1e-3);
    EXPECT_NEAR(a.Coverage(30, 8), 0.75, 1e-3);
}

// Painting blends at the edges, lays the exact colour where the shape covers
// a pixel whole, and leaves every pixel outside the shape and the clip as it
// was, in rows stored bottom-up.
TEST(CoverageRaster, PaintTouchesOnlyWhatTheShapeCovers) {
    constexpr uint32_t kGround = 0x204060, kInk = 0xF0A000;
    constexpr int kSize = 64;
    for (const Blend blend : {Blend::Over, Blend::Multiply}) {
        std::vector<uint32_t> bits(kSize * kSize, kGround);
        Rows rows{&bits[size_t(kSize - 1) * kSize], -kSize, {0, 0, kSize, kSize}};
        Shape shape;
        shape.Disc({30.5, 30.5}, 20.3);
        const Area clip{0, 0, 40, kSize};
        Rasterizer raster;
        raster.Paint(shape, rows, clip, kInk, blend);
        const uint32_t full = blend == Blend::Over ? kInk : 0x1E2800;  // each channel * ink / 255
        int blended = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const double d = std::hypot(x + 0.5 - 30.5, y + 0.5 - 30.5);
                const uint32_t p = bits[size_t(kSize - 1 - y) * kSize + x];
                if (x >= 40 || d > 21.1)
                    ASSERT_EQ(p, kGround) << x << "," << y;
                else if (d < 19.5)
                    ASSERT_EQ(p, full) << x << "," << y;
                else if (p != kGround && p != full)
                    ++blended;
            }
        EXPECT_GT(blended, 40);
    }
}

}  // namespace
