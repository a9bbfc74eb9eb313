// Handing the picture to Paint for editing.
#include "app/frm_main.h"
#include "output/paint_editor.h"
#include "toolkit/runtime.h"

namespace app {

void FrmMain::mnuMspaint_Click() {
    if (PicBmp.GetPicture().Empty()) return;
    const toolkit::Picture picture = PictureToHandOn();
    if (picture.Empty()) return;
    const output::EditOutcome outcome = output::EditInPaint(picture, toolkit::AppPath(), hwnd());
    if (outcome.failure == output::EditFailure::NotWritten)
        ShowMessage(UiTexts[TextId::PaintNotWritten]);
    else if (outcome.failure == output::EditFailure::NotStarted)
        ShowMessage(UiTexts[TextId::PaintNotStarted] + outcome.path);
}

}  // namespace app
