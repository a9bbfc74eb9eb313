// Pins as the user meets them: a capture frozen where it was taken, zoomed,
// faded, moved, closed, copied, handed back, kept across a restart.
#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "pin/pin_geometry.h"
#include "pin/pin_store.h"
#include "tests/support/answers.h"
#include "tests/win/pin_support.h"
#include "tests/win/region_selection.h"
#include "toolkit/settings.h"

using namespace testing_support;

namespace {

constexpr int kW = 160, kH = 120;
const POINT kAt{300, 260};

TEST_F(RegionCapture, AFreeRegionPinnedShowsTheSamePixelsWhereTheyWere) {
    const POINT a = Over(30, 40), b = Over(230, 190);
    const RECT area{a.x, a.y, b.x, b.y};
    const Pixels expected = ReadScreen(area);
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(b);
        ReleaseDrag(b);
    });
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(
        PumpUntil([&] { return form.Pins.Count() == 1; }, 5000, form.hwnd(), form.Accelerators()));
    // What lay beneath is gone: only the pin can show those pixels now.
    other.reset();
    const RECT pinned = PinRect(form);
    EXPECT_TRUE(EqualRect(&pinned, &area));
    EXPECT_TRUE(PumpUntil([&] { return ReadScreen(area).data == expected.data; }));
}

class Pins : public ShownForm {
protected:
    pin::Window& Pin(size_t index = 0) { return form.Pins.At(index); }
    void PinPattern(POINT at = kAt) {
        ASSERT_TRUE(form.Pins.Pin(PatternPicture(kW, kH, &at)));
        ASSERT_TRUE(PumpUntil(
            [&] { return ShowsPattern(PinRect(form, form.Pins.Count() - 1), 100, kW, kH); }));
    }
};

TEST_F(Pins, WheelZoomsAroundThePointerCtrlWheelFadesArrowsAndDragMove) {
    PinPattern();
    const POINT anchor = Inside(PinRect(form), 40, 30);
    Click(anchor);
    Wheel(anchor, 3);  // 125, 150, 200 %
    ASSERT_TRUE(PumpUntil([&] { return Pin().Place().zoom == 200; }));
    // The picture's pixel (40, 30) stays under the pointer; blocks of 2 x 2 pixels, crisp.
    const RECT zoomed = PinRect(form);
    EXPECT_EQ(zoomed.left, anchor.x - 80);
    EXPECT_EQ(zoomed.top, anchor.y - 60);
    EXPECT_EQ(zoomed.right - zoomed.left, 2 * kW);
    EXPECT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form), 200, kW, kH); }));

    Wheel(anchor, -2, true);
    ASSERT_TRUE(PumpUntil([&] { return Pin().Place().opacity == 80; }));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Pin().hwnd(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, pin::Alpha(80));
    EXPECT_TRUE(flags & LWA_ALPHA);

    PressKeys({VK_RIGHT});
    PressKeys({VK_SHIFT, VK_DOWN});
    EXPECT_TRUE(PumpUntil([&] {
        return PinRect(form).left == zoomed.left + 1 && PinRect(form).top == zoomed.top + 10;
    }));
    const RECT before = PinRect(form);
    const POINT from = Inside(before, 10, 10), to{from.x + 150, from.y + 70};
    Press(from);
    Pump();
    MouseTo(POINT{from.x + 50, from.y + 20});
    Pump();
    MouseTo(to);
    Release(to);
    EXPECT_TRUE(PumpUntil([&] {
        return PinRect(form).left == before.left + 150 && PinRect(form).top == before.top + 70;
    }));
}

TEST_F(Pins, ZoomedFarBeyondTheScreenItShowsTheRightBlocksAndAsksNoLargerWindow) {
    const POINT at{10, 10};
    ASSERT_TRUE(form.Pins.Pin(PatternPicture(400, 300, &at)));
    ASSERT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form), 100, 400, 300); }));
    const POINT anchor = Inside(PinRect(form), 100, 80);
    Click(anchor);
    Wheel(anchor, 9);  // 800 %: past every edge of the screen
    ASSERT_TRUE(PumpUntil([&] { return Pin().Place().zoom == 800; }));
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(PumpUntil([&] { return ShowsPatternWithin(PinRect(form), screen, 800); }));
    RECT window{};
    GetWindowRect(Pin().hwnd(), &window);
    EXPECT_LE(window.right - window.left, screen.right + 2);
    EXPECT_LE(window.bottom - window.top, screen.bottom + 2);
    // Dragged until the picture's corner shows again.
    const RECT before = PinRect(form);
    const POINT from{300, 200}, to{from.x + 800, from.y + 600};
    Press(from);
    Pump();
    MouseTo(POINT{from.x + 400, from.y + 300});
    Pump();
    MouseTo(to);
    Release(to);
    ASSERT_TRUE(PumpUntil([&] { return PinRect(form).left == before.left + 800; }));
    EXPECT_TRUE(PumpUntil([&] { return ShowsPatternWithin(PinRect(form), screen, 800); }));
}

TEST_F(Pins, EscapeAndDoubleClickClose) {
    PinPattern();
    const HWND first = Pin().hwnd();
    Click(Inside(PinRect(form), 5, 5));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return form.Pins.Count() == 0; }));
    EXPECT_FALSE(IsWindow(first));

    PinPattern();
    const POINT at = Inside(PinRect(form), 5, 5);
    Click(at);
    Click(at);
    EXPECT_TRUE(PumpUntil([&] { return form.Pins.Count() == 0; }));
    EXPECT_TRUE(PumpUntil([&] {
        return !ShowsPattern(RECT{kAt.x, kAt.y, kAt.x + kW, kAt.y + kH}, 100, kW, kH);
    }));
}

TEST_F(Pins, CopyGivesItsPixelsAndToTheViewerMakesItTheUnsavedPicture) {
    PinPattern();
    SetClipboardText(L"before");
    ChooseFromMenu(Inside(PinRect(form), 20, 20), 'C');
    EXPECT_EQ(ClipboardPixels().data, ReadPicture(PatternPicture(kW, kH)).data);

    ASSERT_TRUE(form.PicBmp.GetPicture().Empty());
    ChooseFromMenu(Inside(PinRect(form), 20, 20), 'V');
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_EQ(ReadPicture(form.PicBmp.GetPicture()).data, ReadPicture(PatternPicture(kW, kH)).data);
    EXPECT_EQ(form.Pins.Count(), 1u);  // it stays pinned
}

// Another start of the program: the fixture's window opened before any pin was kept.
class Restarted {
public:
    Restarted() {
        StoreNoGlobalKeys();  // the fixture's window holds them
        EXPECT_TRUE(form.Load());
        form.Show();
        Pump(100);
    }
    app::FrmMain form;
};

TEST_F(Pins, PinsComeBackAfterARestartAtTheirPlaceAndZoomUntilClosed) {
    const POINT second{700, 400};
    RECT kept{};
    {
        Restarted first;
        ASSERT_TRUE(first.form.Pins.Pin(PatternPicture(kW, kH, &kAt)));
        ASSERT_TRUE(first.form.Pins.Pin(PatternPicture(kW, kH, &second)));

        first.form.Pins.At(1).SetZoom(200, second);
        first.form.Pins.At(1).SetOpacity(60);
        kept = PinRect(first.form, 1);
        Pump(300);  // each pin is written once it is up
    }
    EXPECT_TRUE(PumpUntil([&] { return !ShowsPattern(kept, 200, kW, kH); }));
    {
        Restarted next;
        ASSERT_EQ(next.form.Pins.Count(), 2u);
        const RECT back = PinRect(next.form, 1);
        EXPECT_TRUE(EqualRect(&back, &kept));
        EXPECT_EQ(next.form.Pins.At(1).Place().opacity, 60);
        EXPECT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(next.form, 0), 100, kW, kH); }));
        Click(Inside(back, 5, 5));
        PressKeys({VK_ESCAPE});
        ASSERT_TRUE(PumpUntil([&] { return next.form.Pins.Count() == 1; }));
    }
    {
        Restarted closedOneForgotten;
        EXPECT_EQ(closedOneForgotten.form.Pins.Count(), 1u);
    }
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"PinsRestore", L"0");
    {
        Restarted turnedOff;
        EXPECT_EQ(turnedOff.form.Pins.Count(), 0u);
    }
    // Turned off, the pins kept are not thrown away; closed all, they are.
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"PinsRestore", L"1");
    {
        Restarted turnedOn;
        ASSERT_EQ(turnedOn.form.Pins.Count(), 1u);
        ChooseFromMenu(Inside(PinRect(turnedOn.form), 10, 10), 'L');
    }
    {
        Restarted closedAllForgotten;
        EXPECT_EQ(closedAllForgotten.form.Pins.Count(), 0u);
    }
}

TEST_F(Pins, HideAllAndShowAllFromTheCaptureMenu) {
    PinPattern();
    PinPattern(POINT{600, 500});
    form.mnuPinsHide_Click();
    EXPECT_FALSE(IsWindowVisible(Pin(0).hwnd()) || IsWindowVisible(Pin(1).hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return !ShowsPattern(PinRect(form, 1), 100, kW, kH); }));
    form.mnuPinsShow_Click();
    EXPECT_TRUE(PumpUntil([&] {
        return ShowsPattern(PinRect(form, 0), 100, kW, kH) &&
               ShowsPattern(PinRect(form, 1), 100, kW, kH);
    }));
}

TEST_F(Pins, TwentyPinsClosedLeaveNoGdiObjectBehind) {
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 20; ++i) {
        const POINT at{40 + 30 * i, 60 + 20 * i};
        toolkit::Picture picture = PatternPicture(kW, kH, &at);
        bitmaps.push_back(picture.Bitmap());
        ASSERT_TRUE(form.Pins.Pin(std::move(picture)));
    }
    Pump(300);
    std::vector<HWND> windows;
    for (size_t i = 0; i < form.Pins.Count(); ++i) windows.push_back(Pin(i).hwnd());
    ChooseFromMenu(Inside(PinRect(form, 19), 10, 10), 'L');  // close all
    EXPECT_EQ(form.Pins.Count(), 0u);
    for (HBITMAP bitmap : bitmaps) EXPECT_EQ(GetObjectType(bitmap), 0u);
    for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
}

TEST_F(Pins, TheClipboardsPictureFromTheMenuAndFromAnywhere) {
    // A picture another program left on the clipboard.
    {
        toolkit::Picture source = PatternPicture(kW, kH);
        toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
        toolkit::UniqueBitmap copy(CreateCompatibleBitmap(screen.get(), kW, kH));
        toolkit::UniqueDC from(CreateCompatibleDC(screen.get())),
            to(CreateCompatibleDC(screen.get()));
        {
            toolkit::SelectGuard a(from.get(), source.Bitmap()), b(to.get(), copy.get());
            BitBlt(to.get(), 0, 0, kW, kH, from.get(), 0, 0, SRCCOPY);
        }
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_BITMAP, copy.release());
        CloseClipboard();
    }
    const POINT pointer{1800, 1000};
    MouseTo(pointer);
    form.mnuPinClipboard_Click();
    ASSERT_EQ(form.Pins.Count(), 1u);
    // Near the pointer, yet whole inside the work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT placed = PinRect(form);
    EXPECT_TRUE(placed.right <= work.right && placed.bottom <= work.bottom);
    EXPECT_LT(pointer.x - placed.right, 40);
    EXPECT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form), 100, kW, kH); }));

    // The global key too, though the viewer holds a picture of its own.
    form.PicBmp.SetPicture(PatternPicture(kW + 40, kH));
    SetForegroundWindow(form.hwnd());
    PressKeys({VK_CONTROL, VK_SHIFT, 'T'});
    ASSERT_TRUE(PumpUntil([&] { return form.Pins.Count() == 2; }));
    EXPECT_TRUE(PumpUntil([&] { return ShowsPattern(PinRect(form, 1), 100, kW, kH); }));
}

}  // namespace

// A next start finds each pin as it last was, though it was moved or closed
// before its picture was on disk, and nothing half-written beside it.
TEST(PinFiles, AMoveOrACloseBeforeThePictureIsWrittenIsWhatTheNextStartFinds) {
    const std::wstring folder = TempPath(L"fotolark-pin-files");
    const auto clear = [&] {  // how many files went
        int files = 0;
        WIN32_FIND_DATAW found{};
        toolkit::UniqueFind find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
        if (find) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                ++files;
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(find.get(), &found));
        }
        return files;
    };
    CreateDirectoryW(folder.c_str(), nullptr);
    clear();
    const toolkit::Picture large = PatternPicture(3840, 2160);
    pin::Record moved;
    moved.left = 123;
    moved.zoom = 200;
    moved.opacity = 60;
    {
        pin::Store store(folder);
        const std::wstring closed = store.Keep(large, pin::Record{});
        store.Update(store.Keep(large, pin::Record{}), moved);
        store.Forget(closed);
    }  // the end of the program writes what waits
    const auto next = pin::Store(folder).LoadAll();
    ASSERT_EQ(next.size(), 1u);
    const pin::Record& back = next[0].stored.record;
    EXPECT_TRUE(back.left == 123 && back.zoom == 200 && back.opacity == 60);
    const int files = clear();
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(files, 2);  // its picture and its record
}
