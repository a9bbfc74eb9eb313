// Handing a picture to the system's Paint program through the shell.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/picture.h"

namespace output {

enum class EditFailure { None, NotWritten, NotStarted };

struct EditOutcome {
    EditFailure failure = EditFailure::None;
    std::wstring path;  // the temporary file, when it was written
};

// Writes the picture to "Temp\temp.bmp" under programFolder (making Temp when
// missing) or, where that cannot be written, to "Fotolark\temp.bmp" in the
// user's temporary folder, and asks the shell to start the "edit" action of
// the class "Paint.Picture" on it, with `owner` owning whatever the shell shows.
EditOutcome EditInPaint(const toolkit::Picture& picture, const std::wstring& programFolder,
                        HWND owner);

}  // namespace output
