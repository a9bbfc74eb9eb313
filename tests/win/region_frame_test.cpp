// The rubber band drawn on a bitmap of known pixels instead of the display.
#include <windows.h>

#include <gtest/gtest.h>

#include "capture/region_frame.h"
#include "tests/support/test_window.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

using namespace testing_support;

namespace {

TEST(RegionFrame, DrawingTheSameRectangleAgainRestoresEveryPixel) {
    constexpr int kSize = 96;
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kSize, -kSize, &bits);
    ASSERT_TRUE(bitmap);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) pixels[y * kSize + x] = Rgb(PatternAt(x, y));
    toolkit::UniqueDC dc(CreateCompatibleDC(nullptr));
    toolkit::SelectGuard selected(dc.get(), bitmap.get());
    const auto unchanged = [&] {
        GdiFlush();
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if ((pixels[y * kSize + x] & 0xFFFFFF) != Rgb(PatternAt(x, y))) return false;
        return true;
    };
    // A line one pixel wide whose label overflows it, one that runs off the
    // bitmap and a 2 x 2.
    for (const capture::Rect32 r :
         {capture::Rect32{40, 10, 41, 67}, capture::Rect32{-20, 60, 30, 200},
          capture::Rect32{3, 3, 5, 5}}) {
        capture::DrawRegionFrame(dc.get(), r);
        EXPECT_FALSE(unchanged()) << r.left << "," << r.top;
        capture::DrawRegionFrame(dc.get(), r);
        EXPECT_TRUE(unchanged()) << r.left << "," << r.top;
    }
    // Empty ones draw nothing at all.
    capture::DrawRegionFrame(dc.get(), capture::Rect32{30, 30, 30, 30});
    capture::DrawRegionFrame(dc.get(), capture::Rect32{30, 30, 60, 30});
    EXPECT_TRUE(unchanged());
}

}  // namespace
