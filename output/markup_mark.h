// Marks drawn over a picture: kept as objects in the picture's pixel
// coordinates until the picture leaves, then rendered into its pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace output::markup {

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// Right and bottom are exclusive; empty when either size is zero or less.
struct Box {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool Empty() const { return right <= left || bottom <= top; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

Box Intersect(const Box& a, const Box& b);
Box Union(const Box& a, const Box& b);  // an empty box adds nothing
// The box two corners span, the pixels of both included.
Box Spanned(Point a, Point b);
// The box dragged from a to b: b - a pixels across, as a free region is.
Box Between(Point a, Point b);

using Rgb = uint32_t;  // 0xRRGGBB

enum class Kind {
    Rectangle,
    Ellipse,
    Line,
    Arrow,
    Pen,
    Highlighter,
    Text,
    Step,
    Redaction,
    Pixelate
};

struct Mark {
    Kind kind = Kind::Rectangle;
    Rgb color = 0xFF0000;
    int32_t width = 3;  // stroke, pixels
    // Boxes and lines: two corners or ends; pen and highlighter: the path;
    // text: its top-left corner; step: its centre.
    std::vector<Point> points;
    std::wstring text;
    Point textSize;      // measured by whoever draws the text
    int32_t number = 0;  // a step's
    int32_t wrap = 0;    // a text's line width in pixels; 0: lines end only at line feeds
};

// Rectangles, ellipses, redactions and pixelations: the box between their corners.
bool IsBox(Kind kind);

// Every pixel the mark can touch.
Box Bounds(const Mark& mark);
// Whether a click at p, with that much slack in pixels, lands on the mark.
// Outlined shapes are hit on their outline only, so what lies inside them
// stays within reach.
bool HitTest(const Mark& mark, Point p, int32_t slack);
void Offset(Mark& mark, int32_t dx, int32_t dy);

// The index of the topmost mark under p, or -1.
int TopmostAt(const std::vector<Mark>& marks, Point p, int32_t slack);

}  // namespace output::markup
