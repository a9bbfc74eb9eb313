#include "app/placement.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <limits>

namespace app {

std::optional<float> ParseStoredNumber(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    while (std::iswspace(*begin)) ++begin;
    if (*begin == L'\0') return std::nullopt;
    wchar_t* end = nullptr;
    const double value = std::wcstod(begin, &end);
    if (end == begin) return std::nullopt;
    while (std::iswspace(*end)) ++end;
    if (*end != L'\0') return std::nullopt;
    // Hex, infinities and NaN are text wcstod takes but nothing we write.
    for (const wchar_t* p = begin; p != end; ++p)
        if (std::iswalpha(*p) && *p != L'e' && *p != L'E') return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

namespace {

float StoredOr(const std::optional<std::wstring>& text, float fallback, bool mustBePositive) {
    if (!text) return fallback;
    const auto value = ParseStoredNumber(*text);
    if (!value || (mustBePositive && *value <= 0)) return fallback;
    return *value;
}

// Enough of the window to grab and move it back; a maximized window's frame
// hangs a few pixels off the screen, so the whole rectangle cannot be asked for.
constexpr double kMinShownPixels = 32;

bool Shown(const Placement& p, const std::vector<PixelRect>& monitors, double tppX, double tppY) {
    const double left = p.left / tppX, right = (p.left + p.width) / tppX;
    const double top = p.top / tppY, bottom = (p.top + p.height) / tppY;
    for (const auto& m : monitors) {
        const double w = std::fmin(right, m.right) - std::fmax(left, m.left);
        const double h = std::fmin(bottom, m.bottom) - std::fmax(top, m.top);
        if (w >= kMinShownPixels && h >= kMinShownPixels) return true;
    }
    return false;
}

}  // namespace

Placement ResolvePlacement(const std::optional<std::wstring>& left,
                           const std::optional<std::wstring>& top,
                           const std::optional<std::wstring>& width,
                           const std::optional<std::wstring>& height,
                           const std::vector<PixelRect>& monitors, double twipsPerPixelX,
                           double twipsPerPixelY) {
    const Placement defaults;
    Placement p;
    p.left = StoredOr(left, defaults.left, false);
    p.top = StoredOr(top, defaults.top, false);
    p.width = StoredOr(width, defaults.width, true);
    p.height = StoredOr(height, defaults.height, true);
    if (!Shown(p, monitors, twipsPerPixelX, twipsPerPixelY)) return defaults;
    return p;
}

}  // namespace app
