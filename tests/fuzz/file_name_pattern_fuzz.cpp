// A pattern and a window title as anyone may type or name them: every name
// is one Windows accepts, with a picture extension, and never a folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "output/file_name_pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Two bytes a character; a NUL character ends the pattern, the rest is the title.
    std::wstring pattern, title;
    std::wstring* into = &pattern;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = wchar_t(data[i] | data[i + 1] << 8);
        if (c == 0 && into == &pattern)
            into = &title;
        else
            into->push_back(c);
    }
    output::NameFields fields;
    fields.year = 2026, fields.month = 12, fields.day = 31, fields.hour = 23;
    fields.counter = size > 0 ? data[0] * 1000003u : 0;
    fields.width = int(size), fields.height = -1;
    fields.title = title;
    fields.program = title.substr(0, 8);
    const std::wstring name = output::ExpandFileNamePattern(pattern, fields);
    if (name.size() < 5 || name.size() > 200) abort();
    for (const wchar_t c : name)
        if (c < 32 || std::wstring(L"<>:\"/\\|?*").find(c) != std::wstring::npos) abort();
    const size_t dot = name.find_last_of(L'.');
    if (dot == 0 || dot == std::wstring::npos || name[dot - 1] == L' ') abort();
    const std::wstring free =
        output::FreeName(name, [&](const std::wstring& n) { return n.size() < name.size() + 4; });
    if (free.empty() || free.find(L'\\') != std::wstring::npos) abort();
    return 0;
}
