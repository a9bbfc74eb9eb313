// Handing the picture to Paint for editing.
#include "app/frm_main.h"

namespace app {

void FrmMain::mnuMspaint_Click() {}

}  // namespace app
