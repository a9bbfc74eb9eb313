// Desktop composition. On Windows 8 and later the compositor draws the screen
// from the windows' own surfaces a frame after they change, so a window just
// hidden may still be on the screen when it is read.
#pragma once

#include <windows.h>

namespace toolkit {

// Returns once the screen shows what the windows did last: after the next
// composition pass, or at once where nothing composes the desktop (Wine, and
// Windows 7 without Aero, draw the screen directly).
void WaitForComposition();

// Whether the compositor fades the window in and out as it is shown and
// hidden; without, a hidden window leaves the screen in one frame.
void SetShowAnimation(HWND hwnd, bool animated);

}  // namespace toolkit
