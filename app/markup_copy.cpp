// Copy with marks: the marked picture onto the clipboard.
#include <windows.h>

#include "app/frm_main.h"
#include "capture/clipboard.h"

namespace app {

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
