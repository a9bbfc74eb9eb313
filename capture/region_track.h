// Getting the free-region selection's mouse input from anywhere on the
// screen, and the modal loop that follows the drag.
//
// While a selection is armed, a low-level mouse hook takes every button event
// before any program sees it: the window's capture alone does not bring a
// press made over another program. The next left press reaches the armed
// window as kRegionPressMessage; the moves and buttons of the drag go to
// TrackRegion, and the release ends it.
#pragma once

#include <windows.h>

#include "capture/region_rect.h"

namespace capture {

// Posted to the armed window for the left press that starts the drag;
// lParam holds the press's screen position (GET_X_LPARAM, GET_Y_LPARAM).
constexpr UINT kRegionPressMessage = WM_APP + 0x200;
// Posted to the armed window whenever the hook has events for TrackRegion.
constexpr UINT kRegionInputMessage = WM_APP + 0x201;

// Gives the window the mouse capture and takes the next left press anywhere
// for it. Returns false when the hook could not be installed; the capture
// then brings only what the system routes to the window.
bool ArmRegionSelection(HWND form);

// After the window handled a kRegionPressMessage: when that press started no
// drag, the selection waits for the next press (stillArmed) or stops.
void EndRegionPress(bool stillArmed);

// Follows the drag from Anchor (client pixels of hWnd on entry, screen pixels
// afterwards) until the left button is released, drawing the frame and label
// on the display. Releases the capture, posts WM_LBUTTONUP to hWnd and
// returns the normalised rectangle.
Rect32 TrackRegion(HWND hWnd, POINT& Anchor);

}  // namespace capture
