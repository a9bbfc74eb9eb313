// Rectangles and points whose type says which pixels they count: the
// displays' own (physical) or those scaled by a DPI the program is aware of
// (logical). On a desk whose displays scale differently the two disagree, and
// mixing them up offsets or stretches a capture; as distinct types they
// cannot be passed for each other without saying so.
#pragma once

#include <cstdint>

namespace toolkit {

enum class PixelSpace { Physical, Logical };

template <PixelSpace Space>
struct PixelPoint {
    int32_t x = 0, y = 0;
};

template <PixelSpace Space>
struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    // Wide: the difference of two 32-bit coordinates may not fit.
    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const PixelRect& o) const { return !(*this == o); }
};

using PhysicalRect = PixelRect<PixelSpace::Physical>;
using LogicalRect = PixelRect<PixelSpace::Logical>;
using PhysicalPoint = PixelPoint<PixelSpace::Physical>;
using LogicalPoint = PixelPoint<PixelSpace::Logical>;

}  // namespace toolkit
