#include "tests/support/input.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "toolkit/runtime.h"

namespace testing_support {

void SendMouse(POINT at, DWORD buttonFlags, int wheelDelta) {
    // Absolute coordinates run 0..65535 over the virtual screen, every display;
    // round to the pixel's centre.
    const int x = at.x - GetSystemMetrics(SM_XVIRTUALSCREEN),
              y = at.y - GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int cx = GetSystemMetrics(SM_CXVIRTUALSCREEN), cy = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535 + (cx - 1) / 2) / (cx - 1);
    in.mi.dy = (y * 65535 + (cy - 1) / 2) / (cy - 1);
    in.mi.mouseData = DWORD(wheelDelta);
    in.mi.dwFlags = buttonFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &in, sizeof in);
    Sleep(30);
}

void Click(POINT at) {
    MouseTo(at);
    Press(at);
    Release(at);
}

void Wheel(POINT at, int notches, bool control) {
    MouseTo(at);
    INPUT in[3]{};
    in[0].type = in[2].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[2].ki.wVk = VK_CONTROL;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
    in[1].mi.mouseData = DWORD(notches * WHEEL_DELTA);
    if (control)
        SendInput(3, in, sizeof(INPUT));
    else
        SendInput(1, &in[1], sizeof(INPUT));
    Sleep(30);
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

void Drop(HWND window, const std::wstring& path, bool wait) {
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(files + 1), path.size());
    GlobalUnlock(memory);
    if (wait)
        SendMessageW(window, WM_DROPFILES, WPARAM(memory), 0);
    else
        PostMessageW(window, WM_DROPFILES, WPARAM(memory), 0);
}

HCURSOR CursorShown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

}  // namespace testing_support
