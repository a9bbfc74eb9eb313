// Real input, as a person's mouse and keyboard give it (SendInput), for the
// tests and the benchmarks. Each call waits a moment so the system has routed
// the event before the next one.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace testing_support {

// Moves the pointer to a screen pixel with the given button flags
// (MOUSEEVENTF_LEFTDOWN and the like, or 0 for a plain move). The button
// event carries its position: under Wine one without may land where the
// pointer was a moment before.
void SendMouse(POINT at, DWORD buttonFlags, int wheelDelta = 0);
inline void MouseTo(POINT at) { SendMouse(at, 0); }
inline void Press(POINT at) { SendMouse(at, MOUSEEVENTF_LEFTDOWN); }
inline void Release(POINT at) { SendMouse(at, MOUSEEVENTF_LEFTUP); }
void Click(POINT at);
// Turns the wheel by notches (positive: away from the user) with the pointer
// there, Ctrl held down when asked.
void Wheel(POINT at, int notches, bool control = false);

// Presses the keys in order and releases them in reverse: {VK_CONTROL, 'S'}.
void PressKeys(std::initializer_list<WORD> keys);

// Keys pressed on the X display itself (xdotool's names: "ctrl+s"), the way a
// person's keyboard reaches Wine: they go where the X server's focus is. Keys
// from SendInput reach the focused window whatever the X server thinks, and
// would hide a keyboard lost to another program's window.
void PressKeysOnDisplay(const char* keys);

// A file dropped from the shell: a real HDROP, as the shell hands it over;
// the window lets it go. Waits until the window has taken it, or not.
void Drop(HWND window, const std::wstring& path, bool wait = true);

// The pointer shape on screen now.
HCURSOR CursorShown();

}  // namespace testing_support
