// The picture object: an IPictureDisp that owns one bitmap and, on palette
// displays, one palette. Copies share the object; the last one frees both.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "app/toolkit/unique.h"

namespace toolkit {

class Picture {
public:
    Picture() = default;

    // Wraps the handles in a new picture that owns them; the handles are
    // freed here when the picture cannot be made.
    static Picture FromBitmap(HBITMAP bitmap, HPALETTE palette);

    bool Empty() const { return Bitmap() == nullptr; }
    HBITMAP Bitmap() const;
    HPALETTE Palette() const;
    // Size in pixels; 0 x 0 when empty.
    SIZE PixelSize() const;
    IPictureDisp* Disp() const { return object_ ? object_->disp.get() : nullptr; }

private:
    // Not every picture object frees the palette it was given (Wine's does
    // not), so the last copy frees whatever the object left behind.
    struct Object {
        ComPtr<IPictureDisp> disp;
        HPALETTE palette = nullptr;
        ~Object();
    };
    ComPtr<IPicture> AsPicture() const;
    std::shared_ptr<const Object> object_;
};

}  // namespace toolkit
