#include "capture/capture_core.h"

#include <optional>

#include "capture/palette_rule.h"
#include "toolkit/form.h"
#include "toolkit/units.h"

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

}  // namespace

toolkit::Picture GrabWindowArea(HWND hwnd, WindowArea area, int32_t left, int32_t top,
                                int32_t width, int32_t height) {
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
        BitBlt(memory.get(), 0, 0, width, height, source.get(), left, top, SRCCOPY);
        // Guards select bitmap and palette out before the memory DC is deleted,
        // then the source DC is released: the order the DCs were taken, reversed.
    }
    return toolkit::Picture::FromBitmap(std::move(bitmap), std::move(palette));
}

toolkit::Picture GrabFullScreen() {
    HWND desktop = GetDesktopWindow();
    const auto width = toolkit::ToInt32(toolkit::Screen::Width()).value_or(0) /
                       toolkit::ToInt32(toolkit::Screen::TwipsPerPixelX()).value_or(1);
    const auto height = toolkit::ToInt32(toolkit::Screen::Height()).value_or(0) /
                        toolkit::ToInt32(toolkit::Screen::TwipsPerPixelY()).value_or(1);
    return GrabWindowArea(desktop, WindowArea::Whole, 0, 0, width, height);
}

}  // namespace capture
