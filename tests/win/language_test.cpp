// Language files replace the window's caption, status text and menu captions,
// read back from the real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

// The menus in the order the user meets them: the line each caption comes
// from (-1 for a separator) and the shortcut that stays beside it.
struct ShownLine {
    int line;
    const wchar_t* shortcut;
};
const ShownLine kScreenOrder[] = {
    {2, L""},
    {3, L""},
    {4, L"\tCtrl+S"},
    {-1, L""},
    {8, L""},
    {-1, L""},
    {5, L"\tCtrl+W"},
    {6, L"\tCtrl+C"},
    {17, L""},
    {-1, L""},
    {7, L""},
    {-1, L""},
    {9, L"\tCtrl+Q"},
    {-1, L""},
    {app::TextLine(app::TextId::RecentMenu), L""},
    {-1, L""},
    {app::TextLine(app::TextId::HistoryOn), L""},
    {app::TextLine(app::TextId::HistoryClear), L""},
    {app::TextLine(app::TextId::HistoryFolder), L""},
    {app::TextLine(app::TextId::OptionsMenu), L""},
    {10, L""},
    {11, L""},
    {21, L""},
    {-1, L""},
    {12, L""},
    {13, L""},
    {-1, L""},
    {14, L""},
    {-1, L""},
    {app::TextLine(app::TextId::AllMonitors), L""},
    {app::TextLine(app::TextId::MonitorUnderPointer), L""},
    {app::TextLine(app::TextId::PickWindow), L""},
    {app::TextLine(app::TextId::ScrollCapture), L""},
    {-1, L""},
    {app::TextLine(app::TextId::PinToScreen), L"\tCtrl+T"},
    {app::TextLine(app::TextId::PinClipboard), L""},
    {app::TextLine(app::TextId::PinsHide), L""},
    {app::TextLine(app::TextId::PinsShow), L""},
    {16, L""},
    {-1, L""},
    {18, L""},
    {19, L""},
    {20, L""},
    {22, L""},
    {24, L""},
    {-1, L""},
    {23, L""},
    {-1, L""},
    {app::TextLine(app::TextId::LanguageMenu), L""},
    {app::TextLine(app::TextId::LanguageChinese), L""},
    {app::TextLine(app::TextId::LanguageEnglish), L""},
};

std::string Encoded(const std::wstring& text, UINT codePage) {
    std::string bytes(text.size() * 4, '\0');
    BOOL lossy = FALSE;
    bytes.resize(WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), bytes.data(),
                                     int(bytes.size()), nullptr,
                                     codePage == CP_UTF8 ? nullptr : &lossy));
    EXPECT_FALSE(lossy) << "the ANSI code page cannot hold the test's text";
    return bytes;
}

class LanguageFiles : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        std::filesystem::create_directories(folder_);
        for (int i = 1; i <= 17; ++i) tooltips_.push_back(Tooltip(i));
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        ShownForm::TearDown();
    }

    void Write(const wchar_t* name, const std::vector<std::wstring>& lines, bool ansi = false) {
        std::ofstream file(folder_ / name, std::ios::binary);
        if (!ansi) file << "\xEF\xBB\xBF";
        for (const auto& line : lines) file << Encoded(line, ansi ? CP_ACP : CP_UTF8) << "\r\n";
    }

    std::wstring Caption() const { return WindowText(form.hwnd()); }

    // What every target shows, against the 25 lines it should show.
    void ExpectShown(const std::vector<std::wstring>& lines) {
        ASSERT_EQ(lines.size(), 25u);
        EXPECT_EQ(Caption(), lines[0]);
        EXPECT_EQ(form.PanelText(1), lines[1]);
        const std::vector<MenuItemShown> menus = Menus();
        ASSERT_EQ(menus.size(), std::size(kScreenOrder));
        for (size_t i = 0; i < menus.size(); ++i) {
            const ShownLine& s = kScreenOrder[i];
            // The further lines are not in these files: their menu entries keep the Chinese texts.
            const std::wstring expected =
                s.line < 0 ? L"-"
                : s.line < 25
                    ? lines[s.line] + s.shortcut
                    : std::wstring(app::ChineseText(app::TextId(s.line - 25))) + s.shortcut;
            EXPECT_EQ(menus[i].text, expected) << i;
        }
        for (int i = 0; i < 25; ++i) EXPECT_EQ(form.LanguageLines[i], lines[i]) << i;
        for (int i = 1; i <= 17; ++i) EXPECT_EQ(Tooltip(i), tooltips_[i - 1]) << i;
    }

    const std::filesystem::path folder_ = toolkit::AppPath() + L"\\language";
    std::vector<std::wstring> tooltips_;
};

TEST_F(LanguageFiles, LinesReplaceTheTextsInTheirOrder) {
    // UTF-8 with the mark, 30 lines: the first 25 count.
    std::vector<std::wstring> lines;
    for (int i = 0; i < 30; ++i) lines.push_back(L"第" + std::to_wstring(i) + L"行 line");
    Write(L"English.lng", lines);
    form.mnuEnglish_Click();
    lines.resize(25);
    ExpectShown(lines);

    // Then a 10-line file in the ANSI code page: the rest goes empty.
    lines.assign(25, L"");
    for (int i = 0; i < 10; ++i) lines[i] = L"Caf\u00e9 " + std::to_wstring(i);
    Write(L"chinese.lng", std::vector<std::wstring>(lines.begin(), lines.begin() + 10), true);
    form.mnuChinese_Click();
    ExpectShown(lines);

    // A missing file changes nothing.
    std::filesystem::remove(folder_ / L"chinese.lng");
    form.mnuChinese_Click();
    ExpectShown(lines);
}

TEST_F(LanguageFiles, ShippedFiles) {
    // The build puts the program two folders above the tests.
    const std::wstring shipped = toolkit::AppPath() + L"\\..\\..\\language";
    const std::vector<MenuItemShown> designed = Menus();
    const std::wstring productLine = form.PanelText(1);

    form.LoadLanguageFile(shipped, L"\\English.lng");
    EXPECT_EQ(Caption(), L"Fotolark");
    EXPECT_EQ(form.PanelText(1), L"Skylark Software - Fotolark V2.0");
    // Every further text has its English line: none is left as the Chinese one, but the
    // language menu's, which name each language in itself in both files.
    for (int i = 0; i < app::kTextCount; ++i) {
        const auto id = app::TextId(i);
        if (id == app::TextId::LanguageMenu || id == app::TextId::LanguageChinese ||
            id == app::TextId::LanguageEnglish)
            continue;
        EXPECT_NE(form.UiTexts[id], app::ChineseText(id)) << i;
    }
    // Every English caption has one access key, none taken twice in a menu.
    std::vector<std::set<wchar_t>> taken;  // per level of the menus open on the way
    for (const MenuItemShown& item : Menus()) {
        taken.resize(item.level);
        if (item.text == L"-") continue;
        const auto mark = item.text.find(L'&');
        ASSERT_TRUE(mark != std::wstring::npos && mark + 1 < item.text.size()) << item.text.c_str();
        EXPECT_TRUE(taken.back().insert(wchar_t(towupper(item.text[mark + 1]))).second)
            << item.text.c_str();
    }

    // The Chinese file gives back the window's first texts.
    form.LoadLanguageFile(shipped, L"\\chinese.lng");
    EXPECT_EQ(Caption(), L"Fotolark");
    EXPECT_EQ(form.PanelText(1), productLine);
    const std::vector<MenuItemShown> chinese = Menus();
    ASSERT_EQ(chinese.size(), designed.size());
    for (size_t i = 0; i < designed.size(); ++i) EXPECT_EQ(chinese[i].text, designed[i].text) << i;
}

TEST_F(LanguageFiles, FurtherLinesReplaceMessagesAndTooltipsAndShortFilesKeepThem) {
    std::vector<std::wstring> lines(25, L"caption");
    lines.resize(app::TextLine(app::TextId::TipOpen) + 1, L"");  // empty lines keep their texts
    lines[app::TextLine(app::TextId::NothingToSave)] = L"Nothing here to save.";
    lines[app::TextLine(app::TextId::TipOpen)] = L"Open it";
    lines.insert(lines.begin() + 25, L"[more texts]");
    Write(L"English.lng", lines);
    form.mnuEnglish_Click();
    ScriptedBoxes boxes({IDOK, IDOK, IDOK});
    form.mnusave_Click();  // an empty viewer: the message
    EXPECT_EQ(Tooltip(2), L"Open it");
    EXPECT_EQ(Tooltip(3), tooltips_[2]) << "a text the file leaves empty";

    // 25 lines: the captions change, the further texts stay.
    Write(L"chinese.lng", std::vector<std::wstring>(25, L"short"));
    form.mnuChinese_Click();
    form.mnusave_Click();
    EXPECT_EQ(Tooltip(2), L"Open it");
    EXPECT_EQ(Caption(), L"short");
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[0].text, L"Nothing here to save.");
    EXPECT_EQ(boxes.asked[1].text, L"Nothing here to save.");
}

// The shipped files through the Help menu's language entries, the choice kept
// for the next start.
TEST_F(LanguageFiles, TheHelpMenuSwitchesAndTheNextStartKeepsTheChoice) {
    const std::wstring shipped = toolkit::AppPath() + L"\\..\\..\\language";
    for (const wchar_t* name : {L"\\English.lng", L"\\chinese.lng"})
        std::filesystem::copy_file(shipped + name, folder_ / (name + 1),
                                   std::filesystem::copy_options::overwrite_existing);
    // The language shown is the one checked in the menu.
    const auto checked = [](HWND window) {
        const auto on = [&](UINT id) {
            return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
        };
        return std::wstring(on(app::ID_mnuHelpChinese) ? L"C" : L"") +
               (on(app::ID_mnuHelpEnglish) ? L"E" : L"");
    };
    EXPECT_EQ(checked(form.hwnd()), L"C");
    SendMessageW(form.hwnd(), WM_COMMAND, app::ID_mnuHelpEnglish, 0);
    EXPECT_EQ(Tooltip(2), L"Open");
    EXPECT_EQ(checked(form.hwnd()), L"E");
    {
        app::FrmMain next;
        ASSERT_TRUE(next.Load());
        wchar_t file[64] = L"";
        GetMenuStringW(GetMenu(next.hwnd()), 0, file, 64, MF_BYPOSITION);
        EXPECT_STREQ(file, L"&File");
        EXPECT_EQ(checked(next.hwnd()), L"E");
    }
    SendMessageW(form.hwnd(), WM_COMMAND, app::ID_mnuHelpChinese, 0);
    EXPECT_EQ(Tooltip(2), L"打开");
    EXPECT_EQ(checked(form.hwnd()), L"C");
    app::FrmMain next;
    ASSERT_TRUE(next.Load());
    wchar_t file[64] = L"";
    GetMenuStringW(GetMenu(next.hwnd()), 0, file, 64, MF_BYPOSITION);
    EXPECT_STREQ(file, L"文件(&F)");
}

}  // namespace
