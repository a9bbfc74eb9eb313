#include "toolkit/units.h"

#include <cmath>
#include <cwchar>
#include <limits>

namespace toolkit {

double RoundHalfEven(double value) {
    // Not nearbyint: that follows the FPU rounding mode, which a loaded DLL may change.
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) return floor + 1;
    if (fraction < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

template <typename Int>
std::optional<Int> ToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = RoundHalfEven(value);
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(rounded);
}

}  // namespace

std::optional<int16_t> ToInt16(double value) { return ToInteger<int16_t>(value); }
std::optional<int32_t> ToInt32(double value) { return ToInteger<int32_t>(value); }

double TwipsPerPixel(int dpi) {
    // Whole twips, so that pixels -> twips -> pixels comes back exact at any dpi.
    if (dpi <= 0) return 15;
    return dpi >= kTwipsPerInch ? 1 : kTwipsPerInch / dpi;
}

std::wstring NumberText(float value) {
    wchar_t buffer[32];
    if (value == std::floor(value) && std::fabs(value) < 1e7f)
        std::swprintf(buffer, 32, L"%.0f", static_cast<double>(value));
    else
        std::swprintf(buffer, 32, L"%.7g", static_cast<double>(value));
    return buffer;
}

}  // namespace toolkit
