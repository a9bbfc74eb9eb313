#include "app/language_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace app {
namespace {

TEST(LanguageLines, EveryLineEndAndTheMark) {
    const auto file = SplitLanguageFile(
        "\xEF\xBB\xBF"
        "a\r\nb\rc\nd\r\n\r\n\xE6\x96\x87\xE4\xBB\xB6");
    EXPECT_TRUE(file.utf8);
    EXPECT_EQ(file.lines[0], "a");
    EXPECT_EQ(file.lines[1], "b");
    EXPECT_EQ(file.lines[2], "c");
    EXPECT_EQ(file.lines[3], "d");
    EXPECT_EQ(file.lines[4], "");                          // an empty line is an empty caption
    EXPECT_EQ(file.lines[5], "\xE6\x96\x87\xE4\xBB\xB6");  // the last line needs no end
    EXPECT_EQ(file.lines[6], "");

    // A mark anywhere but at the start is text, and no mark means the ANSI code page.
    const auto ansi = SplitLanguageFile("caf\xE9\r\n\xEF\xBB\xBFx");
    EXPECT_FALSE(ansi.utf8);
    EXPECT_EQ(ansi.lines[0], "caf\xE9");
    EXPECT_EQ(ansi.lines[1], "\xEF\xBB\xBFx");
}

TEST(LanguageLines, TwentyFiveLinesAtMostAndShortFilesLeaveTheRestEmpty) {
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "L" + std::to_string(i) + "\r\n";
    const auto file = SplitLanguageFile(thirty);
    EXPECT_EQ(file.lines[0], "L0");
    EXPECT_EQ(file.lines[24], "L24");

    const auto shortFile = SplitLanguageFile("one\r\ntwo\r\n");
    EXPECT_EQ(shortFile.lines[1], "two");
    for (int i = 2; i < kLanguageLineCount; ++i) EXPECT_EQ(shortFile.lines[i], "") << i;

    // A CR as the very last byte, and an empty file.
    EXPECT_EQ(SplitLanguageFile("x\r").lines[0], "x");
    EXPECT_EQ(SplitLanguageFile("x\r").lines[1], "");
    EXPECT_EQ(SplitLanguageFile("").lines[0], "");
}

TEST(LanguageLines, TheFurtherTextsFollowTheMarkerInOrder) {
    std::string file;
    for (int i = 0; i < 25; ++i) file += "L" + std::to_string(i) + "\r\n";
    // A translator's note after the 25 lines changes nothing.
    const std::string noted = file + "Translated by Li Lei\r\nmore texts\r\n";
    EXPECT_TRUE(SplitLanguageFile(noted).extra.empty());
    EXPECT_EQ(SplitLanguageFile(noted).lines[24], "L24");

    std::string marked = noted + "  [more texts]\t\r\n";
    for (int i = 0; i < kTextCount + 3; ++i) marked += "T" + std::to_string(i) + "\r\n";
    const auto lines = SplitLanguageFile(marked);
    ASSERT_EQ(lines.extra.size(), size_t(kTextCount));  // those past every text are ignored
    EXPECT_EQ(lines.extra[0], "T0");
    EXPECT_EQ(lines.extra[kTextCount - 1], "T" + std::to_string(kTextCount - 1));
    // Within the 25 the marker is a caption like any other.
    EXPECT_EQ(SplitLanguageFile("[more texts]\r\nT0").lines[0], "[more texts]");
    EXPECT_TRUE(SplitLanguageFile("[more texts]\r\nT0").extra.empty());

    // An empty line keeps the text it stands for; the others replace theirs.
    Texts texts;
    texts.Replace(int(TextId::TipOpen), L"Open");
    texts.Replace(int(TextId::TipSave), L"");
    texts.Replace(kTextCount, L"nowhere");
    EXPECT_EQ(texts[TextId::TipOpen], L"Open");
    EXPECT_EQ(texts[TextId::TipSave], ChineseText(TextId::TipSave));
    EXPECT_EQ(texts[TextId::PickWindow], L"选取窗口(&W)");  // the last of the table

    EXPECT_EQ(Formatted(L"%1 x %2 pixels: %1", {L"15000", L"9000"}), L"15000 x 9000 pixels: 15000");
}

}  // namespace
}  // namespace app
