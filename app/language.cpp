// Replacing the window's texts from a language file.
#include <windows.h>

#include <optional>
#include <string>

#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "app/language_lines.h"
#include "toolkit/handles.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

// Far more than 25 captions need; what lies past it is never read.
constexpr DWORD kMaxLanguageFileBytes = 64 * 1024;

std::optional<std::string> ReadStart(const std::wstring& path) {
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

}  // namespace

void FrmMain::LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName) {
    const std::optional<std::string> bytes = ReadStart(folder + fileName);
    if (!bytes) return;  // rather than blank every caption
    const LanguageFileLines file = SplitLanguageFile(*bytes);
    for (int i = 0; i < kLanguageLineCount; ++i)
        LanguageLines[i] = Decode(file.lines[i], file.utf8 ? CP_UTF8 : CP_ACP);

    SetWindowTextW(hwnd(), LanguageLines[0].c_str());
    SetPanelText(1, LanguageLines[1]);
    const HMENU bar = GetMenu(hwnd());
    for (int i = 0; i < kMenuTreeSize; ++i) {
        const MenuEntry& e = kMenuTree[i];
        if (e.languageLine < 0) continue;  // a separator
        std::wstring text = MenuItemText(LanguageLines[e.languageLine], e.shortcut);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = text.data();
        // An entry that is not shown is in no menu; its line goes nowhere.
        SetMenuItemInfoW(bar, e.id, FALSE, &item);
    }
    DrawMenuBar(hwnd());
}

void FrmMain::mnuChinese_Click() {
    LoadLanguageFile(toolkit::AppPath() + L"\\language", L"\\chinese.lng");
}

void FrmMain::mnuEnglish_Click() {
    LoadLanguageFile(toolkit::AppPath() + L"\\language", L"\\English.lng");
}

}  // namespace app
