// Copy with marks: the marked picture onto the clipboard.
#include <windows.h>

#include "app/frm_main.h"
#include "capture/clipboard.h"

namespace app {

void FrmMain::mnuCopyMarked_Click() {
    const toolkit::Picture marked = PictureToHandOn();
    if (!marked.Empty()) CopyMarkedToClipboard(marked);
}

bool FrmMain::CopyToClipboard(const toolkit::Picture& picture, bool keepPrivate) {
    if (picture.Empty()) return false;
    switch (capture::CopyPictureToClipboard(hwnd(), picture, keepPrivate)) {
        case capture::ClipboardCopy::Done:
            return true;
        case capture::ClipboardCopy::NoMemory:
            ShowMessage(UiTexts[TextId::ClipboardFailed]);
            return false;
        case capture::ClipboardCopy::Refused:
            ShowMessage(UiTexts[TextId::MarkupCopyFailed]);
            return false;
    }
    return false;
}

}  // namespace app
