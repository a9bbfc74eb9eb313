#include "capture/clipboard.h"

#include <cstring>

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

// Windows' clipboard history and cloud clipboard skip what carries these; other
// systems just hold a few bytes more.
bool AddPrivacyFormats() {
    for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing",
                                L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
        const UINT format = RegisterClipboardFormatW(name);
        toolkit::UniqueGlobal zero(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD)));
        if (!format || !zero || !SetClipboardData(format, zero.get())) return false;
        zero.release();  // the clipboard's now
    }
    return true;
}

// The picture as a packed 24-bit DIB: readers that take the fourth byte of
// a 32-bit one as alpha would paste a screen's leftovers as see-through.
toolkit::UniqueGlobal OpaqueDib(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return toolkit::UniqueGlobal();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t stride = (size_t(info.bmWidth) * 3 + 3) / 4 * 4;
    header.biSizeImage = DWORD(stride * size_t(info.bmHeight));
    toolkit::UniqueGlobal packed(
        GlobalAlloc(GMEM_MOVEABLE, sizeof header + size_t(header.biSizeImage)));
    if (!packed) return packed;
    auto* bytes = static_cast<uint8_t*>(GlobalLock(packed.get()));
    if (!bytes) return toolkit::UniqueGlobal();
    std::memcpy(bytes, &header, sizeof header);
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    const int rows = GetDIBits(screen.get(), bitmap, 0, UINT(info.bmHeight), bytes + sizeof header,
                               reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    GlobalUnlock(packed.get());
    if (rows != info.bmHeight) return toolkit::UniqueGlobal();
    return packed;
}

// A bitmap of the display's own format: a DIB section's bits live in this
// process, where other programs reading the clipboard cannot reach them.
toolkit::UniqueBitmap DisplayCopy(HBITMAP bitmap) {
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section) return {};
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    return Duplicate(screen.get(), bitmap, section.dsBm.bmWidth, section.dsBm.bmHeight);
}

}  // namespace

bool SetClipboardBitmap(HWND owner, toolkit::UniqueBitmap& bitmap, bool keepPrivate) {
    toolkit::UniqueGlobal opaque = OpaqueDib(bitmap.get());
    toolkit::UniqueBitmap copy = DisplayCopy(bitmap.get());
    toolkit::UniqueBitmap& handed = copy ? copy : bitmap;
    ClipboardGuard clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    // A private picture goes only with its formats: never a secret without them.
    if (keepPrivate && !AddPrivacyFormats()) {
        EmptyClipboard();
        return false;
    }
    if (!SetClipboardData(CF_BITMAP, handed.get())) {
        EmptyClipboard();
        return false;
    }
    handed.release();  // the clipboard's now
    // Where the system would make one from the bitmap, the opaque one is read instead.
    if (opaque && SetClipboardData(CF_DIB, opaque.get())) opaque.release();
    return true;
}

ClipboardCopy CopyPictureToClipboard(HWND owner, const toolkit::Picture& picture,
                                     bool keepPrivate) {
    const SIZE size = picture.PixelSize();
    toolkit::UniqueBitmap copy;
    {
        toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
        if (!screen.get()) return ClipboardCopy::NoMemory;
        copy = Duplicate(screen.get(), picture.Bitmap(), size.cx, size.cy);
    }
    if (!copy) return ClipboardCopy::NoMemory;
    return SetClipboardBitmap(owner, copy, keepPrivate) ? ClipboardCopy::Done
                                                        : ClipboardCopy::Refused;
}

toolkit::Picture ClipboardPicture(HWND owner) {
    ClipboardGuard clipboard(owner);
    // The system makes a bitmap of a DIB put there by another program.
    const HBITMAP held =
        clipboard.open() ? static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)) : nullptr;
    BITMAP info{};
    if (!held || !GetObjectW(held, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return toolkit::Picture();
    void* bits = nullptr;
    toolkit::UniqueBitmap copy = toolkit::NewBitmap32(info.bmWidth, info.bmHeight, &bits);
    toolkit::UniqueDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!copy || !from || !to) return toolkit::Picture();
    {
        toolkit::SelectGuard source(from.get(), held);
        toolkit::SelectGuard target(to.get(), copy.get());
        BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY);
    }
    return toolkit::Picture::FromBitmap(std::move(copy), {});
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
    result.picture.SetScreenOrigin(POINT{Left, Top});
    return result;
}

}  // namespace capture
