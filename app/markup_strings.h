// The mark-up tools as the user reaches them: each tool's key and the texts
// that name it (in app/texts.h, so a language file replaces them).
#pragma once

#include <windows.h>

#include "app/texts.h"
#include "output/markup_editor.h"

namespace app {

struct MarkupToolText {
    output::markup::Tool tool;
    WORD key;       // the key that picks it
    TextId name;    // in the right-click menu
    TextId status;  // in status panel 1 while it is in use
};

constexpr int kMarkupToolCount = 12;
extern const MarkupToolText kMarkupTools[kMarkupToolCount];
const MarkupToolText* MarkupToolTextOf(output::markup::Tool tool);

// The names of output::markup::kPalette's colours, in its order.
constexpr TextId kMarkupColorNames[8] = {
    TextId::MarkupRed,  TextId::MarkupOrange, TextId::MarkupYellow, TextId::MarkupGreen,
    TextId::MarkupBlue, TextId::MarkupPurple, TextId::MarkupBlack,  TextId::MarkupWhite};
extern const int kMarkupWidths[];
extern const int kMarkupWidthCount;

}  // namespace app
