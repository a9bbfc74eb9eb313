// The lines of a language file, split from its bytes before any decoding.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/texts.h"

namespace app {

constexpr int kLanguageLineCount = 25;
// The line, somewhere after the 25th, after which the further texts follow;
// whatever stands between is a note that changes nothing.
constexpr std::string_view kFurtherTextsMarker = "[more texts]";

struct LanguageFileLines {
    bool utf8 = false;  // it began with the UTF-8 byte-order mark, which is not in the lines
    std::array<std::string, kLanguageLineCount> lines;  // a short file leaves the rest empty
    std::vector<std::string> extra;  // the lines after the marker, as many as there are texts
};

// Lines end with CR LF, a bare CR or a bare LF; the end is not part of the line.
// The lines after the marker are the further texts (TextId's order); any beyond those are
// ignored, as is a file's every line past the 25th when it has no marker.
LanguageFileLines SplitLanguageFile(std::string_view bytes);

}  // namespace app
