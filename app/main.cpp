#include <windows.h>
#include <shellapi.h>

#include "app/frm_main.h"
#include "toolkit/handles.h"

namespace {

// "fotolark.exe PATH", as "Open with" and a file association call it. The
// words are joined again, so a path with spaces works even unquoted.
std::wstring PathFromCommandLine() {
    int count = 0;
    const toolkit::UniqueArguments words(CommandLineToArgvW(GetCommandLineW(), &count));
    std::wstring path;
    for (int i = 1; words && i < count; ++i) path += (i > 1 ? L" " : L"") + std::wstring(words.get()[i]);
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    OleInitialize(nullptr);  // the picture objects and the file dialogs need COM
    int exitCode = 1;
    {
        app::FrmMain form;
        if (form.Load()) {
            form.Show();
            const std::wstring path = PathFromCommandLine();
            if (!path.empty()) form.OpenFile(path);
            exitCode = app::FrmMain::Run(form.hwnd(), form.Accelerators());
        }
    }
    OleUninitialize();
    return exitCode;
}
