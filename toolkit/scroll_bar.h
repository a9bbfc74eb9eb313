// A scroll bar control with the toolkit's properties: Value runs from 0 to
// Max and moves by SmallChange (an arrow) or LargeChange (the track), all in
// 32 bits. The window itself keeps the range, the page and the position.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/form.h"

namespace toolkit {

class ScrollBar : public Control {
public:
    ScrollBar() = default;
    // Gives the bar the toolkit's defaults: Max 32767, both steps 1, Value 0.
    ScrollBar(HWND hwnd, const Container* container);

    int32_t Value() const;
    int32_t Max() const { return max_; }
    int32_t SmallChange() const { return smallChange_; }
    int32_t LargeChange() const { return largeChange_; }
    // The thumb's position while it is being dragged.
    int32_t TrackPosition() const;

    // Each refuses, changing nothing, what the bar cannot hold: a value
    // outside 0..Max, a step below 1, a range that overflows 32 bits.
    bool SetValue(int32_t value);
    bool SetMax(int32_t max);
    bool SetSmallChange(int32_t step);
    bool SetLargeChange(int32_t step);

private:
    void SetRange();
    SCROLLINFO Info(UINT mask) const;

    int32_t max_ = 32767;
    int32_t smallChange_ = 1;  // no Win32 field holds it
    int32_t largeChange_ = 1;
};

}  // namespace toolkit
