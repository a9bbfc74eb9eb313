// The stored placement as the registry may hold it after any edit: four texts
// (split at NUL), whatever they say, give a window of positive size.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/placement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::optional<std::wstring>> texts(4);
    size_t field = 0;
    // Two bytes a character, as the registry stores them; a lone 0xFF byte
    // leaves a value missing.
    for (size_t i = 0; i + 1 < size && field < 4; i += 2) {
        const wchar_t c = wchar_t(data[i] | data[i + 1] << 8);
        if (c == 0) {
            ++field;
        } else if (c == 0xFFFF) {
            texts[field].reset();
        } else {
            if (!texts[field]) texts[field].emplace();
            texts[field]->push_back(c);
        }
    }
    for (const auto& text : texts)
        if (text) {
            const auto number = app::ParseStoredNumber(*text);
            if (number && !std::isfinite(*number)) abort();
        }
    const std::vector<app::PixelRect> monitors = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
    const app::Placement p =
        app::ResolvePlacement(texts[0], texts[1], texts[2], texts[3], monitors, 15, 15);
    if (!(p.width > 0) || !(p.height > 0) || !std::isfinite(p.left) || !std::isfinite(p.top))
        abort();
    return 0;
}
