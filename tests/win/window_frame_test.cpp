// Windows 10 and 11 count an invisible resize border in a window's rectangle;
// the compositor's frame bounds leave it out. Wine draws none, so the frame
// source stands in: every window's visible frame lies inset from its
// rectangle, and each capture of a window must take that frame.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "capture/pick_overlay.h"
#include "capture/window_pick.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/visible_frame.h"

using namespace testing_support;

namespace {

// Left, top, right, bottom: each side its own, so a swap or a slip shows.
constexpr RECT kBorder{7, 2, 6, 5};

bool InsetFrame(HWND window, RECT* bounds) {
    if (!GetWindowRect(window, bounds)) return false;
    bounds->left += kBorder.left;
    bounds->top += kBorder.top;
    bounds->right -= kBorder.right;
    bounds->bottom -= kBorder.bottom;
    return true;
}

RECT Frame(HWND window) {
    RECT r{};
    InsetFrame(window, &r);
    return r;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

int OutlinePixels(const Pixels& shot) {
    int n = 0;
    for (uint32_t p : shot.data) n += p == Rgb(capture::kOutlineColor);
    return n;
}

class InvisibleBorders : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        toolkit::SetFrameBoundsSource(&InsetFrame);
    }
    void TearDown() override {
        toolkit::SetFrameBoundsSource(nullptr);
        ShownForm::TearDown();
    }
    Pixels Shown() const { return ReadPicture(form.PicBmp.GetPicture()); }
    // The picture is exactly what the screen showed of that rectangle.
    void ExpectPictureOf(const Pixels& expected, const char* what) const {
        const Pixels shot = Shown();
        EXPECT_EQ(shot.width, expected.width) << what;
        EXPECT_EQ(shot.height, expected.height) << what;
        EXPECT_TRUE(shot.data == expected.data) << what;
    }
    bool Back() const { return !IsIconic(form.hwnd()); }
};

TEST_F(InvisibleBorders, EveryCaptureOfAWindowTakesItsVisibleFrame) {
    OtherProcess other(OtherProcess::Kind::Window, 800, 300, 320, 240);
    Pump(200);

    // The own window.
    const Pixels own = ReadScreen(Frame(form.hwnd()));
    form.mnuTitleBar_Click();
    ExpectPictureOf(own, "own window");

    // Alt+Print Screen, with the other program in front.
    SetForegroundWindow(other.hwnd());
    Pump(300);
    const RECT frame = Frame(other.hwnd());
    const Pixels front = ReadScreen(frame);
    HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    PressKeys({VK_MENU, VK_SNAPSHOT});
    ASSERT_TRUE(PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; }));
    ExpectPictureOf(front, "Alt+Print Screen");

    // The delayed capture: the other program comes in front during the pause.
    {
        ScriptedBoxes ok({IDOK});
        std::thread user([&] {
            PumpUntil([&] { return IsIconic(form.hwnd()) != FALSE; });
            SetForegroundWindow(other.hwnd());
        });
        form.mnuAtiveWindow_Click();
        user.join();
        ExpectPictureOf(front, "delayed capture");
    }

    // The pick: the outline rings the visible frame, and a point on the
    // invisible border is not on the window.
    form.mnuPickWindow_Click();
    ASSERT_TRUE(capture::WindowPickArmed());
    const HWND outline = capture::WindowPickOutline();
    const POINT over = Centre(frame);
    UserDoes([&] { MouseTo(over); },
             [&] {
                 RECT r{};
                 return IsWindowVisible(outline) && GetWindowRect(outline, &r) &&
                        EqualRect(&r, &frame);
             });
    RECT ringed{};
    GetWindowRect(outline, &ringed);
    EXPECT_TRUE(EqualRect(&ringed, &frame)) << "the outline rings the visible frame";
    EXPECT_EQ(ReadScreen(RECT{over.x, frame.top, over.x + 1, frame.top + 1}).at(0, 0),
              Rgb(capture::kOutlineColor))
        << "drawn by the outline's own window";
    EXPECT_NE(capture::PickableWindowAt(POINT{frame.left - 3, over.y}, GetCurrentThreadId()),
              other.hwnd());
    UserDoes([&] { Click(over); }, [&] { return Back(); });
    ExpectPictureOf(front, "pick");
    EXPECT_EQ(OutlinePixels(Shown()), 0) << "the outline is not in the picture";

    // A rectangle dragged in the pick: its band and size label are not in it either.
    const RECT area{frame.left + 20, frame.top + 30, frame.left + 220, frame.top + 170};
    const Pixels dragged = ReadScreen(area);
    form.mnuPickWindow_Click();
    UserDoes(
        [&] {
            Press(POINT{area.left, area.top});
            MouseTo(Centre(area));
            Release(POINT{area.right, area.bottom});
        },
        [&] { return Back(); });
    ExpectPictureOf(dragged, "dragged");
    EXPECT_EQ(OutlinePixels(Shown()), 0) << "the band is not in the picture";
}

// A window hanging over the edge of the display is captured as the display
// shows it, beyond which the picture is black.
TEST_F(InvisibleBorders, APickedWindowOverTheEdgeShowsWhatTheDisplayShows) {
    OtherProcess other(OtherProcess::Kind::Window, -150, 300, 320, 240);
    Pump(200);
    const RECT frame = Frame(other.hwnd());
    ASSERT_LT(frame.left, 0);
    const RECT onScreen{0, frame.top, frame.right, frame.bottom};
    SetForegroundWindow(other.hwnd());
    Pump(300);
    const Pixels shown = ReadScreen(onScreen);
    form.mnuPickWindow_Click();
    const POINT over{frame.right - 40, (frame.top + frame.bottom) / 2};
    UserDoes(
        [&] {
            MouseTo(POINT{over.x - 5, over.y});
            Click(over);
        },
        [&] { return Back(); });
    const Pixels shot = Shown();
    ASSERT_EQ(shot.width, frame.right - frame.left);
    ASSERT_EQ(shot.height, frame.bottom - frame.top);
    int wrong = 0, lit = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const int sx = frame.left + x;
            if (sx < 0)
                lit += shot.at(x, y) != 0;
            else
                wrong += shot.at(x, y) != shown.at(sx, y);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(lit, 0);
}

}  // namespace
