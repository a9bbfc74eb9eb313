// Captures on a desk of two displays, one left of or above the primary (so
// at negative coordinates), with another program's windows on both.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "app/frm_main.h"
#include "capture/screen_grab.h"
#include "capture/screen_layout.h"
#include "capture/window_pick.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"

using namespace testing_support;
using capture::Rect32;

namespace {

RECT AsRect(const Rect32& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// How many pixels of the picture, placed at `origin` on the screen, differ
// from the other program's pattern over its client area.
int WrongPatternPixels(const Pixels& shot, POINT origin, const OtherProcess& window, SIZE client) {
    const POINT c = window.clientOrigin();
    int wrong = 0;
    for (int y = 0; y < client.cy; ++y)
        for (int x = 0; x < client.cx; ++x)
            wrong += shot.at(c.x - origin.x + x, c.y - origin.y + y) != Rgb(PatternAt(x, y));
    return wrong;
}

class TwoDisplays : public ShownForm {
protected:
    void SetUp() override {
        displays = capture::DisplayRects();
        ASSERT_EQ(displays.size(), 2u) << "the test platform's two-display layout";
        primary = displays[0];
        secondary = displays[1];
        ASSERT_TRUE(secondary.left < 0 || secondary.top < 0);
        ShownForm::SetUp();
        // At the primary display's far corner, clear of the seam.
        SetWindowPos(form.hwnd(), nullptr, primary.right - 520, primary.bottom - 420, 500, 400,
                     SWP_NOZORDER);
        // Near the seam on each display, clear of the form at the primary's top left.
        const bool left = secondary.left < 0;
        const POINT onSecondary =
            left ? POINT{-kClient.cx - 60, 200} : POINT{500, -kClient.cy - 60};
        const POINT onPrimary = left ? POINT{40, 500} : POINT{500, 40};
        outer = std::make_unique<OtherProcess>(OtherProcess::Kind::Window, onSecondary.x,
                                               onSecondary.y, kClient.cx, kClient.cy);
        inner = std::make_unique<OtherProcess>(OtherProcess::Kind::Popup, onPrimary.x, onPrimary.y,
                                               kClient.cx, kClient.cy);
        SetForegroundWindow(form.hwnd());
        Pump(300);
    }
    void TearDown() override {
        outer.reset();
        inner.reset();
        ShownForm::TearDown();
    }
    SIZE PictureSize() const { return form.PicBmp.GetPicture().PixelSize(); }
    Pixels Picture() const { return ReadPicture(form.PicBmp.GetPicture()); }
    bool Back() const { return !IsIconic(form.hwnd()); }
    // From inside the window on the secondary display to inside the one on the primary.
    Rect32 AcrossTheSeam() const {
        const POINT a = outer->clientOrigin(), b = inner->clientOrigin();
        Rect32 r{a.x + 50, a.y + 40, b.x + 90, b.y + 70};
        capture::NormalizeRect(r);
        return r;
    }

    static constexpr SIZE kClient{320, 240};
    std::vector<Rect32> displays;
    Rect32 primary, secondary;
    std::unique_ptr<OtherProcess> outer, inner;
};

TEST_F(TwoDisplays, AllMonitorsIsTheVirtualScreenWithoutFotolark) {
    RECT own;
    GetWindowRect(form.hwnd(), &own);
    // What the form covers: the picture must show what lies beneath it.
    OtherProcess behind(OtherProcess::Kind::Popup, own.left, own.top, own.right - own.left,
                        own.bottom - own.top);
    SetForegroundWindow(form.hwnd());
    Pump(300);
    form.CaptureUnsaved = false;
    form.mnuAllMonitors_Click();

    const Rect32 screen = capture::VirtualScreen();
    EXPECT_EQ(PictureSize().cx, screen.right - screen.left);
    EXPECT_EQ(PictureSize().cy, screen.bottom - screen.top);
    const Pixels shot = Picture();
    const POINT origin{screen.left, screen.top};
    EXPECT_EQ(WrongPatternPixels(shot, origin, *outer, kClient), 0);
    EXPECT_EQ(WrongPatternPixels(shot, origin, *inner, kClient), 0);
    EXPECT_EQ(
        WrongPatternPixels(shot, origin, behind, SIZE{own.right - own.left, own.bottom - own.top}),
        0);
    int lit = 0;  // where no display is
    for (const Rect32& g : capture::Uncovered(screen, displays))
        for (int y = g.top; y < g.bottom; ++y)
            for (int x = g.left; x < g.right; ++x) lit += shot.at(x - origin.x, y - origin.y) != 0;
    EXPECT_EQ(lit, 0);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

TEST_F(TwoDisplays, MonitorUnderThePointerAndTheEntireScreen) {
    const POINT there{secondary.left + 5, secondary.top + 5};
    UserDoes([&] { MouseTo(there); },
             [&] {
                 POINT at{};
                 return GetCursorPos(&at) && at.x == there.x && at.y == there.y;
             });
    form.mnuPointerMonitor_Click();
    EXPECT_EQ(PictureSize().cx, secondary.right - secondary.left);
    EXPECT_EQ(PictureSize().cy, secondary.bottom - secondary.top);
    EXPECT_EQ(WrongPatternPixels(Picture(), POINT{secondary.left, secondary.top}, *outer, kClient),
              0);

    // Entire screen stays the primary display, exactly.
    form.mnuScreen_Click();
    EXPECT_EQ(PictureSize().cx, primary.right - primary.left);
    EXPECT_EQ(PictureSize().cy, primary.bottom - primary.top);
    EXPECT_EQ(WrongPatternPixels(Picture(), POINT{0, 0}, *inner, kClient), 0);
}

TEST_F(TwoDisplays, OwnWindowAndWorkAreaOnTheSecondaryDisplay) {
    SetWindowPos(form.hwnd(), HWND_TOP, secondary.left + 20, secondary.top + 20, 500, 400, 0);
    Pump(300);
    RECT r, client;
    GetWindowRect(form.hwnd(), &r);
    GetClientRect(form.hwnd(), &client);
    MapWindowPoints(form.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    ASSERT_LT(r.left < 0 ? r.left : r.top, 0);
    const Pixels window = ReadScreen(r);
    form.mnuTitleBar_Click();
    EXPECT_EQ(Picture().data, window.data);
    Pump(200);
    const Pixels work = ReadScreen(client);  // the viewer shows that picture now
    form.mnuClient_Click();
    EXPECT_EQ(Picture().data, work.data);
}

TEST_F(TwoDisplays, PickedWindowOnTheSecondaryDisplay) {
    const POINT c = outer->clientOrigin();
    const POINT over{c.x + 100, c.y + 100};
    form.CaptureUnsaved = false;
    form.mnuPickWindow_Click();
    EXPECT_TRUE(IsIconic(form.hwnd()));
    UserDoes(
        [&] {
            MouseTo(POINT{over.x + 30, over.y + 30});
            Click(over);
        },
        [&] { return Back(); });
    RECT r;
    GetWindowRect(outer->hwnd(), &r);
    EXPECT_EQ(GetForegroundWindow(), form.hwnd());
    ASSERT_EQ(PictureSize().cx, r.right - r.left);
    ASSERT_EQ(PictureSize().cy, r.bottom - r.top);
    EXPECT_EQ(WrongPatternPixels(Picture(), POINT{r.left, r.top}, *outer, kClient), 0);
    EXPECT_TRUE(form.CaptureUnsaved);
}

TEST_F(TwoDisplays, PickModeDragCapturesAcrossTheSeamAndEscapeCancels) {
    const Rect32 area = AcrossTheSeam();
    const Pixels expected = ReadScreen(AsRect(area));
    form.mnuPickWindow_Click();
    UserDoes(
        [&] {
            Press(POINT{area.left, area.top});
            MouseTo(POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
            Release(POINT{area.right, area.bottom});
        },
        [&] { return Back(); });
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(PictureSize().cx, area.right - area.left);
    EXPECT_EQ(PictureSize().cy, area.bottom - area.top);

    // Escape leaves the picture and the flag as they were.
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    form.CaptureUnsaved = false;
    form.mnuPickWindow_Click();
    ASSERT_TRUE(capture::WindowPickArmed());
    UserDoes([] { PressKeys({VK_ESCAPE}); }, [&] { return Back(); });
    EXPECT_FALSE(capture::WindowPickArmed());
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_FALSE(form.CaptureUnsaved);
    // So does a right click.
    form.mnuPickWindow_Click();
    const POINT c = outer->clientOrigin();
    UserDoes(
        [&] {
            SendMouse(POINT{c.x + 20, c.y + 20}, MOUSEEVENTF_RIGHTDOWN);
            SendMouse(POINT{c.x + 20, c.y + 20}, MOUSEEVENTF_RIGHTUP);
        },
        [&] { return Back(); });
    EXPECT_FALSE(capture::WindowPickArmed());
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_FALSE(form.CaptureUnsaved);
}

TEST_F(TwoDisplays, FreeRegionAcrossTheSeam) {
    const Rect32 area = AcrossTheSeam();
    const Pixels expected = ReadScreen(AsRect(area));
    form.mnuDistrict_Click();
    UserDoes(
        [&] {
            Press(POINT{area.left, area.top});
            MouseTo(POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
            Release(POINT{area.right, area.bottom});
        },
        [&] { return Back() && form.GetScaleMode() == toolkit::ScaleMode::Twips; });
    EXPECT_EQ(Picture().data, expected.data);
    Pixels clip;
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP))
        clip = ReadBitmap(static_cast<HBITMAP>(bitmap));
    CloseClipboard();
    EXPECT_EQ(clip.data, expected.data);
}

TEST_F(TwoDisplays, GlobalKeys) {
    // Print Screen: every display.
    SetForegroundWindow(outer->hwnd());
    Pump(200);
    UserDoes([] { PressKeys({VK_SNAPSHOT}); }, [&] { return !form.PicBmp.GetPicture().Empty(); });
    const Rect32 screen = capture::VirtualScreen();
    EXPECT_EQ(PictureSize().cx, screen.right - screen.left);
    EXPECT_EQ(PictureSize().cy, screen.bottom - screen.top);

    // Alt+Print Screen: the window in front, then Fotolark in front of it, restored.
    ShowWindow(form.hwnd(), SW_MINIMIZE);
    SetForegroundWindow(outer->hwnd());
    Pump(200);
    RECT r;
    GetWindowRect(outer->hwnd(), &r);
    UserDoes(
        [] {
            PressKeys({VK_MENU, VK_SNAPSHOT});
        },
        [&] { return GetForegroundWindow() == form.hwnd() && Back(); });
    EXPECT_EQ(GetForegroundWindow(), form.hwnd());
    EXPECT_FALSE(IsIconic(form.hwnd()));
    EXPECT_EQ(PictureSize().cx, r.right - r.left);
    EXPECT_EQ(PictureSize().cy, r.bottom - r.top);
}

}  // namespace
