#include "toolkit/scroll_bar.h"

#include "toolkit/scroll_range.h"

namespace toolkit {

ScrollBar::ScrollBar(HWND hwnd, const Container* container) : Control(hwnd, container) {
    SetRange();
    SetValue(0);
}

// The page is the large step and the last position Max, so the window's
// maximum reaches a page beyond it.
void ScrollBar::SetRange() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = max_ + largeChange_ - 1;
    info.nPage = static_cast<UINT>(largeChange_);
    SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
}

SCROLLINFO ScrollBar::Info(UINT mask) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    GetScrollInfo(hwnd(), SB_CTL, &info);
    return info;
}

int32_t ScrollBar::Value() const { return Info(SIF_POS).nPos; }
int32_t ScrollBar::TrackPosition() const { return Info(SIF_TRACKPOS).nTrackPos; }

bool ScrollBar::SetValue(int32_t value) {
    if (value < 0 || value > max_) return false;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = value;
    SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
    return true;
}

bool ScrollBar::SetMax(int32_t max) {
    if (!ScrollRangeFits(max, largeChange_)) return false;
    max_ = max;
    SetRange();  // the window moves a position beyond the new end back to it
    return true;
}

bool ScrollBar::SetSmallChange(int32_t step) {
    if (step < 1) return false;
    smallChange_ = step;
    return true;
}

bool ScrollBar::SetLargeChange(int32_t step) {
    if (!ScrollRangeFits(max_, step)) return false;
    largeChange_ = step;
    SetRange();
    return true;
}

}  // namespace toolkit
