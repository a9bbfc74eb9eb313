// Run from a drive's root by the help test: writes what the program builds
// from its folder there, a line each, to the file its argument names: the
// folder, the command line Notepad was given for Help, and the caption of
// "Open" once English is chosen.
#include <windows.h>
#include <winternl.h>

#include <string>

#include "app/command_map.h"
#include "app/frm_main.h"
#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/runtime.h"

namespace {

// A process's command line, read from its own memory where the system put it
// (Wine answers no direct query of it). Both processes have the same bitness.
std::wstring CommandLineOf(HANDLE process) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return L"(unknown)";
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(),
                           parameters.CommandLine.Length, nullptr))
        return L"(unknown)";
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    OleInitialize(nullptr);
    std::wstring out = toolkit::AppPath() + L"\n";
    {
        app::FrmMain form;
        if (!form.Load()) return 3;
        form.mnuHowto_Click();
        // Wine sets up a new process's memory as it starts: read once it has.
        std::wstring notepad = L"(no Notepad)";
        if (app::HelpTask)
            testing_support::PumpUntil([&] {
                notepad = CommandLineOf(app::HelpTask.get());
                return !notepad.empty() && notepad != L"(unknown)";
            });
        out += notepad + L"\n";
        if (app::HelpTask) TerminateProcess(app::HelpTask.get(), 0);
        form.mnuEnglish_Click();
        wchar_t open[64] = L"";
        GetMenuStringW(GetMenu(form.hwnd()), app::ID_mnuOpen, open, 64, MF_BYCOMMAND);
        out += std::wstring(open) + L"\n";
    }
    testing_support::WriteFileBytes(argv[1], std::string(reinterpret_cast<const char*>(out.data()),
                                                         out.size() * sizeof(wchar_t)));
    OleUninitialize();
    return 0;
}
