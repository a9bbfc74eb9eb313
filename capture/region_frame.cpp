#include "capture/region_frame.h"

#include <string>

#include "toolkit/handles.h"

namespace capture {

namespace {

// The label's glyphs as 1 bits on 0, inverted onto the display: a monochrome
// source takes the display DC's colours, background (white) for 1 and text
// (black) for 0, so XOR changes the glyph pixels only.
void InvertLabel(HDC hDC, const Rect32& rect) {
    const std::wstring text = RegionLabel(rect);
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    if (!GetTextExtentPoint32W(hDC, text.c_str(), length, &extent)) return;
    const Point32 at = LabelOrigin(rect, extent.cx, extent.cy);
    toolkit::UniqueDC memory(CreateCompatibleDC(hDC));
    if (!memory) return;
    SetTextColor(memory.get(), RGB(255, 255, 255));
    SetBkColor(memory.get(), RGB(0, 0, 0));
    toolkit::UniqueBitmap glyphs(CreateBitmap(extent.cx, extent.cy, 1, 1, nullptr));
    if (!glyphs) return;
    toolkit::SelectGuard selected(memory.get(), glyphs.get());
    TextOutW(memory.get(), 0, 0, text.c_str(), length);
    BitBlt(hDC, at.x, at.y, extent.cx, extent.cy, memory.get(), 0, 0, SRCINVERT);
}

}  // namespace

void DrawRegionFrame(HDC hDC, const Rect32& Rect) {
    if (!hDC || IsEmpty(Rect)) return;
    for (const Stroke& s : FrameStrokes(Rect)) PatBlt(hDC, s.x, s.y, s.width, s.height, DSTINVERT);
    InvertLabel(hDC, Rect);
}

}  // namespace capture
