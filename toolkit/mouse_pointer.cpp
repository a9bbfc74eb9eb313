#include "toolkit/mouse_pointer.h"

#include <windows.h>

namespace toolkit {

namespace {

MousePointer current = MousePointer::Default;

HCURSOR CursorOf(MousePointer pointer) {
    return LoadCursorW(nullptr, pointer == MousePointer::Crosshair ? IDC_CROSS : IDC_ARROW);
}

}  // namespace

MousePointer ScreenMousePointer() { return current; }

void SetScreenMousePointer(MousePointer pointer) {
    current = pointer;
    // Back to the default shows the arrow until the window under the pointer
    // chooses again on the next move.
    SetCursor(CursorOf(pointer));
}

bool ShowScreenMousePointer() {
    if (current == MousePointer::Default) return false;
    SetCursor(CursorOf(current));
    return true;
}

}  // namespace toolkit
