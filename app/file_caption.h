// What the window's caption says after a picture file is opened.
#pragma once

#include <string>

namespace app {

// The file name part of a path: what follows the last backslash; a forward
// slash is an ordinary character, and a path ending in a backslash gives "".
std::wstring GetFileName(const std::wstring& path);

// "grab─[desk.bmp(12000x9000) ]": the program's name, the file's name and the
// picture's size in twips.
std::wstring OpenedCaption(const std::wstring& exeName, const std::wstring& fileName,
                           float widthTwips, float heightTwips);

}  // namespace app
