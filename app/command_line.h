// The picture the command line names ("fotolark.exe PATH", as "Open with" and
// a file association call it).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace app {

// The first path of the words after the program's own: the first word, or,
// where a path with spaces came unquoted, the shortest run of words from the
// first that names an existing file. Further paths are ignored.
std::wstring FirstPath(const std::vector<std::wstring>& words,
                       const std::function<bool(const std::wstring&)>& exists);

}  // namespace app
