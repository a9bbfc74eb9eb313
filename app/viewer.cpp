// The viewer: the picture at full size in the viewport, moved by the scroll bars.
#include "app/frm_main.h"

namespace app {

void FrmMain::InitScrollBars() {}
void FrmMain::FitViewer() {}
void FrmMain::OnScrollBar(HWND, int) {}
void FrmMain::HScroll1_Change() {}
void FrmMain::HScroll1_Scroll() { HScroll1_Change(); }
void FrmMain::VScroll1_Change() {}
void FrmMain::VScroll1_Scroll() { VScroll1_Change(); }

}  // namespace app
