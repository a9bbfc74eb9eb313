// The selection's rubber band: a one-pixel frame and a "WxH" label drawn by
// inversion, so that drawing the same rectangle again erases them.
#pragma once

#include <windows.h>

#include "capture/region_rect.h"

namespace capture {

// hDC covers the whole display; an empty rectangle draws nothing.
void DrawRegionFrame(HDC hDC, const Rect32& Rect);

}  // namespace capture
