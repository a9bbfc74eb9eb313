// Replacing the window's texts from a language file.
#include "app/frm_main.h"

namespace app {

void FrmMain::mnuChinese_Click() {}
void FrmMain::mnuEnglish_Click() {}

}  // namespace app
