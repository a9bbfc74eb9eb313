// File > Options as the user meets it: keys chosen in the dialog and working
// from anywhere, keys another program holds, captures that save and copy
// themselves, and starting with Windows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "app/frm_main.h"
#include "resources/resource.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/run_at_start.h"
#include "toolkit/settings.h"

using namespace testing_support;

namespace {

constexpr int kScreenRow = 0, kWindowRow = 1, kRegionRow = 2, kPickRow = 3;

std::wstring Setting(const wchar_t* name) {
    return toolkit::GetSetting(app::kAppTitle, L"Settings", name).value_or(L"<none>");
}
void Store(const wchar_t* name, const std::wstring& value) {
    toolkit::SaveSetting(app::kAppTitle, L"Settings", name, value);
}

// HOTKEYF_ flags: Ctrl+Shift and the key.
void SetKey(HWND keysPage, int row, BYTE vk) {
    SendDlgItemMessageW(keysPage, IDC_KEY_HOTKEY + row, HKM_SETHOTKEY,
                        MAKEWORD(vk, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
}

HWND Page(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, WPARAM(index), 0);
    return HWND(SendMessageW(sheet, PSM_INDEXTOHWND, WPARAM(index), 0));
}

class Options : public ShownForm {
protected:
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        toolkit::SetRunAtStart(app::kAppTitle, false);
        ShownForm::TearDown();
    }
    // Runs the dialog; `look` acts on it from another thread, then `button`.
    void InDialog(const std::function<void(HWND sheet)>& look, int button = IDOK) {
        DialogAnswer answer(form.UiTexts[app::TextId::OptionsTitle], look, button);
        form.mnuOptions_Click();
        EXPECT_TRUE(answer.seen());
    }
    bool Captures(std::initializer_list<WORD> keys) {
        const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
        PressKeys(keys);
        return PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; });
    }
    // Captures save themselves into a folder of the test's own.
    void SaveCapturesAs(const std::wstring& pattern) {
        std::filesystem::create_directories(folder_);
        Store(L"AutoSave", L"1");
        Store(L"AutoSaveFolder", folder_.wstring());
        Store(L"FileNamePattern", pattern);
    }
    const std::filesystem::path folder_ = TempPath(L"fotolark options");
};

TEST_F(Options, EachKeyChosenInTheDialogWorksFromAnywhere) {
    InDialog([](HWND sheet) {
        const HWND keys = Page(sheet, 0);
        SetKey(keys, kScreenRow, VK_F9);
        SetKey(keys, kWindowRow, VK_F10);
        SetKey(keys, kRegionRow, VK_F11);
        SetKey(keys, kPickRow, VK_F12);
    });
    EXPECT_EQ(Setting(L"KeyScreen"), L"Ctrl+Shift+F9");
    EXPECT_EQ(Setting(L"KeyPick"), L"Ctrl+Shift+F12");

    OtherProcess other(OtherProcess::Kind::Window, 1100, 300, 300, 200);
    SetForegroundWindow(other.hwnd());
    Pump(200);
    EXPECT_TRUE(Captures({VK_CONTROL, VK_SHIFT, VK_F10})) << "window in front";
    RECT frame;
    GetWindowRect(other.hwnd(), &frame);
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, frame.right - frame.left)
        << "the other program's window";
    EXPECT_TRUE(Captures({VK_CONTROL, VK_SHIFT, VK_F9})) << "screen";
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, GetSystemMetrics(SM_CXVIRTUALSCREEN));

    PressKeys({VK_CONTROL, VK_SHIFT, VK_F12});
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(form.hwnd()) && !form.RegionArmed; })) << "pick";
    SendMouse(POINT{1200, 400}, MOUSEEVENTF_RIGHTDOWN);  // a right click cancels the pick
    SendMouse(POINT{1200, 400}, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(form.hwnd()); }));

    PressKeys({VK_CONTROL, VK_SHIFT, VK_F11});
    EXPECT_TRUE(PumpUntil([&] { return form.RegionArmed; })) << "region";
    std::thread user([] {
        Press(POINT{1150, 350});
        MouseTo(POINT{1250, 420});
        Release(POINT{1250, 420});
    });
    PumpUntil([&] { return !form.RegionArmed && !IsIconic(form.hwnd()); });
    user.join();
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, 100);
}

TEST_F(Options, AKeyAnotherProgramHoldsIsShownTakenAndTheOldOneKept) {
    OtherProcess holder(OtherProcess::Kind::Window, 1100, 300, 200, 150, MOD_CONTROL | MOD_SHIFT,
                        VK_F9);
    std::wstring state;
    WORD shown = 0;
    InDialog(
        [&](HWND sheet) {
            const HWND keys = Page(sheet, 0);
            SetKey(keys, kScreenRow, VK_F9);
            SendMessageW(sheet, PSM_APPLY, 0, 0);
            state = WindowText(GetDlgItem(keys, IDC_KEY_STATE + kScreenRow));
            shown =
                WORD(SendDlgItemMessageW(keys, IDC_KEY_HOTKEY + kScreenRow, HKM_GETHOTKEY, 0, 0));
        },
        IDCANCEL);
    EXPECT_NE(
        state.find(app::Formatted(form.UiTexts[app::TextId::KeyOwnerOther], {L"Ctrl+Shift+F9"})),
        std::wstring::npos)
        << std::string(state.begin(), state.end());
    EXPECT_EQ(shown & ~(HOTKEYF_EXT << 8), VK_SNAPSHOT);  // back to the key that still works
    EXPECT_EQ(Setting(L"KeyScreen"), L"<none>");
    SetForegroundWindow(form.hwnd());
    EXPECT_TRUE(Captures({VK_SNAPSHOT}));
}

// Garbage or the wrong type in one stored key: that key's default; the others as stored.
TEST(StoredKeys, GarbageGivesTheDefaultOfThatKeyOnly) {
    ClearSettings();
    Store(L"KeyScreen", L"Ctrl+Bogus");
    Store(L"KeyWindow", L"Ctrl+Shift+F10");
    Store(L"KeyRegion", L"");
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Fotolark\\Settings", L"KeyPick", REG_DWORD,
                    &number, sizeof number);
    {
        app::FrmMain form;
        ASSERT_TRUE(form.Load());
        const auto& keys = form.GlobalKeys();
        EXPECT_EQ(keys[kScreenRow], (toolkit::KeyChord{0, VK_SNAPSHOT}));
        EXPECT_EQ(keys[kWindowRow], (toolkit::KeyChord{MOD_CONTROL | MOD_SHIFT, VK_F10}));
        EXPECT_TRUE(keys[kRegionRow].None());
        EXPECT_EQ(keys[kPickRow], (toolkit::KeyChord{MOD_CONTROL | MOD_SHIFT, VK_SNAPSHOT}));
        EXPECT_EQ(form.GlobalKeyStates()[kRegionRow], toolkit::KeyState::None);
    }
    ClearSettings();
}

TEST_F(Options, CapturesSaveThemselvesUnderThePatternNeverOverANameTaken) {
    SaveCapturesAs(L"shot %Y.png");
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring year = std::to_wstring(now.wYear);
    form.mnuClient_Click();
    form.mnuClient_Click();
    const std::wstring first = (folder_ / (L"shot " + year + L".png")).wstring(),
                       second = (folder_ / (L"shot " + year + L" (2).png")).wstring();
    EXPECT_EQ(FileContents(first).substr(0, 4), "\x89PNG");
    EXPECT_EQ(FileContents(second).substr(0, 4), "\x89PNG");
    EXPECT_FALSE(form.CaptureUnsaved);  // saved by itself: closing asks nothing

    // A window's title and program in the name, with what Windows forbids replaced.
    SaveCapturesAs(L"%program %title.bmp");
    OtherProcess other(OtherProcess::Kind::Window, 1100, 300, 200, 150);
    SetWindowTextW(other.hwnd(), L"a:b*c?d|e");
    SetForegroundWindow(other.hwnd());
    Pump(200);
    ScriptedBoxes boxes({IDOK});  // a name Windows refused would be told
    EXPECT_TRUE(Captures({VK_MENU, VK_SNAPSHOT}));
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(FileContents((folder_ / L"other_program a_b_c_d_e.bmp").wstring()).substr(0, 2),
              "BM");
}

TEST_F(Options, CopyAfterCapturePutsThePictureOnTheClipboard) {
    Store(L"AfterCaptureCopy", L"1");
    form.mnuClient_Click();
    ASSERT_TRUE(OpenClipboard(nullptr));
    const Pixels copied = ReadBitmap(HBITMAP(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    EXPECT_EQ(copied.data, ReadPicture(form.PicBmp.GetPicture()).data);
    EXPECT_TRUE(form.CaptureUnsaved);  // a copy is not a save
}

TEST_F(Options, StartWithWindowsWritesAndRemovesTheRunKey) {
    const auto tick = [](bool on) {
        return [on](HWND sheet) {
            const HWND general = Page(sheet, 4);
            CheckDlgButton(general, IDC_GENERAL_RUN_AT_START, on ? BST_CHECKED : BST_UNCHECKED);
            SendMessageW(sheet, PSM_CHANGED, WPARAM(general), 0);
        };
    };
    InDialog(tick(true));
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    wchar_t value[MAX_PATH + 3] = L"";
    DWORD bytes = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, toolkit::kRunKey, L"Fotolark", RRF_RT_REG_SZ, nullptr,
                           value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"\"" + std::wstring(exe) + L"\"");
    InDialog(tick(false));
    EXPECT_FALSE(toolkit::RunsAtStart(app::kAppTitle));
}

TEST_F(Options, TheNotificationIconsMenuCapturesAndCloseHidesOnlyASavedPicture) {
    Store(L"TrayIcon", L"1");
    form.UpdateTrayIcon();
    ASSERT_TRUE(form.TrayIconShown());
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = form.hwnd();
    icon.uID = 1;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));  // the shell has it

    // Its menu's first entry, the entire screen, chosen with the keyboard.
    SaveCapturesAs(L"tray.png");
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    std::thread user([] {
        if (PumpUntil([] { return FindShownWindow(L"#32768", GetCurrentProcessId()); }))
            PressKeys({VK_DOWN}), PressKeys({VK_RETURN});
    });
    PostMessageW(form.hwnd(), app::kTrayMessage, 1, WM_RBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; }));
    user.join();
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(FileExists((folder_ / L"tray.png").wstring()));

    // Saved: the close hides the window, which the icon shows again.
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.hwnd()));
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));
    form.mnuTrayShow_Click();
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));

    // Unsaved: the close protocol asks as ever.
    Store(L"AutoSave", L"0");
    form.mnuClient_Click();
    ScriptedBoxes boxes({IDCANCEL});
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, form.UiTexts[app::TextId::UnsavedPrompt]);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

}  // namespace
