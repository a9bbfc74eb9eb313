// The geometry of drawing marks: Shift constraints, arrow heads, step
// markers, pixelate blocks and the order marks are rendered in.
#pragma once

#include <array>
#include <vector>

#include "output/markup_mark.h"

namespace output::markup {

// With Shift held: the corner that makes a square from the anchor, and the
// end that puts a line at a multiple of 45 degrees.
Point SquareCorner(Point anchor, Point p);
Point At45Degrees(Point anchor, Point p);

// The head of an arrow from `from` to `to`: tip, then the two barbs. The
// shaft ends at the head's base so a wide stroke does not blunt the tip.
struct ArrowHead {
    Point tip, left, right, base;
};
ArrowHead HeadOf(Point from, Point to, int32_t width);

int32_t StepRadius(int32_t width);
// The number a new step marker gets: one past the highest placed.
int32_t NextStepNumber(const std::vector<Mark>& marks);

int32_t TextHeight(int32_t width);
int32_t HighlighterWidth(int32_t width);

// Pixelate blocks are never smaller than this: finer blocks leave text legible.
constexpr int32_t kMinPixelateBlock = 12;
int32_t PixelateBlock(const Box& area);

// The order marks are drawn in: as placed, but every redaction last, so
// nothing drawn later shows inside a redacted area.
std::vector<size_t> RenderOrder(const std::vector<Mark>& marks);

// Whether a finished gesture makes a mark worth keeping (a click without a
// drag makes none, except where one point is the whole mark).
bool IsWorthKeeping(const Mark& mark);

}  // namespace output::markup
