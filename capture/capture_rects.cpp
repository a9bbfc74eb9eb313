#include "capture/capture_rects.h"

#include "capture/capture_core.h"
#include "toolkit/physical_pixels.h"
#include "toolkit/units.h"

namespace capture {

using toolkit::ScaleMode;
using toolkit::ToInt32;

toolkit::Picture GrabFormWindow(const toolkit::Form& form) {
    const double width = form.ScaleX(form.Width(), ScaleMode::Twips, ScaleMode::Pixels);
    const double height = form.ScaleY(form.Height(), ScaleMode::Twips, ScaleMode::Pixels);
    return GrabWindowArea(form.hwnd(), WindowArea::Whole, 0, 0, ToInt32(width).value_or(0),
                          ToInt32(height).value_or(0));
}

toolkit::Picture GrabFormClient(const toolkit::Form& form) {
    // The form may be in pixels during a free-region selection.
    const double width = form.ScaleX(form.ScaleWidth(), form.GetScaleMode(), ScaleMode::Pixels);
    const double height = form.ScaleY(form.ScaleHeight(), form.GetScaleMode(), ScaleMode::Pixels);
    return GrabWindowArea(form.hwnd(), WindowArea::Client, 0, 0, ToInt32(width).value_or(0),
                          ToInt32(height).value_or(0));
}

toolkit::Picture GrabForegroundWindow() {
    toolkit::PhysicalPixels physical;  // the window may stand on a display scaled otherwise
    HWND foreground = GetForegroundWindow();
    RECT r{};
    GetWindowRect(foreground, &r);
    return GrabWindowArea(foreground, WindowArea::Whole, 0, 0, r.right - r.left, r.bottom - r.top);
}

}  // namespace capture
