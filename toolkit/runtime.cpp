#include "toolkit/runtime.h"

#include <utility>
#include <vector>

namespace toolkit {

namespace {

MsgBoxHandler& CurrentMsgBoxHandler() {
    static MsgBoxHandler handler;
    return handler;
}

EndHandler& CurrentEndHandler() {
    static EndHandler handler;
    return handler;
}

std::wstring ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::wstring ExeName() {
    std::wstring name = ModulePath();
    name.erase(0, name.find_last_of(L"\\/") + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

std::wstring AppPath() {
    std::wstring path = ModulePath();
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    // A drive root keeps its backslash: "D:\", not "D:".
    return path.substr(0, slash == 2 && path[1] == L':' ? slash + 1 : slash);
}

int MsgBox(HWND owner, const std::wstring& text, UINT style, const std::wstring& title) {
    if (const auto& handler = CurrentMsgBoxHandler()) return handler(owner, text, style, title);
    return MessageBoxW(owner, text.c_str(), title.c_str(), style);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) {
    return std::exchange(CurrentMsgBoxHandler(), std::move(handler));
}

Process Shell(const std::wstring& commandLine, int showCommand) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;  // CreateProcessW may write to it
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return {};
    UniqueHandle thread(info.hThread);
    return Process(info.dwProcessId, UniqueHandle(info.hProcess));
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

namespace {

BOOL CALLBACK CloseIfOf(HWND window, LPARAM process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Its top-level windows: what they own closes with them.
    if (owner == DWORD(process) && !GetWindow(window, GW_OWNER) && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void Process::AskToClose() const {
    if (Running()) EnumWindows(&CloseIfOf, LPARAM(id_));
}

void End() {
    if (const auto& handler = CurrentEndHandler()) handler();
    ExitProcess(0);
}

EndHandler SetEndHandler(EndHandler handler) {
    return std::exchange(CurrentEndHandler(), std::move(handler));
}

}  // namespace toolkit
