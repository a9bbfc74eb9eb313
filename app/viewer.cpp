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

namespace {
// The wheel's line: a notch moves the system's lines per notch of these.
constexpr int kWheelLinePixels = 20;
}  // namespace

// A notch moves the system's lines per notch, at most a viewport: the bar's
// own line, one pixel, would take a hundred notches for a screen.
void FrmMain::OnMouseWheel(int delta, bool horizontal) {
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

// The keys move by the wheel's line, not the bar's one pixel, and page by
// the view less a line, so the last line seen stays in sight. The bars' own
// arrows and track keep their steps.
bool FrmMain::OnScrollKey(WPARAM key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    toolkit::Control view(picScroll.hwnd(), nullptr);
    const auto line = [](const toolkit::ScrollBar& bar) {
        return std::min<int64_t>(int64_t(kWheelLinePixels) * bar.SmallChange(),
                                 std::max<int64_t>(bar.LargeChange(), 1));
    };
    const auto move = [&](bool horizontal, int64_t by) {
        toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
        if (bar.Visible()) MoveBar(horizontal, bar.Value() + by * line(bar));
        return true;
    };
    const auto page = [&](bool horizontal, int direction) {
        toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
        const int64_t extent = int64_t(horizontal ? view.Width() : view.Height());
        if (bar.Visible())
            MoveBar(horizontal, bar.Value() + direction * std::max(extent - line(bar), line(bar)));
        return true;
    };
    const auto end = [&](bool horizontal, bool last) {
        toolkit::ScrollBar& bar = horizontal ? HScroll1 : VScroll1;
        if (bar.Visible()) MoveBar(horizontal, last ? bar.Max() : 0);
        return true;
    };
    // Pages and ends go down the picture when it has a vertical bar, else across.
    const bool across = shift || !VScroll1.Visible();
    switch (key) {
        case VK_LEFT:
            return move(true, -1);
        case VK_RIGHT:
            return move(true, 1);
        case VK_UP:
            return move(false, -1);
        case VK_DOWN:
            return move(false, 1);
        case VK_PRIOR:
            return page(across, -1);
        case VK_NEXT:
            return page(across, 1);
        case VK_HOME:
        case VK_END:
            if (ctrl) end(true, key == VK_END);
            return end(ctrl ? false : !VScroll1.Visible(), key == VK_END);
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
