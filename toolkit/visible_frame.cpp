#include "toolkit/visible_frame.h"

#include <dwmapi.h>

#include "toolkit/physical_pixels.h"

namespace toolkit {

namespace {

bool CompositorBounds(HWND window, RECT* bounds) {
    // Always in physical pixels, whatever the caller's DPI awareness.
    return SUCCEEDED(
        DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, bounds, sizeof *bounds));
}

FrameBoundsSource& Source() {
    static FrameBoundsSource source = &CompositorBounds;
    return source;
}

}  // namespace

void SetFrameBoundsSource(FrameBoundsSource source) {
    Source() = source ? source : &CompositorBounds;
}

PhysicalRect VisibleFrame(HWND window) {
    PhysicalPixels physical;
    RECT r{};
    if (!GetWindowRect(window, &r)) return PhysicalRect{};
    RECT bounds{};
    // Bounds outside the window rectangle would be stale or wrong: the
    // visible frame lies within the window's own.
    if (Source()(window, &bounds) && !IsRectEmpty(&bounds)) {
        RECT within{};
        if (IntersectRect(&within, &bounds, &r)) r = within;
    }
    return PhysicalRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace toolkit
