// The File menu's Recent submenu: the last pictures of the history, reopened
// with their marks; and the history turned off or on, cleared, its folder shown.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/history_keeping.h"
#include "toolkit/runtime.h"

namespace app {

namespace hs = output::history;

namespace {

constexpr size_t kRecentCount = ID_mnuRecentLast - ID_mnuRecentFirst + 1;

HMENU RecentMenuOf(HWND window) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    if (!GetMenuItemInfoW(GetMenu(window), ID_mnuRecent, FALSE, &item)) return nullptr;
    return item.hSubMenu;
}

}  // namespace

void FrmMain::OnInitMenuPopup(HMENU menu) {
    if (!history_ || !menu || menu != RecentMenuOf(hwnd())) return;
    HistoryKeeping& h = *history_;
    for (UINT id = ID_mnuRecentFirst; id <= ID_mnuRecentNone; ++id)
        DeleteMenu(menu, id, MF_BYCOMMAND);
    h.listed.clear();
    if (h.store) {
        // What was just captured is listed too.
        FlushHistory();
        h.store->Drain();
        for (const hs::Entry& entry : h.store->Recent(kRecentCount)) {
            const std::wstring text =
                hs::RecentItemText(entry.record, SourceName(UiTexts, entry.record.source));
            InsertMenuW(menu, UINT(h.listed.size()), MF_BYPOSITION | MF_STRING,
                        ID_mnuRecentFirst + h.listed.size(), text.c_str());
            h.listed.push_back(entry.name);
        }
    }
    if (h.listed.empty())
        InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_mnuRecentNone,
                    UiTexts[TextId::RecentNone].c_str());
    CheckMenuItem(menu, ID_mnuHistoryOn, MF_BYCOMMAND | (h.store ? MF_CHECKED : MF_UNCHECKED));
}

// As the open command: the question about an unsaved picture first.
void FrmMain::mnuRecent_Click(int index) {
    if (!history_ || !history_->store || index < 0 || size_t(index) >= history_->listed.size())
        return;
    HistoryKeeping& h = *history_;
    const std::wstring name = h.listed[size_t(index)];
    if (!MayDropCapture()) return;
    FlushHistory();
    h.store->Drain();
    const auto entry = h.store->Read(name);
    if (!entry || !ShowEntry(*entry, output::LoadPicture(h.store->PicturePath(name)))) {
        ShowMessage(UiTexts[TextId::HistoryUnreadable] + h.store->PicturePath(name));
        return;
    }
    // Kept in the history, as a file opened is kept on disk.
    CaptureUnsaved = false;
    Markup.Saved();
    NoteSession();
}

void FrmMain::mnuHistoryOn_Click() {
    if (!history_) return;
    const bool on = !history_->store;
    SetHistoryWanted(on);
    if (!on) {
        HistoryFinish();
        return;
    }
    OpenHistory();   // what other runs left stays in Recent
    FlushHistory();  // the picture in the viewer is kept from now on
    NoteSession();
}

void FrmMain::mnuHistoryClear_Click() {
    if (!history_ ||
        toolkit::MsgBox(hwnd(), UiTexts[TextId::HistoryClearPrompt],
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, toolkit::ExeName()) != IDYES)
        return;
    HistoryKeeping& h = *history_;
    if (h.store) {
        h.store->Clear();
    } else {
        hs::Store(hs::DefaultFolder()).Clear();
    }
    h.current.clear();
    h.onDisk = false;
    h.written.clear();
    NoteSession();
}

void FrmMain::mnuHistoryFolder_Click() {
    const std::wstring folder = hs::DefaultFolder();
    if (folder.empty()) return;
    SHCreateDirectoryExW(hwnd(), folder.substr(0, folder.size() - 1).c_str(), nullptr);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = hwnd();
    info.lpVerb = L"open";
    info.lpFile = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}

}  // namespace app
