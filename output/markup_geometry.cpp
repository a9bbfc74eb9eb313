#include "output/markup_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace output::markup {

namespace {

int32_t Sign(int32_t v) { return v < 0 ? -1 : 1; }

Point Rounded(double x, double y) {
    return Point{int32_t(std::lround(x)), int32_t(std::lround(y))};
}

}  // namespace

Point SquareCorner(Point anchor, Point p) {
    const int32_t dx = p.x - anchor.x, dy = p.y - anchor.y;
    const int32_t side = std::max(std::abs(dx), std::abs(dy));
    return Point{anchor.x + Sign(dx) * side, anchor.y + Sign(dy) * side};
}

Point At45Degrees(Point anchor, Point p) {
    const int32_t dx = p.x - anchor.x, dy = p.y - anchor.y;
    const int32_t ax = std::abs(dx), ay = std::abs(dy);
    // tan(22.5°): beyond it the nearer axis wins.
    constexpr double kTan22 = 0.41421356;
    if (ay <= ax * kTan22) return Point{p.x, anchor.y};
    if (ax <= ay * kTan22) return Point{anchor.x, p.y};
    const int32_t d = (ax + ay + 1) / 2;
    return Point{anchor.x + Sign(dx) * d, anchor.y + Sign(dy) * d};
}

ArrowHead HeadOf(Point from, Point to, int32_t width) {
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    ArrowHead head;
    head.tip = to;
    if (length < 1) {
        head.left = head.right = head.base = to;
        return head;
    }
    // Long enough to read at any width, never longer than the arrow itself.
    const double size = std::min(length, 3.0 * width + 10);
    const double ux = dx / length, uy = dy / length;
    const double bx = to.x - ux * size, by = to.y - uy * size;
    const double half = size * 0.5;
    head.left = Rounded(bx - uy * half, by + ux * half);
    head.right = Rounded(bx + uy * half, by - ux * half);
    head.base = Rounded(to.x - ux * size * 0.8, to.y - uy * size * 0.8);
    return head;
}

int32_t StepRadius(int32_t width) { return 2 * width + 8; }

int32_t NextStepNumber(const std::vector<Mark>& marks) {
    int32_t highest = 0;
    for (const Mark& m : marks)
        if (m.kind == Kind::Step) highest = std::max(highest, m.number);
    return highest + 1;
}

int32_t TextHeight(int32_t width) { return 12 + 4 * width; }

int32_t HighlighterWidth(int32_t width) { return std::max(12, 5 * width); }

int32_t PixelateBlock(const Box& area) {
    return std::max(kMinPixelateBlock, std::max(area.Width(), area.Height()) / 24);
}

std::vector<size_t> RenderOrder(const std::vector<Mark>& marks) {
    std::vector<size_t> order;
    order.reserve(marks.size());
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < marks.size(); ++i)
            if ((marks[i].kind == Kind::Redaction) == (pass == 1)) order.push_back(i);
    return order;
}

bool IsWorthKeeping(const Mark& m) {
    if (m.points.empty()) return false;
    switch (m.kind) {
        case Kind::Step:
            return true;
        case Kind::Text:
            return !m.text.empty();
        case Kind::Pen:
        case Kind::Highlighter:
            return m.points.size() > 1;
        default: {
            const Point a = m.points.front(), b = m.points.back();
            if (m.kind == Kind::Line || m.kind == Kind::Arrow) return !(a == b);
            return a.x != b.x && a.y != b.y;
        }
    }
}

}  // namespace output::markup
