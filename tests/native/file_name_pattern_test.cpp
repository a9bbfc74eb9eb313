// The names captures save themselves under.
#include <gtest/gtest.h>

#include <set>

#include "output/file_name_pattern.h"

using output::ExpandFileNamePattern;
using output::FreeName;

namespace {

output::NameFields At(int y, int mo, int d, int h, int mi, int s) {
    output::NameFields f;
    f.year = y, f.month = mo, f.day = d, f.hour = h, f.minute = mi, f.second = s;
    return f;
}

}  // namespace

TEST(FileNamePattern, TokensGiveNamesThatSort) {
    output::NameFields f = At(2026, 3, 7, 9, 5, 1);
    f.counter = 7;
    f.width = 1920;
    f.height = 1080;
    EXPECT_EQ(ExpandFileNamePattern(output::kDefaultFileNamePattern, f),
              L"Fotolark 2026-03-07 090501.png");
    EXPECT_EQ(ExpandFileNamePattern(L"%3n %n %w x %h 100%%.jpg", f), L"007 7 1920 x 1080 100%.jpg");
    EXPECT_EQ(ExpandFileNamePattern(L"%q%", f), L"%q%.png");  // not tokens: as typed
    f.counter = 12345;
    EXPECT_EQ(ExpandFileNamePattern(L"%3n.BMP", f), L"12345.BMP");  // wider than its padding
}

TEST(FileNamePattern, WindowTitlesBecomeNamesWindowsAccepts) {
    output::NameFields f = At(2026, 1, 2, 3, 4, 5);
    f.title = L"C:\\notes\\a.txt * - Notepad? <1>|\"2\"/\t";
    f.program = L"notepad";
    EXPECT_EQ(ExpandFileNamePattern(L"%program - %title.png", f),
              L"notepad - C__notes_a.txt _ - Notepad_ _1___2___.png");
    // What the title brings cannot choose the format or a folder.
    f.title = L"..\\..\\evil.bmp";
    EXPECT_EQ(ExpandFileNamePattern(L"%title", f), L".._.._evil.bmp.png");
    // Nothing left, trailing dots, device names.
    f.title = L" . ";
    EXPECT_EQ(ExpandFileNamePattern(L"%title.jpg", f), L"Fotolark.jpg");
    f.title = L"con";
    EXPECT_EQ(ExpandFileNamePattern(L"%title.png", f), L"_con.png");
    f.title = std::wstring(300, L'x');
    EXPECT_LE(ExpandFileNamePattern(L"%title.png", f).size(), 130u);
}

TEST(FileNamePattern, ATakenNameGetsTheNextNumberNeverItself) {
    std::set<std::wstring> existing{L"shot.png", L"shot (2).png"};
    const auto taken = [&](const std::wstring& n) { return existing.count(n) > 0; };
    EXPECT_EQ(FreeName(L"other.png", taken), L"other.png");
    EXPECT_EQ(FreeName(L"shot.png", taken), L"shot (3).png");
    EXPECT_EQ(FreeName(L"shot.png", [](const std::wstring&) { return true; }), L"");
}
