#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/frm_main.h"
#include "toolkit/handles.h"

namespace {

std::wstring PathFromCommandLine() {
    int count = 0;
    const toolkit::UniqueArguments words(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> paths;
    for (int i = 1; words && i < count; ++i) paths.push_back(words.get()[i]);
    return app::FirstPath(paths, [](const std::wstring& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
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
