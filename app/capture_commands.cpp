// The capture menu's commands: entire screen, current window, current work
// area and the delayed capture of the foreground window.
#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "capture/capture_rects.h"
#include "toolkit/out_of_sight.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

constexpr DWORD kDelayMilliseconds = 2000;

}  // namespace

void FrmMain::ShowCapture(toolkit::Picture picture, HWND source) {
    PicBmp.SetPicture(std::move(picture));
    Markup.Reset();
    CaptureUnsaved = true;
    AfterCapture(source);
}

void FrmMain::CaptureOutOfSight(toolkit::Picture (*grab)()) {
    CaptureUnderWay underWay(*this);
    {
        toolkit::OutOfSight away(hwnd());
        away.WaitForScreenBeneath();
        ShowCapture(grab());
    }
    SetFocus(hwnd());
    Form_Resize();
}

void FrmMain::mnuScreen_Click() { CaptureOutOfSight(capture::GrabFullScreen); }

// The window captured shows the marks as they are, without the selection.
void FrmMain::mnuTitleBar_Click() {
    Markup.Settle();
    ShowCapture(capture::GrabFormWindow(*this), hwnd());
    Form_Resize();
}

void FrmMain::mnuClient_Click() {
    Markup.Settle();
    ShowCapture(capture::GrabFormClient(*this), hwnd());
    Form_Resize();
}

void FrmMain::mnuAtiveWindow_Click() {
    CaptureUnderWay underWay(*this);
    // Titled with the program's own title, like every box of ours.
    if (toolkit::MsgBox(hwnd(), UiTexts[TextId::DelayedPrompt], MB_OKCANCEL | MB_ICONINFORMATION,
                        kAppTitle) != IDOK)
        return;
    SetWindowState(toolkit::WindowState::Minimized);
    Sleep(kDelayMilliseconds);
    const HWND front = GetForegroundWindow();
    ShowCapture(capture::GrabForegroundWindow(), front);
    SetWindowState(toolkit::WindowState::Normal);
    toolkit::ReclaimKeyboard(hwnd());
    Form_Resize();
}

}  // namespace app
