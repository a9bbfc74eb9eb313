// Where the displays lie on the virtual screen, the box around them all:
// which display holds a point, what of a rectangle lies on the virtual
// screen, and which parts of it no display covers. Screen pixels, signed:
// displays left of or above the primary one have negative coordinates.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "capture/region_rect.h"

namespace capture {

// The box around every display; empty for none.
Rect32 BoundingBox(const std::vector<Rect32>& displays);

// What the two have in common; empty (all zero) when nothing.
Rect32 Intersect(const Rect32& a, const Rect32& b);

// The rectangle cut to the area, or nothing when no pixel of it lies there.
std::optional<Rect32> ClampTo(const Rect32& rect, const Rect32& area);

// The pixel of the area nearest to the point.
Point32 ClampPoint(Point32 point, const Rect32& area);

// The display that holds the point, else the one nearest to it, as the
// system's MonitorFromPoint with MONITOR_DEFAULTTONEAREST; nothing without
// displays. On a tie the earlier display wins.
std::optional<size_t> DisplayAt(const std::vector<Rect32>& displays, Point32 point);

// The parts of the area no display covers, as rectangles that do not overlap:
// what a picture of the whole virtual screen shows black.
std::vector<Rect32> Uncovered(const Rect32& area, const std::vector<Rect32>& displays);

}  // namespace capture
