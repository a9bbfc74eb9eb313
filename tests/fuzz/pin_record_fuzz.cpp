// The pin's stored record: any bytes, read back or refused, never more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pin/pin_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto record = pin::ParseRecord(text)) {
        // What was accepted writes out and reads back the same.
        const auto again = pin::ParseRecord(pin::FormatRecord(*record));
        if (!again || again->left != record->left || again->top != record->top ||
            again->zoom != record->zoom || again->opacity != record->opacity)
            std::abort();
    }
    return 0;
}
