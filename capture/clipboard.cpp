#include "capture/clipboard.h"

#include "toolkit/physical_pixels.h"

namespace capture {

namespace {

class ClipboardGuard {
public:
    explicit ClipboardGuard(HWND owner) {
        // Clipboard viewers open it for a moment after every change.
        for (int attempt = 0; attempt < 4 && !open_; ++attempt) {
            if (attempt) Sleep(25);
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    ~ClipboardGuard() {
        if (open_) CloseClipboard();
    }
    bool open() const { return open_; }

private:
    bool open_ = false;
};

// The platform's bitmap for an empty area is 1 x 1 and monochrome.
toolkit::UniqueBitmap NewBitmap(HDC display, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return toolkit::UniqueBitmap(CreateBitmap(1, 1, 1, 1, nullptr));
    return toolkit::UniqueBitmap(CreateCompatibleBitmap(display, int(width), int(height)));
}

toolkit::UniqueBitmap CopyArea(HDC display, HDC source, int32_t x, int32_t y, int64_t width,
                               int64_t height) {
    toolkit::UniqueBitmap bitmap = NewBitmap(display, width, height);
    toolkit::UniqueDC memory(CreateCompatibleDC(display));
    if (!bitmap || !memory) return toolkit::UniqueBitmap();
    toolkit::SelectGuard selected(memory.get(), bitmap.get());
    if (width > 0 && height > 0)
        BitBlt(memory.get(), 0, 0, int(width), int(height), source, x, y, SRCCOPY);
    return bitmap;
}

toolkit::UniqueBitmap Duplicate(HDC display, HBITMAP original, int64_t width, int64_t height) {
    toolkit::UniqueDC memory(CreateCompatibleDC(display));
    if (!memory) return toolkit::UniqueBitmap();
    toolkit::SelectGuard selected(memory.get(), original);
    return CopyArea(display, memory.get(), 0, 0, width, height);
}

// A 32-bit bitmap as a 24-bit DIB section: programs that read the fourth
// byte as alpha would paste a screen's leftovers in it as see-through.
toolkit::UniqueBitmap Opaque(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmBitsPixel * info.bmPlanes != 32)
        return toolkit::UniqueBitmap();
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    toolkit::UniqueBitmap opaque(
        CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    toolkit::UniqueDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!opaque || !from || !to) return toolkit::UniqueBitmap();
    toolkit::SelectGuard source(from.get(), bitmap);
    toolkit::SelectGuard target(to.get(), opaque.get());
    if (!BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY))
        return toolkit::UniqueBitmap();
    return opaque;
}

}  // namespace

bool SetClipboardBitmap(HWND owner, toolkit::UniqueBitmap& bitmap) {
    toolkit::UniqueBitmap opaque = Opaque(bitmap.get());
    toolkit::UniqueBitmap& handed = opaque ? opaque : bitmap;
    ClipboardGuard clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard() || !SetClipboardData(CF_BITMAP, handed.get()))
        return false;
    handed.release();  // the clipboard's now
    return true;
}

ScreenCopy CopyScreenToClipboard(HWND owner, int32_t Left, int32_t Top, int32_t Right,
                                 int32_t Bottom) {
    const int64_t width = int64_t(Right) - Left, height = int64_t(Bottom) - Top;
    toolkit::PhysicalPixels physical;
    ScreenCopy result;
    toolkit::UniqueBitmap shot, forViewer;
    {
        // The screen's DC has every display at its own place; under Wine a DC
        // of the "DISPLAY" device shows nothing left of or above the primary one.
        toolkit::WindowDC display(nullptr, toolkit::WindowDC::Area::Client);
        if (!display.get()) return result;
        shot = CopyArea(display.get(), display.get(), Left, Top, width, height);
        if (!shot) return result;
        // The viewer gets its own copy of the pixels, not what the clipboard
        // happens to hold afterwards.
        forViewer = Duplicate(display.get(), shot.get(), width, height);
    }
    result.onClipboard = SetClipboardBitmap(owner, shot);
    result.picture = toolkit::Picture::FromBitmap(std::move(forViewer), {});
    return result;
}

}  // namespace capture
