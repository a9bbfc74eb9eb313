// Builds the main window's menus, shortcuts and controls from the definition
// tables, and keeps the toolbar and status bar aligned to the window's edges.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "resources/resource.h"
#include "toolkit/units.h"

namespace app {

namespace {

enum ControlId { kToolbarId = 1, kStatusBarId, kPicScrollId, kPicBmpId, kHScrollId, kVScrollId };

// Design-time geometry, twips.
constexpr float kToolbarHeight = 360;
constexpr float kStatusBarHeight = 375;
constexpr float kClientWidth = 8310, kClientHeight = 5625;
// Panel widths are designed in HIMETRIC (1/100 mm).
constexpr int kPanel1Width = 10592, kPanelMinWidth = 3528;

int PixelsX(float twips) {
    return toolkit::ToInt32(twips / toolkit::Screen::TwipsPerPixelX()).value_or(0);
}
int PixelsY(float twips) {
    return toolkit::ToInt32(twips / toolkit::Screen::TwipsPerPixelY()).value_or(0);
}
RECT TwipsRect(float left, float top, float width, float height) {
    return RECT{PixelsX(left), PixelsY(top), PixelsX(left + width), PixelsY(top + height)};
}
int HimetricToPixelsX(int himetric) {
    return toolkit::ToInt32(himetric * 1440.0 / 2540.0 / toolkit::Screen::TwipsPerPixelX())
        .value_or(0);
}

// Each submenu belongs to the entry it is inserted under; one whose entry is
// not shown is never attached and is freed here, with whatever went into it.
toolkit::UniqueMenu BuildMenuTree() {
    toolkit::UniqueMenu bar(CreateMenu());
    std::vector<toolkit::UniqueMenu> unattached;
    std::vector<HMENU> parents{bar.get()};  // parents[level - 1] holds entries of that level
    for (int i = 0; i < kMenuTreeSize; ++i) {
        const MenuEntry& e = kMenuTree[i];
        parents.resize(e.level);
        const bool hasChildren = i + 1 < kMenuTreeSize && kMenuTree[i + 1].level > e.level;
        toolkit::UniqueMenu popup(hasChildren ? CreatePopupMenu() : nullptr);
        if (popup) parents.push_back(popup.get());
        std::wstring text = MenuItemText(e.caption, e.shortcut);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        if (text == L"-") {
            item.fMask = MIIM_FTYPE;
            item.fType = MFT_SEPARATOR;
        } else {
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (popup ? MIIM_SUBMENU : 0);
            item.wID = e.id;
            item.dwTypeData = text.data();
            item.fState = e.enabled ? MFS_ENABLED : MFS_DISABLED;
            item.hSubMenu = popup.get();
        }
        HMENU parent = parents[e.level - 1];
        if (e.shown && InsertMenuItemW(parent, GetMenuItemCount(parent), TRUE, &item))
            popup.release();
        else if (popup)
            unattached.push_back(std::move(popup));
    }
    return bar;
}

HACCEL BuildAccelerators() {
    std::vector<ACCEL> table;
    for (int i = 0; i < kShortcutCount; ++i)
        table.push_back(ACCEL{FVIRTKEY | FCONTROL, kShortcuts[i].key, WORD(kShortcuts[i].id)});
    return CreateAcceleratorTableW(table.data(), int(table.size()));
}

}  // namespace

bool FrmMain::CreateControls() {
    // Design-time client size; the stored placement replaces it in Form_Load.
    RECT frame = TwipsRect(0, 0, kClientWidth, kClientHeight);
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    toolkit::UniqueMenu menu = BuildMenuTree();
    if (SetMenu(hwnd(), menu.get())) menu.release();  // the window destroys it
    accelerators_.reset(BuildAccelerators());

    // Created in tab order.
    if (!CreateStatusBar()) return false;
    if (!picScroll.Create(hwnd(), this, kPicScrollId, TwipsRect(0, 360, 8055, 4665),
                          COLOR_APPWORKSPACE, false))
        return false;
    if (!PicBmp.Create(picScroll.hwnd(), &picScroll, kPicBmpId, TwipsRect(0, 0, 3225, 2685),
                       COLOR_APPWORKSPACE, true))
        return false;
    const RECT v = TwipsRect(8040, 360, 255, 2535), h = TwipsRect(0, 5040, 2895, 255);
    HWND vbar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, v.left,
                                v.top, v.right - v.left, v.bottom - v.top, hwnd(),
                                HMENU(INT_PTR(kVScrollId)), GetModuleHandleW(nullptr), nullptr);
    HWND hbar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, h.left,
                                h.top, h.right - h.left, h.bottom - h.top, hwnd(),
                                HMENU(INT_PTR(kHScrollId)), GetModuleHandleW(nullptr), nullptr);
    if (!vbar || !hbar) return false;
    VScroll1 = toolkit::ScrollBar(vbar, this);
    HScroll1 = toolkit::ScrollBar(hbar, this);
    return CreateToolbar();
}

bool FrmMain::CreateToolbar() {
    const RECT r = TwipsRect(0, 0, kClientWidth, kToolbarHeight);
    HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                              WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                  CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
                              HMENU(INT_PTR(kToolbarId)), GetModuleHandleW(nullptr), nullptr);
    if (!tb) return false;
    Toolbar1 = toolkit::Control(tb, this);
    SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    ImageList1.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, kImageCount, 0));
    toolkit::UniqueBitmap strip(
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TOOLBAR),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (ImageList1 && strip) ImageList_AddMasked(ImageList1.get(), strip.get(), kImageMaskColor);
    SendMessageW(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageList1.get()));
    // 609 x 582 HIMETRIC: 23 x 22 pixels at 96 dpi.
    const int dpi =
        GetDeviceCaps(toolkit::WindowDC(tb, toolkit::WindowDC::Area::Client).get(), LOGPIXELSX);
    SendMessageW(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(MulDiv(23, dpi, 96), MulDiv(22, dpi, 96)));

    std::vector<TBBUTTON> buttons(kToolbarButtonCount);
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        const ToolbarButton& def = kToolbarButtons[i];
        TBBUTTON& b = buttons[i];
        b.idCommand = ID_Toolbar1 + i + 1;
        b.dwData = reinterpret_cast<DWORD_PTR>(def.key);
        switch (def.kind) {
            case ButtonKind::Placeholder:
                // A disabled button without a picture leaves a gap and cannot be clicked.
                b.iBitmap = I_IMAGENONE;
                b.fsStyle = BTNS_BUTTON;
                break;
            case ButtonKind::Separator:
                b.iBitmap = 0;
                b.fsStyle = BTNS_SEP;
                break;
            case ButtonKind::Button:
                b.iBitmap = def.image - 1;
                b.fsStyle = BTNS_BUTTON;
                b.fsState = TBSTATE_ENABLED;
                break;
        }
    }
    SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return true;
}

bool FrmMain::CreateStatusBar() {
    const RECT r = TwipsRect(0, 5250, kClientWidth, kStatusBarHeight);
    HWND sb = CreateWindowExW(
        0, STATUSCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
        r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(), HMENU(INT_PTR(kStatusBarId)),
        GetModuleHandleW(nullptr), nullptr);
    if (!sb) return false;
    StatusBar1 = toolkit::Control(sb, this);
    SizePanels(r.right - r.left);  // the panels exist from the start
    SetPanelText(1, kProductLine);
    return true;
}

void FrmMain::SetPanelText(int panel, const std::wstring& text) {
    SendMessageW(StatusBar1.hwnd(), SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring FrmMain::PanelText(int panel) const {
    const auto length = LOWORD(SendMessageW(StatusBar1.hwnd(), SB_GETTEXTLENGTHW, panel - 1, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(StatusBar1.hwnd(), SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

// The toolkit's alignment: toolbar across the top, status bar across the
// bottom, both at their designed heights; panel 1 gives way first.
void FrmMain::AlignBars() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int toolbarHeight = PixelsY(kToolbarHeight), statusHeight = PixelsY(kStatusBarHeight);
    SetWindowPos(Toolbar1.hwnd(), nullptr, 0, 0, client.right, toolbarHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(StatusBar1.hwnd(), nullptr, 0, client.bottom - statusHeight, client.right,
                 statusHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SizePanels(client.right);
}

void FrmMain::SizePanels(int barWidth) {
    const int minWidth = HimetricToPixelsX(kPanelMinWidth);
    int panel1 = HimetricToPixelsX(kPanel1Width);
    if (barWidth - panel1 < minWidth) panel1 = std::max<int>(minWidth, barWidth - minWidth);
    const int edges[2] = {panel1, -1};
    SendMessageW(StatusBar1.hwnd(), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

LRESULT FrmMain::OnNotify(const NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        const UINT_PTR index = info->hdr.idFrom - ID_Toolbar1;
        if (index >= 1 && index <= kToolbarButtonCount && kToolbarButtons[index - 1].tooltip >= 0)
            info->lpszText =
                const_cast<wchar_t*>(UiTexts[TextId(kToolbarButtons[index - 1].tooltip)].c_str());
    }
    return 0;
}

}  // namespace app
