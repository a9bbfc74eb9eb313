// What a box drawn over the picture (a crop's shade and frame, a redaction's
// fill) changes when one of its edges moves: a drag across a big picture
// repaints thin strips, not the whole box again.
#pragma once

#include <vector>

#include "output/markup_mark.h"

namespace output::markup {

// The strips between each edge's old and new place, `reach` wider on both
// sides for what is drawn along the edges; together they hold every pixel
// inside one box and not the other, and every pixel within `reach` of an
// edge of either that is not within reach of the same edge of both.
std::vector<Box> EdgesMoved(const Box& before, const Box& after, int32_t reach);

}  // namespace output::markup
