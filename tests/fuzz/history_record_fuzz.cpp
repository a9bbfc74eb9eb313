// The history's records and session notes as a damaged or crafted file may
// hold them: whatever is read back is within its ranges, and writes out to
// the same record again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "output/history_record.h"
#include "output/markup_editor.h"

using namespace output::history;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto record = ReadRecord(bytes)) {
        const auto& crop = record->doc.crop;
        if (crop.Empty() || crop.left < 0 || crop.top < 0 || crop.right > record->width ||
            crop.bottom > record->height)
            abort();
        for (const auto& mark : record->doc.marks)
            if (mark.points.empty() || mark.width < output::markup::kMinWidth ||
                mark.width > output::markup::kMaxWidth || mark.color > 0xFFFFFF)
                abort();
        const auto again = ReadRecord(WriteRecord(*record));
        if (!again || WriteRecord(*again) != WriteRecord(*record)) abort();
    }
    if (const auto session = ReadSession(bytes)) {
        if ((!session->current.empty() && !IsEntryName(session->current)) ||
            (!session->dump.empty() && !IsDumpName(session->dump)))
            abort();
        const auto again = ReadSession(WriteSession(*session));
        if (!again || again->current != session->current || again->dump != session->dump) abort();
    }
    return 0;
}
