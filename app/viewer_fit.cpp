#include "app/viewer_fit.h"

#include <optional>

#include "toolkit/scroll_range.h"
#include "toolkit/units.h"

namespace app {

namespace {

void SetMax(ScrollBarState& bar, std::optional<int32_t> max) {
    if (max && toolkit::ScrollRangeFits(*max, bar.largeChange)) bar.max = *max;
}

void SetLargeChange(ScrollBarState& bar, std::optional<int32_t> step) {
    if (step && toolkit::ScrollRangeFits(bar.max, *step)) bar.largeChange = *step;
}

void SetSmallChange(ScrollBarState& bar, std::optional<int32_t> step) {
    if (step && *step >= 1) bar.smallChange = *step;
}

void ShowBar(ScrollBarState& bar, float picture, float viewport, double twipsPerPixel) {
    bar.visible = true;
    bar.value = 0;
    SetMax(bar, toolkit::ToInt32(picture - viewport));
    std::optional<int32_t> third;
    if (const auto whole = toolkit::ToInt32(viewport)) third = *whole / 3;
    SetLargeChange(bar, third);
    SetSmallChange(bar, toolkit::ToInt32(twipsPerPixel));
    // A bar cannot hold a step of 0, so a viewport too thin for one gets a pixel.
    if (third == 0) SetLargeChange(bar, bar.smallChange);
}

// A hidden bar also gives up its offset: otherwise a picture that now fits
// would stay partly out of view with no bar to bring it back.
void HideBar(ScrollBarState& bar, float& otherViewportExtent) {
    bar.visible = false;
    bar.value = 0;
    otherViewportExtent = otherViewportExtent + kScrollBarThickness;
}

}  // namespace

void FitScrollBars(ViewerFit& fit, double twipsPerPixelX, double twipsPerPixelY) {
    // Equal widths fit across; equal heights do not fit down.
    if (fit.pictureWidth <= fit.viewportWidth)
        HideBar(fit.h, fit.viewportHeight);
    else
        ShowBar(fit.h, fit.pictureWidth, fit.viewportWidth, twipsPerPixelX);

    if (fit.viewportHeight > fit.pictureHeight)
        HideBar(fit.v, fit.viewportWidth);
    else
        ShowBar(fit.v, fit.pictureHeight, fit.viewportHeight, twipsPerPixelY);
}

}  // namespace app
