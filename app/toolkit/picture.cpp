#include "app/toolkit/picture.h"

#include "app/toolkit/handles.h"

namespace toolkit {

Picture Picture::FromBitmap(HBITMAP bitmap, HPALETTE palette) {
    UniqueBitmap ownedBitmap(bitmap);
    UniquePalette ownedPalette(palette);
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    desc.bmp.hpal = palette;
    ComPtr<IDispatch> dispatch;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IDispatch, TRUE,
                                        reinterpret_cast<void**>(dispatch.put()))) ||
        !dispatch)
        return Picture();
    // From here the picture object owns both handles.
    ownedBitmap.release();
    ownedPalette.release();
    auto object = std::make_shared<Object>();
    object->palette = palette;
    dispatch->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(object->disp.put()));
    Picture picture;
    picture.object_ = std::move(object);
    return picture;
}

Picture::Object::~Object() {
    disp.reset();
    if (palette && GetObjectType(palette) == OBJ_PAL) DeleteObject(palette);
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
