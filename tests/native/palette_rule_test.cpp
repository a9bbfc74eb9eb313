#include "capture/palette_rule.h"

#include <gtest/gtest.h>

namespace capture {
namespace {

constexpr int kPaletteDevice = 0x0100, kOtherCaps = 0x7E99 & ~kPaletteDevice;

TEST(PaletteRule, OnlyA256EntryPaletteDeviceGivesItsPalette) {
    EXPECT_TRUE(TakesPalette(kPaletteDevice, 256));
    EXPECT_TRUE(TakesPalette(kPaletteDevice | kOtherCaps, 256));
    for (int size : {0, 2, 16, 255, 257, 65536})
        EXPECT_FALSE(TakesPalette(kPaletteDevice, size)) << size;
    EXPECT_FALSE(TakesPalette(kOtherCaps, 256));  // a true-colour device reports 256 too
}

}  // namespace
}  // namespace capture
