#include "capture/region_rect.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "toolkit/units.h"

namespace capture {

namespace {

int32_t RoundToInt32(double value) {
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(toolkit::RoundHalfEven(value), lo, hi));
}

}  // namespace

void SwapLongs(int32_t& A, int32_t& B) { std::swap(A, B); }

void NormalizeRect(Rect32& Rect) {
    if (Rect.right < Rect.left) SwapLongs(Rect.right, Rect.left);
    if (Rect.bottom < Rect.top) SwapLongs(Rect.bottom, Rect.top);
}

bool IsEmpty(const Rect32& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

std::wstring RegionLabel(const Rect32& rect) {
    // Wide arithmetic: the difference of two 32-bit coordinates may not fit.
    const int64_t width = int64_t(rect.right) - rect.left;
    const int64_t height = int64_t(rect.bottom) - rect.top;
    return std::to_wstring(width) + L"x" + std::to_wstring(height);
}

Point32 LabelOrigin(const Rect32& rect, int32_t cx, int32_t cy) {
    return Point32{RoundToInt32((double(rect.right) + rect.left - cx) / 2),
                   RoundToInt32((double(rect.bottom) + rect.top - cy) / 2)};
}

// All extents positive: GDI implementations disagree on where a negative
// extent starts (Wine's includes the origin pixel), which would move the left
// and bottom edges one pixel off the ring.
std::array<Stroke, 4> FrameStrokes(const Rect32& r) {
    const int32_t width = r.right - r.left, height = r.bottom - r.top;
    return {{
        {r.left, r.top, width, 1},
        {r.left, r.top, 1, height},
        {r.right - 1, r.top, 1, height},
        {r.left, r.bottom - 1, width, 1},
    }};
}

}  // namespace capture
