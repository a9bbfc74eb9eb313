// The geometry of drawing marks: Shift constraints, arrow heads, step
// markers, pixelate blocks and the order marks are rendered in.
#pragma once

#include <array>
#include <utility>
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

// A step's badge: its width sets the font, and the badge grows to hold a
// number of more digits.
int32_t StepRadius(int32_t width, int32_t number = 1);
int32_t StepFontHeight(int32_t width);
// The number a new step marker gets: one past the highest placed.
int32_t NextStepNumber(const std::vector<Mark>& marks);

int32_t TextHeight(int32_t width);
int32_t HighlighterWidth(int32_t width);

// Pixelate blocks are never smaller than this: finer blocks leave text legible.
constexpr int32_t kMinPixelateBlock = 12;
int32_t PixelateBlock(const Box& area);
// The block along one side of a pixelated area that holds pixel v (offset
// from the side's start): a last block thinner than the others joins the
// one before it. Returns its start and end offsets.
std::pair<int32_t, int32_t> PixelateSpan(int32_t length, int32_t block, int32_t v);

// The order marks are drawn in: as placed, but every redaction last, so
// nothing drawn later shows inside a redacted area.
std::vector<size_t> RenderOrder(const std::vector<Mark>& marks);

// The handles of a selected mark: boxes by corners and sides, lines and
// arrows by their ends, a text by its right side (its wrap), a step by its
// centre (which only moves it).
enum class Handle {
    None,
    Move,
    TopLeft,
    Top,
    TopRight,
    Right,
    BottomRight,
    Bottom,
    BottomLeft,
    Left,
    Start,
    End
};
struct HandleSpot {
    Handle handle;
    Point at;
};
std::vector<HandleSpot> HandlesOf(const Mark& mark);
// The handle within reach of p, other than Move; None where there is none.
Handle HandleAt(const Mark& mark, Point p, int32_t reach);
// The mark as it was when the drag began, with the handle taken from its
// place to p; Shift keeps a box's proportions and puts a line at 45 degrees.
Mark Resized(const Mark& original, Handle handle, Point p, bool shift);

// Whether a finished gesture makes a mark worth keeping (a click without a
// drag makes none, except where one point is the whole mark).
bool IsWorthKeeping(const Mark& mark);

}  // namespace output::markup
