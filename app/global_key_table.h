// The global keys: each one's stored value, its key until the user chooses
// another, its name on the options' Keys page and what it runs. One row a key.
#pragma once

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
};

extern const GlobalKeyRow kGlobalKeyRows[];
extern const int kGlobalKeyCount;

}  // namespace app
