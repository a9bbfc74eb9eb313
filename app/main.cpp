#include <windows.h>

#include "app/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    OleInitialize(nullptr);  // the picture objects and the file dialogs need COM
    int exitCode = 1;
    {
        app::FrmMain form;
        if (form.Load()) {
            form.Show();
            exitCode = app::FrmMain::Run(form.hwnd(), form.Accelerators());
        }
    }
    OleUninitialize();
    return exitCode;
}
