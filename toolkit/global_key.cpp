#include "toolkit/global_key.h"

namespace toolkit {

namespace {

struct CopySearch {
    const wchar_t* cls;
    bool found;
};

BOOL CALLBACK FindOtherCopy(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<CopySearch*>(data);
    wchar_t cls[64] = L"";
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    GetClassNameW(window, cls, 64);
    if (pid != GetCurrentProcessId() && lstrcmpW(cls, search->cls) == 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool PrintScreenOpensSnipping() {
    DWORD value = 0, bytes = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard",
                        L"PrintScreenKeyForSnippingEnabled", RRF_RT_REG_DWORD, nullptr, &value,
                        &bytes) == ERROR_SUCCESS &&
           value != 0;
}

KeyState RegisterGlobalKey(HWND window, int id, KeyChord key, const wchar_t* ownClass) {
    if (key.None()) return KeyState::None;
    if (RegisterHotKey(window, id, key.modifiers | MOD_NOREPEAT, key.vk)) return KeyState::Works;
    // The setting takes the bare key only; with modifiers it stays the program's.
    if (key.vk == VK_SNAPSHOT && key.modifiers == 0 && PrintScreenOpensSnipping())
        return KeyState::TakenByWindows;
    CopySearch search{ownClass, false};
    EnumWindows(&FindOtherCopy, reinterpret_cast<LPARAM>(&search));
    return search.found ? KeyState::TakenByOwnCopy : KeyState::TakenByOther;
}

}  // namespace toolkit
