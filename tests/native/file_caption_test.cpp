#include "app/file_caption.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(FileCaption, TheNameFollowsTheLastBackslashOnly) {
    EXPECT_EQ(GetFileName(L"C:\\a\\b.bmp"), L"b.bmp");
    EXPECT_EQ(GetFileName(L"b.bmp"), L"b.bmp");
    EXPECT_EQ(GetFileName(L"C:\\a\\"), L"");
    EXPECT_EQ(GetFileName(L"C:\\a/b.bmp"), L"a/b.bmp");
    EXPECT_EQ(GetFileName(L""), L"");
}

TEST(FileCaption, SizesInTwipsAtEachDpi) {
    EXPECT_EQ(OpenedCaption(L"grab", L"desk.bmp", 800 * 15, 600 * 15),
              L"grab\u2500[desk.bmp(12000x9000) ]");
    EXPECT_EQ(OpenedCaption(L"fotolark", L"desk.bmp", 800 * 12, 600 * 12),
              L"fotolark\u2500[desk.bmp(9600x7200) ]");
}

}  // namespace
}  // namespace app
