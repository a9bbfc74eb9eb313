// The free-region capture: arm, track the dragged rectangle, copy and show it;
// and the clear command.
#include <windowsx.h>

#include "app/frm_main.h"
#include "capture/clipboard.h"
#include "capture/region_track.h"
#include "toolkit/mouse_pointer.h"
#include "toolkit/runtime.h"
#include "toolkit/units.h"

namespace app {

namespace {

constexpr int16_t kLeftButton = 1;

int16_t ShiftNow() {
    return int16_t(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

}  // namespace

// A left press the armed selection took anywhere on the screen reaches the
// form as its own mouse press.
void FrmMain::OnRegionPress(LPARAM screenPoint) {
    POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenToClient(hwnd(), &p);
    const auto scale = UnitsPerPixel();
    Form_MouseDown(kLeftButton, ShiftNow(), float(p.x * scale.x), float(p.y * scale.y));
    capture::EndRegionPress(RegionArmed);
}

void FrmMain::mnuDistrict_Click() {
    SetScaleMode(toolkit::ScaleMode::Pixels);
    if (RegionArmed) return;
    RegionArmed = true;
    toolkit::SetScreenMousePointer(toolkit::MousePointer::Crosshair);
    CaptureUnsaved = true;
    // Minimized yet still the active window: its capture then keeps the moves
    // of the drag from the programs under the pointer, and the crosshair on.
    ShowWindow(hwnd(), SW_SHOWMINIMIZED);
    capture::ArmRegionSelection(hwnd());
}

void FrmMain::Form_MouseDown(int16_t Button, int16_t, float X, float Y) {
    if (!(Button & kLeftButton) ||
        toolkit::ScreenMousePointer() != toolkit::MousePointer::Crosshair || !RegionArmed)
        return;
    RegionArmed = false;
    CaptureUnderWay underWay(*this);
    POINT anchor{toolkit::ToInt32(X).value_or(0), toolkit::ToInt32(Y).value_or(0)};
    const capture::Rect32 r = capture::TrackRegion(hwnd(), anchor);
    // Still minimized: the window is not in the picture.
    capture::ScreenCopy copy =
        capture::CopyScreenToClipboard(hwnd(), r.left, r.top, r.right, r.bottom);
    SetWindowState(toolkit::WindowState::Normal);
    PicBmp.SetPicture(std::move(copy.picture));
    Markup.Reset();
    if (copy.onClipboard) RememberClipboardCopy();
    if (!copy.onClipboard)
        toolkit::MsgBox(hwnd(), UiTexts[TextId::ClipboardFailed], MB_OK | MB_ICONEXCLAMATION,
                        toolkit::ExeName());
    AfterCapture(nullptr);
}

void FrmMain::Form_MouseUp(int16_t Button, int16_t, float, float) {
    if (!(Button & kLeftButton)) return;
    // Only a selection puts the form in pixels; it ends here.
    const bool endsSelection = GetScaleMode() == toolkit::ScaleMode::Pixels;
    toolkit::SetScreenMousePointer(toolkit::MousePointer::Default);
    SetScaleMode(toolkit::ScaleMode::Twips);
    // The restore laid the viewer out in pixels for the previous picture.
    if (endsSelection) Form_Resize();
}

}  // namespace app
