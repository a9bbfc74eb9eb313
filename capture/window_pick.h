// Picking a window by pointing: the visible frame of the top-level window
// under the pointer is outlined as the pointer moves; a left click picks it, a
// drag selects a rectangle instead, and Escape or a right click cancels.
//
// Like the free-region selection, low-level hooks take the input before any
// program sees it, so the buttons and Escape reach no other program. The hooks
// only hand the input on; the outline is a window of our own. A watchdog
// cancels the pick when the hooks stop hearing input the system takes. The
// outcome is posted to the armed window as kPickDoneMessage.
#pragma once

#include <windows.h>

#include "capture/region_rect.h"

namespace capture {

constexpr UINT kPickDoneMessage = WM_APP + 0x210;

struct PickOutcome {
    enum class Kind { Window, Area, Cancelled } kind = Kind::Cancelled;
    HWND window = nullptr;  // Window: the one picked
    Rect32 area;            // Area: screen pixels, normalised
    bool hookLost = false;  // Cancelled: the system stopped calling the hooks
};

// Arms the pick for the window (never outlined itself, nor any other window
// of its thread) and outlines the window under the pointer at once. False when
// the hooks could not be installed, or it is armed already.
bool ArmWindowPick(HWND form);
bool WindowPickArmed();

// The window that draws the outline while armed; null otherwise.
HWND WindowPickOutline();

// What Windows does to a hook that kept it waiting too long: removes it
// without a word. Wine never does; tests call this instead.
void DeafenWindowPickHooks();

// The outcome of the pick that posted kPickDoneMessage.
PickOutcome TakePickOutcome();

// The top-level window under the point that is not one of that thread's:
// visible, not minimized, not cloaked, topmost in the Z order. Null for none.
HWND PickableWindowAt(POINT point, DWORD ownThread);

}  // namespace capture
