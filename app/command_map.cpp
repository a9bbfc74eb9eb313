#include "app/command_map.h"

#include "app/frm_main.h"
#include "app/frm_main_definition.h"

namespace app {

namespace {

struct CommandHandler {
    UINT id;
    Handler handler;
};

constexpr CommandHandler kHandlers[] = {
    {ID_mnuOpen, &FrmMain::mnuOpen_Click},
    {ID_mnusave, &FrmMain::mnusave_Click},
    {ID_mnuClear, &FrmMain::mnuClear_Click},
    {ID_mnuWallpaper, &FrmMain::mnuWallpaper_Click},
    {ID_mnuClearWall, &FrmMain::mnuClearWall_Click},
    {ID_mnuMspaint, &FrmMain::mnuMspaint_Click},
    {ID_mnuprint, &FrmMain::mnuprint_Click},
    {ID_mnuExit, &FrmMain::mnuExit_Click},
    {ID_mnuScreen, &FrmMain::mnuScreen_Click},
    {ID_mnuDistrict, &FrmMain::mnuDistrict_Click},
    {ID_mnuAtiveWindow, &FrmMain::mnuAtiveWindow_Click},
    {ID_mnuClient, &FrmMain::mnuClient_Click},
    {ID_mnuTitleBar, &FrmMain::mnuTitleBar_Click},
    {ID_mnuChinese, &FrmMain::mnuChinese_Click},
    {ID_mnuEnglish, &FrmMain::mnuEnglish_Click},
    {ID_mnuHowto, &FrmMain::mnuHowto_Click},
    {ID_mnuAbout, &FrmMain::mnuAbout_Click},
    {ID_mnuAllMonitors, &FrmMain::mnuAllMonitors_Click},
    {ID_mnuPointerMonitor, &FrmMain::mnuPointerMonitor_Click},
    {ID_mnuPickWindow, &FrmMain::mnuPickWindow_Click},
    {ID_mnuScrollCapture, &FrmMain::mnuScrollCapture_Click},
    {ID_mnuHelpChinese, &FrmMain::mnuChinese_Click},
    {ID_mnuHelpEnglish, &FrmMain::mnuEnglish_Click},
    {ID_mnuHistoryOn, &FrmMain::mnuHistoryOn_Click},
    {ID_mnuHistoryClear, &FrmMain::mnuHistoryClear_Click},
    {ID_mnuHistoryFolder, &FrmMain::mnuHistoryFolder_Click},
    {ID_mnuPin, &FrmMain::mnuPin_Click},
    {ID_mnuPinClipboard, &FrmMain::mnuPinClipboard_Click},
    {ID_mnuPinsHide, &FrmMain::mnuPinsHide_Click},
    {ID_mnuPinsShow, &FrmMain::mnuPinsShow_Click},
    {ID_mnuOptions, &FrmMain::mnuOptions_Click},
    {ID_mnuTrayShow, &FrmMain::mnuTrayShow_Click},
};

}  // namespace

Handler HandlerFor(UINT id) {
    for (const auto& entry : kHandlers)
        if (entry.id == id) return entry.handler;
    return nullptr;
}

}  // namespace app

namespace app {

void FrmMain::Toolbar1_ButtonClick(int16_t Index) {
    if (Index < 1 || Index > kToolbarButtonCount) return;
    const Handler handler = HandlerFor(kToolbarButtons[Index - 1].command);
    if (!handler) return;
    try {
        (this->*handler)();
    } catch (...) {
        // A failing command ends there; the toolbar goes on working.
    }
}

}  // namespace app
