// The global keys: each one's stored value, its key until the user chooses
// another, its name on the options' Keys page and what it runs. One row a key.
#pragma once

#include <windows.h>

#include "app/texts.h"
#include "toolkit/key_text.h"

namespace app {

class FrmMain;

struct GlobalKeyRow {
    int id;  // of its WM_HOTKEY
    const wchar_t* setting;
    toolkit::KeyChord standard;
    TextId label;
    void (FrmMain::*press)();
    UINT command;  // the menu command whose capture it takes, for the history; 0 none
};

extern const GlobalKeyRow kGlobalKeyRows[];
extern const int kGlobalKeyCount;

}  // namespace app
