// The viewer's painting while there are marks: the picture, its marks and
// what is drawn over them, composed off screen for the dirty rectangle only.
#include <windows.h>

#include "app/frm_main.h"
#include "app/markup_view.h"
#include "output/markup_render.h"

namespace app {

namespace mk = output::markup;

namespace {

void Darken(mk::Canvas& canvas, const mk::Box& b) {
    const mk::Box area = mk::Intersect(b, canvas.Area());
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            canvas.At(x, y) = (canvas.At(x, y) >> 1) & 0x7F7F7F;
}

void Frame(mk::Canvas& canvas, const mk::Box& b) {
    RECT r{b.left - canvas.Area().left, b.top - canvas.Area().top, b.right - canvas.Area().left,
           b.bottom - canvas.Area().top};
    DrawFocusRect(canvas.dc(), &r);
}

}  // namespace

void MarkupView::Paint(HDC dc, const RECT& dirty) {
    const mk::Box& crop = Doc().crop;
    const mk::Box area = mk::Intersect(mk::Box{dirty.left + crop.left, dirty.top + crop.top,
                                               dirty.right + crop.left, dirty.bottom + crop.top},
                                       crop);
    FillRect(dc, &dirty, GetSysColorBrush(COLOR_APPWORKSPACE));
    mk::Canvas canvas(dc, area);
    if (!canvas.Ready()) return;
    const toolkit::Picture& picture = form_.PicBmp.GetPicture();
    mk::DrawPicture(canvas, picture);
    mk::DrawMarks(canvas, Doc().marks, picture);
    if (const auto& pending = editor_.Pending()) {
        mk::DrawMark(canvas, *pending, picture);
        if (editor_.Typing()) {
            const mk::Box b = mk::Bounds(*pending);
            const int32_t x =
                pending->points[0].x + (pending->text.empty() ? 0 : pending->textSize.x - 2);
            RECT caret{x - canvas.Area().left, b.top - canvas.Area().top,
                       x + 1 - canvas.Area().left, b.bottom - canvas.Area().top};
            InvertRect(canvas.dc(), &caret);
        }
    }
    GdiFlush();
    if (editor_.Selected() >= 0 && size_t(editor_.Selected()) < Doc().marks.size()) {
        const mk::Box b = mk::Bounds(Doc().marks[editor_.Selected()]);
        Frame(canvas, mk::Box{b.left - 2, b.top - 2, b.right + 2, b.bottom + 2});
    }
    if (const auto& pendingCrop = editor_.PendingCrop(); pendingCrop && !pendingCrop->Empty()) {
        const mk::Box& c = *pendingCrop;
        Darken(canvas, mk::Box{crop.left, crop.top, crop.right, c.top});
        Darken(canvas, mk::Box{crop.left, c.bottom, crop.right, crop.bottom});
        Darken(canvas, mk::Box{crop.left, c.top, c.left, c.bottom});
        Darken(canvas, mk::Box{c.right, c.top, crop.right, c.bottom});
        Frame(canvas, c);
    }
    BitBlt(dc, area.left - crop.left, area.top - crop.top, area.Width(), area.Height(), canvas.dc(),
           0, 0, SRCCOPY);
}

}  // namespace app
