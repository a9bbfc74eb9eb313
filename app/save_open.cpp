// Saving the picture to a file the user names, and opening a picture file.
#include "app/file_caption.h"
#include "app/frm_main.h"
#include "output/picture_file.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

constexpr wchar_t kFilter[] = L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg";
constexpr wchar_t kSaveTitle[] = L"保存";
constexpr wchar_t kSaveFailed[] = L"无法保存文件：";
constexpr wchar_t kNothingToSave[] = L"没有可保存的图片。";
constexpr wchar_t kCannotRead[] = L"无法读取文件：";
constexpr wchar_t kNotAPicture[] = L"无法打开文件，它不是图片或已经损坏：";
constexpr wchar_t kTooLarge[] = L"图片太大，无法打开（每边最多 30000 像素，总共最多 2.56 亿像素）：";

const wchar_t* LoadFailureText(output::LoadFailure failure) {
    switch (failure) {
    case output::LoadFailure::CannotRead:
        return kCannotRead;
    case output::LoadFailure::TooLarge:
        return kTooLarge;
    default:
        return kNotAPicture;
    }
}

}  // namespace

void FrmMain::mnusave_Click() {
    if (PicBmp.GetPicture().Empty()) {
        ShowMessage(kNothingToSave);
        return;
    }
    CDopen.DefaultExt = L".BMP";
    CDopen.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    CDopen.Filter = kFilter;
    CDopen.DialogTitle = kSaveTitle;
    if (!CDopen.ShowSave(hwnd()) || CDopen.FileName.empty()) return;
    if (!output::SavePicture(MarkedPicture(), CDopen.FileName)) {
        ShowMessage(kSaveFailed + CDopen.FileName);
        return;
    }
    CaptureUnsaved = false;
    Markup.MarkClean();
    markupMadeUnsaved_ = false;
}

void FrmMain::mnuOpen_Click() {
    const bool unsaved = CaptureUnsaved;
    if (!MayDropCapture()) return;
    CDopen.Filter = kFilter;
    if (!CDopen.ShowOpen(hwnd())) return;
    OpenInPlaceOf(CDopen.FileName, unsaved);
}

void FrmMain::OpenFile(const std::wstring& path) {
    const bool unsaved = CaptureUnsaved;
    if (MayDropCapture()) OpenInPlaceOf(path, unsaved);
}

// The capture the user let go of leaves with the old picture.
void FrmMain::OpenInPlaceOf(const std::wstring& path, bool wasUnsaved) {
    if (OpenPicture(path) && wasUnsaved) CaptureUnsaved = false;
}

// Of several files dropped at once, the first is opened.
void FrmMain::OnDropFiles(HDROP drop) {
    std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), UINT(path.size())));
    DragFinish(drop);
    if (!path.empty()) OpenFile(path);
}

// The picture replaces the viewer's only once it has been read whole.
bool FrmMain::OpenPicture(const std::wstring& path) {
    output::LoadedPicture loaded = output::LoadPicture(path);
    if (loaded.failure != output::LoadFailure::None) {
        ShowMessage(LoadFailureText(loaded.failure) + path);
        return false;
    }
    PicBmp.SetPicture(std::move(loaded.picture));
    MarkupReset(GetFileName(path));
    SetWindowTextW(hwnd(), OpenedCaption(toolkit::ExeName(), GetFileName(path),
                                         PicBmp.AsControl().Width(), PicBmp.AsControl().Height())
                               .c_str());
    Form_Resize();
    return true;
}

}  // namespace app
