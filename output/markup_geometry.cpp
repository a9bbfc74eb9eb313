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

int32_t StepFontHeight(int32_t width) { return (2 * width + 8) * 5 / 4; }

int32_t StepRadius(int32_t width, int32_t number) {
    int32_t digits = 1;
    for (int32_t n = number; n >= 10 || n <= -10; n /= 10) ++digits;
    if (number < 0) ++digits;
    // Bold digits advance about two thirds of the font's height; a margin of
    // a sixth of it keeps them off the rim.
    const int32_t font = StepFontHeight(width);
    return std::max(2 * width + 8, (digits * font * 2 / 3 + font / 3 + 1) / 2 + 2);
}

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

std::pair<int32_t, int32_t> PixelateSpan(int32_t length, int32_t block, int32_t v) {
    const int32_t count = std::max(1, length / std::max(1, block));
    const int32_t index = std::min(v / block, count - 1);
    return {index * block, index == count - 1 ? length : (index + 1) * block};
}

std::vector<HandleSpot> HandlesOf(const Mark& m) {
    if (m.points.empty()) return {};
    const Point first = m.points.front(), last = m.points.back();
    if (IsBox(m.kind)) {
        const Box b = Between(first, last);
        const int32_t cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
        return {{Handle::TopLeft, {b.left, b.top}},         {Handle::Top, {cx, b.top}},
                {Handle::TopRight, {b.right, b.top}},       {Handle::Right, {b.right, cy}},
                {Handle::BottomRight, {b.right, b.bottom}}, {Handle::Bottom, {cx, b.bottom}},
                {Handle::BottomLeft, {b.left, b.bottom}},   {Handle::Left, {b.left, cy}}};
    }
    switch (m.kind) {
        case Kind::Line:
        case Kind::Arrow:
            return {{Handle::Start, first}, {Handle::End, last}};
        case Kind::Text: {
            const Box b = Bounds(m);
            return {{Handle::Right, {b.right, (b.top + b.bottom) / 2}}};
        }
        case Kind::Step:
            return {{Handle::Move, first}};
        default:
            return {};
    }
}

Handle HandleAt(const Mark& m, Point p, int32_t reach) {
    for (const HandleSpot& h : HandlesOf(m))
        if (h.handle != Handle::Move && std::abs(p.x - h.at.x) <= reach &&
            std::abs(p.y - h.at.y) <= reach)
            return h.handle;
    return Handle::None;
}

Mark Resized(const Mark& original, Handle handle, Point p, bool shift) {
    Mark m = original;
    if (m.points.empty()) return m;
    if (handle == Handle::Start || handle == Handle::End) {
        Point& moved = handle == Handle::Start ? m.points.front() : m.points.back();
        const Point fixed = handle == Handle::Start ? m.points.back() : m.points.front();
        moved = shift ? At45Degrees(fixed, p) : p;
        return m;
    }
    if (m.kind == Kind::Text) {
        if (handle == Handle::Right) m.wrap = std::max(1, p.x - m.points.front().x);
        return m;
    }
    if (!IsBox(m.kind)) return m;
    const Box b = Between(m.points.front(), m.points.back());
    int32_t l = b.left, t = b.top, r = b.right, btm = b.bottom;
    const bool left = handle == Handle::Left || handle == Handle::TopLeft ||
                      handle == Handle::BottomLeft,
               right = handle == Handle::Right || handle == Handle::TopRight ||
                       handle == Handle::BottomRight,
               top =
                   handle == Handle::Top || handle == Handle::TopLeft || handle == Handle::TopRight,
               bottom = handle == Handle::Bottom || handle == Handle::BottomLeft ||
                        handle == Handle::BottomRight;
    if (left) l = p.x;
    if (right) r = p.x;
    if (top) t = p.y;
    if (bottom) btm = p.y;
    if (shift && b.Width() > 0 && b.Height() > 0) {
        // The side dragged sets the scale; the other follows about its centre
        // (a side handle) or from the fixed corner (a corner handle).
        const bool corner = (left || right) && (top || bottom);
        const double sx = double(r - l) / b.Width(), sy = double(btm - t) / b.Height();
        double s = (left || right) && (!corner || std::abs(sx) >= std::abs(sy)) ? sx : sy;
        const int32_t w = int32_t(std::lround(std::abs(s) * b.Width())),
                      h = int32_t(std::lround(std::abs(s) * b.Height()));
        if (corner) {
            const int32_t signX = (r - l) < 0 ? -1 : 1, signY = (btm - t) < 0 ? -1 : 1;
            if (left)
                l = r - signX * w;
            else
                r = l + signX * w;
            if (top)
                t = btm - signY * h;
            else
                btm = t + signY * h;
        } else if (left || right) {
            const int32_t cy = (b.top + b.bottom) / 2;
            t = cy - h / 2;
            btm = t + h;
        } else {
            const int32_t cx = (b.left + b.right) / 2;
            l = cx - w / 2;
            r = l + w;
        }
    }
    m.points = {Point{l, t}, Point{r, btm}};
    return m;
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
