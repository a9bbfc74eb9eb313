// Lays out the viewport and scroll bars whenever the window's size changes.
#include "app/frame_layout.h"
#include "app/frm_main.h"

namespace app {

namespace {

// Applies a value the layout computed; the control refuses what it cannot take.
void Apply(float now, float wanted, bool (toolkit::Control::*set)(float), toolkit::Control& c) {
    if (wanted != now) (c.*set)(wanted);
}

}  // namespace

void FrmMain::Form_Resize() {
    if (GetWindowState() == toolkit::WindowState::Minimized) return;
    toolkit::Control& view = picScroll.AsControl();
    FrameGeometry g;
    g.toolbarHeight = Toolbar1.Height();
    g.statusBarHeight = StatusBar1.Height();
    g.picScrollLeft = view.Left();
    g.picScrollWidth = view.Width();
    g.picScrollHeight = view.Height();
    g.hScrollTop = HScroll1.Top();
    g.hScrollWidth = HScroll1.Width();
    g.hScrollHeight = HScroll1.Height();
    g.vScrollLeft = VScroll1.Left();
    g.vScrollWidth = VScroll1.Width();
    g.vScrollHeight = VScroll1.Height();
    const FrameGeometry before = g;
    LayOutFrame(ScaleWidth(), ScaleHeight(), g);

    Apply(before.picScrollWidth, g.picScrollWidth, &toolkit::Control::SetWidth, view);
    Apply(before.picScrollHeight, g.picScrollHeight, &toolkit::Control::SetHeight, view);
    Apply(before.hScrollTop, g.hScrollTop, &toolkit::Control::SetTop, HScroll1);
    Apply(before.hScrollWidth, g.hScrollWidth, &toolkit::Control::SetWidth, HScroll1);
    Apply(before.vScrollLeft, g.vScrollLeft, &toolkit::Control::SetLeft, VScroll1);
    Apply(before.vScrollHeight, g.vScrollHeight, &toolkit::Control::SetHeight, VScroll1);
    FitViewer();
}

}  // namespace app
