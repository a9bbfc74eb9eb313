// Captures of the whole desktop, of one display and of any rectangle of the
// virtual screen, in the displays' own pixels.
#pragma once

#include <windows.h>

#include <vector>

#include "capture/region_rect.h"
#include "toolkit/picture.h"

namespace capture {

// Every display's rectangle on the virtual screen, the primary one first.
std::vector<Rect32> DisplayRects();

// The box around every display (SM_XVIRTUALSCREEN ... SM_CYVIRTUALSCREEN).
Rect32 VirtualScreen();

// The pixels of that rectangle of the virtual screen, at its exact size; what
// no display shows is black.
toolkit::Picture GrabScreenArea(const Rect32& area);

// The whole virtual screen.
toolkit::Picture GrabAllMonitors();

// The display under the point, or the nearest one.
toolkit::Picture GrabMonitorAt(POINT point);
// The display under the mouse pointer.
toolkit::Picture GrabPointerMonitor();

// The window, frame included, from what the screen shows of it.
toolkit::Picture GrabTopLevelWindow(HWND window);

}  // namespace capture
