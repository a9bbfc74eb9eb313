// Turns a rectangle of a window's device context into a picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "capture/region_rect.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace capture {

// Which part of a window a capture reads: its client area, or the whole window, frame included.
using WindowArea = toolkit::WindowDC::Area;

// Copies width x height pixels from (left, top) of the window's area into a new picture. On a
// 256-colour palette display the picture carries a copy of the system palette.
toolkit::Picture GrabWindowArea(HWND hwnd, WindowArea area, int32_t left, int32_t top,
                                int32_t width, int32_t height);

// As GrabWindowArea, but reads only `part` of that width x height (relative
// to left, top); the rest of the picture is black.
toolkit::Picture GrabWindowPart(HWND hwnd, WindowArea area, int32_t left, int32_t top,
                                int32_t width, int32_t height, const Rect32& part);

// The whole primary display.
toolkit::Picture GrabFullScreen();

}  // namespace capture
