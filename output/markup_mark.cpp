#include "output/markup_mark.h"

#include <algorithm>
#include <cmath>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

Box Around(Point p, int32_t r) { return Box{p.x - r, p.y - r, p.x + r + 1, p.y + r + 1}; }

Box Inflated(Box b, int32_t by) {
    return Box{b.left - by, b.top - by, b.right + by, b.bottom + by};
}

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double PathDistance(Point p, const std::vector<Point>& path) {
    if (path.size() == 1) return SegmentDistance(p, path[0], path[0]);
    double best = 1e18;
    for (size_t i = 1; i < path.size(); ++i)
        best = std::min(best, SegmentDistance(p, path[i - 1], path[i]));
    return best;
}

bool Inside(const Box& b, Point p) {
    return p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom;
}

// The outline's centre line runs through the corner pixels' centres.
double RectangleOutlineDistance(Point p, const Box& b) {
    const Point c[4] = {
        {b.left, b.top}, {b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}};
    double best = 1e18;
    for (int i = 0; i < 4; ++i) best = std::min(best, SegmentDistance(p, c[i], c[(i + 1) % 4]));
    return best;
}

double EllipseOutlineDistance(Point p, const Box& b) {
    const double rx = std::max(0.5, (b.Width() - 1) / 2.0),
                 ry = std::max(0.5, (b.Height() - 1) / 2.0);
    const double cx = b.left + rx, cy = b.top + ry;
    const double nx = (p.x - cx) / rx, ny = (p.y - cy) / ry;
    return std::abs(std::hypot(nx, ny) - 1) * std::min(rx, ry);
}

}  // namespace

Box Intersect(const Box& a, const Box& b) {
    Box r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
    return r.Empty() ? Box{} : r;
}

Box Union(const Box& a, const Box& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

Box Spanned(Point a, Point b) {
    return Box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
               std::max(a.y, b.y) + 1};
}

Box Between(Point a, Point b) {
    return Box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool IsBox(Kind kind) {
    return kind == Kind::Rectangle || kind == Kind::Ellipse || kind == Kind::Redaction ||
           kind == Kind::Pixelate;
}

Box Bounds(const Mark& m) {
    if (m.points.empty()) return Box{};
    const Point first = m.points.front(), last = m.points.back();
    switch (m.kind) {
        case Kind::Redaction:
        case Kind::Pixelate:
            return Between(first, last);
        case Kind::Rectangle:
        case Kind::Ellipse:
            return Inflated(Between(first, last), m.width / 2 + 1);
        case Kind::Line:
            return Inflated(Spanned(first, last), m.width / 2 + 2);
        case Kind::Arrow: {
            const ArrowHead head = HeadOf(first, last, m.width);
            Box b = Union(Spanned(first, last), Spanned(head.left, head.right));
            return Inflated(b, m.width / 2 + 2);
        }
        case Kind::Pen:
        case Kind::Highlighter: {
            Box b = Spanned(first, first);
            for (const Point& p : m.points) b = Union(b, Spanned(p, p));
            const int32_t w = m.kind == Kind::Pen ? m.width : HighlighterWidth(m.width);
            return Inflated(b, w / 2 + 2);
        }
        case Kind::Text:
            return Box{first.x, first.y, first.x + std::max(m.textSize.x, 1),
                       first.y + std::max(m.textSize.y, TextHeight(m.width))};
        case Kind::Step:
            return Around(first, StepRadius(m.width, m.number) + 1);
    }
    return Box{};
}

bool HitTest(const Mark& m, Point p, int32_t slack) {
    if (m.points.empty()) return false;
    const Point first = m.points.front(), last = m.points.back();
    const double reach = slack + m.width / 2.0;
    switch (m.kind) {
        case Kind::Rectangle:
            return RectangleOutlineDistance(p, Between(first, last)) <= reach;
        case Kind::Ellipse:
            return EllipseOutlineDistance(p, Between(first, last)) <= reach;
        case Kind::Line:
            return SegmentDistance(p, first, last) <= reach;
        case Kind::Arrow:
            return SegmentDistance(p, first, last) <= reach ||
                   Inside(Inflated(Spanned(HeadOf(first, last, m.width).left,
                                           HeadOf(first, last, m.width).right),
                                   slack),
                          p);
        case Kind::Pen:
            return PathDistance(p, m.points) <= reach;
        case Kind::Highlighter:
            return PathDistance(p, m.points) <= slack + HighlighterWidth(m.width) / 2.0;
        case Kind::Step:
            return std::hypot(p.x - first.x, p.y - first.y) <=
                   StepRadius(m.width, m.number) + slack;
        case Kind::Text:
        case Kind::Redaction:
        case Kind::Pixelate:
            return Inside(Inflated(Bounds(m), slack), p);
    }
    return false;
}

void Offset(Mark& m, int32_t dx, int32_t dy) {
    for (Point& p : m.points) {
        p.x += dx;
        p.y += dy;
    }
}

int TopmostAt(const std::vector<Mark>& marks, Point p, int32_t slack) {
    // Redactions are drawn over everything, so they are the topmost too.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = int(marks.size()) - 1; i >= 0; --i) {
            const bool redaction = marks[i].kind == Kind::Redaction;
            if (redaction == (pass == 0) && HitTest(marks[i], p, slack)) return i;
        }
    return -1;
}

}  // namespace output::markup
