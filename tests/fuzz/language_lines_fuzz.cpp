// A language file's bytes, whatever a user saved: no line may keep a line end.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/language_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file =
        app::SplitLanguageFile(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t total = 0;
    for (const auto& line : file.lines) {
        if (line.find_first_of("\r\n") != std::string::npos) abort();
        total += line.size();
    }
    for (const auto& line : file.extra) {
        if (line.find_first_of("\r\n") != std::string::npos) abort();
        total += line.size();
    }
    if (total > size || file.extra.size() > size_t(app::kTextCount)) abort();
    return 0;
}
