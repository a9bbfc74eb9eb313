// Pins from the capture menu, Ctrl+T and the global key, and what the user
// takes out of a pin: a copy, a file, the viewer's picture.
#include "app/frm_main.h"
#include "capture/clipboard.h"
#include "output/picture_file.h"
#include "pin/pin_store.h"
#include "toolkit/settings.h"

namespace app {

void FrmMain::mnuPin_Click() {
    const toolkit::Picture picture = MarkedPicture();
    if (picture.Empty() || !Pins.Pin(picture)) ShowMessage(UiTexts[TextId::PinNothing]);
}

void FrmMain::mnuPinClipboard_Click() {
    const toolkit::Picture picture = capture::ClipboardPicture(hwnd());
    if (picture.Empty() || !Pins.Pin(picture)) ShowMessage(UiTexts[TextId::PinClipboardEmpty]);
}

void FrmMain::mnuPinsHide_Click() { Pins.HideAll(); }

void FrmMain::mnuPinsShow_Click() { Pins.ShowAll(); }

void FrmMain::RestorePins() {
    const bool keep = toolkit::GetSetting(kAppTitle, L"Settings", L"PinsRestore") != L"0";
    Pins.Attach(this, keep ? pin::DefaultFolder() : std::wstring());
    if (keep) Pins.Restore();
}

void FrmMain::PinCopy(const toolkit::Picture& picture) { CopyToClipboard(picture); }

// The main window's save dialog, PNG first: a pin is most often a capture.
void FrmMain::PinSaveAs(const toolkit::Picture& picture) {
    CDopen.DefaultExt = L".png";
    CDopen.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    CDopen.Filter = L"PNG (*.png)|*.png|Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg";
    CDopen.FilterIndex = 1;
    CDopen.DialogTitle = UiTexts[TextId::SaveTitle];
    if (!CDopen.ShowSave(hwnd()) || CDopen.FileName.empty()) return;
    if (!output::SavePicture(picture, CDopen.FileName))
        ShowMessage(UiTexts[TextId::SaveFailed] + CDopen.FileName);
}

void FrmMain::PinToViewer(const toolkit::Picture& picture) {
    ComeForward();
    if (!MayDropCapture()) return;
    ShowCapture(picture);
    Form_Resize();
}

pin::MenuTexts FrmMain::PinMenuTexts() {
    const auto t = [&](TextId id) { return UiTexts[id]; };
    return pin::MenuTexts{t(TextId::PinCopy),       t(TextId::PinSaveAs),  t(TextId::PinToViewer),
                          t(TextId::PinActualSize), t(TextId::PinOpacity), t(TextId::PinClose),
                          t(TextId::PinCloseAll),   t(TextId::PinsHide)};
}

}  // namespace app
