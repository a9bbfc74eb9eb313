#include "pin/pin_record.h"

#include <cstdlib>
#include <sstream>

#include "pin/pin_geometry.h"

namespace pin {

namespace {

constexpr char kHeader[] = "Fotolark pin 1";
// Far beyond any desk, yet well inside 32 bits once a size is added.
constexpr int64_t kFarthest = 1000000;
constexpr size_t kLongest = 1024;

// A decimal integer within [low, high], the whole text, no sign but '-'.
std::optional<int64_t> Number(const std::string& text, int64_t low, int64_t high) {
    size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (i == text.size() || text.size() - i > 9) return std::nullopt;
    int64_t value = 0;
    for (size_t j = i; j < text.size(); ++j) {
        if (text[j] < '0' || text[j] > '9') return std::nullopt;
        value = value * 10 + (text[j] - '0');
    }
    if (i) value = -value;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::string FormatRecord(const Record& r) {
    std::ostringstream out;
    out << kHeader << "\nleft " << r.left << "\ntop " << r.top << "\nzoom " << r.zoom
        << "\nopacity " << r.opacity << "\n";
    return out.str();
}

std::optional<Record> ParseRecord(const std::string& text) {
    if (text.size() > kLongest) return std::nullopt;
    Record record;
    bool seen[4] = {};
    std::istringstream in(text);
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first) {
            if (line != kHeader) return std::nullopt;
            first = false;
            continue;
        }
        if (line.empty()) continue;
        const size_t space = line.find(' ');
        if (space == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, space), value = line.substr(space + 1);
        struct Field {
            const char* name;
            int64_t low, high;
        };
        static constexpr Field kFields[] = {{"left", -kFarthest, kFarthest},
                                            {"top", -kFarthest, kFarthest},
                                            {"zoom", kMinZoom, kMaxZoom},
                                            {"opacity", kMinOpacity, kMaxOpacity}};
        int found = -1;
        for (int f = 0; f < 4; ++f)
            if (key == kFields[f].name) found = f;
        // A key of a later version is passed over; a known one must be sound, and once.
        if (found < 0) continue;
        const auto number = Number(value, kFields[found].low, kFields[found].high);
        if (!number || seen[found]) return std::nullopt;
        seen[found] = true;
        switch (found) {
            case 0:
                record.left = int32_t(*number);
                break;
            case 1:
                record.top = int32_t(*number);
                break;
            case 2:
                record.zoom = int(*number);
                break;
            default:
                record.opacity = int(*number);
                break;
        }
    }
    if (first || !(seen[0] && seen[1] && seen[2] && seen[3])) return std::nullopt;
    return record;
}

}  // namespace pin
