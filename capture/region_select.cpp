// The free-region capture: arm, track the dragged rectangle, copy and show it;
// and the clear command.
#include "app/frm_main.h"

namespace app {

void FrmMain::mnuDistrict_Click() {}
void FrmMain::mnuClear_Click() {}
void FrmMain::Form_MouseDown(int16_t, int16_t, float, float) {}
void FrmMain::Form_MouseUp(int16_t, int16_t, float, float) {}

}  // namespace app
