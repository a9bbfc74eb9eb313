// A text mark typed or edited again: its keys, the clipboard's text, the
// system caret and the input method's windows at the insertion point, and
// the viewer scrolled to keep the caret in sight.
#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <string>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/markup_view.h"
#include "toolkit/handles.h"

namespace app {

namespace mk = output::markup;

void MarkupView::FollowCaret() {
    const HWND viewer = Viewer();
    const HWND focus = GetFocus();
    if (editor_.Typing()) {
        // Keys go to the viewer while the text is typed, so the caret and the
        // input method belong to the window the text is on.
        if (focus == form_.hwnd()) SetFocus(viewer);
    } else if (focus == viewer) {
        SetFocus(form_.hwnd());
    }
    if (!editor_.Typing() || GetFocus() != viewer) {
        if (caretMade_) DestroyCaret();
        caretMade_ = false;
        return;
    }
    const RECT caret = ClientBox(editor_.CaretBox());
    if (!caretMade_) {
        caretMade_ =
            CreateCaret(viewer, nullptr, caret.right - caret.left, caret.bottom - caret.top);
        if (caretMade_) ShowCaret(viewer);
    }
    SetCaretPos(caret.left, caret.top);
    if (const HIMC context = ImmGetContext(viewer)) {
        COMPOSITIONFORM composition{};
        composition.dwStyle = CFS_POINT;
        composition.ptCurrentPos = POINT{caret.left, caret.top};
        ImmSetCompositionWindow(context, &composition);
        // Candidates below the line, clear of what is being composed.
        CANDIDATEFORM candidates{};
        candidates.dwIndex = 0;
        candidates.dwStyle = CFS_CANDIDATEPOS;
        candidates.ptCurrentPos = POINT{caret.left, caret.bottom};
        ImmSetCandidateWindow(context, &candidates);
        ImmReleaseContext(viewer, context);
    }
    ScrollIntoView(editor_.CaretBox());
}

void MarkupView::ScrollIntoView(const mk::Box& box) {
    RECT r = ClientBox(box);
    MapWindowPoints(Viewer(), form_.picScroll.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    RECT view{};
    GetClientRect(form_.picScroll.hwnd(), &view);
    const auto by = [](LONG low, LONG high, LONG from, LONG to) {
        if (low < from) return low - from;
        if (high > to) return std::min(high - to, low - from);
        return LONG(0);
    };
    // A little room beyond the caret, so the next characters show too.
    const LONG dx = by(r.left - 16, r.right + 16, view.left, view.right),
               dy = by(r.top, r.bottom, view.top, view.bottom);
    if (dx)
        form_.MoveBar(true,
                      form_.HScroll1.Value() + int64_t(dx * toolkit::Screen::TwipsPerPixelX()));
    if (dy)
        form_.MoveBar(false,
                      form_.VScroll1.Value() + int64_t(dy * toolkit::Screen::TwipsPerPixelY()));
}

void MarkupView::OnComposition(LPARAM parts, LRESULT& result) {
    const HWND viewer = Viewer();
    if ((parts & GCS_RESULTSTR) && editor_.Typing()) {
        if (const HIMC context = ImmGetContext(viewer)) {
            const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
            if (bytes > 0) {
                std::wstring text(size_t(bytes) / sizeof(wchar_t), L'\0');
                ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), DWORD(bytes));
                Changed(editor_.Insert(text));
            }
            ImmReleaseContext(viewer, context);
        }
        // Taken whole here: the default would send it again a character at a time.
        parts &=
            ~LPARAM(GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE);
    }
    result = DefSubclassProc(viewer, WM_IME_COMPOSITION, 0, parts);
}

void MarkupView::CopyText(bool cut) {
    const std::wstring text = editor_.SelectedText();
    if (text.empty()) return;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return;
    if (void* to = GlobalLock(memory)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(to));
        GlobalUnlock(memory);
    }
    bool placed = false;
    if (OpenClipboard(form_.hwnd())) {
        EmptyClipboard();
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
    }
    if (!placed) {
        GlobalFree(memory);
        return;
    }
    if (cut) Changed(editor_.Insert({}));
}

void MarkupView::PasteText() {
    std::wstring text;
    if (!OpenClipboard(form_.hwnd())) return;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* from = static_cast<const wchar_t*>(GlobalLock(data))) {
            text.assign(from, wcsnlen(from, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    // Line ends as one line feed; other control characters are not text.
    std::wstring clean;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            clean.push_back(L'\n');
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n' || c == L'\t' ? true : c >= L' ' && c != 0x7F) {
            clean.push_back(c == L'\t' ? L' ' : c);
        }
    }
    if (!clean.empty()) Changed(editor_.Insert(clean));
}

bool MarkupView::OnTextKey(WPARAM key, bool ctrl, bool shift) {
    if (ctrl) {
        switch (key) {
            case 'Z':
                Changed(editor_.UndoTyping());
                return true;
            case 'A':
                Changed(editor_.SelectAll());
                return true;
            case 'X':
                CopyText(true);
                return true;
            case 'C':
                if (shift) return false;  // copy with marks, as at any time
                CopyText(false);
                return true;
            case 'V':
                PasteText();
                return true;
            case 'Y':
                return true;
        }
    }
    const auto move = [&](mk::CaretMove m) {
        Changed(editor_.MoveCaret(m, shift));
        return true;
    };
    switch (key) {
        case VK_LEFT:
            return move(mk::CaretMove::Left);
        case VK_RIGHT:
            return move(mk::CaretMove::Right);
        case VK_UP:
            return move(mk::CaretMove::Up);
        case VK_DOWN:
            return move(mk::CaretMove::Down);
        case VK_HOME:
            return move(mk::CaretMove::Home);
        case VK_END:
            return move(mk::CaretMove::End);
        case VK_DELETE:
            Changed(editor_.DeleteForward());
            return true;
        case VK_BACK:
            Changed(editor_.Backspace());
            return true;
        case VK_ESCAPE:
            Changed(editor_.Escape());
            return true;
        case VK_RETURN:
            Changed(shift ? editor_.Insert(L"\n") : editor_.Enter());
            return true;
        case VK_APPS:
        case VK_F10:
            return false;  // the window's default opens the menu
    }
    // The save, wallpaper and exit keys keep working; the rest is the text's.
    return !ctrl;
}

bool MarkupView::TakesShortcut(UINT command) {
    if (!editor_.Typing() || command != ID_mnuClearWall) return false;
    CopyText(false);
    return true;
}

bool MarkupView::OnContextMenu(LPARAM screenPoint) {
    if (form_.PicBmp.GetPicture().Empty()) return false;
    POINT at{short(LOWORD(screenPoint)), short(HIWORD(screenPoint))};
    RECT viewer{};
    GetWindowRect(Viewer(), &viewer);
    if (screenPoint != LPARAM(-1) && !PtInRect(&viewer, at)) return false;
    if (screenPoint == LPARAM(-1)) {
        // From the keyboard: at the caret, the selected mark, or the viewer's corner.
        mk::Box spot = editor_.Typing() ? editor_.CaretBox() : mk::Box{};
        if (spot.Empty() && editor_.Selected() >= 0) spot = editor_.SelectionBox();
        RECT r = spot.Empty() ? RECT{} : ClientBox(spot);
        RECT view{};
        GetClientRect(form_.picScroll.hwnd(), &view);
        MapWindowPoints(form_.picScroll.hwnd(), Viewer(), reinterpret_cast<POINT*>(&view), 2);
        at = POINT{std::clamp(r.left, view.left, view.right - 1),
                   std::clamp(r.bottom, view.top, view.bottom - 1)};
        ClientToScreen(Viewer(), &at);
    }
    ShowMenu(at);
    return true;
}

}  // namespace app
