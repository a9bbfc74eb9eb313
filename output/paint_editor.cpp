#include "output/paint_editor.h"

#include <shellapi.h>

#include "output/picture_file.h"

namespace output {

namespace {

std::wstring UserTempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return {};
    return std::wstring(temp, n) + L"Fotolark";
}

// The temporary file written in the first folder that takes it, or empty.
std::wstring WriteTemporaryFile(const toolkit::Picture& picture,
                                const std::wstring& programFolder) {
    for (const std::wstring& folder : {programFolder + L"\\Temp", UserTempFolder()}) {
        if (folder.empty()) continue;
        CreateDirectoryW(folder.c_str(), nullptr);  // fails harmlessly when it exists
        const std::wstring path = folder + L"\\temp.bmp";
        if (SavePicture(picture, path)) return path;
    }
    return {};
}

}  // namespace

EditOutcome EditInPaint(const toolkit::Picture& picture, const std::wstring& programFolder,
                        HWND owner) {
    EditOutcome outcome;
    outcome.path = WriteTemporaryFile(picture, programFolder);
    if (outcome.path.empty()) {
        outcome.failure = EditFailure::NotWritten;
        return outcome;
    }
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    // The caller says what failed; the shell's own box would come on top of it.
    request.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = L"edit";
    request.lpFile = outcome.path.c_str();
    request.nShow = SW_SHOWNORMAL;
    request.lpClass = L"Paint.Picture";
    if (!ShellExecuteExW(&request)) outcome.failure = EditFailure::NotStarted;
    return outcome;
}

}  // namespace output
