// The capture core on real windows and real displays: sizes, pixels, palettes
// and the ownership of what a capture creates.
#include <windows.h>

#include <gtest/gtest.h>

#include "capture/capture_core.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

bool PaletteDisplay() {
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    return (GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

TEST(GrabFullScreen, HasExactlyTheScreensPixelSize) {
    const auto picture = capture::GrabFullScreen();
    const SIZE size = picture.PixelSize();
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSCREEN));
    if (ExpectedScreenWidth()) {
        EXPECT_EQ(size.cx, ExpectedScreenWidth());
        EXPECT_EQ(size.cy, ExpectedScreenHeight());
    }
}

TEST(GrabFullScreen, StartsAtTheScreensTopLeftCorner) {
    PatternWindow window(0, 0, 160, 120);
    RECT client;
    GetClientRect(window.hwnd(), &client);
    MapWindowPoints(window.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const Pixels shot = ReadPicture(capture::GrabFullScreen());
    for (int y = 0; y < 120; y += 3)
        for (int x = 0; x < 160; x += 3)
            ASSERT_EQ(shot.at(client.left + x, client.top + y), Rgb(PatternAt(x, y)))
                << x << "," << y;
}

TEST(GrabWindowArea, ClientAndWholeWindowDifferByTheFrame) {
    PatternWindow window(120, 90, 200, 136);
    const Pixels client = ReadPicture(
        capture::GrabWindowArea(window.hwnd(), capture::WindowArea::Client, 0, 0, 200, 136));
    ASSERT_EQ(client.width, 200);
    ASSERT_EQ(client.height, 136);
    for (int y = 0; y < 136; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(client.at(x, y), Rgb(PatternAt(x, y))) << x << "," << y;

    RECT outer, inner;
    GetWindowRect(window.hwnd(), &outer);
    GetClientRect(window.hwnd(), &inner);
    MapWindowPoints(window.hwnd(), nullptr, reinterpret_cast<POINT*>(&inner), 2);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const Pixels whole =
        ReadPicture(capture::GrabWindowArea(window.hwnd(), capture::WindowArea::Whole, 0, 0, w, h));
    ASSERT_EQ(whole.width, w);
    ASSERT_EQ(whole.height, h);
    const int dx = inner.left - outer.left, dy = inner.top - outer.top;
    ASSERT_GT(dy, 0);  // a title bar above the client area
    for (int y = 0; y < 136; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(whole.at(dx + x, dy + y), Rgb(PatternAt(x, y))) << x << "," << y;
    // The frame itself is what the screen shows there.
    const Pixels screen = ReadScreen(outer);
    for (int x = 0; x < w; ++x) ASSERT_EQ(whole.at(x, 1), screen.at(x, 1)) << x;

    // A source offset moves the origin inside the context.
    const Pixels offset = ReadPicture(
        capture::GrabWindowArea(window.hwnd(), capture::WindowArea::Client, 13, 5, 40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(offset.at(x, y), Rgb(PatternAt(13 + x, 5 + y)));
}

TEST(GrabWindowArea, PaletteOnlyOnA256ColourPaletteDisplay) {
    const auto picture = capture::GrabFullScreen();
    const HPALETTE palette = picture.Palette();
    if (!PaletteDisplay()) {
        EXPECT_EQ(palette, nullptr);
        EXPECT_NE(ExpectedDepth(), 8);
        return;
    }
    ASSERT_NE(palette, nullptr);
    WORD entries = 0;
    ASSERT_EQ(GetObjectW(palette, sizeof entries, &entries), int(sizeof entries));
    EXPECT_EQ(entries, 256);
    // A copy of the system palette as it was.
    PALETTEENTRY copied[256], system[256];
    GetPaletteEntries(palette, 0, 256, copied);
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    GetSystemPaletteEntries(screen.get(), 0, 256, system);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(copied[i].peRed, system[i].peRed) << i;
        EXPECT_EQ(copied[i].peGreen, system[i].peGreen) << i;
        EXPECT_EQ(copied[i].peBlue, system[i].peBlue) << i;
    }
}

TEST(Picture, ReleasingTheLastReferenceFreesBitmapAndPalette) {
    HBITMAP bitmap;
    HPALETTE palette;
    {
        const auto picture = capture::GrabFullScreen();
        bitmap = picture.Bitmap();
        palette = picture.Palette();
        ASSERT_EQ(GetObjectType(bitmap), DWORD(OBJ_BITMAP));
        if (palette) ASSERT_EQ(GetObjectType(palette), DWORD(OBJ_PAL));
        const auto copy = picture;  // a second reference keeps both alive
    }
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    if (palette) EXPECT_EQ(GetObjectType(palette), 0u);
}

TEST(Picture, FiveHundredCapturesLeaveNothingBehind) {
    PatternWindow window(40, 40, 64, 48);
    for (int i = 0; i < 500; ++i) {
        HBITMAP bitmap;
        HPALETTE palette;
        {
            const auto picture = capture::GrabWindowArea(
                window.hwnd(), i % 2 ? capture::WindowArea::Client : capture::WindowArea::Whole, 0,
                0, 64, 48);
            bitmap = picture.Bitmap();
            palette = picture.Palette();
            ASSERT_NE(bitmap, nullptr) << i;
        }
        ASSERT_EQ(GetObjectType(bitmap), 0u) << i;
        if (palette) ASSERT_EQ(GetObjectType(palette), 0u) << i;
    }
    // The window's DC is still usable: every borrowed DC went back.
    const Pixels client = ReadPicture(
        capture::GrabWindowArea(window.hwnd(), capture::WindowArea::Client, 0, 0, 64, 48));
    EXPECT_EQ(client.at(9, 9), Rgb(PatternAt(9, 9)));
}

}  // namespace
