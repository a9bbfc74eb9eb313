#include "app/placement.h"

#include "toolkit/units.h"

#include <gtest/gtest.h>

namespace app {
namespace {

const std::vector<PixelRect> kOneScreen = {{0, 0, 1920, 1080}};

Placement Resolve(std::optional<std::wstring> l, std::optional<std::wstring> t,
                  std::optional<std::wstring> w, std::optional<std::wstring> h,
                  const std::vector<PixelRect>& monitors = kOneScreen) {
    return ResolvePlacement(l, t, w, h, monitors, 15, 15);
}

void ExpectPlacement(const Placement& p, float l, float t, float w, float h) {
    EXPECT_EQ(p.left, l);
    EXPECT_EQ(p.top, t);
    EXPECT_EQ(p.width, w);
    EXPECT_EQ(p.height, h);
}

TEST(StoredNumber, ReadsWhatIsWrittenAndNothingElse) {
    EXPECT_EQ(ParseStoredNumber(L"1000"), 1000.0f);
    EXPECT_EQ(ParseStoredNumber(L"-60"), -60.0f);
    EXPECT_EQ(ParseStoredNumber(L" 6500 "), 6500.0f);
    EXPECT_EQ(ParseStoredNumber(L"1000.5"), 1000.5f);
    EXPECT_EQ(ParseStoredNumber(L"1E+03"), 1000.0f);
    for (const wchar_t* bad :
         {L"", L"  ", L"abc", L"12px", L"0x10", L"nan", L"inf", L"1e39", L"--1", L"1 2"})
        EXPECT_EQ(ParseStoredNumber(bad), std::nullopt) << bad;
}

TEST(StoredNumber, WhatIsWrittenReadsBack) {
    for (float v : {1000.0f, -60.0f, 28815.0f, 1000.5f, -0.25f})
        EXPECT_EQ(ParseStoredNumber(toolkit::NumberText(v)), v);
}

TEST(Placement, FirstRunUsesTheDefaults) {
    ExpectPlacement(Resolve({}, {}, {}, {}), 1000, 1000, 6500, 6500);
}

TEST(Placement, StoredValuesAreKept) {
    ExpectPlacement(Resolve(L"-60", L"-60", L"28920", L"16320"), -60, -60, 28920, 16320);
    ExpectPlacement(Resolve(L"3000", L"2000", L"9000", L"7000"), 3000, 2000, 9000, 7000);
}

TEST(Placement, GarbledValuesFallBackOneByOne) {
    ExpectPlacement(Resolve(L"oops", L"2000", L"9000", L"7000"), 1000, 2000, 9000, 7000);
    ExpectPlacement(Resolve(L"3000", L"2000", L"-5", L"0"), 3000, 2000, 6500, 6500);
    ExpectPlacement(Resolve(L"3000", L"", L"9000", L"1e40"), 3000, 1000, 9000, 6500);
}

TEST(Placement, AWindowNoMonitorShowsOpensAtTheDefaults) {
    // Stored on a second monitor to the right that is gone now.
    ExpectPlacement(Resolve(L"30000", L"1500", L"6500", L"6500"), 1000, 1000, 6500, 6500);
    // Far above the screen.
    ExpectPlacement(Resolve(L"1000", L"-20000", L"6500", L"6500"), 1000, 1000, 6500, 6500);
    // Only a sliver left on screen is out of reach too.
    ExpectPlacement(Resolve(L"28650", L"1000", L"6500", L"6500"), 1000, 1000, 6500, 6500);
    // With that second monitor present it is kept.
    const std::vector<PixelRect> two = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    ExpectPlacement(Resolve(L"30000", L"1500", L"6500", L"6500", two), 30000, 1500, 6500, 6500);
    // No monitors reported at all: defaults.
    ExpectPlacement(Resolve(L"3000", L"2000", L"9000", L"7000", {}), 1000, 1000, 6500, 6500);
}

}  // namespace
}  // namespace app
