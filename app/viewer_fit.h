// Fitting the viewer's scroll bars to its picture: which bars show, how far
// each scrolls, and how far one click moves the picture. The window code reads
// its controls into a ViewerFit, runs FitScrollBars and applies the result.
#pragma once

#include <cstdint>

namespace app {

// What a scroll bar holds; positions run from 0 to max.
struct ScrollBarState {
    bool visible = true;
    int32_t value = 0;
    int32_t max = 32767;
    int32_t smallChange = 1;
    int32_t largeChange = 1;
};

// Everything in twips.
struct ViewerFit {
    float viewportWidth = 0, viewportHeight = 0;
    float pictureWidth = 0, pictureHeight = 0;
    ScrollBarState h, v;
};

// The strip a hidden bar leaves to the viewport.
constexpr float kScrollBarThickness = 255;

// The horizontal half, then the vertical half, which sees the viewport as the
// first left it. A setting the bar refuses (a number that does not fit, a
// step below 1) is skipped and the bar keeps what it had.
void FitScrollBars(ViewerFit& fit, double twipsPerPixelX, double twipsPerPixelY);

}  // namespace app
