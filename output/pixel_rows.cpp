#include "output/pixel_rows.h"

#include <cstdint>
#include <cstring>

#include "output/markup_render.h"
#include "toolkit/handles.h"

namespace output {

namespace {

const DIBSECTION* Readable(const toolkit::Picture& picture, DIBSECTION& dib) {
    if (GetObjectW(picture.Bitmap(), sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits ||
        dib.dsBmih.biBitCount != 32 || dib.dsBmih.biCompression != BI_RGB)
        return nullptr;
    return &dib;
}

// The section does not say: the system may report a top-down one as
// bottom-up. A pixel that differs from its mirror, read through GDI, settles it.
bool TopDown(HBITMAP bitmap, const DIBSECTION& dib) {
    const int32_t width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    const size_t stride = size_t(dib.dsBm.bmWidthBytes);
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    for (int32_t y = 0; y < height / 2; ++y) {
        const uint8_t *first = bits + stride * y, *last = bits + stride * (height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = first + 4 * x;
            if (std::memcmp(p, last + 4 * x, 3) == 0) continue;
            // A bitmap held in another DC cannot be looked at: the section's word then.
            const bool said = dib.dsBmih.biHeight < 0;
            toolkit::UniqueDC memory(CreateCompatibleDC(nullptr));
            const HGDIOBJ old = memory ? SelectObject(memory.get(), bitmap) : nullptr;
            if (!old) return said;
            const COLORREF seen = GetPixel(memory.get(), x, y);
            SelectObject(memory.get(), old);
            return seen == CLR_INVALID ? said : seen == RGB(p[2], p[1], p[0]);
        }
    }
    return false;  // alike either way
}

}  // namespace

ReadablePixels WithReadablePixels(const toolkit::Picture& picture, bool lookAtRows) {
    DIBSECTION dib{};
    ReadablePixels readable{picture, false};
    if (!Readable(picture, dib)) {
        const SIZE size = picture.PixelSize();
        markup::Document whole;
        whole.crop = markup::Box{0, 0, size.cx, size.cy};
        readable.picture = markup::Flatten(picture, whole);
        if (!Readable(readable.picture, dib)) return readable;
    }
    GdiFlush();  // drawing still queued for the bits lands before another thread reads them
    readable.topDown =
        lookAtRows ? TopDown(readable.picture.Bitmap(), dib) : dib.dsBmih.biHeight < 0;
    return readable;
}

bool ReadRows24(const ReadablePixels& pixels, Rows24& rows) {
    DIBSECTION dib{};
    if (!Readable(pixels.picture, dib)) return false;
    const UINT width = UINT(dib.dsBm.bmWidth), height = UINT(dib.dsBm.bmHeight);
    const size_t from = size_t(dib.dsBm.bmWidthBytes);
    const bool bottomUp = !pixels.topDown;
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    rows.width = width;
    rows.height = height;
    rows.stride = (width * 3 + 3) & ~3u;
    rows.bytes.assign(size_t(rows.stride) * height, 0);
    for (UINT y = 0; y < height; ++y) {
        const uint8_t* in = bits + from * (bottomUp ? height - 1 - y : y);
        BYTE* out = rows.bytes.data() + size_t(rows.stride) * y;
        for (UINT x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return true;
}

}  // namespace output
