// Run from a drive's root by the help test: writes what the program builds
// from its folder there, a line each, to the file its argument names: the
// folder, the command line Help gives Notepad, and the caption of
// "Open" once English is chosen.
#include <windows.h>

#include <string>

#include "app/about_help_text.h"
#include "app/command_map.h"
#include "app/frm_main.h"
#include "tests/support/test_window.h"
#include "toolkit/runtime.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    OleInitialize(nullptr);
    std::wstring out = toolkit::AppPath() + L"\n";
    {
        app::FrmMain form;
        if (!form.Load()) return 3;
        // What Help hands Notepad: Notepad rewrites its own copy in place as it
        // starts (Wine's drops the closing quote), so the line is taken as built.
        out += app::HelpCommandLine(toolkit::AppPath()) + L"\n";
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
