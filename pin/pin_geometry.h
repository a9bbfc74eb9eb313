// A pin's arithmetic: zoom steps, zooming around the pointer, opacity steps
// and where a pin goes on the displays. Physical screen pixels, signed.
#pragma once

#include <cstdint>
#include <vector>

#include "capture/region_rect.h"

namespace pin {

using capture::Point32;
using capture::Rect32;

constexpr int kMinZoom = 10, kMaxZoom = 800, kMinOpacity = 20, kMaxOpacity = 100;
// Windows refuses windows much larger than this.
constexpr int32_t kMaxSide = 32000;

// The zoom `notches` wheel steps from `zoom` (positive: larger), kept where a
// picture of that size still fits kMaxSide.
int NextZoom(int zoom, int notches, int32_t width, int32_t height);
// Opacity in steps of 10 %, kept within 20 - 100 %.
int NextOpacity(int opacity, int notches);
// 0 - 255 for the layered window.
uint8_t Alpha(int opacity);

// A length at the zoom, at least one pixel.
int32_t Scaled(int32_t length, int zoom);

// The picture's new top-left corner when the zoom changes, so that the
// picture's pixel under `anchor` stays there.
Point32 ZoomAround(Point32 origin, Point32 anchor, int oldZoom, int newZoom);

// A width x height picture near the pointer (below and right of it), kept
// inside the work area where it fits, else at its top-left corner.
Point32 PlaceNear(Point32 pointer, int32_t width, int32_t height, const Rect32& workArea);

// The rectangle where it is while a grip of it shows on some display;
// otherwise moved onto the display nearest to it, as far as it must.
Rect32 KeepOnDisplays(const Rect32& rect, const std::vector<Rect32>& displays);

}  // namespace pin
