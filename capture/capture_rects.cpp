#include "capture/capture_rects.h"

#include "capture/capture_core.h"
#include "capture/screen_grab.h"
#include "toolkit/units.h"

namespace capture {

using toolkit::ScaleMode;
using toolkit::ToInt32;

toolkit::Picture GrabFormWindow(const toolkit::Form& form) {
    return GrabTopLevelWindow(form.hwnd());
}

toolkit::Picture GrabFormClient(const toolkit::Form& form) {
    // The form may be in pixels during a free-region selection.
    const double width = form.ScaleX(form.ScaleWidth(), form.GetScaleMode(), ScaleMode::Pixels);
    const double height = form.ScaleY(form.ScaleHeight(), form.GetScaleMode(), ScaleMode::Pixels);
    return GrabWindowArea(form.hwnd(), WindowArea::Client, 0, 0, ToInt32(width).value_or(0),
                          ToInt32(height).value_or(0));
}

toolkit::Picture GrabForegroundWindow() { return GrabTopLevelWindow(GetForegroundWindow()); }

}  // namespace capture
