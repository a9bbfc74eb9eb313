// The one file dialog of a window: its settings carry over between uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace toolkit {

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
