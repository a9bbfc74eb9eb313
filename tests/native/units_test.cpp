#include "toolkit/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace toolkit {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-7.6), -8);
}

TEST(Rounding, Int16RangeIsCheckedAfterRounding) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(ToInt16(-32768.5), -32768);       // rounds to even -32768
    EXPECT_EQ(ToInt16(-32768.6), std::nullopt);
    EXPECT_EQ(ToInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(ToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(Rounding, Int32Range) {
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(ToInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(ToInt32(6500.0 / 12), 542);  // 541.67
    EXPECT_EQ(ToInt32(-60.5), -60);
}

TEST(Twips, WholeTwipsPerPixel) {
    EXPECT_EQ(TwipsPerPixel(96), 15);
    EXPECT_EQ(TwipsPerPixel(120), 12);
    EXPECT_EQ(TwipsPerPixel(144), 10);
    EXPECT_EQ(TwipsPerPixel(168), 8);  // 8.57 cut to whole twips
    EXPECT_EQ(TwipsPerPixel(192), 7);
    EXPECT_EQ(TwipsPerPixel(2000), 1);
    EXPECT_EQ(TwipsPerPixel(0), 15);  // a device that reports nothing
}

TEST(NumberText, WholeNumbersWithoutFraction) {
    EXPECT_EQ(NumberText(1000), L"1000");
    EXPECT_EQ(NumberText(-60), L"-60");
    EXPECT_EQ(NumberText(0), L"0");
    EXPECT_EQ(NumberText(1000.5f), L"1000.5");
}

}  // namespace
}  // namespace toolkit
