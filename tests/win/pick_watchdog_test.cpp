// Windows removes a low-level hook that kept it waiting, without a word; Wine
// never does, so the test removes the pick's hooks the same way. The pick
// must then end by itself, say why, and arm again.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "capture/window_pick.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

using PickWatchdog = ShownForm;

TEST_F(PickWatchdog, APickWhoseHooksStopAnsweringIsCancelledAndArmsAgain) {
    OtherProcess other(OtherProcess::Kind::Window, 800, 300, 320, 240);
    Pump(200);
    const POINT c = other.clientOrigin();
    const POINT over{c.x + 100, c.y + 100};
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    form.CaptureUnsaved = false;

    form.mnuPickWindow_Click();
    ASSERT_TRUE(capture::WindowPickArmed());
    capture::DeafenWindowPickHooks();
    // The person moves on, and nothing hears it.
    UserDoes(
        [&] {
            MouseTo(over);
            MouseTo(POINT{over.x + 20, over.y + 10});
        },
        [&] { return !IsIconic(form.hwnd()); });
    EXPECT_FALSE(capture::WindowPickArmed());
    EXPECT_FALSE(IsIconic(form.hwnd()));
    EXPECT_FALSE(IsWindowVisible(capture::WindowPickOutline()));
    EXPECT_EQ(form.PanelText(1), form.UiTexts[app::TextId::PickHookLost]);
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_FALSE(form.CaptureUnsaved);

    // Armed again, it hears the click and takes the window.
    form.mnuPickWindow_Click();
    ASSERT_TRUE(capture::WindowPickArmed());
    UserDoes([&] { Click(over); }, [&] { return !IsIconic(form.hwnd()); });
    RECT r;
    GetWindowRect(other.hwnd(), &r);
    EXPECT_EQ(form.PicBmp.GetPicture().PixelSize().cx, r.right - r.left);
    EXPECT_TRUE(form.CaptureUnsaved);
}

}  // namespace
