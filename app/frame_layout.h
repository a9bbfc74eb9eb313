// The main window's frame layout: the viewport and scroll bars fitted between
// toolbar and status bar. Values are in the form's scale units.
#pragma once

namespace app {

struct FrameGeometry {
    float toolbarHeight = 0;
    float statusBarHeight = 0;
    float picScrollLeft = 0, picScrollWidth = 0, picScrollHeight = 0;
    float hScrollTop = 0, hScrollWidth = 0, hScrollHeight = 0;
    float vScrollLeft = 0, vScrollWidth = 0, vScrollHeight = 0;
};

// Runs the layout steps in order, each reading what the earlier ones set.
// A step that would give a negative size is skipped and the control keeps
// its size, so a window too small for its bars still lays out the rest.
void LayOutFrame(float scaleWidth, float scaleHeight, FrameGeometry& g);

}  // namespace app
