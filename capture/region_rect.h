// The free-region selection's arithmetic: the rectangle between two points,
// its size label and the four inverting strokes of its frame. Screen pixels,
// laid out as the Win32 RECT and POINT.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/pixel_rect.h"

namespace capture {

// Every rectangle of the capture code is in the displays' own pixels.
using Rect32 = toolkit::PhysicalRect;
using Point32 = toolkit::PhysicalPoint;

void SwapLongs(int32_t& A, int32_t& B);

// Afterwards left <= right and top <= bottom.
void NormalizeRect(Rect32& Rect);

// No pixels: zero (or negative) width or height.
bool IsEmpty(const Rect32& rect);

// The size in pixels as the label shows it: "320x200".
std::wstring RegionLabel(const Rect32& rect);

// Top-left corner of a cx x cy label centred on the rectangle, halves to even.
Point32 LabelOrigin(const Rect32& rect, int32_t cx, int32_t cy);

// One PatBlt: an origin and extents.
struct Stroke {
    int32_t x, y, width, height;
};

// The frame's strokes: top, left, right and bottom edge, each one pixel
// thick along the rectangle's outermost ring. Each corner lies on two of
// them, so inverting all four leaves the corners as they were.
std::array<Stroke, 4> FrameStrokes(const Rect32& rect);

}  // namespace capture
