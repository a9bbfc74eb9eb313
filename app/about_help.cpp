// The About box and the readme in Notepad.
#include "app/frm_main.h"

namespace app {

void FrmMain::mnuHowto_Click() {}
void FrmMain::mnuAbout_Click() {}

}  // namespace app
