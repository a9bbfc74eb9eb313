// Picture files on disk.
#pragma once

#include <string>

#include "toolkit/picture.h"

namespace output {

// Writes a picture's bitmap as a Windows bitmap file at its own depth; false,
// with no file left behind, when it cannot be written.
bool SavePicture(const toolkit::Picture& picture, const std::wstring& path);

}  // namespace output
