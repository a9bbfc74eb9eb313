// The frame of a top-level window as the user sees it, in the displays' own
// pixels: what every capture of a window takes and the pick outlines.
#pragma once

#include <windows.h>

#include "toolkit/pixel_rect.h"

namespace toolkit {

// With composition on (always from Windows 8), the compositor's extended
// frame bounds: Windows 10 and 11 count an invisible resize border of about
// 7 px a side in the window rectangle. Otherwise, or where the compositor does
// not answer (Wine), the window rectangle. Empty for no window.
PhysicalRect VisibleFrame(HWND window);

// Wine draws no invisible border: a test supplies the bounds the compositor
// would report (false: it reports nothing for that window). Null restores
// the compositor.
using FrameBoundsSource = bool (*)(HWND window, RECT* bounds);
void SetFrameBoundsSource(FrameBoundsSource source);

}  // namespace toolkit
