// The free-region capture driven with real mouse input, over a window of
// another thread that stands for another program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "app/frm_main.h"
#include "tests/win/region_selection.h"
#include "toolkit/handles.h"
#include "toolkit/mouse_pointer.h"

using namespace testing_support;

namespace {

TEST_F(RegionCapture, DragCopiesTheAreaToClipboardAndViewerAndLeavesTheScreenAsItWas) {
    const POINT a = Over(40, 30), b = Over(290, 200);
    const RECT area{a.x - 4, a.y - 4, b.x + 4, b.y + 4};
    const Pixels before = ReadScreen(area);
    SetClipboardText(L"replaced by the capture");
    form.CaptureUnsaved = false;
    form.mnuDistrict_Click();
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_TRUE(form.RegionArmed);
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Pixels);
    Pump(100);
    EXPECT_TRUE(IsIconic(form.hwnd()));

    Pixels during;
    HCURSOR armedCursor = nullptr, dragCursor = nullptr;
    Select([&] {
        MouseTo(a);
        armedCursor = CursorShown();
        Press(a);
        MouseTo(Over(150, 100));
        MouseTo(b);
        // The frame's bottom edge near the far corner is the last move's.
        PumpUntil([&] {
            return ReadScreen(area).at(b.x - 2 - area.left, b.y - 1 - area.top) !=
                   before.at(b.x - 2 - area.left, b.y - 1 - area.top);
        });
        during = ReadScreen(area);
        dragCursor = CursorShown();
        ReleaseDrag(b);
    });
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    EXPECT_EQ(armedCursor, cross);
    EXPECT_EQ(dragCursor, cross);

    // During the drag: the ring inverted but its corners, the label's glyphs
    // inverted, nothing else touched.
    const int l = a.x - area.left, t = a.y - area.top, r = b.x - area.left, btm = b.y - area.top;
    int changedInside = 0;
    ASSERT_EQ(during.width, before.width);
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x) {
            const bool inside = x >= l && x < r && y >= t && y < btm;
            const bool edgeX = x == l || x == r - 1, edgeY = y == t || y == btm - 1;
            if (inside && (edgeX || edgeY)) {
                EXPECT_EQ(during.at(x, y),
                          (edgeX && edgeY) ? before.at(x, y) : before.at(x, y) ^ 0xFFFFFF)
                    << x << "," << y;
            } else if (during.at(x, y) != before.at(x, y)) {
                EXPECT_TRUE(inside) << x << "," << y;
                EXPECT_EQ(during.at(x, y), before.at(x, y) ^ 0xFFFFFF) << x << "," << y;
                ++changedInside;
            }
        }
    EXPECT_GT(changedInside, 10);   // the label "250x170"
    EXPECT_LT(changedInside, 400);  // its glyphs only

    const Pixels expected = Crop(before, l, t, r - l, btm - t);
    EXPECT_EQ(ClipboardPixels().width, 250);
    EXPECT_EQ(ClipboardPixels().height, 170);
    EXPECT_EQ(ClipboardPixels().data, expected.data);
    EXPECT_TRUE(ClipboardDibOpaque());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));  // the picture alone
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(ReadScreen(area).data, before.data);
    EXPECT_TRUE(boxes->asked.empty());

    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(movesBeforeRelease, 0);
    EXPECT_FALSE(IsIconic(form.hwnd()));
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Twips);
    EXPECT_EQ(toolkit::ScreenMousePointer(), toolkit::MousePointer::Default);
    EXPECT_EQ(CursorShown(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(form.RegionArmed);
    EXPECT_TRUE(form.CaptureUnsaved);
    // Laid out in twips for the new picture.
    EXPECT_EQ(form.PicBmp.AsControl().Width(), 250 * 15);

    // Once the selection is over, the other program gets its clicks again.
    std::thread user([&] {
        Press(Over(10, 10));
        ReleaseDrag(Over(10, 10));
    });
    Pump(300);
    user.join();
    EXPECT_TRUE(PumpUntil([] { return otherClicks == 2; }, 1000));
}

// The copy is taken while the window is still minimized: where it stood, the
// picture holds the other program beneath it.
TEST_F(RegionCapture, TheCopyWhereTheWindowStandsHoldsTheScreenBeneathIt) {
    const RECT under = other->client();
    SetWindowPos(form.hwnd(), nullptr, under.left + 20, under.top + 20, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Pump(100);
    RECT r;
    GetWindowRect(form.hwnd(), &r);
    const POINT a{r.left + 10, r.top + 10};
    const POINT b{std::min(r.right, under.right) - 10, std::min(r.bottom, under.bottom) - 10};
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(b);
        ReleaseDrag(b);
    });
    const Pixels shot = Picture();
    ASSERT_EQ(shot.width, b.x - a.x);
    ASSERT_EQ(shot.height, b.y - a.y);
    int wrong = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            wrong += shot.at(x, y) != Rgb(PatternAt(a.x + x - under.left, a.y + y - under.top));
    EXPECT_EQ(wrong, 0);
}

TEST_F(RegionCapture, UpLeftDragWithOtherButtonsAndEscapeGivesTheMirroredRectangle) {
    const POINT a = Over(60, 50), b = Over(200, 150);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    form.mnuDistrict_Click();
    Select([&] {
        MouseTo(b);
        PressKeys({VK_ESCAPE});
        Press(b);
        MouseTo(Over(100, 100));
        PressKeys({VK_ESCAPE});
        SendMouse(Over(90, 90), MOUSEEVENTF_RIGHTDOWN);
        SendMouse(Over(90, 90), MOUSEEVENTF_RIGHTUP);
        SendMouse(Over(80, 80), MOUSEEVENTF_MIDDLEDOWN);
        SendMouse(Over(80, 80), MOUSEEVENTF_MIDDLEUP);
        MouseTo(a);
        ReleaseDrag(a);
    });
    EXPECT_EQ(Picture().width, 140);
    EXPECT_EQ(Picture().height, 100);
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(ClipboardPixels().data, expected.data);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, PressReachesTheSelectionWhileAnotherProgramIsInFront) {
    form.mnuDistrict_Click();
    Pump(100);
    // The capture of a window that is not in front brings no press from
    // another program's window.
    SetForegroundWindow(other->hwnd());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other->hwnd(); }, 2000));
    const POINT a = Over(50, 60), b = Over(170, 140);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    Select([&] {
        Press(a);
        MouseTo(Over(100, 100));
        SendMouse(Over(110, 110), MOUSEEVENTF_RIGHTDOWN);
        SendMouse(Over(110, 110), MOUSEEVENTF_RIGHTUP);
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, ADragPastTheScreensCornerEndsAtItsLastPixel) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const POINT a{cx - 120, cy - 90};
    const RECT area{a.x - 4, a.y - 4, cx, cy};
    const Pixels before = ReadScreen(area);
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(POINT{cx + 200, cy + 200});  // the pointer stops at the edge
        ReleaseDrag(POINT{cx + 200, cy + 200});
    });
    EXPECT_EQ(Picture().width, 119);
    EXPECT_EQ(Picture().height, 89);
    EXPECT_EQ(Picture().data, Crop(before, 4, 4, 119, 89).data);
    EXPECT_EQ(ReadScreen(area).data, before.data);  // the frame was drawn and erased on screen
}

TEST_F(RegionCapture, ArmingTwiceOnlySetsThePixelScaleAndAClickGivesOnePixel) {
    form.mnuDistrict_Click();
    form.SetScaleMode(toolkit::ScaleMode::Twips);
    form.CaptureUnsaved = false;
    form.mnuDistrict_Click();
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Pixels);
    EXPECT_FALSE(form.CaptureUnsaved);
    EXPECT_TRUE(form.RegionArmed);
    EXPECT_TRUE(IsIconic(form.hwnd()));
    // Still armed, for one selection: a click without a drag copies an empty
    // area, which the platform makes a 1 x 1 monochrome bitmap.
    Select([&] {
        Press(Over(100, 100));
        ReleaseDrag(Over(100, 100));
    });
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(form.PicBmp.GetPicture().Bitmap(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(ClipboardPixels().width, 1);
    EXPECT_EQ(ClipboardPixels().height, 1);
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Twips);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, ToolbarButtonArmsThroughARealClick) {
    RECT button{};
    ASSERT_TRUE(
        SendMessageW(form.Toolbar1.hwnd(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&button)));
    MapWindowPoints(form.Toolbar1.hwnd(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    const POINT onButton{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    std::thread clicker([&] {
        Press(onButton);
        ReleaseDrag(onButton);
    });
    const bool armed = PumpUntil([&] { return form.RegionArmed && IsIconic(form.hwnd()); }, 3000);
    clicker.join();
    ASSERT_TRUE(armed);
    // Wider than the viewport, not as high.
    const POINT a = Over(10, 100), b = Over(470, 160);
    ASSERT_GT(b.x - a.x, form.picScroll.AsControl().Width() / 15);
    Select([&] {
        Press(a);
        MouseTo(Over(130, 110));
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().width, 460);
    EXPECT_EQ(Picture().height, 60);
    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(movesBeforeRelease, 0);
    // The viewer was laid out again for the new picture.
    EXPECT_TRUE(form.HScroll1.Visible());
    EXPECT_FALSE(form.VScroll1.Visible());
}

}  // namespace
