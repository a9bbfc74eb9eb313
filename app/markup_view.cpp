// The mark-up's view: the viewer's pointer draws, selects and moves marks;
// what changed is painted again and followed elsewhere in the window.
#include "app/markup_view.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/file_caption.h"
#include "app/frm_main.h"
#include "app/markup_strings.h"
#include "output/markup_render.h"
#include "output/markup_repaint.h"
#include "toolkit/runtime.h"

namespace app {

namespace mk = output::markup;

namespace {

// Kinds whose pixels depend only on where the edges of their box are: moving
// an edge changes nothing away from the edges.
bool EdgesOnly(mk::Kind kind) { return kind == mk::Kind::Rectangle || kind == mk::Kind::Redaction; }

}  // namespace

HWND MarkupView::Viewer() const { return form_.PicBmp.hwnd(); }

void MarkupView::Attach() {
    SetWindowSubclass(Viewer(), &MarkupView::ViewerProc, 1, DWORD_PTR(this));
}

LRESULT CALLBACK MarkupView::ViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &MarkupView::ViewerProc, 1);
    LRESULT result = 0;
    try {
        if (reinterpret_cast<MarkupView*>(data)->OnViewerMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        return 0;  // nothing unwinds through the system's window code
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

mk::Point MarkupView::PicturePoint(LPARAM clientPoint) const {
    const mk::Box& crop = Doc().crop;
    return mk::Point{GET_X_LPARAM(clientPoint) + crop.left, GET_Y_LPARAM(clientPoint) + crop.top};
}

RECT MarkupView::ClientBox(const mk::Box& box) const {
    const mk::Box& crop = Doc().crop;
    return RECT{box.left - crop.left, box.top - crop.top, box.right - crop.left,
                box.bottom - crop.top};
}

bool MarkupView::OnViewerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_CHAR:
            // The viewer has the focus only while a text is typed; its keys are
            // the main window's as at any other time.
            result = SendMessageW(form_.hwnd(), message, wParam, lParam);
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            FollowCaret();
            return false;
        case WM_TIMER:
            if (wParam != kHintTimer) return false;
            KillTimer(Viewer(), kHintTimer);
            hintTimer_ = false;
            hintShownAt_ = 0;
            ShowHint(heldHint_);
            return true;
    }
    if (form_.PicBmp.GetPicture().Empty()) return false;
    if (message != WM_PAINT) FollowPicture();
    const bool shift = (wParam & MK_SHIFT) != 0;
    switch (message) {
        case WM_PAINT: {
            const bool plain = !editor_.Marked() && !editor_.Pending() && !editor_.PendingCrop() &&
                               editor_.Selected() < 0;
            if (plain) return false;  // the picture box's own painting, palette and all
            PaintUpdate();
            return true;
        }
        case WM_LBUTTONDOWN: {
            SetFocus(form_.hwnd());  // the keys of the tools go to the main window
            SetCapture(Viewer());
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const LONG time = GetMessageTime();
            const bool twice =
                pressTime_ && DWORD(time - pressTime_) <= GetDoubleClickTime() &&
                std::abs(at.x - pressAt_.x) * 2 <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                std::abs(at.y - pressAt_.y) * 2 <= GetSystemMetrics(SM_CYDOUBLECLK);
            pressTime_ = twice ? 0 : time;  // a third click starts again
            pressAt_ = at;
            mk::Box changed;
            if (twice) changed = editor_.DoubleClick(PicturePoint(lParam));
            if (changed.Empty()) changed = editor_.Press(PicturePoint(lParam), shift);
            Changed(changed);
            return true;
        }
        case WM_MOUSEMOVE:
            if (editor_.Dragging()) DragTo(PicturePoint(lParam), shift);
            return true;
        case WM_LBUTTONUP:
            // Ended before the capture goes, which would end it where the pointer is.
            Changed(editor_.Release(PicturePoint(lParam), shift));
            if (GetCapture() == Viewer()) ReleaseCapture();
            return true;
        case WM_CAPTURECHANGED:
            // Another window took the pointer mid-drag: the drag ends where it was.
            if (editor_.Dragging()) {
                POINT at;
                GetCursorPos(&at);
                ScreenToClient(Viewer(), &at);
                Changed(editor_.Release(PicturePoint(MAKELPARAM(at.x, at.y)), false));
            }
            return true;
        case WM_RBUTTONUP: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(Viewer(), &at);
            ShowMenu(at);
            return true;
        }
        case WM_CONTEXTMENU:
            return OnContextMenu(lParam);
        case WM_IME_STARTCOMPOSITION:
            FollowCaret();
            return false;
        case WM_IME_COMPOSITION:
            OnComposition(lParam, result);
            return true;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) return false;
            const LPCWSTR shape = editor_.CurrentTool() == mk::Tool::Select ? IDC_ARROW
                                  : editor_.CurrentTool() == mk::Tool::Text ? IDC_IBEAM
                                                                            : IDC_CROSS;
            SetCursor(LoadCursorW(nullptr, shape));
            result = TRUE;
            return true;
        }
    }
    return false;
}

std::optional<MarkupView::DraggedBox> MarkupView::Dragged() const {
    DraggedBox d;
    if (const auto& crop = editor_.PendingCrop()) {
        d.box = *crop;
        d.reach = editor_.HandleReach();
    } else if (const auto& p = editor_.Pending(); p && EdgesOnly(p->kind)) {
        d.box = mk::Between(p->points.front(), p->points.back());
        d.reach = d.box.left - mk::Bounds(*p).left + 1;
    } else if (const int i = editor_.Selected();
               i >= 0 && editor_.DraggedHandle() != mk::Handle::None &&
               size_t(i) < Doc().marks.size() && EdgesOnly(Doc().marks[i].kind)) {
        const mk::Mark& m = Doc().marks[i];
        d.box = mk::Between(m.points.front(), m.points.back());
        d.reach = d.box.left - editor_.SelectionBox().left + 1;
        for (const mk::HandleSpot& h : mk::HandlesOf(m)) d.handles.push_back(h.at);
    }
    if (d.box.Empty()) return std::nullopt;
    return d;
}

// A box dragged across a big picture changes only along the edges that
// moved (and where the handles of its sides went): repainting all of it at
// every move would lag.
void MarkupView::DragTo(mk::Point p, bool shift) {
    const std::optional<DraggedBox> before = Dragged();
    const mk::Box changed = editor_.Drag(p, shift);
    const std::optional<DraggedBox> after = Dragged();
    if (!before || !after || before->handles.size() != after->handles.size())
        return Changed(changed);
    const int32_t reach = std::max(before->reach, after->reach);
    std::vector<mk::Box> parts = mk::EdgesMoved(before->box, after->box, reach);
    for (size_t i = 0; i < before->handles.size(); ++i)
        if (!(before->handles[i] == after->handles[i]))
            for (const mk::Point& at : {before->handles[i], after->handles[i]})
                parts.push_back(
                    mk::Box{at.x - reach, at.y - reach, at.x + reach + 1, at.y + reach + 1});
    const mk::Box& crop = Doc().crop;
    for (const mk::Box& part : parts) {
        const RECT r = ClientBox(mk::Intersect(part, crop));
        InvalidateRect(Viewer(), &r, FALSE);
    }
    Changed(mk::Box{});
}

void MarkupView::SetTool(mk::Tool tool) { Changed(editor_.SetTool(tool)); }

void MarkupView::Reset(const std::wstring& openedName) {
    if (PictureArriving) PictureArriving(openedName);
    const SIZE size = form_.PicBmp.GetPicture().PixelSize();
    editor_.Reset(mk::Box{0, 0, size.cx, size.cy});
    editor_.measure = mk::FontMeasure();
    {
        toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
        const double scale = GetDeviceCaps(screen.get(), LOGPIXELSX) / 96.0;
        editor_.SetScale(scale);
        frameWidth_ = std::max(1, int(std::lround(scale)));
    }
    pictureGeneration_ = form_.PicBmp.Generation();
    openedName_ = openedName;
    madeUnsaved_ = false;
    revision_ = Steps().Revision();
    Changed(mk::Box{});
    if (MarksChanged) MarksChanged();
}

void MarkupView::FollowPicture() {
    // Not the file opened last, whatever the caption says.
    if (form_.PicBmp.Generation() != pictureGeneration_) Reset();
}

void MarkupView::Settle() {
    if (editor_.Typing()) Changed(editor_.Enter());
    if (editor_.PendingCrop() || editor_.Selected() >= 0)
        Changed(editor_.SetTool(mk::Tool::Select));
    UpdateWindow(Viewer());
}

void MarkupView::Restore(mk::Box picture, mk::Document doc) {
    editor_.Restore(picture, std::move(doc));
    revision_ = Steps().Revision();
    Changed(picture);
}

void MarkupView::EndTyping() {
    if (!editor_.Typing()) return;
    const mk::Box changed = editor_.Enter();
    // While a new picture replaces this one, the view follows the new one.
    if (form_.PicBmp.Generation() == pictureGeneration_) Changed(changed);
}

void MarkupView::ShowStatus(const std::wstring& text) {
    if (panelBeforeTool_)
        *panelBeforeTool_ = text;
    else
        form_.SetPanelText(1, text);
}

void MarkupView::Saved() {
    editor_.MarkClean();
    madeUnsaved_ = false;
}

void MarkupView::Changed(mk::Box changed) {
    const mk::Box& crop = Doc().crop;
    const SIZE shown{crop.Width(), crop.Height()};
    RECT box{};
    GetClientRect(Viewer(), &box);
    if (!form_.PicBmp.GetPicture().Empty() && (box.right != shown.cx || box.bottom != shown.cy)) {
        SetWindowPos(Viewer(), nullptr, 0, 0, shown.cx, shown.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(Viewer(), nullptr, FALSE);
        form_.Form_Resize();
        if (!openedName_.empty())
            SetWindowTextW(form_.hwnd(), OpenedCaption(toolkit::ExeName(), openedName_,
                                                       form_.PicBmp.AsControl().Width(),
                                                       form_.PicBmp.AsControl().Height())
                                             .c_str());
    } else if (!changed.Empty()) {
        const RECT r{changed.left - crop.left, changed.top - crop.top, changed.right - crop.left,
                     changed.bottom - crop.top};
        InvalidateRect(Viewer(), &r, FALSE);
    }

    // Marks make a picture unsaved; undoing them all gives back what it was.
    if (!Steps().IsClean() && !form_.CaptureUnsaved) {
        form_.CaptureUnsaved = true;
        madeUnsaved_ = true;
    } else if (Steps().IsClean() && madeUnsaved_) {
        form_.CaptureUnsaved = false;
        madeUnsaved_ = false;
    }

    // The tool in use shows in panel 1; the panel's own text comes back after.
    const bool active = editor_.CurrentTool() != mk::Tool::Select;
    if (active) {
        if (!panelBeforeTool_) panelBeforeTool_ = form_.PanelText(1);
        std::wstring hint = form_.UiTexts[MarkupToolTextOf(editor_.CurrentTool())->status];
        // While a box is dragged out, its size in pixels: what a crop or redaction keeps.
        std::optional<mk::Box> dragged;
        if (editor_.Dragging() && editor_.PendingCrop()) dragged = *editor_.PendingCrop();
        if (const auto& p = editor_.Pending(); editor_.Dragging() && p && mk::IsBox(p->kind))
            dragged = mk::Between(p->points.front(), p->points.back());
        if (dragged)
            hint += L"  " + std::to_wstring(dragged->Width()) + L" x " +
                    std::to_wstring(dragged->Height());
        ShowHint(hint);
    } else if (panelBeforeTool_) {
        ShowHint(L"");
        form_.SetPanelText(1, *panelBeforeTool_);
        panelBeforeTool_.reset();
    }

    FollowCaret();
    if (Steps().Revision() != revision_) {
        revision_ = Steps().Revision();
        if (MarksChanged) MarksChanged();
    }
}

// A pointer can move many times a frame: while a drag goes on, the size in
// the hint is shown at most once a frame, the last one when the frame is due.
void MarkupView::ShowHint(const std::wstring& hint) {
    constexpr UINT kFrameMs = 16;
    heldHint_ = hint;
    const ULONGLONG now = GetTickCount64();
    if (editor_.Dragging() && now - hintShownAt_ < kFrameMs) {
        if (!hintTimer_) hintTimer_ = SetTimer(Viewer(), kHintTimer, kFrameMs, nullptr) != 0;
        if (hintTimer_) return;
    }
    if (hintTimer_) KillTimer(Viewer(), kHintTimer);
    hintTimer_ = false;
    hintShownAt_ = now;
    // Set only when it differs: SB_SETTEXT repaints even the same text.
    if (!heldHint_.empty() && form_.PanelText(1) != heldHint_) form_.SetPanelText(1, heldHint_);
}

toolkit::Picture MarkupView::MarkedPicture() {
    FollowPicture();
    if (editor_.Typing()) Changed(editor_.Enter());
    if (!editor_.Marked()) return form_.PicBmp.GetPicture();
    return mk::Flatten(form_.PicBmp.GetPicture(), Doc());
}

}  // namespace app
