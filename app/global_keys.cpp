// Capture keys that work while another program is in front (by default Print
// Screen, Alt+, Ctrl+ and Ctrl+Shift+Print Screen). Each ends with the window
// in front showing the new picture. A key the system refuses is reported once
// a start, and the menu commands stand in for it.
#include "app/frm_main.h"
#include "app/global_key_table.h"
#include "capture/capture_rects.h"
#include "capture/window_pick.h"
#include "toolkit/out_of_sight.h"
#include "toolkit/settings.h"

namespace app {

namespace {

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

bool Taken(toolkit::KeyState state) {
    return state == toolkit::KeyState::TakenByWindows ||
           state == toolkit::KeyState::TakenByOwnCopy || state == toolkit::KeyState::TakenByOther;
}

toolkit::KeyChord StoredGlobalKey(int row) {
    const GlobalKeyRow& key = kGlobalKeyRows[row];
    const auto stored = toolkit::GetSetting(kAppTitle, L"Settings", key.setting);
    const auto parsed = stored ? toolkit::ParseKeyText(*stored) : std::nullopt;
    return parsed ? *parsed : key.standard;
}

}  // namespace

bool FrmMain::BusyWithOwnUi() const {
    if (capturing_ || RegionArmed || capture::WindowPickArmed()) return true;
    // A menu's loop would run the capture and then apply its command to the new picture.
    if (menuLoops_ > 0) return true;
    // A modal box or dialog disables the window it belongs to.
    if (!IsWindowEnabled(hwnd())) return true;
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void FrmMain::RegisterGlobalKeys() {
    globalKeys_.clear();
    keyStates_.clear();
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        globalKeys_.push_back(StoredGlobalKey(i));
        keyStates_.push_back(toolkit::RegisterGlobalKey(hwnd(), kGlobalKeyRows[i].id,
                                                        globalKeys_.back(), kMainWindowClass));
    }
    // Told once the window shows, in the language chosen.
    for (const toolkit::KeyState state : keyStates_)
        if (Taken(state)) {
            PostMessageW(hwnd(), kKeysTakenMessage, 0, 0);
            break;
        }
}

void FrmMain::UnregisterGlobalKeys() {
    for (int i = 0; i < kGlobalKeyCount; ++i) UnregisterHotKey(hwnd(), kGlobalKeyRows[i].id);
}

std::wstring FrmMain::KeyStateText(toolkit::KeyChord chord, toolkit::KeyState state) const {
    const std::wstring key = toolkit::KeyText(chord);
    switch (state) {
        case toolkit::KeyState::Works:
            return Formatted(UiTexts[TextId::KeyWorks], {key});
        case toolkit::KeyState::None:
            return UiTexts[TextId::KeyNone];
        case toolkit::KeyState::TakenByWindows:
            return Formatted(UiTexts[TextId::KeyOwnerWindows], {key});
        case toolkit::KeyState::TakenByOwnCopy:
            return Formatted(UiTexts[TextId::KeyOwnerOwnCopy], {key});
        case toolkit::KeyState::TakenByOther:
            return Formatted(UiTexts[TextId::KeyOwnerOther], {key});
    }
    return key;
}

void FrmMain::OnKeysTaken() {
    std::wstring names, owners;
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        if (!Taken(keyStates_[size_t(i)])) continue;
        names += (names.empty() ? L"" : L", ") + toolkit::KeyText(globalKeys_[size_t(i)]);
        owners += L"\n" + KeyStateText(globalKeys_[size_t(i)], keyStates_[size_t(i)]);
    }
    if (names.empty()) return;
    SetPanelText(1, Formatted(UiTexts[TextId::KeyTakenStatus], {names}));
    if (keysTold_) return;
    keysTold_ = true;
    toolkit::MsgBox(hwnd(), UiTexts[TextId::KeyTakenMessage] + L"\n" + owners,
                    MB_OK | MB_ICONINFORMATION, kAppTitle);
}

void FrmMain::OnGlobalKey(int id) {
    const bool pressedDuringCapture = GetTickCount() - capturedAt_ < kLateKeyWindowMs &&
                                      LONG(DWORD(GetMessageTime()) - capturedAt_) < 0;
    if (BusyWithOwnUi() || pressedDuringCapture) {
        MessageBeep(MB_OK);
        return;
    }
    CaptureUnderWay capture(*this);
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        const GlobalKeyRow& row = kGlobalKeyRows[i];
        if (row.id != id) continue;
        if (row.command) NoteCommand(row.command);  // named as the menu's capture
        (this->*row.press)();
    }
}

// Every display, as Windows itself takes with the key; on one, the entire screen.
void FrmMain::keyScreen_Press() {
    mnuAllMonitors_Click();
    ComeForward();
}

// The window in front at the press, at once.
void FrmMain::keyWindow_Press() {
    const HWND front = GetForegroundWindow();
    ShowCapture(capture::GrabForegroundWindow(), front);
    ComeForward();
    Form_Resize();
}

}  // namespace app

namespace app {

// Changed keys are let go of first, so that two rows can swap keys. A key
// the system refuses leaves its row with the key it had.
std::vector<toolkit::KeyState> FrmMain::ApplyGlobalKeys(
    const std::vector<toolkit::KeyChord>& wanted) {
    std::vector<toolkit::KeyState> states = keyStates_;
    for (int i = 0; i < kGlobalKeyCount; ++i)
        if (wanted[size_t(i)] != globalKeys_[size_t(i)])
            UnregisterHotKey(hwnd(), kGlobalKeyRows[i].id);
    for (int i = 0; i < kGlobalKeyCount; ++i) {
        const size_t r = size_t(i);
        if (wanted[r] == globalKeys_[r]) continue;
        const GlobalKeyRow& row = kGlobalKeyRows[i];
        states[r] = toolkit::RegisterGlobalKey(hwnd(), row.id, wanted[r], kMainWindowClass);
        if (Taken(states[r])) {
            keyStates_[r] =
                toolkit::RegisterGlobalKey(hwnd(), row.id, globalKeys_[r], kMainWindowClass);
            continue;
        }
        globalKeys_[r] = wanted[r];
        keyStates_[r] = states[r];
        toolkit::SaveSetting(kAppTitle, L"Settings", row.setting, toolkit::KeyText(wanted[r]));
    }
    return states;
}

}  // namespace app
