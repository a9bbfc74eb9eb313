// Saving the picture to a file the user names, and opening a picture file.
#include "app/frm_main.h"
#include "output/picture_file.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

constexpr wchar_t kFilter[] = L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg";
constexpr wchar_t kSaveTitle[] = L"保存";
constexpr wchar_t kSaveFailed[] = L"无法保存文件：";

}  // namespace

void FrmMain::mnusave_Click() {
    CDopen.DefaultExt = L".BMP";
    CDopen.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    CDopen.Filter = kFilter;
    CDopen.DialogTitle = kSaveTitle;
    if (!CDopen.ShowSave(hwnd()) || CDopen.FileName.empty()) return;
    if (!output::SavePicture(PicBmp.GetPicture(), CDopen.FileName)) {
        toolkit::MsgBox(hwnd(), kSaveFailed + CDopen.FileName, MB_OK | MB_ICONEXCLAMATION,
                        toolkit::ExeName());
        return;
    }
    CaptureUnsaved = kFalse;
}

void FrmMain::mnuOpen_Click() {}

}  // namespace app
