// The one file dialog of a window: its settings carry over between uses.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <string>

namespace toolkit {

// Stands in for the system's open and save dialogs (tests reach answers no
// real dialog gives, an empty name among them): gets the dialog's settings,
// fills its name and returns whether the user confirmed.
using FileDialogHandler = std::function<bool(OPENFILENAMEW& dialog, bool save)>;
// Returns the handler it replaces; an empty one brings the system's dialogs back.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

class CommonDialog {
public:
    std::wstring FileName;
    std::wstring Filter;  // "description|pattern|description|pattern"
    int FilterIndex = 1;  // the pair selected, from 1; the user's choice once the dialog closes
    std::wstring DefaultExt;
    uint32_t Flags = 0;
    std::wstring DialogTitle;

    // Each returns true when the user confirmed; FileName then holds the path.
    bool ShowSave(HWND owner);
    bool ShowOpen(HWND owner);
    // The print dialog, given the carried-over Flags as its PD_ bits; true
    // when the user confirmed. It prints nothing and changes nothing here.
    bool ShowPrinter(HWND owner);

private:
    bool Show(HWND owner, bool save);
};

}  // namespace toolkit
