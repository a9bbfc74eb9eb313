// Turns a rectangle of a window's device context into a picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace capture {

// Copies width x height pixels from (left, top) of the window's client area
// (client != 0) or whole window, frame included, into a new picture. On a
// 256-colour palette display the picture carries a copy of the system palette.
toolkit::Picture GrabWindowArea(HWND hwnd, int16_t client, int32_t left, int32_t top,
                                int32_t width, int32_t height);

// A picture that owns the bitmap and the palette (which may be null).
toolkit::Picture MakeBitmapPicture(toolkit::UniqueBitmap bitmap, toolkit::UniquePalette palette);

// The whole primary screen.
toolkit::Picture GrabFullScreen();

}  // namespace capture
