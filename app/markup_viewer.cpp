// Marks on the viewer: the picture box draws the picture with its marks,
// and the pointer on it draws, selects and moves them.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "app/frm_main.h"
#include "app/markup_strings.h"
#include "output/markup_render.h"

namespace app {

namespace mk = output::markup;

namespace {

// Commands of the right-click menu, after the window's own.
enum : UINT {
    kToolItem = 0x7000,
    kColorItem = 0x7100,
    kWidthItem = 0x7200,
    kUndoItem = 0x7300,
    kRedoItem,
    kDeleteItem,
    kCopyItem,
};

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

void FrmMain::HookViewer() {
    SetWindowSubclass(PicBmp.hwnd(), &FrmMain::ViewerProc, 1, DWORD_PTR(this));
}

LRESULT CALLBACK FrmMain::ViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FrmMain::ViewerProc, 1);
    LRESULT result = 0;
    try {
        if (reinterpret_cast<FrmMain*>(data)->OnViewerMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        return 0;  // nothing unwinds through the system's window code
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

mk::Point FrmMain::PicturePoint(LPARAM clientPoint) const {
    const mk::Box& crop = Markup.Doc().crop;
    return mk::Point{GET_X_LPARAM(clientPoint) + crop.left, GET_Y_LPARAM(clientPoint) + crop.top};
}

bool FrmMain::OnViewerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (PicBmp.GetPicture().Empty()) return false;
    if (message != WM_PAINT) MarkupFollowPicture();
    const bool shift = (wParam & MK_SHIFT) != 0;
    switch (message) {
        case WM_PAINT: {
            const bool plain = !Markup.Marked() && !Markup.Pending() && !Markup.PendingCrop() &&
                               Markup.Selected() < 0;
            if (plain) return false;  // the picture box's own painting, palette and all
            toolkit::PaintDC dc(PicBmp.hwnd());
            PaintViewer(dc.get(), dc.area());
            return true;
        }
        case WM_LBUTTONDOWN:
            SetFocus(hwnd());  // the keys of the tools go to the main window
            SetCapture(PicBmp.hwnd());
            MarkupChanged(Markup.Press(PicturePoint(lParam), shift));
            return true;
        case WM_MOUSEMOVE:
            if (Markup.Dragging()) MarkupChanged(Markup.Drag(PicturePoint(lParam), shift));
            return true;
        case WM_LBUTTONUP:
            // Ended before the capture goes, which would end it where the pointer is.
            MarkupChanged(Markup.Release(PicturePoint(lParam), shift));
            if (GetCapture() == PicBmp.hwnd()) ReleaseCapture();
            return true;
        case WM_CAPTURECHANGED:
            // Another window took the pointer mid-drag: the drag ends where it was.
            if (Markup.Dragging()) {
                POINT at;
                GetCursorPos(&at);
                ScreenToClient(PicBmp.hwnd(), &at);
                MarkupChanged(Markup.Release(PicturePoint(MAKELPARAM(at.x, at.y)), false));
            }
            return true;
        case WM_RBUTTONUP: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(PicBmp.hwnd(), &at);
            ShowMarkupMenu(at);
            return true;
        }
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) return false;
            const LPCWSTR shape = Markup.CurrentTool() == mk::Tool::Select ? IDC_ARROW
                                  : Markup.CurrentTool() == mk::Tool::Text ? IDC_IBEAM
                                                                           : IDC_CROSS;
            SetCursor(LoadCursorW(nullptr, shape));
            result = TRUE;
            return true;
        }
    }
    return false;
}

// Composed off screen for the dirty rectangle only, then copied in one go.
void FrmMain::PaintViewer(HDC dc, const RECT& dirty) {
    const mk::Box& crop = Markup.Doc().crop;
    const mk::Box area = mk::Intersect(mk::Box{dirty.left + crop.left, dirty.top + crop.top,
                                               dirty.right + crop.left, dirty.bottom + crop.top},
                                       crop);
    FillRect(dc, &dirty, GetSysColorBrush(COLOR_APPWORKSPACE));
    mk::Canvas canvas(dc, area);
    if (!canvas.Ready()) return;
    const toolkit::Picture& picture = PicBmp.GetPicture();
    mk::DrawPicture(canvas, picture);
    mk::DrawMarks(canvas, Markup.Doc().marks, picture);
    if (const auto& pending = Markup.Pending()) {
        mk::DrawMark(canvas, *pending, picture);
        if (Markup.Typing()) {
            const mk::Box b = mk::Bounds(*pending);
            const int32_t x =
                pending->points[0].x + (pending->text.empty() ? 0 : pending->textSize.x - 2);
            RECT caret{x - canvas.Area().left, b.top - canvas.Area().top,
                       x + 1 - canvas.Area().left, b.bottom - canvas.Area().top};
            InvertRect(canvas.dc(), &caret);
        }
    }
    GdiFlush();
    if (Markup.Selected() >= 0 && size_t(Markup.Selected()) < Markup.Doc().marks.size()) {
        const mk::Box b = mk::Bounds(Markup.Doc().marks[Markup.Selected()]);
        Frame(canvas, mk::Box{b.left - 2, b.top - 2, b.right + 2, b.bottom + 2});
    }
    if (const auto& pendingCrop = Markup.PendingCrop(); pendingCrop && !pendingCrop->Empty()) {
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

void FrmMain::ShowMarkupMenu(POINT screen) {
    toolkit::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (int i = 0; i < kMarkupToolCount; ++i) {
        const MarkupToolText& t = kMarkupTools[i];
        AppendMenuW(menu.get(), MF_STRING | (t.tool == Markup.CurrentTool() ? MF_CHECKED : 0),
                    kToolItem + i, UiTexts[t.name].c_str());
    }
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    toolkit::UniqueMenu colors(CreatePopupMenu()), widths(CreatePopupMenu());
    const mk::Rgb color = Markup.ColorOf(Markup.CurrentTool());
    for (int i = 0; i < 8; ++i)
        AppendMenuW(colors.get(), MF_STRING | (mk::kPalette[i] == color ? MF_CHECKED : 0),
                    kColorItem + i, UiTexts[kMarkupColorNames[i]].c_str());
    for (int i = 0; i < kMarkupWidthCount; ++i) {
        const std::wstring text =
            std::to_wstring(kMarkupWidths[i]) + UiTexts[TextId::MarkupWidthItem];
        AppendMenuW(widths.get(), MF_STRING | (kMarkupWidths[i] == Markup.Width() ? MF_CHECKED : 0),
                    kWidthItem + i, text.c_str());
    }
    if (AppendMenuW(menu.get(), MF_POPUP, UINT_PTR(colors.get()),
                    UiTexts[TextId::MarkupColorMenu].c_str()))
        colors.release();
    if (AppendMenuW(menu.get(), MF_POPUP, UINT_PTR(widths.get()),
                    UiTexts[TextId::MarkupWidthMenu].c_str()))
        widths.release();
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    const UINT off = MF_GRAYED;
    AppendMenuW(menu.get(), MF_STRING | (Markup.Steps().CanUndo() ? 0 : off), kUndoItem,
                (UiTexts[TextId::MarkupUndo] + L"\tCtrl+Z").c_str());
    AppendMenuW(menu.get(), MF_STRING | (Markup.Steps().CanRedo() ? 0 : off), kRedoItem,
                (UiTexts[TextId::MarkupRedo] + L"\tCtrl+Y").c_str());
    AppendMenuW(menu.get(), MF_STRING | (Markup.Selected() >= 0 ? 0 : off), kDeleteItem,
                (UiTexts[TextId::MarkupDelete] + L"\tDelete").c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kCopyItem,
                (UiTexts[TextId::MarkupCopy] + L"\tCtrl+Shift+C").c_str());

    const UINT chosen = UINT(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                            screen.y, 0, hwnd(), nullptr));
    if (chosen >= kToolItem && chosen < kToolItem + kMarkupToolCount) {
        SetMarkupTool(kMarkupTools[chosen - kToolItem].tool);
    } else if (chosen >= kColorItem && chosen < kColorItem + 8) {
        Markup.SetColor(mk::kPalette[chosen - kColorItem]);
    } else if (chosen >= kWidthItem && chosen < kWidthItem + UINT(kMarkupWidthCount)) {
        Markup.SetWidth(kMarkupWidths[chosen - kWidthItem]);
    } else if (chosen == kUndoItem) {
        MarkupChanged(Markup.Undo());
    } else if (chosen == kRedoItem) {
        MarkupChanged(Markup.Redo());
    } else if (chosen == kDeleteItem) {
        MarkupChanged(Markup.DeleteSelected());
    } else if (chosen == kCopyItem) {
        mnuCopyMarked_Click();
    }
}

}  // namespace app
