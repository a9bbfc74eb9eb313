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
    void (FrmMain::*change)() = horizontal ? &FrmMain::HScroll1_Change : &FrmMain::VScroll1_Change;
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
            (this->*change)();  // a drag ends with a Change even where it started
            return;
        default:  // SB_ENDSCROLL
            return;
    }
    target = std::clamp<int64_t>(target, 0, bar.Max());
    if (target != value && bar.SetValue(static_cast<int32_t>(target))) (this->*change)();
}

// Empties the viewer; the flags stay as they are.
void FrmMain::mnuClear_Click() {
    PicBmp.SetPicture(toolkit::Picture());
    MarkupReset();
    Form_Resize();
}

}  // namespace app
