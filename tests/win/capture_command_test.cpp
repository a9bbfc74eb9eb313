// The capture commands driven on the real main window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/frm_main.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

class CaptureCommands : public ShownForm {
protected:
    SIZE PictureSize() const { return form.PicBmp.GetPicture().PixelSize(); }
};

TEST_F(CaptureCommands, EntireScreenLeavesTheWindowOutAndComesBackFocused) {
    // What the window covers: a pattern the picture must show in its place.
    RECT r;
    GetWindowRect(form.hwnd(), &r);
    OtherProcess behind(OtherProcess::Kind::Window, r.left - 40, r.top - 60, r.right - r.left + 80,
                        r.bottom - r.top + 100);
    SetForegroundWindow(form.hwnd());
    Pump(200);
    const POINT origin = behind.clientOrigin();
    // The toolbar as the display shows it: the capture leaves it as it was.
    RECT bar;
    GetWindowRect(form.Toolbar1.hwnd(), &bar);
    const Pixels barShown = ReadScreen(bar);

    form.mnuScreen_Click();
    EXPECT_EQ(PictureSize().cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(PictureSize().cy, GetSystemMetrics(SM_CYSCREEN));
    const Pixels shot = ReadPicture(form.PicBmp.GetPicture());
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            wrong += shot.at(x, y) != Rgb(PatternAt(x - origin.x, y - origin.y));
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(form.CaptureUnsaved);
    // Back on screen: no window region of its own, and its pixels shown
    // again where the other program's had shown through.
    const toolkit::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.hwnd(), region.get()), ERROR);
    EXPECT_TRUE(PumpUntil([&] { return ReadScreen(bar).data == barShown.data; }));
    EXPECT_NE(ReadScreen(bar).at(2, 2),
              Rgb(PatternAt(bar.left + 2 - origin.x, bar.top + 2 - origin.y)));
    EXPECT_EQ(GetFocus(), form.hwnd());
    // The viewer shows the new picture at full size.
    EXPECT_EQ(form.PicBmp.AsControl().Width(), GetSystemMetrics(SM_CXSCREEN) * 15);
}

TEST_F(CaptureCommands, CurrentWindowIncludesTheFrame) {
    RECT r;
    GetWindowRect(form.hwnd(), &r);
    const Pixels onScreen = ReadScreen(r);
    form.mnuTitleBar_Click();
    EXPECT_EQ(PictureSize().cx, r.right - r.left);
    EXPECT_EQ(PictureSize().cy, r.bottom - r.top);
    EXPECT_EQ(ReadPicture(form.PicBmp.GetPicture()).data, onScreen.data);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    EXPECT_FALSE(IsIconic(form.hwnd()));
}

TEST_F(CaptureCommands, CurrentWorkAreaIsTheClientAreaInAnyScaleMode) {
    RECT client;
    GetClientRect(form.hwnd(), &client);
    // What the screen shows of the client area, just before.
    RECT onScreen = client;
    MapWindowPoints(form.hwnd(), nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    const Pixels expected = ReadScreen(onScreen);
    form.mnuClient_Click();
    EXPECT_EQ(PictureSize().cx, client.right);
    EXPECT_EQ(PictureSize().cy, client.bottom);
    const Pixels shot = ReadPicture(form.PicBmp.GetPicture());
    EXPECT_EQ(shot.data, expected.data);

    form.SetScaleMode(toolkit::ScaleMode::Pixels);  // as while a region is armed
    form.mnuClient_Click();
    EXPECT_EQ(PictureSize().cx, client.right);
    EXPECT_EQ(PictureSize().cy, client.bottom);
    form.SetScaleMode(toolkit::ScaleMode::Twips);
}

using DelayedCapture = CaptureCommands;

TEST_F(DelayedCapture, CancelChangesNothing) {
    form.mnuClient_Click();
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    form.CaptureUnsaved = false;
    ScriptedBoxes boxes({IDCANCEL});
    form.mnuAtiveWindow_Click();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text,
              L"单击'确定'两秒钟之后程序会捕捉处于活动状态的窗口。单击'取消'退出捕获。");
    EXPECT_EQ(boxes.asked[0].title, L"Fotolark");  // the program's own title, not another's
    EXPECT_EQ(boxes.asked[0].style, UINT(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_FALSE(form.CaptureUnsaved);
    EXPECT_FALSE(IsIconic(form.hwnd()));
}

TEST_F(DelayedCapture, OkCapturesTheWindowBroughtToTheFrontDuringThePause) {
    ShowWindow(form.hwnd(), SW_MAXIMIZE);
    Pump();
    ScriptedBoxes ok({IDOK});
    // Another thread plays the user: late in the pause it opens a window and
    // brings it to the front, so only a pause of about two seconds captures it.
    std::atomic<HWND> target{nullptr};
    std::atomic<bool> done{false};
    RECT targetRect{};
    std::thread user([&] {
        Sleep(1500);  // late in the two seconds: the pause is what is tested
        PatternWindow window(300, 200, 240, 160, L"brought to front");
        SetForegroundWindow(window.hwnd());
        GetWindowRect(window.hwnd(), &targetRect);
        target = window.hwnd();
        while (!done) Pump(20);
    });
    form.mnuAtiveWindow_Click();
    done = true;
    user.join();
    ASSERT_NE(target.load(), nullptr);
    EXPECT_EQ(PictureSize().cx, targetRect.right - targetRect.left);
    EXPECT_EQ(PictureSize().cy, targetRect.bottom - targetRect.top);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_FALSE(IsIconic(form.hwnd()));
    EXPECT_FALSE(IsZoomed(form.hwnd()));  // normal afterwards, even from maximized
}

// When the system reports no foreground window at the end of the pause, the
// capture asks for nothing: a picture of no window's pixels (0 x 0, or the
// system's 1 x 1 stand-in) replaces the shown one.
TEST_F(DelayedCapture, NoForegroundWindowGivesAnEmptyPicture) {
    form.mnuClient_Click();
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    form.CaptureUnsaved = false;
    ScriptedBoxes ok({IDOK});
    // The user's thread takes the foreground, then lets its window go
    // inactive: the foreground thread then has no active window.
    std::atomic<bool> done{false}, none{false};
    std::thread user([&] {
        Sleep(1000);  // halfway through the pause
        PatternWindow window(300, 200, 240, 160, L"taken away");
        SetForegroundWindow(window.hwnd());
        SetActiveWindow(nullptr);
        none = GetForegroundWindow() == nullptr;
        while (!done) Pump(20);
    });
    form.mnuAtiveWindow_Click();
    done = true;
    user.join();
    ASSERT_TRUE(none) << "the system still reported a foreground window";
    EXPECT_NE(form.PicBmp.GetPicture().Bitmap(), before);
    const SIZE size = form.PicBmp.GetPicture().PixelSize();
    EXPECT_LE(size.cx, 1);
    EXPECT_LE(size.cy, 1);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_FALSE(IsIconic(form.hwnd()));
}

// After each capture that takes the window out of the picture the keyboard is
// the window's again, whatever another program shows: some of what decides
// it happens only between processes.
class KeysAfterCapture : public ShownForm, public testing::WithParamInterface<OtherProcess::Kind> {
protected:
    // A click as the user's, while the program runs, until the condition holds.
    void UserClicks(POINT at, const std::function<bool()>& done) {
        std::thread user([at] { Click(at); });
        PumpUntil(done, 5000, form.hwnd(), form.Accelerators());
        user.join();
        Pump(200, form.hwnd(), form.Accelerators());
    }
    POINT Centre(HWND hwnd, int item = -1) const {
        RECT r{};
        if (item < 0) {
            GetClientRect(hwnd, &r);
        } else {
            SendMessageW(hwnd, TB_GETITEMRECT, item, LPARAM(&r));
        }
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Ctrl+S, pressed as a person would, brings up the save dialog. Under Wine
    // the display's focus follows the window's a moment after the command
    // returns, so a person who sees nothing happen presses again.
    bool KeysReachTheWindow() {
        FileDialogAnswer cancel(L"保存", L"");
        for (int attempt = 0; attempt < 3 && !cancel.seen(); ++attempt) {
            PressKeysOnDisplay("ctrl+s");
            PumpUntil([&] { return cancel.seen(); }, 1000, form.hwnd(), form.Accelerators());
        }
        return cancel.seen();
    }
};

TEST_P(KeysAfterCapture, EntireScreenDelayedAndFreeRegion) {
    OtherProcess other(GetParam(), 1200, 500, 300, 200);
    form.mnuClient_Click();  // something to save
    UserClicks(Centre(form.StatusBar1.hwnd()), [] { return false; });
    ASSERT_TRUE(KeysReachTheWindow()) << "before any capture";

    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    UserClicks(Centre(form.Toolbar1.hwnd(), 4),  // the full-screen button
               [&] { return form.PicBmp.GetPicture().Bitmap() != before; });
    EXPECT_NE(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_TRUE(KeysReachTheWindow()) << "after the entire screen";

    // During the pause the user brings the other program's window to the front;
    // the display's focus stays there unless the window takes it back.
    ScriptedBoxes ok({IDOK});
    std::thread user([&] {
        Sleep(800);  // during the pause
        Click(Centre(other.hwnd()));
    });
    form.mnuAtiveWindow_Click();
    user.join();
    EXPECT_TRUE(KeysReachTheWindow()) << "after the delayed capture";

    form.mnuDistrict_Click();
    UserClicks(POINT{100, 900}, [&] {
        return form.GetScaleMode() == toolkit::ScaleMode::Twips && !IsIconic(form.hwnd());
    });
    EXPECT_TRUE(KeysReachTheWindow()) << "after the free region";
}

INSTANTIATE_TEST_SUITE_P(WithAnotherProgramsWindow, KeysAfterCapture,
                         testing::Values(OtherProcess::Kind::Window, OtherProcess::Kind::Popup,
                                         OtherProcess::Kind::TopmostPopup));

// The Print Screen keys reach the window while another program is in front.
class GlobalKeys : public ShownForm {
protected:
    bool PictureChangedAfter(std::initializer_list<WORD> keys) {
        const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
        PressKeys(keys);
        return PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; });
    }
    Pixels Shown() const { return ReadPicture(form.PicBmp.GetPicture()); }
};

TEST_F(GlobalKeys, CaptureTheFrontWindowTheScreenOrARegionFromAnywhere) {
    OtherProcess other(OtherProcess::Kind::Window, 1100, 300, 400, 300);
    SetForegroundWindow(other.hwnd());
    Pump(300);
    RECT r;
    GetWindowRect(other.hwnd(), &r);
    const Pixels front = ReadScreen(r);

    ASSERT_TRUE(PictureChangedAfter({VK_MENU, VK_SNAPSHOT})) << "Alt+Print Screen";
    EXPECT_EQ(Shown().data, front.data);  // exactly the window in front, frame and all
    EXPECT_TRUE(form.CaptureUnsaved);
    // Then Fotolark comes forward with the picture.
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));

    SetForegroundWindow(other.hwnd());  // its frame as read before: active
    Pump(200);
    ASSERT_TRUE(PictureChangedAfter({VK_SNAPSHOT})) << "Print Screen";
    const Pixels screen = Shown();
    ASSERT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            wrong += screen.at(x, y) != front.at(x - r.left, y - r.top);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));

    SetForegroundWindow(other.hwnd());
    Pump(200);
    PressKeys({VK_CONTROL, VK_SNAPSHOT});
    ASSERT_TRUE(PumpUntil([&] { return form.RegionArmed && IsIconic(form.hwnd()); }))
        << "Ctrl+Print Screen";
    const POINT a{r.left + 50, r.top + 60}, b{r.left + 150, r.top + 140};
    std::thread user([&] {
        Press(a);
        MouseTo(b);
        Release(b);
    });
    PumpUntil(
        [&] { return form.GetScaleMode() == toolkit::ScaleMode::Twips && !IsIconic(form.hwnd()); });
    user.join();
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, 100);
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cy, 80);
}

// A key the system refuses: the status bar and one message a start name the
// key and its likely holder; the other keys and the menus go on working.
class HeldKey : public testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard",
                           L"PrintScreenKeyForSnippingEnabled");
        ClearSettings();
    }
    void Start() {
        ASSERT_TRUE(form.Load());
        form.Show();
        SetForegroundWindow(form.hwnd());
        ASSERT_TRUE(PumpUntil([&] { return !boxes_.asked.empty(); }));
    }
    static bool Holds(const std::wstring& text, const std::wstring& part) {
        return text.find(part) != std::wstring::npos;
    }
    ScriptedBoxes boxes_{{IDOK}};
    app::FrmMain form;
};

TEST_F(HeldKey, AnotherProgramsKeyIsNamedOnceAndTheOtherKeysStillWork) {
    OtherProcess holder(OtherProcess::Kind::Window, 1100, 300, 200, 150, 0, VK_SNAPSHOT);
    ASSERT_FALSE(RegisterHotKey(nullptr, 1, 0, VK_SNAPSHOT));  // it holds the key
    Start();
    ASSERT_EQ(boxes_.asked.size(), 1u);
    EXPECT_TRUE(Holds(boxes_.asked[0].text,
                      app::Formatted(form.UiTexts[app::TextId::KeyOwnerOther], {L"Print Screen"})))
        << toolkit::KeyText({0, VK_SNAPSHOT});
    EXPECT_FALSE(Holds(boxes_.asked[0].text, L"Alt+Print Screen"));
    EXPECT_TRUE(Holds(form.PanelText(1), L"Print Screen"));

    SetForegroundWindow(form.hwnd());
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    PressKeys({VK_MENU, VK_SNAPSHOT});
    EXPECT_TRUE(PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; }));
    form.mnuClient_Click();
    EXPECT_EQ(boxes_.asked.size(), 1u);
}

TEST_F(HeldKey, AnotherCopyOfFotolarkIsNamed) {
    toolkit::Process copy =
        toolkit::Shell(L"\"" + toolkit::AppPath() + L"\\..\\..\\fotolark.exe\"", SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return FindShownWindow(L"FotolarkMain", copy.Id()) != nullptr; }));
    Start();
    TerminateProcess(copy.Handle(), 0);
    ASSERT_EQ(boxes_.asked.size(), 1u);
    for (const wchar_t* key : {L"Print Screen", L"Alt+Print Screen", L"Ctrl+Shift+Print Screen"})
        EXPECT_TRUE(Holds(boxes_.asked[0].text,
                          app::Formatted(form.UiTexts[app::TextId::KeyOwnerOwnCopy], {key})))
            << key;
}

TEST_F(HeldKey, WindowsOwnSettingIsNamed) {
    const DWORD on = 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard",
                    L"PrintScreenKeyForSnippingEnabled", REG_DWORD, &on, sizeof on);
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_NOREPEAT, VK_SNAPSHOT));  // as Windows would
    Start();
    UnregisterHotKey(nullptr, 1);
    ASSERT_EQ(boxes_.asked.size(), 1u);
    EXPECT_TRUE(
        Holds(boxes_.asked[0].text,
              app::Formatted(form.UiTexts[app::TextId::KeyOwnerWindows], {L"Print Screen"})));
}

}  // namespace
