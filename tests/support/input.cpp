#include "tests/support/input.h"

#include <string>
#include <vector>

#include "toolkit/runtime.h"

namespace testing_support {

void SendMouse(POINT at, DWORD buttonFlags) {
    // Absolute coordinates run 0..65535 over the screen; round to the pixel's centre.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (at.x * 65535 + (cx - 1) / 2) / (cx - 1);
    in.mi.dy = (at.y * 65535 + (cy - 1) / 2) / (cy - 1);
    in.mi.dwFlags = buttonFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Sleep(30);
}

void Click(POINT at) {
    MouseTo(at);
    Press(at);
    Release(at);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD key : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        in.push_back(i);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *--key;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    Sleep(30);
}

void PressKeysOnDisplay(const char* keys) {
    // Wine starts a Unix program as it starts a Windows one; its process
    // handle cannot be waited on, so the caller waits for what the keys do.
    std::wstring command = L"Z:\\usr\\bin\\xdotool key --clearmodifiers ";
    for (const char* k = keys; *k; ++k) command += wchar_t(*k);
    toolkit::Shell(command, SW_SHOWNORMAL);
}

HCURSOR CursorShown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

}  // namespace testing_support
