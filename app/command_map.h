// The one table that maps each command to its handler on the main window.
#pragma once

#include "app/command_ids.h"

namespace app {

class FrmMain;

using Handler = void (FrmMain::*)();

// The handler a command runs; null for an id without one (mnuScroll).
Handler HandlerFor(UINT id);

}  // namespace app
