// The About box and the readme in Notepad.
#include "app/about_help_text.h"
#include "app/frm_main.h"
#include "toolkit/runtime.h"

namespace app {

void FrmMain::mnuHowto_Click() {
    const std::wstring commandLine = HelpCommandLine(toolkit::AppPath());
    toolkit::Process notepad = toolkit::Shell(commandLine, SW_SHOWNORMAL);
    if (!notepad.Id()) {
        ShowMessage(UiTexts[TextId::NoNotepad] + toolkit::AppPath() + L"\\readme.txt");
        return;  // HelpTask keeps the Notepad started before
    }
    HelpTask = std::move(notepad);
}

void FrmMain::mnuAbout_Click() {
    toolkit::MsgBox(hwnd(),
                    AboutText(UiTexts[TextId::AboutStudio], UiTexts[TextId::AboutQqLabel],
                              UiTexts[TextId::AboutMailLabel]),
                    MB_OK | MB_ICONINFORMATION, UiTexts[TextId::AboutTitle]);
}

}  // namespace app
