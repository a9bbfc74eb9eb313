// Copy with marks: the marked picture onto the clipboard.
#include <windows.h>

#include "app/frm_main.h"
#include "capture/clipboard.h"

namespace app {

void FrmMain::mnuCopyMarked_Click() {
    const toolkit::Picture marked = MarkedPicture();
    if (marked.Empty()) return;
    // The clipboard takes a bitmap of the display's format.
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    const SIZE size = marked.PixelSize();
    toolkit::UniqueBitmap copy(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    toolkit::UniqueDC from(CreateCompatibleDC(screen.get())), to(CreateCompatibleDC(screen.get()));
    if (!copy || !from || !to) return;
    {
        toolkit::SelectGuard source(from.get(), marked.Bitmap());
        toolkit::SelectGuard target(to.get(), copy.get());
        BitBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
    }
    if (!capture::SetClipboardBitmap(hwnd(), copy)) ShowMessage(UiTexts[TextId::MarkupCopyFailed]);
}

}  // namespace app
