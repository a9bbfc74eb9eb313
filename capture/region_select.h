// The free-region capture's entry from the window procedure.
#pragma once

#include <windows.h>

namespace app {

class FrmMain;

// A left press the armed selection took anywhere on the screen (lParam of
// capture::kRegionPressMessage) reaches the form as its mouse-press event.
void DeliverRegionPress(FrmMain& form, LPARAM screenPoint);

}  // namespace app
