// The picture object: an IPictureDisp over one bitmap and, on palette
// displays, one palette. Copies share the object; the last one frees both.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "toolkit/handles.h"

namespace toolkit {

// A 32-bit DIB section, its rows top-down when height is negative; *bits
// receives its pixels. Null when it cannot be made.
UniqueBitmap NewBitmap32(int32_t width, int32_t height, void** bits);

class Picture {
public:
    Picture() = default;

    // A new picture of the bitmap and palette (which may be null), freed with
    // it; freed at once when the picture cannot be made.
    static Picture FromBitmap(UniqueBitmap bitmap, UniquePalette palette);

    bool Empty() const { return Bitmap() == nullptr; }
    HBITMAP Bitmap() const;
    HPALETTE Palette() const;
    // Size in pixels; 0 x 0 when empty.
    SIZE PixelSize() const;
    IPictureDisp* Disp() const { return object_ ? object_->disp.get() : nullptr; }

    // Where a capture's top-left pixel was on the screen, in physical pixels;
    // nothing for a picture that did not come from the screen.
    std::optional<POINT> ScreenOrigin() const { return origin_; }
    void SetScreenOrigin(std::optional<POINT> origin) { origin_ = origin; }

private:
    // The object does not own the handles: not every picture object frees
    // the palette it is given (Wine's does not). They are freed here, after
    // the object (members go in reverse order).
    struct Object {
        UniqueBitmap bitmap;
        UniquePalette palette;
        ComPtr<IPictureDisp> disp;
    };
    ComPtr<IPicture> AsPicture() const;
    std::shared_ptr<const Object> object_;
    std::optional<POINT> origin_;
};

}  // namespace toolkit
