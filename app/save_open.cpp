// Saving the picture to a file the user names, and opening a picture file.
#include "app/file_caption.h"
#include "app/frm_main.h"
#include "output/picture_file.h"
#include "toolkit/runtime.h"

namespace app {

namespace {

// The two designed pairs first, as every dialog of the program had them.
constexpr wchar_t kFilter[] = L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg";
constexpr int kAllPicturesIndex = 6;
constexpr wchar_t kAllPicturesPattern[] = L"*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.ico";

TextId LoadFailureText(output::LoadFailure failure) {
    switch (failure) {
        case output::LoadFailure::CannotRead:
            return TextId::CannotRead;
        case output::LoadFailure::TooLarge:
            return TextId::TooLarge;
        case output::LoadFailure::NoMemory:
            return TextId::NoMemory;
        default:
            return TextId::NotAPicture;
    }
}

// The user's own words for what the system refused; the system's words for the rest.
std::wstring SaveFailureText(const Texts& texts, DWORD error, const std::wstring& path) {
    switch (output::SaveFailureOf(error)) {
        case output::SaveFailure::NoPermission:
            return texts[TextId::SaveNoPermission] + path;
        case output::SaveFailure::DiskFull:
            return texts[TextId::SaveDiskFull] + path;
        case output::SaveFailure::FolderGone:
            return texts[TextId::SaveFolderGone] + path;
        case output::SaveFailure::NameNotAllowed:
            return texts[TextId::SaveNameNotAllowed] + path;
        case output::SaveFailure::InUse:
            return texts[TextId::SaveFileInUse] + path;
        case output::SaveFailure::Other:
            break;
    }
    std::wstring text = texts[TextId::SaveFailed] + path;
    wchar_t* system = nullptr;
    if (error &&
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&system), 0, nullptr)) {
        text += L"\n\n" + std::wstring(system);
        LocalFree(system);
    }
    return text;
}

}  // namespace

// Every kind the program reads, and "all pictures", which the dialog opens on.
std::wstring FrmMain::OpenFilter() const {
    return std::wstring(kFilter) + L"|PNG (*.png)|*.png|GIF (*.gif)|*.gif|" +
           UiTexts[TextId::FilterIcons] + L"|*.ico|" + UiTexts[TextId::FilterAllPictures] + L"|" +
           kAllPicturesPattern;
}

void FrmMain::mnusave_Click() {
    if (PicBmp.GetPicture().Empty()) {
        ShowMessage(UiTexts[TextId::NothingToSave]);
        return;
    }
    CDopen.DefaultExt = L".BMP";
    CDopen.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    CDopen.Filter = std::wstring(kFilter) + L"|PNG (*.png)|*.png";
    CDopen.FilterIndex = 1;
    CDopen.DialogTitle = UiTexts[TextId::SaveTitle];
    if (!CDopen.ShowSave(hwnd()) || CDopen.FileName.empty()) return;
    const toolkit::Picture picture = PictureToHandOn();
    if (picture.Empty()) return;
    DWORD error = 0;
    if (!output::SavePicture(picture, CDopen.FileName, &error)) {
        ShowMessage(SaveFailureText(UiTexts, error, CDopen.FileName));
        return;
    }
    CaptureUnsaved = false;
    Markup.Saved();
}

void FrmMain::mnuOpen_Click() {
    const bool unsaved = CaptureUnsaved;
    if (!MayDropCapture()) return;
    CDopen.Filter = OpenFilter();
    CDopen.FilterIndex = kAllPicturesIndex;
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
void FrmMain::OnDropFiles(HDROP dropped) {
    std::wstring path;
    {
        const toolkit::UniqueDrop drop(dropped);
        if (BusyWithOwnUi()) {
            MessageBeep(MB_OK);
            return;
        }
        path.resize(DragQueryFileW(drop.get(), 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop.get(), 0, path.data(), UINT(path.size())));
    }
    if (!path.empty()) OpenFile(path);
}

// The picture replaces the viewer's only once it has been read whole.
bool FrmMain::OpenPicture(const std::wstring& path) {
    output::LoadedPicture loaded = output::LoadPicture(path);
    if (loaded.failure != output::LoadFailure::None) {
        ShowMessage(Formatted(UiTexts[LoadFailureText(loaded.failure)],
                              {std::to_wstring(loaded.width), std::to_wstring(loaded.height)}) +
                    path);
        return false;
    }
    PicBmp.SetPicture(std::move(loaded.picture));
    Markup.Reset(GetFileName(path));
    SetWindowTextW(hwnd(), OpenedCaption(toolkit::ExeName(), GetFileName(path),
                                         PicBmp.AsControl().Width(), PicBmp.AsControl().Height())
                               .c_str());
    Form_Resize();
    return true;
}

}  // namespace app
