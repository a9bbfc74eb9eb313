// File > Options: a property sheet of the global keys, what happens after a
// capture, the file-name pattern, history and pins, and the general choices.
// Each page applies its own part; the keys take effect at once.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "app/frm_main.h"
#include "app/global_key_table.h"
#include "output/auto_save.h"
#include "output/file_name_pattern.h"
#include "resources/resource.h"
#include "toolkit/run_at_start.h"
#include "toolkit/settings.h"

namespace app {

namespace {

struct Sheet {
    FrmMain* form;
    Options options;
};

// Hot-key controls speak HOTKEYF_ flags, RegisterHotKey MOD_ ones. A
// control left with modifiers alone holds no key.
toolkit::KeyChord FromHotKeyControl(HWND control) {
    const WORD value = WORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
    const BYTE flags = HIBYTE(value);
    toolkit::KeyChord key{0, LOBYTE(value)};
    if (key.None()) return {};
    if (flags & HOTKEYF_ALT) key.modifiers |= MOD_ALT;
    if (flags & HOTKEYF_CONTROL) key.modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT) key.modifiers |= MOD_SHIFT;
    return key;
}

// Keys of the extended block: without the flag the control names Print
// Screen after the keypad's "*" key, which shares its scan code.
bool ExtendedKey(unsigned vk) {
    return vk == VK_SNAPSHOT || (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT ||
           vk == VK_DELETE || vk == VK_DIVIDE || vk == VK_NUMLOCK;
}

void ToHotKeyControl(HWND control, toolkit::KeyChord key) {
    BYTE flags = ExtendedKey(key.vk) ? HOTKEYF_EXT : 0;
    if (key.modifiers & MOD_ALT) flags |= HOTKEYF_ALT;
    if (key.modifiers & MOD_CONTROL) flags |= HOTKEYF_CONTROL;
    if (key.modifiers & MOD_SHIFT) flags |= HOTKEYF_SHIFT;
    SendMessageW(control, HKM_SETHOTKEY, MAKEWORD(BYTE(key.vk), flags), 0);
}

std::wstring ItemText(HWND page, int id) {
    const HWND item = GetDlgItem(page, id);
    std::wstring text(size_t(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(item, text.data(), int(text.size()))));
    return text;
}

void SetItem(HWND page, int id, const std::wstring& text) {
    SetDlgItemTextW(page, id, text.c_str());
}
bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) {
    CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}

Sheet* SheetOf(HWND page) { return reinterpret_cast<Sheet*>(GetWindowLongPtrW(page, DWLP_USER)); }

// WM_INITDIALOG: the sheet the page belongs to, kept with the page.
Sheet* Attach(HWND page, LPARAM lParam) {
    auto* sheet = reinterpret_cast<Sheet*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    SetWindowLongPtrW(page, DWLP_USER, LONG_PTR(sheet));
    return sheet;
}

INT_PTR Applied(HWND page) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}

void SaveOptions(const Options& options) {
    WriteOptions(options, [](const wchar_t* name, const std::wstring& text) {
        toolkit::SaveSetting(kAppTitle, L"Settings", name, text);
    });
}

// The page's Apply: true when the message was PSN_APPLY.
bool IsApply(LPARAM lParam) { return reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY; }

void Changed(HWND page) { PropSheet_Changed(GetParent(page), page); }

// Ctrl+Tab and Ctrl+Page Up/Down turn the pages even from a hot-key control.
// The control drops its key at any key press, Ctrl's included: the key it
// held before the modifiers is given back when they turn the page instead.
constexpr wchar_t kKeyBeforeModifiers[] = L"FotolarkKeyBeforeModifiers";

bool IsModifier(WPARAM key) { return key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU; }

bool TurnsPage(WPARAM key) {
    return GetKeyState(VK_CONTROL) < 0 && (key == VK_TAB || key == VK_PRIOR || key == VK_NEXT);
}

void TurnPage(HWND box, WPARAM key) {
    if (const HANDLE kept = GetPropW(box, kKeyBeforeModifiers))
        SendMessageW(box, HKM_SETHOTKEY, LOWORD(UINT_PTR(kept)), 0);
    const HWND sheet = GetParent(GetParent(box));
    const int count = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
    const int now = PropSheet_HwndToIndex(sheet, GetParent(box));
    const bool back = key == VK_PRIOR || (key == VK_TAB && GetKeyState(VK_SHIFT) < 0);
    PropSheet_SetCurSel(sheet, nullptr, (now + (back ? count - 1 : 1)) % count);
    SetFocus(PropSheet_GetTabControl(sheet));  // not the page that went away
}

LRESULT CALLBACK HotKeyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    switch (message) {
        case WM_GETDLGCODE:
            // Asked first by the dialog, which would otherwise take Ctrl+Tab as Tab.
            if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                TurnsPage(reinterpret_cast<const MSG*>(lParam)->wParam))
                return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (TurnsPage(wParam)) {
                TurnPage(box, wParam);
                return 0;
            }
            if (IsModifier(wParam) && !GetPropW(box, kKeyBeforeModifiers))
                SetPropW(box, kKeyBeforeModifiers,
                         HANDLE(UINT_PTR(SendMessageW(box, HKM_GETHOTKEY, 0, 0)) | 0x10000));
            else if (!IsModifier(wParam))
                RemovePropW(box, kKeyBeforeModifiers);  // the user's new key
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (IsModifier(wParam) && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0 &&
                GetKeyState(VK_MENU) >= 0)
                RemovePropW(box, kKeyBeforeModifiers);
            break;
        case WM_NCDESTROY:
            RemovePropW(box, kKeyBeforeModifiers);
            RemoveWindowSubclass(box, &HotKeyBoxProc, 1);
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// Keys: one row a key of the table, made here: label, hot-key control, state.
void MakeKeyRows(HWND page, const FrmMain& form) {
    const HFONT font = HFONT(SendMessageW(page, WM_GETFONT, 0, 0));
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        RECT label{7, 30 + i * 32, 95, 40 + i * 32}, box{98, 28 + i * 32, 200, 41 + i * 32},
            state{98, 43 + i * 32, 293, 59 + i * 32};
        MapDialogRect(page, &label);
        MapDialogRect(page, &box);
        MapDialogRect(page, &state);
        const auto make = [&](const wchar_t* cls, DWORD style, const RECT& r, int id,
                              const std::wstring& text) {
            HWND w = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                                     r.top, r.right - r.left, r.bottom - r.top, page,
                                     HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
            SendMessageW(w, WM_SETFONT, WPARAM(font), FALSE);
            return w;
        };
        make(L"STATIC", SS_LEFT, label, IDC_KEY_LABEL + i, form.UiTexts[kGlobalKeyRows[i].label]);
        HWND hot = make(HOTKEY_CLASSW, WS_TABSTOP | WS_BORDER, box, IDC_KEY_HOTKEY + i, L"");
        ToHotKeyControl(hot, form.GlobalKeys()[size_t(i)]);
        SetWindowSubclass(hot, &HotKeyBoxProc, 1, 0);
        make(L"STATIC", SS_LEFT | SS_NOPREFIX, state, IDC_KEY_STATE + i,
             form.KeyStateText(form.GlobalKeys()[size_t(i)], form.GlobalKeyStates()[size_t(i)]));
    }
}

void ApplyKeys(HWND page, FrmMain& form) {
    std::vector<toolkit::KeyChord> wanted;
    for (int i = 0; i < kGlobalKeyCount; ++i)
        wanted.push_back(FromHotKeyControl(GetDlgItem(page, IDC_KEY_HOTKEY + i)));
    const std::vector<toolkit::KeyState> states = form.ApplyGlobalKeys(wanted);
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        const size_t r = size_t(i);
        std::wstring text = form.KeyStateText(wanted[r], states[r]);
        if (wanted[r] != form.GlobalKeys()[r])  // taken: the old key stays
            text +=
                Formatted(form.UiTexts[TextId::KeyKept], {toolkit::KeyText(form.GlobalKeys()[r])});
        ToHotKeyControl(GetDlgItem(page, IDC_KEY_HOTKEY + i), form.GlobalKeys()[r]);
        SetItem(page, IDC_KEY_STATE + i, text);
    }
}

INT_PTR CALLBACK KeysPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = SheetOf(page);
    switch (message) {
        case WM_INITDIALOG:
            sheet = Attach(page, lParam);
            SetItem(page, IDC_KEYS_INTRO, sheet->form->UiTexts[TextId::KeysIntro]);
            MakeKeyRows(page, *sheet->form);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE) Changed(page);
            return TRUE;
        case WM_NOTIFY:
            if (!IsApply(lParam)) return FALSE;
            ApplyKeys(page, *sheet->form);
            return Applied(page);
    }
    return FALSE;
}

void BrowseForFolder(HWND page, const Texts& texts) {
    const std::wstring prompt = texts[TextId::FolderPrompt];
    BROWSEINFOW info{};
    info.hwndOwner = page;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(chosen, path)) SetItem(page, IDC_AFTER_FOLDER, path);
    CoTaskMemFree(chosen);
}

INT_PTR CALLBACK AfterPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = SheetOf(page);
    switch (message) {
        case WM_INITDIALOG: {
            sheet = Attach(page, lParam);
            const Texts& t = sheet->form->UiTexts;
            SetItem(page, IDC_AFTER_SHOW, t[TextId::AfterShow]);
            SetItem(page, IDC_AFTER_COPY, t[TextId::AfterCopy]);
            SetItem(page, IDC_AFTER_SAVE, t[TextId::AfterSave]);
            SetItem(page, IDC_AFTER_BROWSE, t[TextId::Browse]);
            SetItem(page, IDC_AFTER_PIN, t[TextId::AfterPin]);
            SetItem(page, IDC_AFTER_OPEN, t[TextId::AfterOpenFolder]);
            const Options& o = sheet->options;
            Check(page, IDC_AFTER_SHOW, true);
            Check(page, IDC_AFTER_COPY, o.afterCaptureCopy);
            Check(page, IDC_AFTER_SAVE, o.autoSave);
            Check(page, IDC_AFTER_OPEN, o.afterCaptureOpenFolder);
            Check(page, IDC_AFTER_PIN, o.afterCapturePin);
            SetItem(page, IDC_AFTER_FOLDER,
                    o.autoSaveFolder.empty() ? output::PicturesFolder() : o.autoSaveFolder);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_AFTER_BROWSE && HIWORD(wParam) == BN_CLICKED)
                BrowseForFolder(page, sheet->form->UiTexts);
            if (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == BN_CLICKED) Changed(page);
            return TRUE;
        case WM_NOTIFY: {
            if (!IsApply(lParam)) return FALSE;
            Options& o = sheet->options;
            o.afterCaptureCopy = Checked(page, IDC_AFTER_COPY);
            o.autoSave = Checked(page, IDC_AFTER_SAVE);
            o.afterCaptureOpenFolder = Checked(page, IDC_AFTER_OPEN);
            o.afterCapturePin = Checked(page, IDC_AFTER_PIN);
            o.autoSaveFolder = ItemText(page, IDC_AFTER_FOLDER);
            SaveOptions(o);
            return Applied(page);
        }
    }
    return FALSE;
}

void ShowPreview(HWND page, const FrmMain& form) {
    const std::wstring pattern = ItemText(page, IDC_NAMES_PATTERN);
    const SIZE size =
        form.PicBmp.GetPicture().Empty() ? SIZE{1920, 1080} : form.PicBmp.GetPicture().PixelSize();
    const uint32_t counter =
        ParseCounter(toolkit::GetSetting(kAppTitle, L"Settings", L"AutoSaveCounter"));
    output::NameFields fields = output::NameFieldsFor(nullptr, size, counter);
    fields.title = L"Fotolark";  // what a window capture's title would give
    fields.program = L"fotolark";
    SetItem(page, IDC_NAMES_PREVIEW,
            output::ExpandFileNamePattern(
                pattern.empty() ? output::kDefaultFileNamePattern : pattern, fields));
}

INT_PTR CALLBACK NamesPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = SheetOf(page);
    switch (message) {
        case WM_INITDIALOG: {
            sheet = Attach(page, lParam);
            const Texts& t = sheet->form->UiTexts;
            SetItem(page, IDC_NAMES_LABEL, t[TextId::NamesPattern]);
            SetItem(page, IDC_NAMES_TOKENS, t[TextId::NamesTokens]);
            SetItem(page, IDC_NAMES_PREVIEW_LABEL, t[TextId::NamesPreview]);
            SetItem(page, IDC_NAMES_PATTERN, sheet->options.fileNamePattern);
            ShowPreview(page, *sheet->form);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_NAMES_PATTERN && HIWORD(wParam) == EN_CHANGE) {
                ShowPreview(page, *sheet->form);
                Changed(page);
            }
            return TRUE;
        case WM_NOTIFY: {
            if (!IsApply(lParam)) return FALSE;
            const std::wstring pattern = ItemText(page, IDC_NAMES_PATTERN);
            sheet->options.fileNamePattern =
                pattern.empty() ? output::kDefaultFileNamePattern : pattern;
            SaveOptions(sheet->options);
            return Applied(page);
        }
    }
    return FALSE;
}

INT_PTR CALLBACK HistoryPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = SheetOf(page);
    switch (message) {
        case WM_INITDIALOG:
            sheet = Attach(page, lParam);
            SetItem(page, IDC_HISTORY_KEEP, sheet->form->UiTexts[TextId::HistoryKeep]);
            SetItem(page, IDC_PINS_RESTORE, sheet->form->UiTexts[TextId::PinsRestoreText]);
            Check(page, IDC_HISTORY_KEEP, sheet->options.history);
            Check(page, IDC_PINS_RESTORE, sheet->options.pinsRestore);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) Changed(page);
            return TRUE;
        case WM_NOTIFY:
            if (!IsApply(lParam)) return FALSE;
            sheet->options.history = Checked(page, IDC_HISTORY_KEEP);
            sheet->options.pinsRestore = Checked(page, IDC_PINS_RESTORE);
            SaveOptions(sheet->options);
            return Applied(page);
    }
    return FALSE;
}

bool EnglishChosen() {
    return toolkit::GetSetting(kAppTitle, L"Settings", L"Language") ==
           std::wstring(L"\\English.lng");
}

INT_PTR CALLBACK GeneralPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = SheetOf(page);
    switch (message) {
        case WM_INITDIALOG: {
            sheet = Attach(page, lParam);
            const Texts& t = sheet->form->UiTexts;
            SetItem(page, IDC_GENERAL_LANGUAGE_LABEL, t[TextId::GeneralLanguage]);
            SetItem(page, IDC_GENERAL_RUN_AT_START, t[TextId::RunAtStartText]);
            SetItem(page, IDC_GENERAL_TRAY, t[TextId::TrayIconText]);
            Check(page, IDC_GENERAL_TRAY, sheet->options.trayIcon);
            const HWND languages = GetDlgItem(page, IDC_GENERAL_LANGUAGE);
            for (TextId id : {TextId::LanguageChinese, TextId::LanguageEnglish}) {
                std::wstring name = t[id];
                name.erase(std::remove(name.begin(), name.end(), L'&'), name.end());
                SendMessageW(languages, CB_ADDSTRING, 0, LPARAM(name.c_str()));
            }
            SendMessageW(languages, CB_SETCURSEL, EnglishChosen() ? 1 : 0, 0);
            Check(page, IDC_GENERAL_RUN_AT_START, toolkit::RunsAtStart(kAppTitle));
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == CBN_SELCHANGE) Changed(page);
            return TRUE;
        case WM_NOTIFY: {
            if (!IsApply(lParam)) return FALSE;
            const bool english =
                SendDlgItemMessageW(page, IDC_GENERAL_LANGUAGE, CB_GETCURSEL, 0, 0) == 1;
            if (english != EnglishChosen()) {
                if (english)
                    sheet->form->mnuEnglish_Click();
                else
                    sheet->form->mnuChinese_Click();
            }
            sheet->options.runAtStart = Checked(page, IDC_GENERAL_RUN_AT_START);
            toolkit::SetRunAtStart(kAppTitle, sheet->options.runAtStart);
            sheet->options.trayIcon = Checked(page, IDC_GENERAL_TRAY);
            SaveOptions(sheet->options);
            sheet->form->UpdateTrayIcon();
            return Applied(page);
        }
    }
    return FALSE;
}

}  // namespace

void FrmMain::mnuOptions_Click() {
    Sheet sheet{this, StoredOptions()};
    sheet.options.runAtStart = toolkit::RunsAtStart(kAppTitle);  // what Windows will do
    struct PageDef {
        int dialog;
        DLGPROC proc;
        TextId title;
    };
    const PageDef defs[] = {
        {IDD_OPTIONS_KEYS, &KeysPage, TextId::PageKeys},
        {IDD_OPTIONS_AFTER, &AfterPage, TextId::PageAfter},
        {IDD_OPTIONS_NAMES, &NamesPage, TextId::PageNames},
        {IDD_OPTIONS_HISTORY, &HistoryPage, TextId::PageHistory},
        {IDD_OPTIONS_GENERAL, &GeneralPage, TextId::PageGeneral},
    };
    PROPSHEETPAGEW pages[sizeof defs / sizeof defs[0]]{};
    for (size_t i = 0; i < sizeof defs / sizeof defs[0]; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = GetModuleHandleW(nullptr);
        pages[i].pszTemplate = MAKEINTRESOURCEW(defs[i].dialog);
        pages[i].pfnDlgProc = defs[i].proc;
        pages[i].pszTitle = UiTexts[defs[i].title].c_str();
        pages[i].lParam = LPARAM(&sheet);
    }
    const std::wstring title = UiTexts[TextId::OptionsTitle];
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = hwnd();
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = title.c_str();
    header.nPages = UINT(sizeof defs / sizeof defs[0]);
    header.ppsp = pages;
    PropertySheetW(&header);
}

}  // namespace app
