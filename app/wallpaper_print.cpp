// Setting and clearing the desktop wallpaper, and the print dialog.
#include "app/frm_main.h"
#include "output/wallpaper.h"

namespace app {

void FrmMain::mnuWallpaper_Click() {
    if (PicBmp.GetPicture().Empty()) {
        ShowMessage(UiTexts[TextId::NoWallpaperPicture]);
        return;
    }
    const toolkit::Picture picture = PictureToHandOn();
    if (picture.Empty()) return;
    const output::WallpaperOutcome outcome = output::SetWallpaper(picture);
    if (outcome.failure == output::WallpaperFailure::NotWritten)
        ShowMessage(UiTexts[TextId::WallpaperNotWritten]);
    else if (outcome.failure == output::WallpaperFailure::NotAccepted)
        ShowMessage(UiTexts[TextId::WallpaperNotAccepted] + outcome.path);
}

void FrmMain::mnuClearWall_Click() { output::ClearWallpaper(); }

// Nothing is printed: the dialog is all the command offers.
void FrmMain::mnuprint_Click() { CDopen.ShowPrinter(hwnd()); }

}  // namespace app
