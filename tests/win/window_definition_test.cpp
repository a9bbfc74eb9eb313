// The main window read back as a user meets it: menus, shortcuts, toolbar,
// tooltips, images and status panels.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "app/about_help_text.h"
#include "app/command_map.h"
#include "app/frm_main.h"
#include "app/frm_main_definition.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/handles.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

// The menu bar as the user sees it; the scroll-window entry is not shown, the
// commands for several displays come after the specified ones.
const MenuItemShown kExpectedMenus[] = {
    {1, L"文件(&F)", true},
    {2, L"打开(&O)", true},
    {2, L"保存(&S)\tCtrl+S", true},
    {2, L"-", true},
    {2, L"取消捕获(&C)", true},
    {2, L"-", true},
    {2, L"设置为墙纸\tCtrl+W", true},
    {2, L"清除墙纸\tCtrl+C", true},
    {2, L"用画图编辑", true},
    {2, L"-", true},
    {2, L"打印(&P)", true},
    {2, L"-", true},
    {2, L"退出(&X)\tCtrl+Q", true},
    {1, L"捕获(&C)", true},
    {2, L"整个屏幕(&S)", true},
    {2, L"自由捕获(&D)", true},
    {2, L"-", true},
    {2, L"延时捕获(&A)", true},
    {2, L"当前工作区(&C)", true},
    {2, L"-", true},
    {2, L"当前窗口(&F)", true},
    {2, L"-", true},
    {2, L"全部显示器(&M)", true},
    {2, L"指针所在显示器(&N)", true},
    {2, L"选取窗口(&W)", true},
    {2, L"-", true},
    {2, L"钉到屏幕(&T)\tCtrl+T", true},
    {2, L"钉住剪贴板(&B)", true},
    {2, L"隐藏所有钉图(&H)", true},
    {2, L"显示所有钉图(&O)", true},
    {1, L"图像(&I)", false},
    {2, L"-", true},
    {2, L"选择语言(&L)", false},
    {3, L"简体中文(&C)", true},
    {3, L"英语(&English)", true},
    {1, L"帮助(&H)", true},
    {2, L"帮助(H)", true},
    {2, L"-", true},
    {2, L"关于(&A)...", true},
    {2, L"-", true},
    {2, L"语言/Language(&L)", true},
    {3, L"简体中文(&C)", true},
    {3, L"English(&E)", true},
};

class WindowDefinition : public ShownForm {
protected:
    // The program's own loop: shortcuts are translated before dispatch.
    void PumpWithShortcuts(DWORD ms) { Pump(ms, form.hwnd(), form.Accelerators()); }
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

// Closes every dialog this process shows until stopped, noting each: a file
// dialog by its title, any other (the print dialog, a system notice) as "dialog".
class DialogCloser {
public:
    DialogCloser() {
        worker_ = std::thread([this] {
            while (!stop_) {
                for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
                     w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || closed_.count(w))
                        continue;
                    const bool file = GetDlgItem(w, cmb13) != nullptr;
                    // A file dialog is given its title after it shows.
                    if (file && WindowText(w).empty()) continue;
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.push_back(file ? L"file dialog " + WindowText(w) : L"dialog");
                    closed_.insert(w);
                    PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                }
                Pump(20);
            }
        });
    }
    ~DialogCloser() {
        stop_ = true;
        worker_.join();
    }
    std::vector<std::wstring> seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::wstring> seen_;
    std::set<HWND> closed_;
    std::thread worker_;
};

// Each toolbar button pressed with the real mouse, recognised by what only
// its command does; the gaps and the separator do nothing at all.
class ToolbarPresses : public WindowDefinition {
protected:
    void SetUp() override {
        WindowDefinition::SetUp();
        wallpaper_ = DeskWallpaper();
        form.mnuClient_Click();  // a picture for the commands that need one
        // A wallpaper that is a real file, so the system keeps it as set.
        ASSERT_TRUE(output::SavePicture(form.PicBmp.GetPicture(), marker_));
    }
    void TearDown() override {
        SetDeskWallpaper(wallpaper_);
        DeleteFileW(kWallpaperFile);
        DeleteFileW(paintFile_.c_str());
        DeleteFileW(marker_.c_str());
        WindowDefinition::TearDown();
    }

    // What a press did: everything a command of the window can change that
    // the user could see, named.
    std::set<std::wstring> Press(int index) {
        SetForegroundWindow(form.hwnd());
        Pump(100);
        form.CaptureUnsaved = false;
        SetDeskWallpaper(marker_);
        DeleteFileW(paintFile_.c_str());
        const HBITMAP bitmap = form.PicBmp.GetPicture().Bitmap();
        const int32_t help = app::HelpTaskId();
        const std::wstring caption = Caption();
        std::set<std::wstring> did;
        {
            ScriptedBoxes boxes({});
            DialogCloser dialogs;
            const auto previous = toolkit::SetEndHandler([&] {
                did.insert(L"end");
                throw 0;  // the window procedure swallows it
            });
            const auto happened = [&] {
                return !boxes.asked.empty() || !dialogs.seen().empty() || !did.empty() ||
                       form.PicBmp.GetPicture().Bitmap() != bitmap || form.CaptureUnsaved ||
                       form.RegionArmed || app::HelpTaskId() != help || FileExists(paintFile_) ||
                       DeskWallpaper() != marker_ || Caption() != caption;
            };
            RECT r{};
            SendMessageW(form.Toolbar1.hwnd(), TB_GETITEMRECT, index - 1, LPARAM(&r));
            MapWindowPoints(form.Toolbar1.hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
            Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            // A gap is given as long to do something as a command takes.
            PumpUntil(happened, 1500);
            Pump(300);
            toolkit::SetEndHandler(previous);
            for (const auto& box : boxes.asked) did.insert(L"box " + box.text);
            for (const auto& dialog : dialogs.seen()) did.insert(dialog);
        }
        if (form.PicBmp.GetPicture().Bitmap() != bitmap) {
            const SIZE size = form.PicBmp.GetPicture().PixelSize();
            did.insert(L"picture " + std::to_wstring(size.cx) + L"x" + std::to_wstring(size.cy));
        }
        if (form.CaptureUnsaved) did.insert(L"unsaved");
        if (form.RegionArmed) did.insert(L"armed");
        if (app::HelpTaskId() != help) did.insert(L"help");
        if (FileExists(paintFile_)) did.insert(L"paint file");
        if (DeskWallpaper() != marker_) did.insert(L"wallpaper " + DeskWallpaper());
        if (Caption() != caption) did.insert(L"caption");
        return did;
    }
    std::wstring Caption() const { return WindowText(form.hwnd()); }
    // Ends what a press started: the armed selection with a click far from
    // anything, the Notepad of the help.
    void Finish(const std::set<std::wstring>& did) {
        if (did.count(L"armed")) {
            std::thread user([] { Click(POINT{1700, 900}); });
            PumpUntil([&] {
                return !IsIconic(form.hwnd()) && form.GetScaleMode() == toolkit::ScaleMode::Twips;
            });
            user.join();
        }
        if (did.count(L"help")) {
            const toolkit::UniqueHandle notepad(
                OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(app::HelpTaskId())));
            if (notepad) TerminateProcess(notepad.get(), 0);
        }
    }

    static constexpr const wchar_t* kWallpaperFile = L"c:\\windows\\wallpaper.bmp";
    const std::wstring paintFile_ = toolkit::AppPath() + L"\\Temp\\temp.bmp";
    const std::wstring marker_ = TempPath(L"fotolark_marker.bmp");
    std::wstring wallpaper_;
};

TEST_F(ToolbarPresses, EachButtonRunsItsOwnCommandAndTheGapsNothing) {
    ASSERT_EQ(SendMessageW(form.Toolbar1.hwnd(), TB_BUTTONCOUNT, 0, 0), 17);
    RECT window, client;
    GetWindowRect(form.hwnd(), &window);
    GetClientRect(form.hwnd(), &client);
    const auto picture = [](long w, long h) {
        return L"picture " + std::to_wstring(w) + L"x" + std::to_wstring(h);
    };
    const std::wstring delayedPrompt =
        L"box 单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。";
    // Button 2 comes before any save, so its dialog has the system's own title.
    const std::set<std::wstring> expected[17] = {
        {},
        {L"*open"},
        {L"file dialog 保存"},
        {},
        {picture(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), L"unsaved"},
        {L"armed", L"unsaved"},
        {delayedPrompt},
        {},
        {picture(window.right - window.left, window.bottom - window.top), L"unsaved"},
        {picture(client.right, client.bottom), L"unsaved"},
        {},
        {L"paint file"},
        {L"wallpaper " + std::wstring(kWallpaperFile)},
        {L"dialog"},
        {},
        {L"help"},
        {L"box " + app::AboutText(app::ChineseText(app::TextId::AboutStudio),
                                  app::ChineseText(app::TextId::AboutQqLabel),
                                  app::ChineseText(app::TextId::AboutMailLabel))},
    };
    for (int index = 1; index <= 17; ++index) {
        std::set<std::wstring> did = Press(index);
        Finish(did);
        std::set<std::wstring> want = expected[index - 1];
        if (want.erase(L"*open")) {
            // A file dialog of another title than the save's.
            for (const auto& d : did)
                if (d.rfind(L"file dialog ", 0) == 0 && d != L"file dialog 保存") want.insert(d);
            EXPECT_EQ(want.size(), 1u) << "button 2 showed no open dialog";
        }
        if (index == 12) {
            // Where no Paint is registered, the command also says it could not start one.
            for (const auto& d : did)
                if (d.rfind(L"box 无法启动画图程序编辑：", 0) == 0) want.insert(d);
        }
        EXPECT_EQ(did, want) << "button " << index;
    }
}

TEST_F(WindowDefinition, TooltipsAreFixedChineseTexts) {
    const wchar_t* expected[17] = {nullptr,
                                   L"打开",
                                   L"保存图片",
                                   nullptr,
                                   L"捕获全屏",
                                   L"区域到剪切板",
                                   L"延时捕获活动窗口",
                                   L"捕获当前窗口",
                                   L"捕获当前窗口",
                                   L"捕获工作区",
                                   nullptr,
                                   L"用画图编辑",
                                   L"设为墙纸",
                                   L"打印",
                                   nullptr,
                                   L"帮助",
                                   L"关于"};
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
