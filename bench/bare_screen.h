// The baseline the screen captures are measured against: one BitBlt of the
// primary screen into a bitmap like the display's, with nothing around it.
#pragma once

#include <windows.h>

#include "toolkit/handles.h"

namespace bench {

inline void BareScreenBitBlt() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    toolkit::WindowDC screen(GetDesktopWindow(), toolkit::WindowDC::Area::Whole);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    toolkit::SelectGuard selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
}

}  // namespace bench
