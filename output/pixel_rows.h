// A picture's pixels read straight from its memory rather than through GDI,
// so that another thread can encode them while the window's thread draws the
// same bitmap.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/picture.h"

namespace output {

struct ReadablePixels {
    toolkit::Picture picture;  // a 32-bit DIB section
    bool topDown = false;      // its rows' order in memory
};
// The picture itself where its pixels can be read so, else such a copy of it;
// on the thread that draws the picture. The rows' order is looked at through
// GDI when asked (the bitmap then must not be selected into a DC), else taken
// as the section reports it.
ReadablePixels WithReadablePixels(const toolkit::Picture& picture, bool lookAtRows);

struct Rows24 {
    std::vector<BYTE> bytes;  // top-down, BGR
    UINT width = 0, height = 0, stride = 0;
};
// The pixels of a picture WithReadablePixels gave; false for any other. Any thread.
bool ReadRows24(const ReadablePixels& pixels, Rows24& rows);

}  // namespace output
