#include "app/global_key_table.h"

#include "app/command_ids.h"
#include "app/frm_main.h"

namespace app {

using toolkit::kModAlt;
using toolkit::kModControl;
using toolkit::kModShift;
using toolkit::kVkSnapshot;

const GlobalKeyRow kGlobalKeyRows[] = {
    {1,
     L"KeyScreen",
     {0, kVkSnapshot},
     TextId::KeyScreenLabel,
     &FrmMain::keyScreen_Press,
     ID_mnuAllMonitors},
    {2,
     L"KeyWindow",
     {kModAlt, kVkSnapshot},
     TextId::KeyWindowLabel,
     &FrmMain::keyWindow_Press,
     ID_mnuTitleBar},
    {3,
     L"KeyRegion",
     {kModControl, kVkSnapshot},
     TextId::KeyRegionLabel,
     &FrmMain::mnuDistrict_Click,
     ID_mnuDistrict},
    {4,
     L"KeyPick",
     {kModControl | kModShift, kVkSnapshot},
     TextId::KeyPickLabel,
     &FrmMain::mnuPickWindow_Click,
     ID_mnuPickWindow},
    // The pin comes up where the user is; the window stays where it is.
    {5,
     L"KeyPinClipboard",
     {kModControl | kModShift, 'T'},
     TextId::KeyPinClipboardLabel,
     &FrmMain::mnuPinClipboard_Click,
     0},
};
const int kGlobalKeyCount = sizeof kGlobalKeyRows / sizeof kGlobalKeyRows[0];

}  // namespace app
