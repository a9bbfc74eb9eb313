#include "app/language_lines.h"

namespace app {

namespace {

std::string_view Trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

}  // namespace

LanguageFileLines SplitLanguageFile(std::string_view bytes) {
    LanguageFileLines file;
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kMark.size()) == kMark) {
        file.utf8 = true;
        bytes.remove_prefix(kMark.size());
    }
    int count = 0;
    // Lines after the 25th are a translator's until the marker: only then texts.
    bool further = false;
    while (!bytes.empty() && file.extra.size() < size_t(kTextCount)) {
        const auto end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        if (count < kLanguageLineCount)
            file.lines[count++] = std::string(line);
        else if (further)
            file.extra.emplace_back(line);
        else
            further = Trimmed(line) == kFurtherTextsMarker;
        if (end == std::string_view::npos) break;
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return file;
}

}  // namespace app
