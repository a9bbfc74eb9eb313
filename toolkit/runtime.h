// Runtime services: the program file, message boxes, starting programs and
// ending the program. Message boxes and the end of the program go through
// replaceable handlers so tests can answer the box and observe the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/handles.h"

namespace toolkit {

// The program file's name without folder and extension ("fotolark").
std::wstring ExeName();
// The program file's folder, without a trailing backslash but at a drive
// root ("D:\").
std::wstring AppPath();

using MsgBoxHandler =
    std::function<int(HWND owner, const std::wstring& text, UINT style, const std::wstring& title)>;
// Returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
int MsgBox(HWND owner, const std::wstring& text, UINT style, const std::wstring& title);
// An empty handler restores the real MessageBoxW. Returns the previous one.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);

// A program Shell started. While its handle is held, the system gives its id
// to no other process.
struct StartedProcess {
    DWORD id = 0;  // 0 when it could not be started
    UniqueHandle handle;
};
StartedProcess Shell(const std::wstring& commandLine, int showCommand);

// Terminates the process with that id (exit code 1) when it is `started`:
// once a process has ended, its id may name an unrelated one. Id 0 and a
// null handle do nothing.
void EndProcessById(const int32_t& TaskId, HANDLE started);

// Ends the program at once: no close events run.
[[noreturn]] void End();
using EndHandler = std::function<void()>;
// For tests: a handler that does not return (it throws or jumps) replaces the
// process exit. Returns the previous one.
EndHandler SetEndHandler(EndHandler handler);

}  // namespace toolkit
