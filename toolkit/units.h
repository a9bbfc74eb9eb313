// Numeric conventions of the window toolkit: geometry in twips, whole-number
// conversions that round half to even and refuse values out of range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace toolkit {

constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest integer, ties to the even neighbour.
double RoundHalfEven(double value);

// Empty when the value is not finite or does not fit the target type.
std::optional<int16_t> ToInt16(double value);
std::optional<int32_t> ToInt32(double value);

// The toolkit's text of a single-precision number: "1000", "-60", "1000.5";
// no leading space, no fraction when whole.
std::wstring NumberText(float value);

// Whole twips per device pixel for a given dots-per-inch (15 at 96 dpi, 12 at
// 120, 7 at 192).
double TwipsPerPixel(int dpi);

}  // namespace toolkit
