// What the options ask for once a capture is in the viewer: a copy on the
// clipboard, the picture saved under the name pattern, its folder opened.
// With no options set, nothing: the capture waits in the viewer, unsaved.
#include "app/frm_main.h"
#include "app/options.h"
#include "output/auto_save.h"
#include "toolkit/settings.h"

namespace app {

namespace {

constexpr wchar_t kCounterKey[] = L"AutoSaveCounter";

// The counter of %n: the number of pictures saved so far, plus one.
uint32_t NextCounter() {
    const auto stored = toolkit::GetSetting(kAppTitle, L"Settings", kCounterKey);
    return ParseCounter(stored);
}

}  // namespace

Options FrmMain::StoredOptions() {
    return ReadOptions(
        [](const wchar_t* name) { return toolkit::GetSetting(kAppTitle, L"Settings", name); });
}

void FrmMain::AfterCapture(HWND source) {
    const Options options = StoredOptions();
    if (options.afterCaptureCopy) mnuCopyMarked_Click();
    if (options.afterCapturePin) mnuPin_Click();
    if (!options.autoSave) return;
    const std::wstring folder =
        options.autoSaveFolder.empty() ? output::PicturesFolder() : options.autoSaveFolder;
    const uint32_t counter = NextCounter();
    const std::wstring name = output::ExpandFileNamePattern(
        options.fileNamePattern,
        output::NameFieldsFor(source, PicBmp.GetPicture().PixelSize(), counter));
    const auto path = output::AutoSavePicture(PicBmp.GetPicture(), folder, name);
    if (!path) {
        ShowMessage(UiTexts[TextId::SaveFailed] + folder + L"\\" + name);
        return;
    }
    toolkit::SaveSetting(kAppTitle, L"Settings", kCounterKey, std::to_wstring(counter + 1));
    CaptureUnsaved = false;
    SetPanelText(1, *path);
    if (options.afterCaptureOpenFolder)
        ShellExecuteW(hwnd(), L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace app
