// Command identifiers shared by the menus, the accelerators and the toolbar.
#pragma once

#include <windows.h>

namespace app {

enum CommandId : UINT {
    ID_mnuOpen = 100,
    ID_mnusave,
    ID_mnuClear,
    ID_mnuWallpaper,
    ID_mnuClearWall,
    ID_mnuMspaint,
    ID_mnuprint,
    ID_mnuExit,
    ID_mnuScreen,
    ID_mnuDistrict,
    ID_mnuAtiveWindow,
    ID_mnuClient,
    ID_mnuTitleBar,
    ID_mnuScroll,
    ID_mnuChinese,
    ID_mnuEnglish,
    ID_mnuHowto,
    ID_mnuAbout,
    // The Help menu's language submenu: the language commands within reach.
    ID_mnuHelpChinese,
    ID_mnuHelpEnglish,
    // Menu titles and the submenu: no handler, ids only so they can be found.
    ID_mnuFile,
    ID_mnuCapture,
    ID_mnuView,
    ID_mnuLanguage,
    ID_mnuhelp,
    ID_mnuHelpLanguage,
    // After the capture menu's first entries, which keep their places.
    ID_mnuAllMonitors,
    ID_mnuPointerMonitor,
    ID_mnuPickWindow,
    // The File menu's Recent submenu: its pictures, then the history's commands.
    ID_mnuRecent,
    ID_mnuRecentFirst,
    ID_mnuRecentLast = ID_mnuRecentFirst + 9,
    ID_mnuRecentNone,
    ID_mnuHistoryOn,
    ID_mnuHistoryClear,
    ID_mnuHistoryFolder,
    // Pins, after them.
    ID_mnuPin,
    ID_mnuPinClipboard,
    ID_mnuPinsHide,
    ID_mnuPinsShow,
    // After Exit in the File menu.
    ID_mnuOptions,
    // The notification-area icon's menu.
    ID_mnuTrayShow,
    ID_mnuScrollCapture,
    // Toolbar buttons report ID_Toolbar1 + their 1-based index.
    ID_Toolbar1 = 1000,
};

}  // namespace app
