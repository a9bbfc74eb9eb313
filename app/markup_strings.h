// What the mark-up tools say to the user: one table, so a language file can
// replace them all in one place.
#pragma once

#include <windows.h>

#include "output/markup_editor.h"

namespace app {

struct MarkupToolText {
    output::markup::Tool tool;
    WORD key;               // the key that picks it
    const wchar_t* name;    // in the right-click menu
    const wchar_t* status;  // in status panel 1 while it is in use
};

constexpr int kMarkupToolCount = 12;
extern const MarkupToolText kMarkupTools[kMarkupToolCount];
const MarkupToolText* MarkupToolTextOf(output::markup::Tool tool);

extern const wchar_t* const kMarkupColorNames[8];  // of output::markup::kPalette
extern const int kMarkupWidths[];
extern const int kMarkupWidthCount;

extern const wchar_t kMarkupColorMenu[];
extern const wchar_t kMarkupWidthMenu[];
extern const wchar_t kMarkupWidthItem[];  // after the width in pixels
extern const wchar_t kMarkupUndo[];
extern const wchar_t kMarkupRedo[];
extern const wchar_t kMarkupDelete[];
extern const wchar_t kMarkupCopy[];
extern const wchar_t kMarkupCopyFailed[];

}  // namespace app
