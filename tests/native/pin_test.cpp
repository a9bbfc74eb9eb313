// A pin's arithmetic and its stored record.
#include <gtest/gtest.h>

#include "pin/pin_geometry.h"
#include "pin/pin_record.h"

namespace {

using namespace pin;

TEST(PinZoom, StepsStayInRangeAndWithinWhatAWindowCanBe) {
    EXPECT_EQ(NextZoom(100, 2, 100, 100), 150);
    EXPECT_EQ(NextZoom(100, -1, 100, 100), 75);
    EXPECT_EQ(NextZoom(100, 99, 100, 100), 800);
    EXPECT_EQ(NextZoom(100, -99, 100, 100), 10);
    // Between steps, the first notch goes to the next step that way.
    EXPECT_EQ(NextZoom(110, 1, 100, 100), 125);
    EXPECT_EQ(NextZoom(110, -1, 100, 100), 100);
    // A 4K picture stops where it would pass 32000 pixels a side.
    EXPECT_EQ(NextZoom(100, 99, 3840, 2160), 800);
    EXPECT_EQ(NextZoom(100, 99, 8000, 100), 400);
    EXPECT_EQ(NextZoom(100, 99, 40000, 10), 100);
    EXPECT_EQ(Scaled(3, 10), 1);
    EXPECT_EQ(Scaled(3840, 125), 4800);
}

TEST(PinZoom, ThePixelUnderThePointerStaysThere) {
    const Point32 origin{-500, 200}, anchor{-300, 260};
    const Point32 twice = ZoomAround(origin, anchor, 100, 200);
    EXPECT_EQ(twice.x, anchor.x - 2 * (anchor.x - origin.x));
    EXPECT_EQ(twice.y, anchor.y - 2 * (anchor.y - origin.y));
    const Point32 back = ZoomAround(twice, anchor, 200, 100);
    EXPECT_EQ(back.x, origin.x);
    EXPECT_EQ(back.y, origin.y);
}

TEST(PinOpacity, TenPercentStepsBetweenTwentyAndAHundred) {
    EXPECT_EQ(NextOpacity(100, -1), 90);
    EXPECT_EQ(NextOpacity(30, -5), 20);
    EXPECT_EQ(NextOpacity(90, 3), 100);
    EXPECT_EQ(NextOpacity(50, INT32_MIN / 2), 20);
    EXPECT_EQ(Alpha(100), 255);
    EXPECT_EQ(Alpha(20), 51);
}

TEST(PinPlace, NearThePointerInsideTheWorkArea) {
    const Rect32 work{-1024, 0, 0, 728};
    const Point32 free = PlaceNear(Point32{-900, 100}, 200, 100, work);
    EXPECT_EQ(free.x, -884);
    EXPECT_EQ(free.y, 116);
    const Point32 corner = PlaceNear(Point32{-5, 720}, 200, 100, work);
    EXPECT_EQ(corner.x, -200);
    EXPECT_EQ(corner.y, 628);
    const Point32 large = PlaceNear(Point32{-5, 720}, 2000, 1000, work);
    EXPECT_EQ(large.x, -1024);
    EXPECT_EQ(large.y, 0);
}

TEST(PinPlace, APinOffEveryDisplayComesBackOntoTheNearest) {
    const std::vector<Rect32> displays{{0, 0, 1280, 1024}, {-1024, 0, 0, 768}};
    // Showing enough on the left display, below its bottom edge on the right: kept.
    const Rect32 seam{-100, 700, 300, 900};
    EXPECT_EQ(KeepOnDisplays(seam, displays).left, -100);
    // Where the left display was, once it is gone.
    const Rect32 gone{-900, 100, -500, 300};
    const Rect32 back = KeepOnDisplays(gone, {displays[0]});
    EXPECT_EQ(back.left, 0);
    EXPECT_EQ(back.top, 100);
    EXPECT_EQ(back.right - back.left, 400);
    // A sliver of a few pixels is not enough to reach it.
    const Rect32 sliver{1270, 500, 1670, 700};
    EXPECT_EQ(KeepOnDisplays(sliver, displays).left, 880);
    // In the gap below the smaller display, next to the larger one.
    const Rect32 gap{-600, 800, -400, 900};
    const Rect32 moved = KeepOnDisplays(gap, displays);
    EXPECT_EQ(moved.left, -600);
    EXPECT_EQ(moved.bottom, 768);
}

TEST(PinRecord, WhatIsWrittenReadsBack) {
    const Record record{-1024, 37, 250, 60};
    const auto back = ParseRecord(FormatRecord(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->left, -1024);
    EXPECT_EQ(back->top, 37);
    EXPECT_EQ(back->zoom, 250);
    EXPECT_EQ(back->opacity, 60);
    // Written on Windows by hand, and with a key of a later version.
    EXPECT_TRUE(
        ParseRecord("Fotolark pin 1\r\nzoom 100\r\nopacity 100\r\nleft 0\r\ntop 0\r\n"
                    "shadow 1\r\n"));
}

TEST(PinRecord, AnythingUnsoundIsRefused) {
    const std::string good = "Fotolark pin 1\nleft 0\ntop 0\nzoom 100\nopacity 100\n";
    ASSERT_TRUE(ParseRecord(good));
    for (const std::string& bad : {
             std::string(),
             std::string("Fotolark pin 2\nleft 0\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft 0\ntop 0\nzoom 100\n"),  // one missing
             std::string("Fotolark pin 1\nleft 0\nleft 0\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft 0\ntop 0\nzoom 5\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft 0\ntop 0\nzoom 100\nopacity 101\n"),
             std::string("Fotolark pin 1\nleft 99999999999\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft 2000000\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft +3\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft -\ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft 1 \ntop 0\nzoom 100\nopacity 100\n"),
             std::string("Fotolark pin 1\nleft\ntop 0\nzoom 100\nopacity 100\n"),
             good + std::string(2000, '\n'),
         })
        EXPECT_FALSE(ParseRecord(bad)) << bad;
}

}  // namespace
