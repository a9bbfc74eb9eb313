// Keys as their shortcut text: what the options store and the messages name.
#include <gtest/gtest.h>

#include "toolkit/key_text.h"

using toolkit::KeyChord;
using toolkit::KeyText;
using toolkit::ParseKeyText;

TEST(KeyText, NamesTheKeysAsTheyAreLabelled) {
    EXPECT_EQ(KeyText({0, toolkit::kVkSnapshot}), L"Print Screen");
    EXPECT_EQ(KeyText({toolkit::kModAlt, toolkit::kVkSnapshot}), L"Alt+Print Screen");
    EXPECT_EQ(KeyText({toolkit::kModShift | toolkit::kModControl, toolkit::kVkSnapshot}),
              L"Ctrl+Shift+Print Screen");
    EXPECT_EQ(KeyText({toolkit::kModControl | toolkit::kModShift, 0x78}), L"Ctrl+Shift+F9");
    EXPECT_EQ(KeyText({toolkit::kModWin | toolkit::kModAlt, 'T'}), L"Alt+Win+T");
    EXPECT_EQ(KeyText({}), L"");
    EXPECT_EQ(KeyText({toolkit::kModControl, 0xFF}), L"");  // no name: nothing half-written
}

TEST(KeyText, EveryNamedKeyReadsBackAsItself) {
    for (unsigned vk = 1; vk < 256; ++vk)
        for (unsigned mods = 0; mods < 16; ++mods) {
            const KeyChord key{mods, vk};
            const std::wstring text = KeyText(key);
            if (text.empty()) continue;
            const auto back = ParseKeyText(text);
            ASSERT_TRUE(back) << vk << " " << mods;
            EXPECT_EQ(*back, key) << vk << " " << mods;
        }
}

TEST(KeyText, ReadsWhatAnAdministratorTypes) {
    EXPECT_EQ(ParseKeyText(L"ctrl + shift + f9"),
              (KeyChord{toolkit::kModControl | toolkit::kModShift, 0x78}));
    EXPECT_EQ(ParseKeyText(L"Shift+Ctrl+F9"),
              (KeyChord{toolkit::kModControl | toolkit::kModShift, 0x78}));
    EXPECT_EQ(ParseKeyText(L""), KeyChord{});  // none
    EXPECT_EQ(ParseKeyText(L"  "), KeyChord{});
    for (const wchar_t* garbage : {L"Ctrl+", L"Ctrl", L"+F9", L"Ctrl+Ctrl+F9", L"Hyper+F9", L"F25",
                                   L"Print", L"F9+Ctrl", L"Ctrl++F9", L"Num 10", L"ＡＢ"})
        EXPECT_FALSE(ParseKeyText(garbage)) << garbage;
}
