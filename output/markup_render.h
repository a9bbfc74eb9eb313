// Drawing marks into a 32-bit DIB section, for the viewer and for the picture
// that leaves the program with its marks merged into its pixels: strokes and
// shapes anti-aliased by our own rasteriser, text by GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "output/coverage_raster.h"
#include "output/markup_history.h"
#include "output/markup_text.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace output::markup {

// A bottom-up 32-bit DIB section selected into a memory DC; the picture's
// pixel `origin` lands on its top-left pixel.
class Canvas {
public:
    Canvas(HDC compatible, Box area);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    bool Ready() const { return bits_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    const Box& Area() const { return area_; }
    // The pixel at picture coordinates (x, y), 0x00RRGGBB; in the canvas's area.
    uint32_t& At(int32_t x, int32_t y) {
        return bits_[size_t(area_.bottom - 1 - y) * area_.Width() + (x - area_.left)];
    }
    // The pixels as rows, for writing straight into them (after a GdiFlush).
    raster::Rows Pixels() const;
    // Hands the bitmap over, deselected; the canvas is then done.
    toolkit::UniqueBitmap Release();

private:
    Box area_;
    toolkit::UniqueDC dc_;
    toolkit::UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Copies the picture's pixels under the canvas's area.
void DrawPicture(Canvas& canvas, const toolkit::Picture& picture);
// Draws the marks that touch the canvas's area, in render order. Pixelate
// reads the picture beneath, not the marks below it.
// `hidden` is a mark left out (one being edited), -1 for none.
void DrawMarks(Canvas& canvas, const std::vector<Mark>& marks, const toolkit::Picture& picture,
               int hidden = -1);
void DrawMark(Canvas& canvas, const Mark& mark, const toolkit::Picture& picture);

// How text marks measure in the font they are drawn with.
TextMeasure FontMeasure();

// The picture as it leaves: the cropped part with every mark in its pixels,
// as a new 32-bit picture that shares nothing with the original.
toolkit::Picture Flatten(const toolkit::Picture& picture, const Document& doc);

}  // namespace output::markup
