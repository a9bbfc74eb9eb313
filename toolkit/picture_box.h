// A picture box: a child window that paints its picture at full size from
// its top-left corner and clips its own children. With auto-size on, it takes
// the size of each picture assigned to it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/form.h"
#include "toolkit/picture.h"

namespace toolkit {

class PictureBox : public Container {
public:
    PictureBox() = default;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Creates the window; the background is a system colour index (COLOR_*).
    bool Create(HWND parent, const Container* parentScale, int id, RECT pixels, int sysColor,
                bool autoSize);

    HWND hwnd() const override { return control_.hwnd(); }
    Scale UnitsPerPixel() const override { return Scale::Of(ScaleMode::Twips); }
    Control& AsControl() { return control_; }
    const Control& AsControl() const { return control_; }

    const Picture& GetPicture() const { return picture_; }
    void SetPicture(Picture picture);
    // Counts the pictures assigned: a bitmap handle can be reused by the next.
    uint64_t Generation() const { return generation_; }

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HDC dc, const RECT& dirty);

    Control control_;
    Picture picture_;
    int sysColor_ = COLOR_APPWORKSPACE;
    bool autoSize_ = false;
    uint64_t generation_ = 0;
};

}  // namespace toolkit
