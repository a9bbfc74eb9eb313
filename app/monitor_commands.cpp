// The capture commands for desks with several displays: every display, the
// display under the pointer, and a window picked by pointing (or a rectangle
// dragged in the same mode).
#include "app/frm_main.h"
#include "capture/screen_grab.h"
#include "capture/window_pick.h"
#include "toolkit/out_of_sight.h"
#include "toolkit/physical_pixels.h"

namespace app {

namespace {

// The outline has just gone from over them: the windows in the picture
// repaint what it covered first.
void RepaintBeneath(HWND window, const capture::Rect32& area) {
    toolkit::PhysicalPixels physical;  // the area is in the displays' own pixels
    const RECT r{area.left, area.top, area.right, area.bottom};
    RedrawWindow(window, window ? nullptr : &r, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    toolkit::WaitForRepaints();
}

}  // namespace

void FrmMain::mnuAllMonitors_Click() { CaptureOutOfSight(capture::GrabAllMonitors); }

void FrmMain::mnuPointerMonitor_Click() { CaptureOutOfSight(capture::GrabPointerMonitor); }

void FrmMain::mnuPickWindow_Click() {
    if (capture::WindowPickArmed() || RegionArmed) return;
    // Out of the way as for the free region, yet still the active window.
    ShowWindow(hwnd(), SW_SHOWMINIMIZED);
    if (!capture::ArmWindowPick(hwnd())) SetWindowState(toolkit::WindowState::Normal);
}

void FrmMain::OnPickDone() {
    const capture::PickOutcome outcome = capture::TakePickOutcome();
    switch (outcome.kind) {
        case capture::PickOutcome::Kind::Window:
            // In front first, so that nothing covers it; ours is still minimized.
            SetForegroundWindow(outcome.window);
            BringWindowToTop(outcome.window);
            RepaintBeneath(outcome.window, {});
            ShowCapture(capture::GrabTopLevelWindow(outcome.window), outcome.window);
            break;
        case capture::PickOutcome::Kind::Area:
            RepaintBeneath(nullptr, outcome.area);
            ShowCapture(capture::GrabScreenArea(outcome.area));
            break;
        case capture::PickOutcome::Kind::Cancelled:
            if (outcome.hookLost) SetPanelText(1, UiTexts[TextId::PickHookLost]);
            break;
    }
    ComeForward();
    Form_Resize();
}

void FrmMain::ComeForward() {
    if (!IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOW);  // hidden in the notification area
    if (GetWindowState() == toolkit::WindowState::Minimized)
        SetWindowState(toolkit::WindowState::Normal);
    toolkit::ReclaimKeyboard(hwnd());
}

}  // namespace app
