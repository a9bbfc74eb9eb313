// Laying out a text mark: its lines, broken at line feeds and, where the
// mark has a wrap width, before the word that would pass it; where the caret
// stands and which character a point falls on. Characters are whole code
// points: a caret never splits a surrogate pair.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "output/markup_mark.h"

namespace output::markup {

// How a text mark's font measures: the advance of a run of its text, and the
// distance from one line to the next, in pixels.
struct TextMeasure {
    std::function<int32_t(const Mark&, std::wstring_view)> width;
    std::function<int32_t(const Mark&)> lineHeight;
};
// A rough measure for where no font is at hand.
TextMeasure PlainMeasure();

struct TextLine {
    size_t begin = 0, end = 0;  // the line's characters; a break after end is not shown
    int32_t width = 0;
};
std::vector<TextLine> LayOut(const Mark& mark, const TextMeasure& measure);
// The text's size: its widest line and all its lines (an empty text keeps
// the height of one).
Point TextSize(const Mark& mark, const TextMeasure& measure);

// The caret before character `index`: its top, in the mark's pixels.
Point CaretAt(const Mark& mark, const TextMeasure& measure, size_t index);
// The character boundary nearest to point p, in the mark's pixels.
size_t IndexAt(const Mark& mark, const TextMeasure& measure, Point p);
// The line that holds the caret before `index`.
size_t LineOf(const std::vector<TextLine>& lines, size_t index);

size_t PreviousChar(const std::wstring& text, size_t index);
size_t NextChar(const std::wstring& text, size_t index);

}  // namespace output::markup
