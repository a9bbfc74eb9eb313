// Start-up, the stored placement, the close protocol and the Exit command.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/frm_main.h"
#include "app/placement.h"
#include "toolkit/runtime.h"
#include "toolkit/settings.h"
#include "toolkit/units.h"

namespace app {

namespace {

constexpr const wchar_t* kAppName = kAppTitle;
constexpr wchar_t kSection[] = L"Settings";

std::wstring NowText() {
    // The user's general date format: short date, then long time.
    wchar_t date[128] = L"", time[128] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    try {
        reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(
            PixelRect{r.left, r.top, r.right, r.bottom});
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the monitors found so far
    }
}

std::vector<PixelRect> Monitors() {
    std::vector<PixelRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

}  // namespace

void FrmMain::Form_Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

// The window opens where it was stored; the window's centre-on-owner start-up
// position is not applied over it, since the main window has no owner and the
// user expects it back where it was left.
void FrmMain::Form_Load() {
    SetPanelText(2, NowText());
    const auto setting = [](const wchar_t* key) {
        return toolkit::GetSetting(kAppName, kSection, key);
    };
    const Placement p = ResolvePlacement(
        setting(L"MainLeft"), setting(L"MainTop"), setting(L"MainWidth"), setting(L"MainHeight"),
        Monitors(), toolkit::Screen::TwipsPerPixelX(), toolkit::Screen::TwipsPerPixelY());
    SetLeft(p.left);
    SetTop(p.top);
    SetWidth(p.width);
    SetHeight(p.height);
    LoadChosenLanguage();
}

bool FrmMain::SaveWindowPlacement() {
    if (GetWindowState() == toolkit::WindowState::Minimized) return true;
    const auto save = [](const wchar_t* key, float value) {
        return toolkit::SaveSetting(kAppName, kSection, key, toolkit::NumberText(value));
    };
    return save(L"MainLeft", Left()) && save(L"MainTop", Top()) && save(L"MainWidth", Width()) &&
           save(L"MainHeight", Height());
}

void FrmMain::Form_Unload(bool& Cancel) {
    // A placement that cannot be written must not cost the user the prompt.
    SaveWindowPlacement();
    if (!MayDropCapture()) Cancel = true;
}

// The same question wherever an unsaved capture would be lost: the close box,
// Exit and opening a file.
bool FrmMain::MayDropCapture() {
    if (!CaptureUnsaved) return true;
    switch (toolkit::MsgBox(hwnd(), UiTexts[TextId::UnsavedPrompt],
                            MB_YESNOCANCEL | MB_ICONINFORMATION, toolkit::ExeName())) {
        case IDYES:
            mnusave_Click();
            return !CaptureUnsaved;  // a cancelled or failed save keeps it
        case IDNO:
            return true;
        default:
            return false;
    }
}

void FrmMain::mnuExit_Click() {
    if (!MayDropCapture()) return;
    // Asked, not ended: the user may have typed into it.
    HelpTask.AskToClose();
    HistoryFinish();  // no window message follows the end
    toolkit::End();
}

}  // namespace app
