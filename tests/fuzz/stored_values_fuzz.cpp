// The stored placement and options as the registry may hold them after any
// edit: four texts (split at NUL), whatever they say, give a window of
// positive size, options that hold a pattern, and keys that read back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/placement.h"
#include "toolkit/key_text.h"

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
    size_t next = 0;
    const app::Options options =
        app::ReadOptions([&](const wchar_t*) { return texts[next++ % 4]; });
    if (options.fileNamePattern.empty()) abort();
    for (const auto& text : texts) {
        if (!text) continue;
        app::ParseCounter(*text);
        const auto key = toolkit::ParseKeyText(*text);
        if (key && !key->None() && toolkit::ParseKeyText(toolkit::KeyText(*key)) != key) abort();
    }
    return 0;
}
