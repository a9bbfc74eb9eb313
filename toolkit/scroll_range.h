// The range rule of the toolkit's scroll bars, shared by the control and the
// portable code that plans its settings.
#pragma once

#include <cstdint>
#include <limits>

namespace toolkit {

// Positions 0..max with a page of largeChange must stay within 32 bits.
constexpr bool ScrollRangeFits(int64_t max, int64_t largeChange) {
    return max >= 0 && largeChange >= 1 &&
           max + largeChange - 1 <= std::numeric_limits<int32_t>::max();
}

}  // namespace toolkit
