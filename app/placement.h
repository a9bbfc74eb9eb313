// The window placement kept between runs: four numbers in twips stored as text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

struct Placement {
    float left = 1000, top = 1000, width = 6500, height = 6500;
};

struct PixelRect {
    long left = 0, top = 0, right = 0, bottom = 0;
};

// The stored text of a single-precision number; empty when it is not one.
std::optional<float> ParseStoredNumber(const std::wstring& text);

// Builds the placement from the four stored texts (missing ones are empty
// optionals). A value that is not a number, or a size that is not positive,
// takes its default; a window that no monitor shows enough of to grab takes
// the default placement, so it never opens out of reach.
Placement ResolvePlacement(const std::optional<std::wstring>& left,
                           const std::optional<std::wstring>& top,
                           const std::optional<std::wstring>& width,
                           const std::optional<std::wstring>& height,
                           const std::vector<PixelRect>& monitors, double twipsPerPixelX,
                           double twipsPerPixelY);

}  // namespace app
