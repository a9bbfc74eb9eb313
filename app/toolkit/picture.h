// The picture object: an IPictureDisp that owns one bitmap and, on palette
// displays, one palette. Copies share the object; the last one frees both.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "app/toolkit/unique.h"

namespace toolkit {

class Picture {
public:
    Picture() = default;
    explicit Picture(ComPtr<IPictureDisp> disp) : disp_(std::move(disp)) {}

    // Wraps the handles in a new picture that owns them; the handles are
    // freed here when the picture cannot be made.
    static Picture FromBitmap(HBITMAP bitmap, HPALETTE palette);

    bool Empty() const { return Bitmap() == nullptr; }
    HBITMAP Bitmap() const;
    HPALETTE Palette() const;
    // Size in pixels; 0 x 0 when empty.
    SIZE PixelSize() const;
    IPictureDisp* Disp() const { return disp_.get(); }

private:
    ComPtr<IPicture> AsPicture() const;
    ComPtr<IPictureDisp> disp_;
};

}  // namespace toolkit
