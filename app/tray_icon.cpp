// The icon in the notification area, while the option asks for it: its menu
// captures, shows the window, opens the options or exits; with it, closing
// a window that holds nothing unsaved only hides it, so the keys keep working.
#include "app/command_ids.h"
#include "app/frm_main.h"
#include "resources/resource.h"
#include "toolkit/handles.h"

namespace app {

namespace {

constexpr UINT kTrayIconId = 1;

NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

UINT FrmMain::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void FrmMain::RemoveTrayIcon() {
    NOTIFYICONDATAW data = IconData(hwnd());
    if (trayShown_) Shell_NotifyIconW(NIM_DELETE, &data);
    trayShown_ = false;
}

void FrmMain::UpdateTrayIcon() {
    const bool wanted = StoredOptions().trayIcon;
    if (!wanted) {
        RemoveTrayIcon();
        return;
    }
    NOTIFYICONDATAW data = IconData(hwnd());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FOTOLARK));
    lstrcpynW(data.szTip, kAppTitle, ARRAYSIZE(data.szTip));
    if (trayShown_ && Shell_NotifyIconW(NIM_MODIFY, &data)) return;
    trayShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void FrmMain::mnuTrayShow_Click() {
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd());
}

void FrmMain::OnTrayMessage(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK || mouseMessage == WM_LBUTTONUP) {
        mnuTrayShow_Click();
        return;
    }
    if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_CONTEXTMENU) return;
    toolkit::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    // The window's own entries, in the language they show now.
    const auto add = [&](UINT id) {
        wchar_t text[128] = L"";
        GetMenuStringW(GetMenu(hwnd()), id, text, 128, MF_BYCOMMAND);
        AppendMenuW(menu.get(), MF_STRING, id, text);
    };
    for (UINT id : {ID_mnuScreen, ID_mnuDistrict, ID_mnuAllMonitors, ID_mnuPickWindow}) add(id);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_mnuTrayShow, UiTexts[TextId::TrayShow].c_str());
    add(ID_mnuOptions);
    add(ID_mnuExit);
    SetMenuDefaultItem(menu.get(), ID_mnuTrayShow, FALSE);
    POINT at;
    GetCursorPos(&at);
    // In front, or the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    const UINT chosen = UINT(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                            0, hwnd(), nullptr));
    PostMessageW(hwnd(), WM_NULL, 0, 0);
    if (chosen) OnCommand(chosen);
    // A capture ends with its picture shown, as after a global key.
    if (chosen == ID_mnuScreen || chosen == ID_mnuAllMonitors) mnuTrayShow_Click();
}

bool FrmMain::HidesOnClose() {
    if (!trayShown_ || CaptureUnsaved) return false;
    SaveWindowPlacement();
    ShowWindow(hwnd(), SW_HIDE);
    return true;
}

}  // namespace app
