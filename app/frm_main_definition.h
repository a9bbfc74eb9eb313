// What the main window is made of: its menu tree, shortcuts, toolbar buttons
// and status panels, as data the window is built from.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/command_ids.h"
#include "app/language_lines.h"
#include "app/texts.h"

namespace app {

struct MenuEntry {
    int level;                // 1 menu-bar title, 2 drop-down entry, 3 submenu entry
    const wchar_t* name;      // the entry's name in the code
    const wchar_t* caption;   // "-" for a separator
    UINT id;                  // 0 for separators
    const wchar_t* shortcut;  // shown beside the caption, or null
    int languageLine;         // line of a language file replacing the caption, -1 for none;
                              // from 25 on, a line of the further texts (TextLine)
    bool shown;
    bool enabled;
};

// The language-file line (counted from 0) of one of the further texts.
constexpr int TextLine(TextId id) { return kLanguageLineCount + int(id); }

extern const MenuEntry kMenuTree[];
extern const int kMenuTreeSize;

// What a menu item shows: the caption, and its shortcut beside it, whatever
// language the caption is in.
inline std::wstring MenuItemText(const std::wstring& caption, const wchar_t* shortcut) {
    return shortcut ? caption + L"\t" + shortcut : caption;
}

struct Shortcut {
    WORD key;  // virtual key, pressed with Ctrl
    UINT id;
};

extern const Shortcut kShortcuts[];
extern const int kShortcutCount;

enum class ButtonKind { Placeholder, Separator, Button };

struct ToolbarButton {
    ButtonKind kind;
    int image;           // 1-based image of the image list, 0 for none
    int tooltip;         // a TextId, -1 for none
    const wchar_t* key;  // an unshown second text, or null
    UINT command;        // the command it runs, 0 for none
};

constexpr int kToolbarButtonCount = 17;
extern const ToolbarButton kToolbarButtons[kToolbarButtonCount];  // by 1-based index - 1

constexpr int kImageCount = 23;
constexpr COLORREF kImageMaskColor = RGB(192, 192, 192);

// The product line of status panel 1.
extern const wchar_t kProductLine[];

}  // namespace app
