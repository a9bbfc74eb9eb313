#include "capture/screen_grab.h"

#include "capture/capture_core.h"
#include "capture/screen_layout.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"
#include "toolkit/visible_frame.h"

namespace capture {

namespace {

BOOL CALLBACK AddDisplay(HMONITOR monitor, HDC, RECT*, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    auto& rects = *reinterpret_cast<std::vector<Rect32>*>(list);
    const Rect32 r{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                   info.rcMonitor.bottom};
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        rects.insert(rects.begin(), r);
    else
        rects.push_back(r);
    return TRUE;
}

// Neither Windows nor Wine promises what a read of the screen gives where no
// display is: black, as a person expects of the space between displays.
void Blacken(const toolkit::Picture& picture, const Rect32& area) {
    const std::vector<Rect32> gaps = Uncovered(area, DisplayRects());
    if (gaps.empty() || !picture.Bitmap()) return;
    toolkit::UniqueDC memory(CreateCompatibleDC(nullptr));
    if (!memory) return;
    toolkit::SelectGuard selected(memory.get(), picture.Bitmap());
    for (const Rect32& g : gaps)
        PatBlt(memory.get(), g.left - area.left, g.top - area.top, g.right - g.left,
               g.bottom - g.top, BLACKNESS);
}

}  // namespace

std::vector<Rect32> DisplayRects() {
    toolkit::PhysicalPixels physical;
    std::vector<Rect32> rects;
    EnumDisplayMonitors(nullptr, nullptr, &AddDisplay, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

Rect32 VirtualScreen() {
    toolkit::PhysicalPixels physical;
    const int32_t left = GetSystemMetrics(SM_XVIRTUALSCREEN),
                  top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Rect32{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                  top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

toolkit::Picture GrabScreenArea(const Rect32& area) {
    toolkit::PhysicalPixels physical;
    // Only what lies on the virtual screen is read: a read that reaches past
    // it may fail whole, and a window hanging over the edge came out black.
    const Rect32 shown = Intersect(area, VirtualScreen());
    const Rect32 part = IsEmpty(shown) ? Rect32{}
                                       : Rect32{shown.left - area.left, shown.top - area.top,
                                                shown.right - area.left, shown.bottom - area.top};
    // The screen's DC (the client area of no window) has the virtual screen's
    // coordinates, negative ones included.
    toolkit::Picture picture = GrabWindowPart(nullptr, WindowArea::Client, area.left, area.top,
                                              area.right - area.left, area.bottom - area.top, part);
    Blacken(picture, area);
    return picture;
}

toolkit::Picture GrabAllMonitors() { return GrabScreenArea(VirtualScreen()); }

toolkit::Picture GrabMonitorAt(POINT point) {
    toolkit::PhysicalPixels physical;
    const std::vector<Rect32> displays = DisplayRects();
    const auto at = DisplayAt(displays, Point32{point.x, point.y});
    return GrabScreenArea(at ? displays[*at] : VirtualScreen());
}

toolkit::Picture GrabPointerMonitor() {
    toolkit::PhysicalPixels physical;
    POINT at{};
    GetCursorPos(&at);
    return GrabMonitorAt(at);
}

toolkit::Picture GrabTopLevelWindow(HWND window) {
    return GrabScreenArea(toolkit::VisibleFrame(window));
}

}  // namespace capture
