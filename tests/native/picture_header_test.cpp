#include "output/picture_header.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/picture_bytes.h"

namespace output {
namespace {

using testing_support::BmpLayout;
using testing_support::Bytes;
using testing_support::PngLayout;

HeaderCheck Check(const Bytes& file) {
    return CheckPicture(FormatOfContent(file.data(), file.size()), file.data(), file.size());
}

std::vector<Bytes> SoundSamples() {
    std::vector<Bytes> samples;
    for (BmpLayout s :
         {BmpLayout{12, 8}, BmpLayout{12, 24}, BmpLayout{40, 1}, BmpLayout{40, 2}, BmpLayout{40, 4},
          BmpLayout{40, 8, 0, true}, BmpLayout{40, 8, 1}, BmpLayout{40, 4, 2}, BmpLayout{40, 16},
          BmpLayout{40, 16, 3}, BmpLayout{108, 32, 3}, BmpLayout{124, 24}, BmpLayout{64, 8},
          BmpLayout{40, 8, 0, false, 4}})
        samples.push_back(MakeBmp(s));
    for (PngLayout s : {PngLayout{0, 1}, PngLayout{0, 16, true, true}, PngLayout{2, 16},
                        PngLayout{3, 2, true, true}, PngLayout{4, 8}, PngLayout{6, 16, true}})
        samples.push_back(MakePng(s));
    samples.push_back(testing_support::MakeGif(true));
    samples.push_back(testing_support::MakeIco(4));
    samples.push_back(testing_support::MakeIco(32));
    samples.push_back(
        testing_support::MakeJpegShell(testing_support::kTestWidth, testing_support::kTestHeight));
    return samples;
}

TEST(PictureHeader, FormatFollowsTheExtensionInAnyCase) {
    EXPECT_EQ(FormatOfName(L"C:\\a\\shot.BMP"), PictureFormat::Bmp);
    EXPECT_EQ(FormatOfName(L"shot.dib"), PictureFormat::Bmp);
    for (auto name : {L"a.jpg", L"a.JPEG", L"a.jpe", L"a.Jfif"})
        EXPECT_EQ(FormatOfName(name), PictureFormat::Jpeg);
    EXPECT_EQ(FormatOfName(L"a.Png"), PictureFormat::Png);
    EXPECT_EQ(FormatOfName(L"a.gif"), PictureFormat::Gif);
    EXPECT_EQ(FormatOfName(L"a.ico"), PictureFormat::Ico);
    for (auto name : {L"a.txt", L"noextension", L"C:\\dotted.png\\name", L"a.png.txt"})
        EXPECT_EQ(FormatOfName(name), PictureFormat::Unknown) << name;
}

TEST(PictureHeader, SoundFilesOfEveryFormatGiveTheirSizeAndAnyCutOneIsRefused) {
    for (const Bytes& file : SoundSamples()) {
        const auto check = Check(file);
        ASSERT_EQ(check.verdict, HeaderCheck::Sound) << file.size();
        EXPECT_EQ(check.width, testing_support::kTestWidth);
        EXPECT_EQ(check.height, testing_support::kTestHeight);
        // Cut anywhere but in the trailing padding, GIF trailer or EOI.
        for (size_t size = 0; size + 4 < file.size(); ++size)
            EXPECT_NE(
                CheckPicture(FormatOfContent(file.data(), file.size()), file.data(), size).verdict,
                HeaderCheck::Sound)
                << "cut to " << size << " of " << file.size();
    }
}

// The free blocks of 32-bit processes some time after start: large-address
// aware on 64-bit Windows (nearly 2 GB above the 2 GB line, 1.3 GB below the
// system's libraries, fragments), and without the flag.
constexpr uint64_t kMB = 1 << 20;
const std::vector<uint64_t> kLargeAddressAware{2030 * kMB, 1290 * kMB, 180 * kMB, 60 * kMB,
                                               12 * kMB};
const std::vector<uint64_t> kTwoGigabytes{700 * kMB, 420 * kMB, 250 * kMB, 130 * kMB};

TEST(MemoryRule, WhatFitsTheFreeBlocksIsAdmittedAndNothingMore) {
    EXPECT_TRUE(FitsInMemory(7680, 4320, kLargeAddressAware));
    EXPECT_TRUE(FitsInMemory(10000, 10000, kLargeAddressAware));
    EXPECT_TRUE(FitsInMemory(16000, 16000, kLargeAddressAware)) << "the most pixels allowed";
    EXPECT_FALSE(FitsInMemory(16000, 16000, {2030 * kMB, 900 * kMB, 600 * kMB}));
    EXPECT_TRUE(FitsInMemory(7680, 4320, kTwoGigabytes));
    EXPECT_FALSE(FitsInMemory(10000, 10000, kTwoGigabytes));

    // Blocks too small for a copy add up to nothing; blocks just large enough do.
    EXPECT_FALSE(FitsInMemory(
        10000, 10000,
        {700 * kMB, 100 * kMB, 100 * kMB, 100 * kMB, 100 * kMB, 100 * kMB, 100 * kMB, 100 * kMB}));
    EXPECT_TRUE(FitsInMemory(7680, 4320, {130 * kMB, 130 * kMB, 130 * kMB, 40 * kMB, 40 * kMB}));
    // Several blocks share a free one, the margin left over.
    EXPECT_TRUE(BlocksFit({100 * kMB, 100 * kMB, 100 * kMB}, {300 * kMB}, 0));
    EXPECT_FALSE(BlocksFit({100 * kMB, 100 * kMB, 100 * kMB}, {300 * kMB}));
    EXPECT_FALSE(BlocksFit({100 * kMB, 200 * kMB}, {150 * kMB, 160 * kMB}, 0));
}

TEST(PictureHeader, SizesPastTheLimitsAreTooLarge) {
    EXPECT_TRUE(SizeAllowed(30000, 8533));
    EXPECT_TRUE(SizeAllowed(16000, 16000));
    EXPECT_FALSE(SizeAllowed(30001, 1));
    EXPECT_FALSE(SizeAllowed(16001, 16000));

    for (const char* name : {"huge.bmp", "wide.png", "huge.jpg", "huge.gif"}) {
        const auto forged = testing_support::ForgedFiles();
        const auto file =
            std::find_if(forged.begin(), forged.end(), [&](auto& f) { return f.name == name; });
        ASSERT_NE(file, forged.end());
        EXPECT_EQ(Check(file->bytes).verdict, HeaderCheck::TooLarge) << name;
    }
}

TEST(PictureHeader, ForgedHeadersAreRefused) {
    for (const auto& file : testing_support::ForgedFiles())
        EXPECT_NE(Check(file.bytes).verdict, HeaderCheck::Sound) << file.name;
}

}  // namespace
}  // namespace output
