// Run by tools/test's package check inside the test prefix: starts an installed fotolark.exe
// from another folder, asks it for Help and checks that Notepad shows the readme installed
// beside it, then closes it. Prints the failed step; exit code 0 when all held.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/command_map.h"
#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/handles.h"

namespace {

std::wstring WithoutCr(std::wstring s) {
    s.erase(std::remove(s.begin(), s.end(), L'\r'), s.end());
    return s;
}

// The readme is UTF-8 with a byte-order mark, as Notepad reads it.
std::wstring Readme(const std::wstring& path) {
    const std::string bytes = testing_support::FileContents(path);
    size_t skip =
        bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF' ? 3 : 0;
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data() + skip, int(bytes.size() - skip),
                                    text.data(), int(text.size())));
    return WithoutCr(text);
}

int Fail(const char* step) {
    std::fprintf(stderr, "installed program: %s\n", step);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return Fail("usage: installed_probe PATH\\fotolark.exe");
    std::wstring exe = argv[1], folder = exe.substr(0, exe.rfind(L'\\'));
    const std::wstring readme = Readme(folder + L"\\readme.txt");
    if (readme.empty()) return Fail("no readme.txt beside the program");

    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    wchar_t elsewhere[MAX_PATH];
    GetSystemDirectoryW(elsewhere, MAX_PATH);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        elsewhere, &si, &pi))
        return Fail("could not start it");
    toolkit::UniqueHandle process(pi.hProcess), thread(pi.hThread);

    HWND main = nullptr, notepad = nullptr;
    int result = 0;
    if (!testing_support::PumpUntil(
            [&] {
                return (main = testing_support::FindShownWindow(L"FotolarkMain", pi.dwProcessId)) !=
                       nullptr;
            },
            15000)) {
        result = Fail("no main window (FotolarkMain) within 15 s");
    } else {
        PostMessageW(main, WM_COMMAND, app::ID_mnuHowto, 0);
        if (!testing_support::PumpUntil(
                [&] {
                    return (notepad = testing_support::FindShownWindow(L"Notepad", 0, L"readme")) !=
                           nullptr;
                },
                15000)) {
            result = Fail("Help opened no Notepad with the readme within 15 s");
        } else {
            HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
            std::wstring shown;
            // Notepad may still be loading the file when its title appears. Another process's
            // control answers only WM_GETTEXT, not GetWindowText.
            testing_support::PumpUntil(
                [&] {
                    DWORD_PTR length = 0, copied = 0;
                    if (!edit || !SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0,
                                                      SMTO_ABORTIFHUNG, 2000, &length))
                        return false;
                    shown.assign(length + 1, L'\0');
                    SendMessageTimeoutW(edit, WM_GETTEXT, length + 1, LPARAM(shown.data()),
                                        SMTO_ABORTIFHUNG, 2000, &copied);
                    shown.resize(copied);
                    return WithoutCr(shown) == readme;
                },
                5000);
            if (WithoutCr(shown) != readme)
                result = Fail("Notepad does not show the installed readme.txt");
        }
        // The close box, which stores the placement (Exit does not).
        PostMessageW(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0 && !result)
            result = Fail("closing did not end it within 10 s");
    }
    if (WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    if (notepad) {
        DWORD pid = 0;
        GetWindowThreadProcessId(notepad, &pid);
        if (const toolkit::UniqueHandle p{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)})
            if (WaitForSingleObject(p.get(), 3000) != WAIT_OBJECT_0) TerminateProcess(p.get(), 0);
    }
    if (!result)
        std::printf(
            "installed program: showed its main window and, for Help, the readme beside it\n");
    return result;
}
