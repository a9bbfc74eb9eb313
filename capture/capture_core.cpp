#include "capture/capture_core.h"

#include <optional>

#include "capture/palette_rule.h"
#include "capture/screen_grab.h"
#include "toolkit/physical_pixels.h"

namespace capture {

namespace {

struct SystemPalette {
    LOGPALETTE header;
    PALETTEENTRY more[255];  // LOGPALETTE declares the first of the 256 entries
};

bool TakesPalette(HDC dc) {
    static_assert(RC_PALETTE == 0x0100);
    return capture::TakesPalette(GetDeviceCaps(dc, RASTERCAPS), GetDeviceCaps(dc, SIZEPALETTE));
}

toolkit::UniquePalette CopySystemPalette(HDC dc) {
    SystemPalette record{};
    record.header.palVersion = 0x300;
    record.header.palNumEntries = 256;
    GetSystemPaletteEntries(dc, 0, 256, record.header.palPalEntry);
    return toolkit::UniquePalette(CreatePalette(&record.header));
}

// On a true-colour display the pixels go into a bottom-up 32-bit DIB section,
// a BMP file's own row order, so a save can take its bits as they are
// instead of reading them out again. Palette and 16-bit displays, and an
// empty area (the platform's 1 x 1 monochrome bitmap), keep the display's own.
toolkit::UniqueBitmap NewCaptureBitmap(HDC dc, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) < 24)
        return toolkit::UniqueBitmap(CreateCompatibleBitmap(dc, width, height));
    void* bits = nullptr;
    return toolkit::NewBitmap32(width, height, &bits);
}

// Where (left, top) of the window's area lies on the screen.
POINT ScreenPointOf(HWND hwnd, WindowArea area, int32_t left, int32_t top) {
    toolkit::PhysicalPixels physical;
    POINT p{left, top};
    if (!hwnd) return p;
    if (area == WindowArea::Client) {
        ClientToScreen(hwnd, &p);
        return p;
    }
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{r.left + left, r.top + top};
}

}  // namespace

toolkit::Picture GrabWindowPart(HWND hwnd, WindowArea area, int32_t left, int32_t top,
                                int32_t width, int32_t height, const Rect32& part) {
    toolkit::UniqueBitmap bitmap;
    toolkit::UniquePalette palette;
    {
        toolkit::WindowDC source(hwnd, area);
        toolkit::UniqueDC memory(CreateCompatibleDC(source.get()));
        bitmap = NewCaptureBitmap(source.get(), width, height);
        if (!memory || !bitmap) return toolkit::Picture();
        toolkit::SelectGuard selectedBitmap(memory.get(), bitmap.get());
        std::optional<toolkit::PaletteGuard> selectedPalette;
        if (TakesPalette(source.get())) {
            palette = CopySystemPalette(source.get());
            selectedPalette.emplace(memory.get(), palette.get());
            RealizePalette(memory.get());
        }
        const bool whole = part == Rect32{0, 0, width, height};
        if (!whole) PatBlt(memory.get(), 0, 0, width, height, BLACKNESS);
        BitBlt(memory.get(), part.left, part.top, part.right - part.left, part.bottom - part.top,
               source.get(), left + part.left, top + part.top, SRCCOPY);
        // Guards select bitmap and palette out before the memory DC is deleted,
        // then the source DC is released: the order the DCs were taken, reversed.
    }
    toolkit::Picture picture = toolkit::Picture::FromBitmap(std::move(bitmap), std::move(palette));
    picture.SetScreenOrigin(ScreenPointOf(hwnd, area, left, top));
    return picture;
}

toolkit::Picture GrabWindowArea(HWND hwnd, WindowArea area, int32_t left, int32_t top,
                                int32_t width, int32_t height) {
    return GrabWindowPart(hwnd, area, left, top, width, height, Rect32{0, 0, width, height});
}

toolkit::Picture GrabFullScreen() {
    toolkit::PhysicalPixels physical;
    // The primary display from the layout, in its own pixels: the screen
    // size a system-aware program is told is scaled on a display of another DPI.
    const std::vector<Rect32> displays = DisplayRects();
    const Rect32 primary = displays.empty() ? Rect32{} : displays.front();
    return GrabWindowArea(GetDesktopWindow(), WindowArea::Whole, primary.left, primary.top,
                          primary.right - primary.left, primary.bottom - primary.top);
}

}  // namespace capture
