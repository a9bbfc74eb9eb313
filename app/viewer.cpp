// The viewer: the picture at full size in the viewport, moved by the scroll
// bars. Scrolling only moves the picture box; the window system repaints
// what it uncovers.
#include <algorithm>

#include "app/frm_main.h"
#include "app/viewer_fit.h"

namespace app {

namespace {

ScrollBarState StateOf(const toolkit::ScrollBar& bar) {
    return ScrollBarState{bar.Visible(), bar.Value(), bar.Max(), bar.SmallChange(),
                          bar.LargeChange()};
}

// Returns whether Value changed. A setting the bar refuses is skipped; the
// others still apply.
bool Apply(toolkit::ScrollBar& bar, const ScrollBarState& was, const ScrollBarState& is) {
    const bool moved = is.value != was.value && bar.SetValue(is.value);
    if (is.max != was.max) bar.SetMax(is.max);
    if (is.largeChange != was.largeChange) bar.SetLargeChange(is.largeChange);
    if (is.smallChange != was.smallChange) bar.SetSmallChange(is.smallChange);
    return moved;
}

}  // namespace

void FrmMain::FitViewer() {
    // In twips whatever the form's scale, so viewport and picture compare
    // like for like while a free-region selection has the form in pixels.
    toolkit::Control view(picScroll.hwnd(), nullptr);
    ViewerFit fit;
    fit.viewportWidth = view.Width();
    fit.viewportHeight = view.Height();
    fit.pictureWidth = PicBmp.AsControl().Width();
    fit.pictureHeight = PicBmp.AsControl().Height();
    fit.h = StateOf(HScroll1);
    fit.v = StateOf(VScroll1);
    const ViewerFit before = fit;
    FitScrollBars(fit, toolkit::Screen::TwipsPerPixelX(), toolkit::Screen::TwipsPerPixelY());

    if (fit.h.visible != before.h.visible) HScroll1.SetVisible(fit.h.visible);
    if (fit.viewportHeight != before.viewportHeight) view.SetHeight(fit.viewportHeight);
    if (Apply(HScroll1, before.h, fit.h)) HScroll1_Change();

    if (fit.v.visible != before.v.visible) VScroll1.SetVisible(fit.v.visible);
    if (fit.viewportWidth != before.viewportWidth) view.SetWidth(fit.viewportWidth);
    if (Apply(VScroll1, before.v, fit.v)) VScroll1_Change();
}

void FrmMain::HScroll1_Change() { PicBmp.AsControl().SetLeft(-float(HScroll1.Value())); }
void FrmMain::HScroll1_Scroll() { HScroll1_Change(); }
void FrmMain::VScroll1_Change() { PicBmp.AsControl().SetTop(-float(VScroll1.Value())); }
void FrmMain::VScroll1_Scroll() { VScroll1_Change(); }

// What the bar reports as the user works it, turned into Value and the
// Scroll and Change events.
void FrmMain::OnScrollBar(HWND hwnd, int code) {
    const bool horizontal = hwnd == HScroll1.hwnd();
    if (!horizontal && hwnd != VScroll1.hwnd()) return;
    toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
    void (FrmMain::*scroll)() = horizontal ? &FrmMain::HScroll1_Scroll : &FrmMain::VScroll1_Scroll;

    const int64_t value = bar.Value();
    int64_t target = value;
    switch (code) {
        case SB_LINEUP:  // and SB_LINELEFT
            target -= bar.SmallChange();
            break;
        case SB_LINEDOWN:
            target += bar.SmallChange();
            break;
        case SB_PAGEUP:
            target -= bar.LargeChange();
            break;
        case SB_PAGEDOWN:
            target += bar.LargeChange();
            break;
        case SB_TOP:
            target = 0;
            break;
        case SB_BOTTOM:
            target = bar.Max();
            break;
        case SB_THUMBTRACK:
            // The position in the message has only 16 bits; the bar's own has 32.
            if (bar.SetValue(bar.TrackPosition())) (this->*scroll)();
            return;
        case SB_THUMBPOSITION:
            bar.SetValue(bar.TrackPosition());
            // A drag ends with a Change even where it started.
            horizontal ? HScroll1_Change() : VScroll1_Change();
            return;
        default:  // SB_ENDSCROLL
            return;
    }
    MoveBar(horizontal, target);
}

bool FrmMain::MoveBar(bool horizontal, int64_t target) {
    toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
    target = std::clamp<int64_t>(target, 0, bar.Max());
    if (target == bar.Value() || !bar.SetValue(static_cast<int32_t>(target))) return false;
    horizontal ? HScroll1_Change() : VScroll1_Change();
    return true;
}

// A notch moves the system's lines per notch, each of kWheelLinePixels, at
// most a viewport: the bar's own line, one pixel, would take a hundred
// notches for a screen.
void FrmMain::OnMouseWheel(int delta, bool horizontal) {
    constexpr int kWheelLinePixels = 20;
    toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
    if (!bar.Visible()) return;
    UINT lines = 3;
    SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines,
                          0);
    wheelRest_ += delta;  // a fine wheel sends parts of a notch
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ %= WHEEL_DELTA;
    const int64_t step =
        lines == WHEEL_PAGESCROLL
            ? bar.LargeChange()
            : std::min<int64_t>(int64_t(lines) * kWheelLinePixels * bar.SmallChange(),
                                bar.LargeChange() * 3);
    if (notches) MoveBar(horizontal, bar.Value() - notches * step);
}

// Arrows by a line, Page Up and Down by a page, Home and End to the ends, as
// the bars' own arrows, track and ends do.
bool FrmMain::OnScrollKey(WPARAM key) {
    // Pages and ends go down the picture when it has a vertical bar, else across.
    toolkit::ScrollBar& paged = VScroll1.Visible() ? VScroll1 : HScroll1;
    const auto scroll = [this](toolkit::ScrollBar& bar, int code) {
        if (bar.Visible()) OnScrollBar(bar.hwnd(), code);
        return true;
    };
    switch (key) {
        case VK_LEFT:
            return scroll(HScroll1, SB_LINEUP);
        case VK_RIGHT:
            return scroll(HScroll1, SB_LINEDOWN);
        case VK_UP:
            return scroll(VScroll1, SB_LINEUP);
        case VK_DOWN:
            return scroll(VScroll1, SB_LINEDOWN);
        case VK_PRIOR:
            return scroll(paged, SB_PAGEUP);
        case VK_NEXT:
            return scroll(paged, SB_PAGEDOWN);
        case VK_HOME:
            return scroll(paged, SB_TOP);
        case VK_END:
            return scroll(paged, SB_BOTTOM);
        default:
            return false;
    }
}

// Empties the viewer; the flags stay as they are.
void FrmMain::mnuClear_Click() {
    PicBmp.SetPicture(toolkit::Picture());
    Markup.Reset();
    Form_Resize();
}

}  // namespace app
