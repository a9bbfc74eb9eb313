// The viewer on the real main window: the scroll bars read back from Win32
// after pictures of known sizes, and worked with real mouse input.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/frm_main.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/handles.h"
#include "toolkit/units.h"

using namespace testing_support;

namespace {

constexpr COLORREF kBody = RGB(0, 0, 255), kLastColumn = RGB(255, 0, 0), kLastRow = RGB(0, 255, 0),
                   kCorner = RGB(255, 255, 0);

// A picture of the given size: one colour with its last column, last row
// and bottom-right pixel in others.
toolkit::Picture MarkedPicture(int width, int height) {
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    {
        toolkit::SelectGuard selected(memory.get(), bitmap.get());
        auto fill = [&](int l, int t, int r, int b, COLORREF c) {
            const RECT area{l, t, r, b};
            toolkit::UniqueBrush brush(CreateSolidBrush(c));
            FillRect(memory.get(), &area, brush.get());
        };
        fill(0, 0, width, height, kBody);
        fill(width - 1, 0, width, height, kLastColumn);
        fill(0, height - 1, width, height, kLastRow);
        fill(width - 1, height - 1, width, height, kCorner);
    }
    return toolkit::Picture::FromBitmap(std::move(bitmap), {});
}

// Where a scroll value in twips puts the picture, in pixels.
int PixelsOf(int32_t twips) { return toolkit::ToInt32(twips / 15.0).value(); }

SCROLLINFO Info(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    return info;
}

// The window that holds the mouse in the thread of `window`: a bar while its
// thumb is dragged.
HWND CaptureIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndCapture;
}

RECT ScreenRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

class Viewer : public ShownForm {
protected:
    void ShowPicture(int width, int height) {
        form.PicBmp.SetPicture(MarkedPicture(width, height));
        form.Form_Resize();
        Pump();
    }
    // The viewport's client area in screen pixels.
    RECT Viewport() const { return ScreenRect(form.picScroll.hwnd()); }
    // The picture's offset inside the viewport, pixels.
    POINT Offset() const {
        const RECT view = Viewport(), picture = ScreenRect(form.PicBmp.hwnd());
        return POINT{picture.left - view.left, picture.top - view.top};
    }
    HWND HBar() const { return form.HScroll1.hwnd(); }
    HWND VBar() const { return form.VScroll1.hwnd(); }
    // The screen pixel on a bar's middle line this far from its start.
    POINT AlongBar(HWND bar, int pixelsFromStart) const {
        const RECT r = ScreenRect(bar);
        if (bar == HBar()) return POINT{r.left + pixelsFromStart, (r.top + r.bottom) / 2};
        return POINT{(r.left + r.right) / 2, r.top + pixelsFromStart};
    }
    POINT ThumbCentre(HWND bar) const {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        GetScrollBarInfo(bar, OBJID_CLIENT, &info);
        return AlongBar(bar, (info.xyThumbTop + info.xyThumbBottom) / 2);
    }
};

TEST_F(Viewer, AtStartTheDesignedHolderFitsWithNoBars) {
    EXPECT_FALSE(IsWindowVisible(HBar()));
    EXPECT_FALSE(IsWindowVisible(VBar()));
    auto& view = form.picScroll.AsControl();
    EXPECT_EQ(view.Width(), form.ScaleWidth());
    EXPECT_EQ(view.Height(), form.ScaleHeight() - 360 - 375);
    EXPECT_EQ(form.PicBmp.AsControl().Width(), 3225);
    // The toolkit's defaults, untouched until a bar is needed.
    const SCROLLINFO info = Info(HBar());
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 32767);
    EXPECT_EQ(info.nPage, 1u);
    EXPECT_EQ(info.nPos, 0);
}

TEST_F(Viewer, BarsFollowThePictureSize) {
    auto& view = form.picScroll.AsControl();
    const float fullWidth = form.ScaleWidth(), fullHeight = form.ScaleHeight() - 360 - 375;

    ShowPicture(1000, 100);  // wider only
    EXPECT_TRUE(IsWindowVisible(HBar()));
    EXPECT_FALSE(IsWindowVisible(VBar()));
    EXPECT_EQ(view.Width(), fullWidth);
    EXPECT_EQ(view.Height(), fullHeight - 255);
    // Measured before the vertical bar gave up its strip.
    SCROLLINFO info = Info(HBar());
    const int max = 15000 - int(fullWidth - 255), page = int(fullWidth - 255) / 3;
    EXPECT_EQ(info.nPos, 0);
    EXPECT_EQ(int(info.nPage), page);
    EXPECT_EQ(info.nMax, max + page - 1);  // so the last position is the excess
    EXPECT_EQ(form.HScroll1.Max(), max);
    EXPECT_EQ(form.HScroll1.SmallChange(), 15);

    ShowPicture(100, 1000);  // taller only
    EXPECT_FALSE(IsWindowVisible(HBar()));
    EXPECT_TRUE(IsWindowVisible(VBar()));
    EXPECT_EQ(view.Height(), fullHeight);
    EXPECT_EQ(view.Width(), fullWidth - 255);
    info = Info(VBar());
    EXPECT_EQ(int(info.nPage), int(fullHeight) / 3);
    EXPECT_EQ(form.VScroll1.Max(), 15000 - int(fullHeight));

    ShowPicture(50, 40);  // smaller both ways
    EXPECT_FALSE(IsWindowVisible(HBar()));
    EXPECT_FALSE(IsWindowVisible(VBar()));
    EXPECT_EQ(view.Width(), fullWidth);
    EXPECT_EQ(view.Height(), fullHeight);
}

TEST_F(Viewer, ArrowMovesOnePixelAndTrackAThirdOfTheViewport) {
    ShowPicture(2000, 100);
    ASSERT_TRUE(IsWindowVisible(HBar()));
    const RECT bar = ScreenRect(HBar());
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    Click(AlongBar(HBar(), bar.right - bar.left - arrow / 2));
    Pump(300);
    EXPECT_EQ(form.HScroll1.Value(), 15);
    EXPECT_EQ(form.PicBmp.AsControl().Left(), -15);
    EXPECT_EQ(Offset().x, -1);

    Click(AlongBar(HBar(), bar.right - bar.left - arrow - 3));  // the track, right of the thumb
    Pump(300);
    const int32_t large = form.HScroll1.LargeChange();
    EXPECT_EQ(form.HScroll1.Value(), 15 + large);
    EXPECT_EQ(Offset().x, -PixelsOf(15 + large));
    Click(AlongBar(HBar(), arrow / 2));  // left arrow
    Pump(300);
    EXPECT_EQ(form.HScroll1.Value(), large);
}

TEST_F(Viewer, ThePictureFollowsADraggedThumbAndStaysWhereItIsLeft) {
    ShowPicture(100, 3000);
    ASSERT_TRUE(IsWindowVisible(VBar()));
    const POINT start = ThumbCentre(VBar());
    // Another thread plays the user, looking at the picture while the button is held.
    std::atomic<bool> done{false};
    LONG during[2] = {};
    int32_t track[2] = {};
    std::thread user([&] {
        MouseTo(start);
        Press(start);
        POINT at = start;
        for (int step = 0; step < 2; ++step) {
            const int32_t before = form.VScroll1.Value();
            for (int i = 1; i <= 10; ++i) {
                at.y = start.y + step * 40 + i * 4;
                MouseTo(at);
            }
            // The moves are taken once the value moved and then held still.
            int32_t seen = before;
            PumpUntil([&] {
                const int32_t now = form.VScroll1.Value();
                const bool still = now != before && now == seen;
                seen = now;
                return still;
            });
            during[step] = ScreenRect(form.PicBmp.hwnd()).top - Viewport().top;
            track[step] = form.VScroll1.Value();
        }
        Release(at);
        PumpUntil([&] { return CaptureIn(form.hwnd()) == nullptr; });
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 10000);
    user.join();
    Pump();
    EXPECT_GT(track[0], 0);
    EXPECT_GT(track[1], track[0]);
    EXPECT_EQ(during[0], -PixelsOf(track[0]));
    EXPECT_EQ(during[1], -PixelsOf(track[1]));
    EXPECT_EQ(form.VScroll1.Value(), track[1]);
    EXPECT_EQ(Info(VBar()).nPos, track[1]);
    EXPECT_EQ(form.PicBmp.AsControl().Top(), float(-PixelsOf(track[1]) * 15));
}

TEST_F(Viewer, AnyResizeWithABarShownPutsThePictureBackAtTheCorner) {
    ShowPicture(2000, 2000);
    SendMessageW(form.hwnd(), WM_HSCROLL, SB_PAGEDOWN, LPARAM(HBar()));
    SendMessageW(form.hwnd(), WM_VSCROLL, SB_BOTTOM, LPARAM(VBar()));
    ASSERT_NE(Offset().x, 0);
    ASSERT_NE(Offset().y, 0);
    RECT r = ScreenRect(form.hwnd());
    SetWindowPos(form.hwnd(), nullptr, 0, 0, r.right - r.left + 1, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(form.HScroll1.Value(), 0);
    EXPECT_EQ(form.VScroll1.Value(), 0);
    EXPECT_EQ(Offset().x, 0);
    EXPECT_EQ(Offset().y, 0);
}

TEST_F(Viewer, AHiddenBarLeavesNoPartOfANewPictureOutOfView) {
    ShowPicture(2000, 2000);
    SendMessageW(form.hwnd(), WM_HSCROLL, SB_BOTTOM, LPARAM(HBar()));
    SendMessageW(form.hwnd(), WM_VSCROLL, SB_BOTTOM, LPARAM(VBar()));
    ShowPicture(60, 50);
    EXPECT_FALSE(IsWindowVisible(HBar()));
    EXPECT_EQ(Offset().x, 0);
    EXPECT_EQ(Offset().y, 0);
    EXPECT_EQ(form.HScroll1.Value(), 0);
}

TEST_F(Viewer, ABarFitsInTwipsWhileTheFormCountsInPixels) {
    ShowPicture(1500, 100);
    const int32_t max = form.HScroll1.Max(), large = form.HScroll1.LargeChange();
    const RECT view = Viewport();
    form.SetScaleMode(toolkit::ScaleMode::Pixels);  // as while a region is being chosen
    ShowPicture(1500, 100);
    EXPECT_EQ(form.HScroll1.Max(), max);
    EXPECT_EQ(form.HScroll1.LargeChange(), large);
    EXPECT_EQ(form.HScroll1.SmallChange(), 15);
    EXPECT_EQ(Viewport().bottom, view.bottom);  // the hidden bar's strip, and no more
    form.SetScaleMode(toolkit::ScaleMode::Twips);
}

// Drags a bar's thumb a little past the bar's far end with the real mouse
// (further away the bar would put the thumb back).
void DragToEnd(HWND bar, POINT thumb, bool horizontal, const std::function<bool()>& atEnd) {
    const RECT r = ScreenRect(bar);
    const POINT end = horizontal ? POINT{r.right + 10, thumb.y} : POINT{thumb.x, r.bottom + 10};
    MouseTo(thumb);
    Press(thumb);
    PumpUntil([&] { return CaptureIn(bar) == bar; });
    MouseTo(end);
    PumpUntil(atEnd);
    Release(end);
    PumpUntil([&] { return CaptureIn(bar) == nullptr; });
}

TEST_F(Viewer, The4kPictureScrollsToItsLastRowAndColumn) {
    ShowPicture(3840, 2160);
    ASSERT_TRUE(IsWindowVisible(HBar()));
    ASSERT_TRUE(IsWindowVisible(VBar()));
    const RECT view = Viewport();
    EXPECT_EQ(form.HScroll1.Max(), (3840 - (view.right - view.left)) * 15);
    EXPECT_EQ(form.VScroll1.Max(), (2160 - (view.bottom - view.top)) * 15);
    EXPECT_GT(form.HScroll1.Max(), 32767);

    // The thumbs dragged to the far ends, the way a person would.
    // Read here: the bar answers other threads wrongly under Wine.
    const POINT hThumb = ThumbCentre(HBar()), vThumb = ThumbCentre(VBar());
    std::thread user([&] {
        DragToEnd(HBar(), hThumb, true,
                  [&] { return form.HScroll1.Value() == form.HScroll1.Max(); });
        DragToEnd(VBar(), vThumb, false,
                  [&] { return form.VScroll1.Value() == form.VScroll1.Max(); });
    });
    PumpUntil([&] { return form.VScroll1.Value() == form.VScroll1.Max(); }, 5000);
    user.join();
    Pump(300);
    EXPECT_EQ(form.HScroll1.Value(), form.HScroll1.Max());
    EXPECT_EQ(form.VScroll1.Value(), form.VScroll1.Max());

    const Pixels corner =
        ReadScreen(RECT{view.right - 2, view.bottom - 2, view.right, view.bottom});
    EXPECT_EQ(corner.at(0, 0), Rgb(kBody));
    EXPECT_EQ(corner.at(1, 0), Rgb(kLastColumn));
    EXPECT_EQ(corner.at(0, 1), Rgb(kLastRow));
    EXPECT_EQ(corner.at(1, 1), Rgb(kCorner));
}

TEST_F(Viewer, The8kPictureReachesItsEndToo) {
    ShowPicture(7680, 4320);
    const RECT view = Viewport();
    const SCROLLINFO info = Info(HBar());
    EXPECT_EQ(info.nMax - int(info.nPage) + 1, (7680 - (view.right - view.left)) * 15);
    SendMessageW(form.hwnd(), WM_HSCROLL, SB_BOTTOM, LPARAM(HBar()));
    SendMessageW(form.hwnd(), WM_VSCROLL, SB_BOTTOM, LPARAM(VBar()));
    Pump(300);
    EXPECT_EQ(Offset().x, (view.right - view.left) - 7680);
    EXPECT_EQ(Offset().y, (view.bottom - view.top) - 4320);
    const Pixels corner =
        ReadScreen(RECT{view.right - 1, view.bottom - 1, view.right, view.bottom});
    EXPECT_EQ(corner.at(0, 0), Rgb(kCorner));
}

}  // namespace

namespace {

void Wheel(POINT at, DWORD flags, int delta) {
    MouseTo(at);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = DWORD(delta);
    SendInput(1, &in, sizeof in);
}

// The wheel and the keys move the picture through the bars: each stops at
// its ends, and the picture sits where its bar says.
TEST_F(Viewer, WheelAndKeysScrollThroughTheBars) {
    ShowPicture(3000, 2500);
    ASSERT_TRUE(IsWindowVisible(HBar()) && IsWindowVisible(VBar()));
    SetFocus(form.hwnd());
    const RECT view = Viewport();
    const POINT middle{(view.left + view.right) / 2, (view.top + view.bottom) / 2};
    const auto placed = [&] {
        return Offset().x == -PixelsOf(form.HScroll1.Value()) &&
               Offset().y == -PixelsOf(form.VScroll1.Value());
    };

    Wheel(middle, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);  // towards the user: down the picture
    ASSERT_TRUE(PumpUntil([&] { return form.VScroll1.Value() > 0; }));
    EXPECT_EQ(form.HScroll1.Value(), 0);
    EXPECT_TRUE(placed());
    const int32_t notch = form.VScroll1.Value();
    Wheel(middle, MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil([&] { return form.VScroll1.Value() == 0; }));

    INPUT shift{};  // held while the wheel turns
    shift.type = INPUT_KEYBOARD;
    shift.ki.wVk = VK_SHIFT;
    SendInput(1, &shift, sizeof shift);
    Wheel(middle, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    shift.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &shift, sizeof shift);
    EXPECT_TRUE(PumpUntil([&] { return form.HScroll1.Value() == notch; })) << "Shift+wheel";
    Wheel(middle, MOUSEEVENTF_HWHEEL, -WHEEL_DELTA);  // tilted left
    EXPECT_TRUE(PumpUntil([&] { return form.HScroll1.Value() == 0; })) << "horizontal wheel";
    EXPECT_EQ(form.VScroll1.Value(), 0);

    // A key's line is a third of the notch; a page is the view less that line.
    const int32_t line = notch / 3, viewHeight = (view.bottom - view.top) * 15;
    PressKeys({VK_DOWN});
    EXPECT_TRUE(PumpUntil([&] { return form.VScroll1.Value() == line; })) << "a line";
    PressKeys({VK_NEXT});
    EXPECT_TRUE(PumpUntil([&] { return form.VScroll1.Value() == viewHeight; })) << "a page";
    PressKeys({VK_SHIFT, VK_NEXT});
    EXPECT_TRUE(PumpUntil([&] {
        return form.HScroll1.Value() == (view.right - view.left) * 15 - line;
    })) << "Shift+Page Down: across";
    PressKeys({VK_CONTROL, VK_END});
    EXPECT_TRUE(PumpUntil([&] {
        return form.VScroll1.Value() == form.VScroll1.Max() &&
               form.HScroll1.Value() == form.HScroll1.Max();
    })) << "Ctrl+End: the far corner";
    PressKeys({VK_CONTROL, VK_HOME});
    EXPECT_TRUE(PumpUntil([&] { return form.HScroll1.Value() == 0 && form.VScroll1.Value() == 0; }))
        << "Ctrl+Home: the near corner";
    PressKeys({VK_END});
    EXPECT_TRUE(PumpUntil([&] { return form.VScroll1.Value() == form.VScroll1.Max(); }))
        << "the end";
    PressKeys({VK_DOWN});
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(PumpUntil([&] { return form.HScroll1.Value() == line; }));
    EXPECT_EQ(form.VScroll1.Value(), form.VScroll1.Max()) << "no further than the end";
    EXPECT_TRUE(placed());
    PressKeys({VK_HOME});
    EXPECT_TRUE(PumpUntil([&] { return form.VScroll1.Value() == 0; })) << "the start";
    EXPECT_TRUE(placed());
}

}  // namespace
