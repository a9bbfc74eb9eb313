// The viewer's painting while there are marks: the picture, its marks and
// what is drawn over them, composed off screen for the dirty rectangle only.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/frm_main.h"
#include "app/markup_view.h"
#include "output/markup_render.h"
#include "output/markup_text.h"
#include "toolkit/handles.h"

namespace app {

namespace mk = output::markup;

namespace {

void Darken(mk::Canvas& canvas, const mk::Box& b) {
    const mk::Box area = mk::Intersect(b, canvas.Area());
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            canvas.At(x, y) = (canvas.At(x, y) >> 1) & 0x7F7F7F;
}

// A dotted frame `width` pixels thick inside the box.
void Frame(mk::Canvas& canvas, const mk::Box& b, int width) {
    RECT r{b.left - canvas.Area().left, b.top - canvas.Area().top, b.right - canvas.Area().left,
           b.bottom - canvas.Area().top};
    for (int i = 0; i < width && r.right - r.left > 2 && r.bottom - r.top > 2; ++i) {
        DrawFocusRect(canvas.dc(), &r);
        InflateRect(&r, -1, -1);
    }
}

}  // namespace

// A region of thin strips (a crop's edges as they move) has a bounding box
// as big as the crop: composing that off screen at every move would lag.
// Each part draws the marks over it again, so a small region is drawn whole.
void MarkupView::PaintUpdate() {
    constexpr size_t kFewParts = 4;
    constexpr LONG kLargeArea = 512 * 512;
    std::vector<RECT> parts;
    toolkit::UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
    if (update && GetUpdateRgn(Viewer(), update.get(), FALSE) == COMPLEXREGION) {
        std::vector<char> data(GetRegionData(update.get(), 0, nullptr));
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        if (data.size() >= sizeof(RGNDATAHEADER) &&
            GetRegionData(update.get(), DWORD(data.size()), header)) {
            const RECT& all = header->rdh.rcBound;
            const LONG area = (all.right - all.left) * (all.bottom - all.top);
            const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
            if (header->rdh.nCount <= kFewParts || (header->rdh.nCount <= 16 && area > kLargeArea))
                parts.assign(rects, rects + header->rdh.nCount);
        }
    }
    toolkit::PaintDC dc(Viewer());
    if (parts.empty()) parts.push_back(dc.area());
    for (RECT part : parts)
        if (IntersectRect(&part, &part, &dc.area())) Paint(dc.get(), part);
}

void MarkupView::Paint(HDC dc, const RECT& dirty) {
    const mk::Box& crop = Doc().crop;
    const mk::Box area = mk::Intersect(mk::Box{dirty.left + crop.left, dirty.top + crop.top,
                                               dirty.right + crop.left, dirty.bottom + crop.top},
                                       crop);
    // The viewer is the crop's size: only a box not yet resized shows more.
    const RECT shown = ClientBox(area);
    if (!EqualRect(&shown, &dirty)) {
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
        FillRect(dc, &dirty, GetSysColorBrush(COLOR_APPWORKSPACE));
        RestoreDC(dc, saved);
    }
    mk::Canvas canvas(dc, area);
    if (!canvas.Ready()) return;
    const toolkit::Picture& picture = form_.PicBmp.GetPicture();
    mk::DrawPicture(canvas, picture);
    mk::DrawMarks(canvas, Doc().marks, picture, editor_.EditedIndex());
    if (const auto& pending = editor_.Pending()) {
        mk::DrawMark(canvas, *pending, picture);
        if (editor_.Typing() && editor_.Caret() != editor_.Anchor()) {
            // The selected characters, line by line, inverted.
            const mk::Point origin = pending->points.front();
            const int32_t height = editor_.measure.lineHeight(*pending);
            const size_t from = std::min(editor_.Caret(), editor_.Anchor()),
                         to = std::max(editor_.Caret(), editor_.Anchor());
            int32_t y = origin.y;
            for (const mk::TextLine& line : mk::LayOut(*pending, editor_.measure)) {
                const size_t a = std::max(from, line.begin), b = std::min(to, line.end);
                if (a < b || (a == b && from <= line.end && to > line.end)) {
                    const int32_t x0 = mk::CaretAt(*pending, editor_.measure, a).x,
                                  x1 = a < b ? mk::CaretAt(*pending, editor_.measure, b).x
                                             : x0 + height / 4;
                    RECT r{origin.x + x0 - area.left, y - area.top, origin.x + x1 - area.left,
                           y + height - area.top};
                    InvertRect(canvas.dc(), &r);
                }
                y += height;
            }
        }
    }
    GdiFlush();
    if (editor_.Selected() >= 0 && size_t(editor_.Selected()) < Doc().marks.size()) {
        const mk::Mark& selected = Doc().marks[editor_.Selected()];
        const mk::Box b = mk::Bounds(selected);
        const int32_t out = 1 + frameWidth_;
        Frame(canvas, mk::Box{b.left - out, b.top - out, b.right + out, b.bottom + out},
              frameWidth_);
        // Handles: white squares with a dark rim, as big as their reach.
        const int32_t r = std::max(2, editor_.HandleReach() - 1);
        for (const mk::HandleSpot& h : mk::HandlesOf(selected)) {
            RECT box{h.at.x - r - area.left, h.at.y - r - area.top, h.at.x + r + 1 - area.left,
                     h.at.y + r + 1 - area.top};
            FillRect(canvas.dc(), &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&box, -1, -1);
            FillRect(canvas.dc(), &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    }
    if (const auto& pendingCrop = editor_.PendingCrop(); pendingCrop && !pendingCrop->Empty()) {
        GdiFlush();
        const mk::Box& c = *pendingCrop;
        Darken(canvas, mk::Box{crop.left, crop.top, crop.right, c.top});
        Darken(canvas, mk::Box{crop.left, c.bottom, crop.right, crop.bottom});
        Darken(canvas, mk::Box{crop.left, c.top, c.left, c.bottom});
        Darken(canvas, mk::Box{c.right, c.top, crop.right, c.bottom});
        Frame(canvas, c, frameWidth_);
    }
    BitBlt(dc, shown.left, shown.top, area.Width(), area.Height(), canvas.dc(), 0, 0, SRCCOPY);
}

}  // namespace app
