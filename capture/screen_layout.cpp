#include "capture/screen_layout.h"

#include <algorithm>
#include <cstdint>

namespace capture {

namespace {

// How far the point is from the rectangle, squared; 0 inside it.
int64_t DistanceSquared(const Rect32& r, Point32 p) {
    const int64_t dx = p.x < r.left     ? int64_t(r.left) - p.x
                       : p.x >= r.right ? int64_t(p.x) - r.right + 1
                                        : 0;
    const int64_t dy = p.y < r.top       ? int64_t(r.top) - p.y
                       : p.y >= r.bottom ? int64_t(p.y) - r.bottom + 1
                                         : 0;
    return dx * dx + dy * dy;
}

}  // namespace

Rect32 BoundingBox(const std::vector<Rect32>& displays) {
    Rect32 box;
    bool first = true;
    for (const Rect32& d : displays) {
        if (IsEmpty(d)) continue;
        if (first) {
            box = d;
            first = false;
            continue;
        }
        box.left = std::min(box.left, d.left);
        box.top = std::min(box.top, d.top);
        box.right = std::max(box.right, d.right);
        box.bottom = std::max(box.bottom, d.bottom);
    }
    return box;
}

Rect32 Intersect(const Rect32& a, const Rect32& b) {
    const Rect32 r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
    return IsEmpty(r) ? Rect32{} : r;
}

std::optional<Rect32> ClampTo(const Rect32& rect, const Rect32& area) {
    const Rect32 r = Intersect(rect, area);
    if (IsEmpty(r)) return std::nullopt;
    return r;
}

Point32 ClampPoint(Point32 point, const Rect32& area) {
    if (IsEmpty(area)) return point;
    return Point32{std::clamp(point.x, area.left, area.right - 1),
                   std::clamp(point.y, area.top, area.bottom - 1)};
}

std::optional<size_t> DisplayAt(const std::vector<Rect32>& displays, Point32 point) {
    std::optional<size_t> best;
    int64_t bestDistance = 0;
    for (size_t i = 0; i < displays.size(); ++i) {
        if (IsEmpty(displays[i])) continue;
        const int64_t d = DistanceSquared(displays[i], point);
        if (!best || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// Band by band between the displays' top and bottom edges: in each, the
// stretches between the displays that cross it.
std::vector<Rect32> Uncovered(const Rect32& area, const std::vector<Rect32>& displays) {
    std::vector<Rect32> parts;
    if (IsEmpty(area)) return parts;
    std::vector<Rect32> inside;
    std::vector<int32_t> edges{area.top, area.bottom};
    for (const Rect32& d : displays) {
        const Rect32 r = Intersect(d, area);
        if (IsEmpty(r)) continue;
        inside.push_back(r);
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int32_t top = edges[i], bottom = edges[i + 1];
        std::vector<std::pair<int32_t, int32_t>> covered;
        for (const Rect32& r : inside)
            if (r.top <= top && r.bottom >= bottom) covered.push_back({r.left, r.right});
        std::sort(covered.begin(), covered.end());
        int32_t x = area.left;
        for (const auto& [left, right] : covered) {
            if (left > x) parts.push_back({x, top, left, bottom});
            x = std::max(x, right);
        }
        if (x < area.right) parts.push_back({x, top, area.right, bottom});
    }
    return parts;
}

}  // namespace capture
