// Setting and clearing the desktop wallpaper, and the print dialog.
#include "app/frm_main.h"

namespace app {

void FrmMain::mnuWallpaper_Click() {}
void FrmMain::mnuClearWall_Click() {}
void FrmMain::mnuprint_Click() {}

}  // namespace app
