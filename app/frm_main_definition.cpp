#include "app/frm_main_definition.h"

namespace app {

// mnuView and mnuLanguage are shown but disabled, so the user sees the Image
// menu exists and cannot be used; mnuScroll is enabled but not shown.
const MenuEntry kMenuTree[] = {
    {1, L"mnuFile", L"文件(&F)", ID_mnuFile, nullptr, 2, true, true},
    {2, L"mnuOpen", L"打开(&O)", ID_mnuOpen, nullptr, 3, true, true},
    {2, L"mnusave", L"保存(&S)", ID_mnusave, L"Ctrl+S", 4, true, true},
    {2, L"vvv", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuClear", L"取消捕获(&C)", ID_mnuClear, nullptr, 8, true, true},
    {2, L"ll", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuWallpaper", L"设置为墙纸", ID_mnuWallpaper, L"Ctrl+W", 5, true, true},
    {2, L"mnuClearWall", L"清除墙纸", ID_mnuClearWall, L"Ctrl+C", 6, true, true},
    {2, L"mnuMspaint", L"用画图编辑", ID_mnuMspaint, nullptr, 17, true, true},
    {2, L"lll", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuprint", L"打印(&P)", ID_mnuprint, nullptr, 7, true, true},
    {2, L"llll", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuExit", L"退出(&X)", ID_mnuExit, L"Ctrl+Q", 9, true, true},
    // After Exit: the capture history. Its pictures are
    // listed above the separator each time the submenu opens.
    {2, L"mnuRecentLine", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuRecent", ChineseText(TextId::RecentMenu), ID_mnuRecent, nullptr,
     TextLine(TextId::RecentMenu), true, true},
    {3, L"mnuRecentEnd", L"-", 0, nullptr, -1, true, true},
    {3, L"mnuHistoryOn", ChineseText(TextId::HistoryOn), ID_mnuHistoryOn, nullptr,
     TextLine(TextId::HistoryOn), true, true},
    {3, L"mnuHistoryClear", ChineseText(TextId::HistoryClear), ID_mnuHistoryClear, nullptr,
     TextLine(TextId::HistoryClear), true, true},
    {3, L"mnuHistoryFolder", ChineseText(TextId::HistoryFolder), ID_mnuHistoryFolder, nullptr,
     TextLine(TextId::HistoryFolder), true, true},
    {2, L"mnuOptions", ChineseText(TextId::OptionsMenu), ID_mnuOptions, nullptr,
     TextLine(TextId::OptionsMenu), true, true},
    {1, L"mnuCapture", L"捕获(&C)", ID_mnuCapture, nullptr, 10, true, true},
    {2, L"mnuScreen", L"整个屏幕(&S)", ID_mnuScreen, nullptr, 11, true, true},
    {2, L"mnuDistrict", L"自由捕获(&D)", ID_mnuDistrict, nullptr, 21, true, true},
    {2, L"H", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuAtiveWindow", L"延时捕获(&A)", ID_mnuAtiveWindow, nullptr, 12, true, true},
    {2, L"mnuClient", L"当前工作区(&C)", ID_mnuClient, nullptr, 13, true, true},
    {2, L"iiii", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuTitleBar", L"当前窗口(&F)", ID_mnuTitleBar, nullptr, 14, true, true},
    {2, L"mnuScroll", L"滚动窗口(&S)", ID_mnuScroll, nullptr, 15, false, true},
    {2, L"mnuMonitorLine", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuAllMonitors", ChineseText(TextId::AllMonitors), ID_mnuAllMonitors, nullptr,
     TextLine(TextId::AllMonitors), true, true},
    {2, L"mnuPointerMonitor", ChineseText(TextId::MonitorUnderPointer), ID_mnuPointerMonitor,
     nullptr, TextLine(TextId::MonitorUnderPointer), true, true},
    {2, L"mnuPickWindow", ChineseText(TextId::PickWindow), ID_mnuPickWindow, nullptr,
     TextLine(TextId::PickWindow), true, true},
    {2, L"mnuScrollCapture", ChineseText(TextId::ScrollCapture), ID_mnuScrollCapture, nullptr,
     TextLine(TextId::ScrollCapture), true, true},
    {2, L"mnuPinLine", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuPin", ChineseText(TextId::PinToScreen), ID_mnuPin, L"Ctrl+T",
     TextLine(TextId::PinToScreen), true, true},
    {2, L"mnuPinClipboard", ChineseText(TextId::PinClipboard), ID_mnuPinClipboard, nullptr,
     TextLine(TextId::PinClipboard), true, true},
    {2, L"mnuPinsHide", ChineseText(TextId::PinsHide), ID_mnuPinsHide, nullptr,
     TextLine(TextId::PinsHide), true, true},
    {2, L"mnuPinsShow", ChineseText(TextId::PinsShow), ID_mnuPinsShow, nullptr,
     TextLine(TextId::PinsShow), true, true},
    {1, L"mnuView", L"图像(&I)", ID_mnuView, nullptr, 16, true, false},
    {2, L"mnuline", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuLanguage", L"选择语言(&L)", ID_mnuLanguage, nullptr, 18, true, false},
    {3, L"mnuChinese", L"简体中文(&C)", ID_mnuChinese, nullptr, 19, true, true},
    {3, L"mnuEnglish", L"英语(&English)", ID_mnuEnglish, nullptr, 20, true, true},
    {1, L"mnuhelp", L"帮助(&H)", ID_mnuhelp, nullptr, 22, true, true},
    {2, L"mnuHowto", L"帮助(H)", ID_mnuHowto, nullptr, 24, true, true},
    {2, L"gg", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuAbout", L"关于(&A)...", ID_mnuAbout, nullptr, 23, true, true},
    // After Help's first entries: the language commands, within reach.
    {2, L"mnuHelpLine", L"-", 0, nullptr, -1, true, true},
    {2, L"mnuHelpLanguage", ChineseText(TextId::LanguageMenu), ID_mnuHelpLanguage, nullptr,
     TextLine(TextId::LanguageMenu), true, true},
    {3, L"mnuHelpChinese", ChineseText(TextId::LanguageChinese), ID_mnuHelpChinese, nullptr,
     TextLine(TextId::LanguageChinese), true, true},
    {3, L"mnuHelpEnglish", ChineseText(TextId::LanguageEnglish), ID_mnuHelpEnglish, nullptr,
     TextLine(TextId::LanguageEnglish), true, true},
};
const int kMenuTreeSize = sizeof kMenuTree / sizeof kMenuTree[0];

const Shortcut kShortcuts[] = {
    {'S', ID_mnusave},      {'W', ID_mnuWallpaper},
    {'C', ID_mnuClearWall},                    // clears the wallpaper; not a copy command
    {'Q', ID_mnuExit},      {'T', ID_mnuPin},  // plain T stays the text tool
};
const int kShortcutCount = sizeof kShortcuts / sizeof kShortcuts[0];

const ToolbarButton kToolbarButtons[kToolbarButtonCount] = {
    {ButtonKind::Placeholder, 0, -1, nullptr, 0},
    {ButtonKind::Button, 1, int(TextId::TipOpen), nullptr, ID_mnuOpen},
    {ButtonKind::Button, 2, int(TextId::TipSave), L"保存", ID_mnusave},
    {ButtonKind::Placeholder, 0, -1, nullptr, 0},
    {ButtonKind::Button, 6, int(TextId::TipScreen), nullptr, ID_mnuScreen},
    {ButtonKind::Button, 3, int(TextId::TipRegion), nullptr, ID_mnuDistrict},
    {ButtonKind::Button, 7, int(TextId::TipDelayed), nullptr, ID_mnuAtiveWindow},
    // Button 8 shares 9's tooltip and runs nothing.
    {ButtonKind::Button, 8, int(TextId::TipWindow), nullptr, 0},
    {ButtonKind::Button, 9, int(TextId::TipWindow), nullptr, ID_mnuTitleBar},
    {ButtonKind::Button, 10, int(TextId::TipClient), nullptr, ID_mnuClient},
    {ButtonKind::Placeholder, 0, -1, nullptr, 0},
    {ButtonKind::Button, 12, int(TextId::TipPaint), nullptr, ID_mnuMspaint},
    {ButtonKind::Button, 20, int(TextId::TipWallpaper), nullptr, ID_mnuWallpaper},
    {ButtonKind::Button, 21, int(TextId::TipPrint), nullptr, ID_mnuprint},
    {ButtonKind::Separator, 0, -1, nullptr, 0},
    {ButtonKind::Button, 23, int(TextId::TipHelp), nullptr, ID_mnuHowto},
    {ButtonKind::Button, 18, int(TextId::TipAbout), nullptr, ID_mnuAbout},
};

const wchar_t kProductLine[] = L"云雀软件\uFF0DFotolark\u3000V2.0";

}  // namespace app
