#include "app/global_key_table.h"

#include "app/frm_main.h"

namespace app {

using toolkit::kModAlt;
using toolkit::kModControl;
using toolkit::kModShift;
using toolkit::kVkSnapshot;

const GlobalKeyRow kGlobalKeyRows[] = {
    {1, L"KeyScreen", {0, kVkSnapshot}, TextId::KeyScreenLabel, &FrmMain::keyScreen_Press},
    {2, L"KeyWindow", {kModAlt, kVkSnapshot}, TextId::KeyWindowLabel, &FrmMain::keyWindow_Press},
    {3,
     L"KeyRegion",
     {kModControl, kVkSnapshot},
     TextId::KeyRegionLabel,
     &FrmMain::mnuDistrict_Click},
    {4,
     L"KeyPick",
     {kModControl | kModShift, kVkSnapshot},
     TextId::KeyPickLabel,
     &FrmMain::mnuPickWindow_Click},
};
const int kGlobalKeyCount = sizeof kGlobalKeyRows / sizeof kGlobalKeyRows[0];

}  // namespace app
