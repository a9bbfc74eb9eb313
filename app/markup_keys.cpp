// The mark-up keys, and what follows each change of the marks: the repaint,
// the viewer's size after a crop, the caption, unsaved, status panel 1; and
// the picture with its marks merged, for every command that hands it on.
#include <windows.h>

#include "app/file_caption.h"
#include "app/frm_main.h"
#include "app/markup_strings.h"
#include "capture/clipboard.h"
#include "output/markup_render.h"
#include "toolkit/runtime.h"

namespace app {

namespace mk = output::markup;

bool FrmMain::OnMarkupKey(WPARAM key) {
    if (PicBmp.GetPicture().Empty()) return false;
    MarkupFollowPicture();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (ctrl) {
        if (key == 'Z' && !shift) {
            MarkupChanged(Markup.Undo());
        } else if (key == 'Y' && !shift) {
            MarkupChanged(Markup.Redo());
        } else if (key == 'C' && shift) {
            mnuCopyMarked_Click();
        } else {
            return false;
        }
        return true;
    }
    switch (key) {
        case VK_ESCAPE:
            MarkupChanged(Markup.Escape());
            return true;
        case VK_RETURN:
            MarkupChanged(Markup.Enter());
            return true;
        case VK_BACK:
            MarkupChanged(Markup.Backspace());
            return true;
    }
    // While a text is typed, every other key is the text's (through WM_CHAR).
    if (Markup.Typing()) return true;
    if (key == VK_DELETE) {
        MarkupChanged(Markup.DeleteSelected());
        return true;
    }
    if (key >= '1' && key <= '8') {
        Markup.SetColor(mk::kPalette[key - '1']);
        return true;
    }
    if (key == VK_OEM_4 || key == VK_OEM_6) {  // [ and ]
        Markup.SetWidth(Markup.Width() + (key == VK_OEM_6 ? 1 : -1));
        return true;
    }
    for (const MarkupToolText& t : kMarkupTools)
        if (t.key == key) {
            SetMarkupTool(t.tool);
            return true;
        }
    return false;
}

bool FrmMain::OnMarkupChar(wchar_t c) {
    if (!Markup.Typing()) return false;
    if (c >= L' ' && c != 0x7F) MarkupChanged(Markup.Type(c));
    return true;
}

void FrmMain::SetMarkupTool(mk::Tool tool) { MarkupChanged(Markup.SetTool(tool)); }

void FrmMain::MarkupReset(const std::wstring& openedName) {
    KeepInHistory(openedName);
    const SIZE size = PicBmp.GetPicture().PixelSize();
    Markup.Reset(mk::Box{0, 0, size.cx, size.cy});
    Markup.measureText = &mk::MeasureText;
    markupBitmap_ = PicBmp.GetPicture().Bitmap();
    markupOpenedName_ = openedName;
    markupMadeUnsaved_ = false;
    MarkupChanged(mk::Box{});
}

void FrmMain::MarkupFollowPicture() {
    // Not the file opened last, whatever the caption says.
    if (PicBmp.GetPicture().Bitmap() != markupBitmap_) MarkupReset();
}

void FrmMain::MarkupSettle() {
    if (Markup.Typing()) MarkupChanged(Markup.Enter());
    if (Markup.PendingCrop() || Markup.Selected() >= 0)
        MarkupChanged(Markup.SetTool(mk::Tool::Select));
    UpdateWindow(PicBmp.hwnd());
}

void FrmMain::MarkupChanged(mk::Box changed) {
    const mk::Box& crop = Markup.Doc().crop;
    const SIZE shown{crop.Width(), crop.Height()};
    RECT box{};
    GetClientRect(PicBmp.hwnd(), &box);
    if (!PicBmp.GetPicture().Empty() && (box.right != shown.cx || box.bottom != shown.cy)) {
        SetWindowPos(PicBmp.hwnd(), nullptr, 0, 0, shown.cx, shown.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(PicBmp.hwnd(), nullptr, FALSE);
        Form_Resize();
        if (!markupOpenedName_.empty())
            SetWindowTextW(hwnd(),
                           OpenedCaption(toolkit::ExeName(), markupOpenedName_,
                                         PicBmp.AsControl().Width(), PicBmp.AsControl().Height())
                               .c_str());
    } else if (!changed.Empty()) {
        const RECT r{changed.left - crop.left, changed.top - crop.top, changed.right - crop.left,
                     changed.bottom - crop.top};
        InvalidateRect(PicBmp.hwnd(), &r, FALSE);
    }

    // Marks make a picture unsaved; undoing them all gives back what it was.
    if (!Markup.Steps().IsClean() && !CaptureUnsaved) {
        CaptureUnsaved = true;
        markupMadeUnsaved_ = true;
    } else if (Markup.Steps().IsClean() && markupMadeUnsaved_) {
        CaptureUnsaved = false;
        markupMadeUnsaved_ = false;
    }
    KeepSecretsOffClipboard();

    // The tool in use shows in panel 1; the panel's own text comes back after.
    const bool active = Markup.CurrentTool() != mk::Tool::Select;
    if (active) {
        if (!panelBeforeTool_) panelBeforeTool_ = PanelText(1);
        SetPanelText(1, UiTexts[MarkupToolTextOf(Markup.CurrentTool())->status]);
    } else if (panelBeforeTool_) {
        SetPanelText(1, *panelBeforeTool_);
        panelBeforeTool_.reset();
    }
    HistoryMarksChanged();
}

toolkit::Picture FrmMain::MarkedPicture() {
    if (Markup.Typing()) MarkupChanged(Markup.Enter());
    if (!Markup.Marked()) return PicBmp.GetPicture();
    return mk::Flatten(PicBmp.GetPicture(), Markup.Doc());
}

void FrmMain::mnuCopyMarked_Click() {
    const toolkit::Picture marked = PictureToHandOn();
    if (!marked.Empty()) CopyMarkedToClipboard(marked);
}

void FrmMain::CopyToClipboard(const toolkit::Picture& picture) {
    if (picture.Empty()) return;
    switch (capture::CopyPictureToClipboard(hwnd(), picture, false)) {
        case capture::ClipboardCopy::Done:
            break;
        case capture::ClipboardCopy::NoMemory:
            ShowMessage(UiTexts[TextId::ClipboardFailed]);
            break;
        case capture::ClipboardCopy::Refused:
            ShowMessage(UiTexts[TextId::MarkupCopyFailed]);
            break;
    }
}

}  // namespace app
