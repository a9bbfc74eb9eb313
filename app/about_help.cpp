// The About box and the readme in Notepad.
#include "app/about_help_text.h"
#include "app/frm_main.h"
#include "toolkit/runtime.h"

namespace app {

namespace {
constexpr wchar_t kAboutTitle[] = L"关于...";
constexpr wchar_t kNoNotepad[] = L"无法启动记事本打开帮助文件：";
}  // namespace

void FrmMain::mnuHowto_Click() {
    const std::wstring commandLine = HelpCommandLine(toolkit::AppPath());
    toolkit::StartedProcess notepad = toolkit::Shell(commandLine, SW_SHOWNORMAL);
    if (!notepad.id) {
        ShowMessage(kNoNotepad + toolkit::AppPath() + L"\\readme.txt");
        return;  // HelpTaskId keeps the Notepad started before
    }
    HelpTaskId = int32_t(notepad.id);
    HelpTask = std::move(notepad.handle);
}

void FrmMain::mnuAbout_Click() {
    toolkit::MsgBox(hwnd(), AboutText(), MB_OK | MB_ICONINFORMATION, kAboutTitle);
}

}  // namespace app
