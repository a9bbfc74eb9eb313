// The small text file kept beside each pin's picture: where the pin stands,
// its zoom and opacity. Every value is checked when read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pin {

struct Record {
    int32_t left = 0, top = 0;  // the picture's top-left pixel on the screen
    int zoom = 100;             // percent
    int opacity = 100;          // percent
};

std::string FormatRecord(const Record& record);
// Nothing when the text is not a whole, sound record.
std::optional<Record> ParseRecord(const std::string& text);

}  // namespace pin
