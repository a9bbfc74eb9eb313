// The main window read back as a user meets it: menus, shortcuts, toolbar,
// tooltips, images and status panels.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/command_map.h"
#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "toolkit/runtime.h"
#include "tests/win/support/answers.h"
#include "tests/win/support/input.h"
#include "tests/win/support/shown_form.h"
#include "tests/win/support/test_window.h"

using namespace testing_support;

namespace {

// The menu bar as the user sees it; the scroll-window entry is not shown, the
// commands for several displays come after the specified ones.
const MenuItemShown kExpectedMenus[] = {
    {1, L"文件(&F)", true},       {2, L"打开(&O)", true},        {2, L"保存(&S)\tCtrl+S", true},
    {2, L"-", true},              {2, L"取消捕获(&C)", true},    {2, L"-", true},
    {2, L"设置为墙纸\tCtrl+W", true}, {2, L"清除墙纸\tCtrl+C", true}, {2, L"用画图编辑", true},
    {2, L"-", true},              {2, L"打印(&P)", true},        {2, L"-", true},
    {2, L"退出(&X)\tCtrl+Q", true}, {1, L"捕获(&C)", true},      {2, L"整个屏幕(&S)", true},
    {2, L"自由捕获(&D)", true},   {2, L"-", true},               {2, L"延时捕获(&A)", true},
    {2, L"当前工作区(&C)", true}, {2, L"-", true},               {2, L"当前窗口(&F)", true},
    {2, L"-", true},              {2, L"全部显示器(&M)", true},  {2, L"指针所在显示器(&N)", true},
    {2, L"选取窗口(&W)", true},
    {1, L"图像(&I)", false},      {2, L"-", true},               {2, L"选择语言(&L)", false},
    {3, L"简体中文(&C)", true},   {3, L"英语(&English)", true},  {1, L"帮助(&H)", true},
    {2, L"帮助(H)", true},        {2, L"-", true},               {2, L"关于(&A)...", true},
    {2, L"-", true},              {2, L"语言/Language(&L)", true}, {3, L"简体中文(&C)", true},
    {3, L"English(&E)", true},
};

class WindowDefinition : public ShownForm {
protected:
    // The program's own loop: shortcuts are translated before dispatch.
    void PumpWithShortcuts(DWORD ms) { Pump(ms, form.hwnd(), form.Accelerators()); }

    void ClickButton(int index) {
        RECT r{};
        SendMessageW(form.Toolbar1.hwnd(), TB_GETITEMRECT, index - 1, LPARAM(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(form.Toolbar1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form.Toolbar1.hwnd(), WM_LBUTTONUP, 0, at);
        Pump(100);
    }

};

TEST_F(WindowDefinition, MenuTreeCaptionsOrderAndStates) {
    const std::vector<MenuItemShown> items = Menus();
    ASSERT_EQ(items.size(), std::size(kExpectedMenus));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].level, kExpectedMenus[i].level) << i;
        EXPECT_EQ(items[i].text, kExpectedMenus[i].text) << i;
        EXPECT_EQ(items[i].enabled, kExpectedMenus[i].enabled) << i;
    }
    // The hidden entry is not merely disabled: it is nowhere in the menus.
    EXPECT_EQ(GetMenuState(GetMenu(form.hwnd()), app::ID_mnuScroll, MF_BYCOMMAND), UINT(-1));
}

TEST_F(WindowDefinition, ShortcutsRunTheSameHandlersAsTheMenu) {
    form.mnuClient_Click();  // something to save
    {
        // Ctrl+S opens the save dialog, as the menu entry does.
        FileDialogAnswer cancel(L"保存", L"");
        PressKeys({VK_CONTROL, 'S'});
        PumpWithShortcuts(500);
        EXPECT_TRUE(cancel.seen());
    }
    // Ctrl+Q exits, after the question about the unsaved capture.
    ScriptedBoxes no({IDNO});
    bool ended = false;
    const auto previous = toolkit::SetEndHandler([&] {
        ended = true;
        throw 0;  // stops the exit; the window procedure swallows it
    });
    PressKeys({VK_CONTROL, 'Q'});
    PumpWithShortcuts(300);
    toolkit::SetEndHandler(previous);
    EXPECT_TRUE(ended);
}

TEST_F(WindowDefinition, ToolbarButtonsRunTheirCommandsAndGapsRunNothing) {
    ASSERT_EQ(SendMessageW(form.Toolbar1.hwnd(), TB_BUTTONCOUNT, 0, 0), 17);
    // Placeholders, the separator and button 8 do nothing.
    for (int index : {1, 4, 8, 11, 15}) {
        ClickButton(index);
        form.Toolbar1_ButtonClick(int16_t(index));
        EXPECT_TRUE(form.PicBmp.GetPicture().Empty()) << index;
        EXPECT_FALSE(form.CaptureUnsaved) << index;
    }
    form.Toolbar1_ButtonClick(0);
    form.Toolbar1_ButtonClick(18);
    form.Toolbar1_ButtonClick(-1);
    EXPECT_TRUE(form.PicBmp.GetPicture().Empty());

    ClickButton(10);  // work area
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, client.right);
    EXPECT_TRUE(form.CaptureUnsaved);

    ClickButton(9);  // current window
    RECT outer;
    GetWindowRect(form.hwnd(), &outer);
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, outer.right - outer.left);

    ClickButton(5);  // entire screen
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, GetSystemMetrics(SM_CXSCREEN));

    // Button 7 asks before the delayed capture; a failing handler stays inside.
    int asked = 0;
    const auto previous = toolkit::SetMsgBoxHandler([&](HWND, const std::wstring&, UINT, const std::wstring&) -> int {
        ++asked;
        throw 1;
    });
    form.Toolbar1_ButtonClick(7);
    toolkit::SetMsgBoxHandler(previous);
    EXPECT_EQ(asked, 1);
}

TEST_F(WindowDefinition, TooltipsAreFixedChineseTexts) {
    const wchar_t* expected[17] = {nullptr, L"打开", L"保存图片", nullptr, L"捕获全屏",
                                   L"区域到剪切板", L"延时捕获活动窗口", L"捕获当前窗口",
                                   L"捕获当前窗口", L"捕获工作区", nullptr, L"用画图编辑",
                                   L"设为墙纸", L"打印", nullptr, L"帮助", L"关于"};
    for (int index = 1; index <= 17; ++index) {
        TBBUTTON button{};
        SendMessageW(form.Toolbar1.hwnd(), TB_GETBUTTON, index - 1, LPARAM(&button));
        EXPECT_EQ(Tooltip(index), expected[index - 1] ? expected[index - 1] : L"") << index;
        const bool separator = button.fsStyle & BTNS_SEP;
        EXPECT_EQ(separator, index == 15) << index;
        EXPECT_EQ(bool(button.fsState & TBSTATE_ENABLED), expected[index - 1] != nullptr) << index;
    }
    // Button 3 keeps its unshown second text.
    TBBUTTON save{};
    SendMessageW(form.Toolbar1.hwnd(), TB_GETBUTTON, 2, LPARAM(&save));
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(save.dwData), L"保存");
}

TEST_F(WindowDefinition, ImageListHoldsTheTwentyThreeMaskedImages) {
    HIMAGELIST images = HIMAGELIST(SendMessageW(form.Toolbar1.hwnd(), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 23);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    // The light grey background is transparent: drawn on magenta, corners stay magenta.
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap target(CreateCompatibleBitmap(screen.get(), 16, 16));
    int withTransparentPixels = 0;
    for (int image = 0; image < 23; ++image) {
        int visible = 0;
        {
            toolkit::SelectGuard selected(memory.get(), target.get());
            RECT all{0, 0, 16, 16};
            toolkit::UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
            FillRect(memory.get(), &all, magenta.get());
            ImageList_Draw(images, image, memory.get(), 0, 0, ILD_TRANSPARENT);
        }
        const Pixels p = ReadBitmap(target.get());
        for (uint32_t v : p.data) {
            EXPECT_NE(v, 0xC0C0C0u) << image;
            visible += v != 0xFF00FFu;
        }
        EXPECT_GT(visible, 40) << image;  // a picture, not an empty tile
        withTransparentPixels += visible < 256;
    }
    EXPECT_GE(withTransparentPixels, 20);  // a few pictures fill their whole tile
}

TEST_F(WindowDefinition, StatusPanelsTextsAndWidths) {
    EXPECT_EQ(form.PanelText(1), L"云雀软件\uFF0DFotolark\u3000V2.0");
    EXPECT_FALSE(form.PanelText(2).empty());
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    int edges[2];
    ASSERT_EQ(SendMessageW(form.StatusBar1.hwnd(), SB_GETPARTS, 2, LPARAM(edges)), 2);
    EXPECT_EQ(edges[0], 400);  // 10592 HIMETRIC
    // Narrower than both panels: panel 2 keeps its minimum, 3528 HIMETRIC.
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 450, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    SendMessageW(form.StatusBar1.hwnd(), SB_GETPARTS, 2, LPARAM(edges));
    RECT bar;
    GetClientRect(form.StatusBar1.hwnd(), &bar);
    EXPECT_EQ(bar.right - edges[0], 133);
}

}  // namespace

namespace {

TEST_F(WindowDefinition, IconAndVersion) {
    // The window's own 32 x 32 icon, not the system's default.
    const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(form.hwnd(), GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon, LoadIconW(nullptr, IDI_APPLICATION));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    toolkit::UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bits{};
    GetObjectW(info.hbmColor, sizeof bits, &bits);
    EXPECT_EQ(bits.bmWidth, 32);
    EXPECT_EQ(bits.bmHeight, 32);

    // The version resource names the product and its version.
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<char> data(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, DWORD(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080404B0\\ProductName",
                               reinterpret_cast<void**>(&product), &size));
    EXPECT_STREQ(product, L"Fotolark");
}

}  // namespace
