#include "app/language_lines.h"

namespace app {

LanguageFileLines SplitLanguageFile(std::string_view bytes) {
    LanguageFileLines file;
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kMark.size()) == kMark) {
        file.utf8 = true;
        bytes.remove_prefix(kMark.size());
    }
    for (int i = 0; i < kLanguageLineCount + kTextCount && !bytes.empty(); ++i) {
        const auto end = bytes.find_first_of("\r\n");
        std::string line(bytes.substr(0, end));
        if (i < kLanguageLineCount)
            file.lines[i] = std::move(line);
        else
            file.extra.push_back(std::move(line));
        if (end == std::string_view::npos) break;
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return file;
}

}  // namespace app
