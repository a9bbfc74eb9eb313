// Replacing the window's texts from a language file.
#include <windows.h>

#include <optional>
#include <string>

#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "app/language_lines.h"
#include "toolkit/handles.h"
#include "toolkit/runtime.h"
#include "toolkit/settings.h"

namespace app {

namespace {

// Far more than all the texts need; what lies past it is never read.
constexpr DWORD kMaxLanguageFileBytes = 64 * 1024;

std::optional<std::string> ReadStart(const std::wstring& path) {
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(kMaxLanguageFileBytes, '\0');
    DWORD total = 0, read = 0;
    do {
        if (!ReadFile(file.get(), bytes.data() + total, kMaxLanguageFileBytes - total, &read,
                      nullptr))
            return std::nullopt;
        total += read;
    } while (read > 0 && total < kMaxLanguageFileBytes);
    bytes.resize(total);
    return bytes;
}

std::wstring Decode(const std::string& line, UINT codePage) {
    if (line.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, line.data(), int(line.size()), nullptr, 0);
    std::wstring text(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, line.data(), int(line.size()), text.data(), length);
    return text;
}

// The choice is kept for the next start: the file's name beside the program.
constexpr wchar_t kLanguageKey[] = L"Language";
constexpr wchar_t kChineseFile[] = L"\\chinese.lng";
constexpr wchar_t kEnglishFile[] = L"\\English.lng";

std::wstring LanguageFolder() { return toolkit::AppPath() + L"\\language"; }

// The language shown is checked in the Help menu's submenu and in the Image menu.
void CheckLanguage(HWND window, bool english) {
    const HMENU bar = GetMenu(window);
    CheckMenuRadioItem(bar, ID_mnuHelpChinese, ID_mnuHelpEnglish,
                       english ? ID_mnuHelpEnglish : ID_mnuHelpChinese, MF_BYCOMMAND);
    CheckMenuRadioItem(bar, ID_mnuChinese, ID_mnuEnglish, english ? ID_mnuEnglish : ID_mnuChinese,
                       MF_BYCOMMAND);
}

}  // namespace

bool FrmMain::LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName) {
    const std::optional<std::string> bytes = ReadStart(folder + fileName);
    if (!bytes) return false;  // rather than blank every caption
    const LanguageFileLines file = SplitLanguageFile(*bytes);
    const UINT codePage = file.utf8 ? CP_UTF8 : CP_ACP;
    for (int i = 0; i < kLanguageLineCount; ++i) LanguageLines[i] = Decode(file.lines[i], codePage);
    for (size_t i = 0; i < file.extra.size(); ++i)
        UiTexts.Replace(int(i), Decode(file.extra[i], codePage));

    SetWindowTextW(hwnd(), LanguageLines[0].c_str());
    SetPanelText(1, LanguageLines[1]);
    const HMENU bar = GetMenu(hwnd());
    for (int i = 0; i < kMenuTreeSize; ++i) {
        const MenuEntry& e = kMenuTree[i];
        if (e.languageLine < 0) continue;  // a separator
        std::wstring text = MenuItemText(e.languageLine < kLanguageLineCount
                                             ? LanguageLines[e.languageLine]
                                             : UiTexts[TextId(e.languageLine - kLanguageLineCount)],
                                         e.shortcut);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = text.data();
        // An entry that is not shown is in no menu; its line goes nowhere.
        SetMenuItemInfoW(bar, e.id, FALSE, &item);
    }
    // Another file's texts leave the mark where it was.
    if (fileName == kEnglishFile || fileName == kChineseFile)
        CheckLanguage(hwnd(), fileName == kEnglishFile);
    DrawMenuBar(hwnd());
    return true;
}

void FrmMain::mnuChinese_Click() {
    if (LoadLanguageFile(LanguageFolder(), kChineseFile))
        toolkit::SaveSetting(kAppTitle, L"Settings", kLanguageKey, kChineseFile);
}

void FrmMain::mnuEnglish_Click() {
    if (LoadLanguageFile(LanguageFolder(), kEnglishFile))
        toolkit::SaveSetting(kAppTitle, L"Settings", kLanguageKey, kEnglishFile);
}

// The first start shows the built-in Chinese texts and reads no file.
void FrmMain::LoadChosenLanguage() {
    CheckLanguage(hwnd(), false);
    const auto chosen = toolkit::GetSetting(kAppTitle, L"Settings", kLanguageKey);
    if (chosen && (*chosen == kChineseFile || *chosen == kEnglishFile))
        LoadLanguageFile(LanguageFolder(), *chosen);
}

}  // namespace app
