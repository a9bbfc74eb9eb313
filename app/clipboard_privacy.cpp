// What the program puts on the clipboard, and what it takes back there once a
// redaction makes the copy a secret.
#include <algorithm>

#include "app/frm_main.h"
#include "capture/clipboard.h"
#include "output/markup_render.h"

namespace app {

namespace {

namespace mk = output::markup;

bool Redacted(const mk::Document& doc) {
    return std::any_of(doc.marks.begin(), doc.marks.end(), [](const mk::Mark& m) {
        return m.kind == mk::Kind::Redaction || m.kind == mk::Kind::Pixelate;
    });
}

}  // namespace

void FrmMain::RememberClipboardCopy() {
    clipboardPicture_ = PicBmp.Generation();
    clipboardSequence_ = GetClipboardSequenceNumber();
}

void FrmMain::CopyMarkedToClipboard(const toolkit::Picture& marked) {
    const bool redacted = Redacted(Markup.Doc());
    if (!CopyToClipboard(marked, redacted)) return;
    if (redacted)
        clipboardPicture_ = 0;
    else
        RememberClipboardCopy();
}

void FrmMain::KeepSecretsOffClipboard() {
    if (!clipboardPicture_ || !Redacted(Markup.Doc())) return;
    // Only our own copy of this picture, and only while nothing was copied since.
    const bool ours = clipboardPicture_ == PicBmp.Generation() && GetClipboardOwner() == hwnd() &&
                      GetClipboardSequenceNumber() == clipboardSequence_;
    clipboardPicture_ = 0;
    if (!ours) return;
    const toolkit::Picture marked = mk::Flatten(PicBmp.GetPicture(), Markup.Doc());
    if (!marked.Empty() &&
        capture::CopyPictureToClipboard(hwnd(), marked, true) == capture::ClipboardCopy::Done)
        return;
    // Rather nothing on the clipboard than the secret.
    if (OpenClipboard(hwnd())) {
        EmptyClipboard();
        CloseClipboard();
    }
}

}  // namespace app
