#include "app/frame_layout.h"

namespace app {

namespace {

void AssignSize(float& size, float value) {
    if (value >= 0) size = value;
}

}  // namespace

void LayOutFrame(float scaleWidth, float scaleHeight, FrameGeometry& g) {
    AssignSize(g.picScrollWidth, scaleWidth - g.vScrollWidth);
    AssignSize(g.picScrollHeight,
               scaleHeight - g.hScrollHeight - g.statusBarHeight - g.toolbarHeight);
    g.hScrollTop = g.toolbarHeight + g.picScrollHeight;
    AssignSize(g.hScrollWidth, g.picScrollWidth);
    g.vScrollLeft = g.picScrollLeft + g.picScrollWidth;
    AssignSize(g.vScrollHeight, g.picScrollHeight);
}

}  // namespace app
