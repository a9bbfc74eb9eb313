#include "toolkit/picture.h"

namespace toolkit {

UniqueBitmap NewBitmap32(int32_t width, int32_t height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

Picture Picture::FromBitmap(UniqueBitmap bitmap, UniquePalette palette) {
    if (!bitmap) return Picture();
    auto object = std::make_shared<Object>();
    object->bitmap = std::move(bitmap);
    object->palette = std::move(palette);
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = object->bitmap.get();
    desc.bmp.hpal = object->palette.get();
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, FALSE,
                                        reinterpret_cast<void**>(object->disp.put()))) ||
        !object->disp)
        return Picture();
    Picture picture;
    picture.object_ = std::move(object);
    return picture;
}

ComPtr<IPicture> Picture::AsPicture() const {
    ComPtr<IPicture> picture;
    if (Disp()) Disp()->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.put()));
    return picture;
}

HBITMAP Picture::Bitmap() const {
    OLE_HANDLE handle = 0;
    const auto picture = AsPicture();
    if (!picture || FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

HPALETTE Picture::Palette() const {
    OLE_HANDLE handle = 0;
    const auto picture = AsPicture();
    if (!picture || FAILED(picture->get_hPal(&handle))) return nullptr;
    return reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(handle));
}

SIZE Picture::PixelSize() const {
    BITMAP info{};
    const HBITMAP bitmap = Bitmap();
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace toolkit
