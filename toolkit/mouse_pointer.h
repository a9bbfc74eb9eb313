// Screen.MousePointer: one pointer shape for every window of the program,
// overriding what each window would choose while it is not the default.
#pragma once

#include <cstdint>

namespace toolkit {

enum class MousePointer : int16_t { Default = 0, Crosshair = 2 };

MousePointer ScreenMousePointer();
// Takes effect at once, not only at the pointer's next move.
void SetScreenMousePointer(MousePointer pointer);

// For WM_SETCURSOR: shows the program-wide pointer and returns true, or
// returns false when it is the default and the window chooses its own.
bool ShowScreenMousePointer();

}  // namespace toolkit
