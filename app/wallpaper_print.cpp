// Setting and clearing the desktop wallpaper, and the print dialog.
#include "app/frm_main.h"
#include "output/wallpaper.h"

namespace app {

namespace {

constexpr wchar_t kNoPicture[] = L"没有可设置为墙纸的图片。";
constexpr wchar_t kNotWritten[] = L"无法写入墙纸文件，墙纸没有改变。";
constexpr wchar_t kNotAccepted[] = L"系统没有接受新的墙纸：";

}  // namespace

void FrmMain::mnuWallpaper_Click() {
    if (PicBmp.GetPicture().Empty()) {
        ShowMessage(kNoPicture);
        return;
    }
    const output::WallpaperOutcome outcome = output::SetWallpaper(MarkedPicture());
    if (outcome.failure == output::WallpaperFailure::NotWritten)
        ShowMessage(kNotWritten);
    else if (outcome.failure == output::WallpaperFailure::NotAccepted)
        ShowMessage(kNotAccepted + outcome.path);
}

void FrmMain::mnuClearWall_Click() { output::ClearWallpaper(); }

// Nothing is printed: the dialog is all the command offers.
void FrmMain::mnuprint_Click() { CDopen.ShowPrinter(hwnd()); }

}  // namespace app
