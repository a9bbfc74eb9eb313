// A capture saved by itself into a folder, under a name from the user's
// pattern that no file has yet.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "output/file_name_pattern.h"
#include "toolkit/picture.h"

namespace output {

// The time now, the picture's size and, when `source` is a window, its
// title and its program's name.
NameFields NameFieldsFor(HWND source, SIZE size, uint32_t counter);

// The full path written; nothing when the folder cannot take the file. An
// existing file is never replaced: a taken name gets " (2)", " (3)"...
std::optional<std::wstring> AutoSavePicture(const toolkit::Picture& picture,
                                            const std::wstring& folder, const std::wstring& name);

// The user's Pictures folder, where captures go until a folder is chosen.
std::wstring PicturesFolder();

}  // namespace output
