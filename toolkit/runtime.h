// Runtime services: the program file, message boxes, starting programs and
// ending the program. Message boxes and the end of the program go through
// replaceable handlers so tests can answer the box and observe the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

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

// A program Shell started, owning its process handle: while the handle is
// held, the system gives the id to no other process, so the two always name
// the same program.
class Process {
public:
    Process() = default;
    Process(DWORD id, UniqueHandle handle) : id_(id), handle_(std::move(handle)) {}
    DWORD Id() const { return id_; }  // 0 when none was started
    HANDLE Handle() const { return handle_.get(); }
    bool Running() const;
    // Asks the program to close, as closing its windows would: WM_CLOSE to
    // each of its top-level windows. A program holding unsaved work may ask
    // its user and stay. Does nothing once it has ended.
    void AskToClose() const;

private:
    DWORD id_ = 0;
    UniqueHandle handle_;
};
Process Shell(const std::wstring& commandLine, int showCommand);

// Ends the program at once: no close events run.
[[noreturn]] void End();
using EndHandler = std::function<void()>;
// For tests: a handler that does not return (it throws or jumps) replaces the
// process exit. Returns the previous one.
EndHandler SetEndHandler(EndHandler handler);

}  // namespace toolkit
