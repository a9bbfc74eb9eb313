#include "app/command_line.h"

namespace app {

std::wstring FirstPath(const std::vector<std::wstring>& words,
                       const std::function<bool(const std::wstring&)>& exists) {
    if (words.empty()) return {};
    std::wstring joined;
    for (const std::wstring& word : words) {
        joined += (joined.empty() ? L"" : L" ") + word;
        if (exists(joined)) return joined;
    }
    return words.front();  // the message then names it
}

}  // namespace app
