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

// The window's visible frame (title bar and borders, no invisible border),
// from what the displays show of it: what lies beyond them is black. A 1 x 1
// stand-in for no window.
toolkit::Picture GrabTopLevelWindow(HWND window);

}  // namespace capture
