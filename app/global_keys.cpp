// Keys that work while another program is in front: Print Screen,
// Alt+Print Screen, Ctrl+Print Screen and Ctrl+Shift+Print Screen capture and
// end with the window in front showing the new picture; Ctrl+Shift+T pins the
// clipboard's picture where the user is.
#include "app/command_ids.h"
#include "app/frm_main.h"
#include "capture/capture_rects.h"
#include "capture/window_pick.h"
#include "toolkit/out_of_sight.h"

namespace app {

namespace {

enum GlobalKey : int { kScreenKey = 1, kFrontWindowKey, kRegionKey, kPickKey, kPinClipboardKey };

struct KeyBinding {
    int id;
    UINT modifiers;
    UINT key = VK_SNAPSHOT;
};

constexpr KeyBinding kGlobalKeys[] = {
    {kScreenKey, 0},
    {kFrontWindowKey, MOD_ALT},
    {kRegionKey, MOD_CONTROL},
    {kPickKey, MOD_CONTROL | MOD_SHIFT},
    {kPinClipboardKey, MOD_CONTROL | MOD_SHIFT, 'T'},
};

// How long after a capture a key pressed during it may still arrive: the
// delayed capture's pause runs no messages.
constexpr DWORD kLateKeyWindowMs = 60000;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found) {
    wchar_t cls[16] = L"";
    GetClassNameW(window, cls, 16);
    if (IsWindowVisible(window) && lstrcmpW(cls, L"#32770") == 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool FrmMain::BusyWithOwnUi() const {
    if (capturing_ || RegionArmed || capture::WindowPickArmed()) return true;
    // A modal box or dialog disables the window it belongs to.
    if (!IsWindowEnabled(hwnd())) return true;
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A key another program already holds is left to it, without a word: the
// others still work.
void FrmMain::RegisterGlobalKeys() {
    for (const KeyBinding& key : kGlobalKeys)
        RegisterHotKey(hwnd(), key.id, key.modifiers | MOD_NOREPEAT, key.key);
}

void FrmMain::UnregisterGlobalKeys() {
    for (const KeyBinding& key : kGlobalKeys) UnregisterHotKey(hwnd(), key.id);
}

void FrmMain::OnGlobalKey(int id) {
    const bool pressedDuringCapture = GetTickCount() - capturedAt_ < kLateKeyWindowMs &&
                                      LONG(DWORD(GetMessageTime()) - capturedAt_) < 0;
    if (BusyWithOwnUi() || pressedDuringCapture) {
        MessageBeep(MB_OK);
        return;
    }
    CaptureUnderWay capture(*this);
    // Named in the history as the menu's command of the same capture.
    NoteCommand(id == kScreenKey     ? ID_mnuAllMonitors
                : id == kRegionKey   ? ID_mnuDistrict
                : id == kPickKey     ? ID_mnuPickWindow
                                     : ID_mnuTitleBar);
    switch (id) {
        case kScreenKey:
            // Every display, as Windows itself takes with the key; on one, the entire screen.
            mnuAllMonitors_Click();
            ComeForward();
            break;
        case kFrontWindowKey:
            // The window in front at the press, at once.
            ShowCapture(capture::GrabForegroundWindow());
            ComeForward();
            Form_Resize();
            break;
        case kRegionKey:
            mnuDistrict_Click();  // the capture brings the window back
            break;
        case kPickKey:
            mnuPickWindow_Click();
            break;
        case kPinClipboardKey:
            mnuPinClipboard_Click();  // the pin comes up where the user is; the window stays
            break;
    }
}

}  // namespace app
