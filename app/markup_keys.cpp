// The mark-up's keys and its right-click menu.
#include <windows.h>

#include "app/frm_main.h"
#include "app/markup_strings.h"
#include "app/markup_view.h"

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

}  // namespace

bool MarkupView::OnKey(WPARAM key) {
    if (form_.PicBmp.GetPicture().Empty()) return false;
    FollowPicture();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (editor_.Typing() && OnTextKey(key, ctrl, shift)) return true;
    if (ctrl) {
        if (key == 'Z' && !shift) {
            Changed(editor_.Undo());
        } else if (key == 'Y' && !shift) {
            Changed(editor_.Redo());
        } else if (key == 'C' && shift) {
            form_.mnuCopyMarked_Click();
        } else {
            return false;
        }
        return true;
    }
    if (editor_.Typing()) return false;
    switch (key) {
        case VK_ESCAPE:
            Changed(editor_.Escape());
            return true;
        case VK_RETURN:
            Changed(editor_.Enter());
            return true;
        case VK_DELETE:
            Changed(editor_.DeleteSelected());
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: {
            // The selected mark moves; without one the keys scroll.
            if (editor_.Selected() < 0) return false;
            const int32_t step = shift ? 10 : 1;
            const int32_t dx = key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0;
            const int32_t dy = key == VK_UP ? -step : key == VK_DOWN ? step : 0;
            Changed(editor_.Nudge(dx, dy));
            return true;
        }
    }
    if (key >= '1' && key <= '8') {
        Changed(editor_.SetColor(mk::kPalette[key - '1']));
        return true;
    }
    if (key == VK_OEM_4 || key == VK_OEM_6) {  // [ and ]
        Changed(editor_.ChangeWidth(key == VK_OEM_6 ? 1 : -1));
        return true;
    }
    for (const MarkupToolText& t : kMarkupTools)
        if (t.key == key) {
            SetTool(t.tool);
            return true;
        }
    return false;
}

bool MarkupView::OnChar(wchar_t c) {
    if (!editor_.Typing()) return false;
    if (c >= L' ' && c != 0x7F) Changed(editor_.Type(c));
    return true;
}

void MarkupView::ShowMenu(POINT screen) {
    toolkit::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (int i = 0; i < kMarkupToolCount; ++i) {
        const MarkupToolText& t = kMarkupTools[i];
        AppendMenuW(menu.get(), MF_STRING | (t.tool == editor_.CurrentTool() ? MF_CHECKED : 0),
                    kToolItem + i, form_.UiTexts[t.name].c_str());
    }
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    toolkit::UniqueMenu colors(CreatePopupMenu()), widths(CreatePopupMenu());
    const mk::Rgb color = editor_.ColorOf(editor_.CurrentTool());
    for (int i = 0; i < 8; ++i)
        AppendMenuW(colors.get(), MF_STRING | (mk::kPalette[i] == color ? MF_CHECKED : 0),
                    kColorItem + i, form_.UiTexts[kMarkupColorNames[i]].c_str());
    for (int i = 0; i < kMarkupWidthCount; ++i) {
        const std::wstring text =
            std::to_wstring(kMarkupWidths[i]) + form_.UiTexts[TextId::MarkupWidthItem];
        AppendMenuW(widths.get(),
                    MF_STRING | (kMarkupWidths[i] == editor_.Width() ? MF_CHECKED : 0),
                    kWidthItem + i, text.c_str());
    }
    if (AppendMenuW(menu.get(), MF_POPUP, UINT_PTR(colors.get()),
                    form_.UiTexts[TextId::MarkupColorMenu].c_str()))
        colors.release();
    if (AppendMenuW(menu.get(), MF_POPUP, UINT_PTR(widths.get()),
                    form_.UiTexts[TextId::MarkupWidthMenu].c_str()))
        widths.release();
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    const UINT off = MF_GRAYED;
    AppendMenuW(menu.get(), MF_STRING | (editor_.Steps().CanUndo() ? 0 : off), kUndoItem,
                (form_.UiTexts[TextId::MarkupUndo] + L"\tCtrl+Z").c_str());
    AppendMenuW(menu.get(), MF_STRING | (editor_.Steps().CanRedo() ? 0 : off), kRedoItem,
                (form_.UiTexts[TextId::MarkupRedo] + L"\tCtrl+Y").c_str());
    AppendMenuW(menu.get(), MF_STRING | (editor_.Selected() >= 0 ? 0 : off), kDeleteItem,
                (form_.UiTexts[TextId::MarkupDelete] + L"\tDelete").c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kCopyItem,
                (form_.UiTexts[TextId::MarkupCopy] + L"\tCtrl+Shift+C").c_str());

    const UINT chosen = UINT(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                            screen.y, 0, form_.hwnd(), nullptr));
    if (chosen >= kToolItem && chosen < kToolItem + kMarkupToolCount) {
        SetTool(kMarkupTools[chosen - kToolItem].tool);
    } else if (chosen >= kColorItem && chosen < kColorItem + 8) {
        Changed(editor_.SetColor(mk::kPalette[chosen - kColorItem]));
    } else if (chosen >= kWidthItem && chosen < kWidthItem + UINT(kMarkupWidthCount)) {
        Changed(editor_.SetWidth(kMarkupWidths[chosen - kWidthItem]));
    } else if (chosen == kUndoItem) {
        Changed(editor_.Undo());
    } else if (chosen == kRedoItem) {
        Changed(editor_.Redo());
    } else if (chosen == kDeleteItem) {
        Changed(editor_.DeleteSelected());
    } else if (chosen == kCopyItem) {
        form_.mnuCopyMarked_Click();
    }
}

}  // namespace app
