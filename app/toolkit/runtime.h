// Runtime services: the program file, message boxes, starting programs and
// ending the program. Message boxes and the end of the program go through
// replaceable handlers so tests can answer the box and observe the end.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace toolkit {

// The program file's name without folder and extension ("fotolark").
std::wstring ExeName();
// The program file's folder, without a trailing backslash.
std::wstring AppPath();

using MsgBoxHandler =
    std::function<int(HWND owner, const std::wstring& text, UINT style, const std::wstring& title)>;
// Returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
int MsgBox(HWND owner, const std::wstring& text, UINT style, const std::wstring& title);
// An empty handler restores the real MessageBoxW. Returns the previous one.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);

// Starts a program from a command line; returns its process id, 0 on failure.
DWORD Shell(const std::wstring& commandLine, int showCommand);

// Ends the program at once: no close events run.
[[noreturn]] void End();
using EndHandler = std::function<void()>;
// For tests: a handler that does not return (it throws or jumps) replaces the
// process exit. Returns the previous one.
EndHandler SetEndHandler(EndHandler handler);

}  // namespace toolkit
