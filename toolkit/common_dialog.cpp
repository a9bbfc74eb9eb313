#include "toolkit/common_dialog.h"

#include <utility>
#include <vector>

#include "toolkit/handles.h"

namespace toolkit {

namespace {

// The dialog wants pairs separated by NULs and a double NUL at the end.
std::wstring DialogFilter(const std::wstring& filter) {
    std::wstring result = filter;
    for (auto& c : result)
        if (c == L'|') c = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

// Carried-over bits that would make the print dialog call a hook or load a
// template it is not given (OFN_FILEMUSTEXIST is PD_ENABLEPRINTHOOK), or hand
// back a device context that nothing prints on.
constexpr DWORD kPrintBitsNotHonoured =
    PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_ENABLEPRINTTEMPLATE | PD_ENABLESETUPTEMPLATE |
    PD_ENABLEPRINTTEMPLATEHANDLE | PD_ENABLESETUPTEMPLATEHANDLE | PD_RETURNDC | PD_RETURNIC;

FileDialogHandler& CurrentFileDialogHandler() {
    static FileDialogHandler handler;
    return handler;
}

}  // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
    return std::exchange(CurrentFileDialogHandler(), std::move(handler));
}

bool CommonDialog::ShowSave(HWND owner) { return Show(owner, true); }
bool CommonDialog::ShowOpen(HWND owner) { return Show(owner, false); }

bool CommonDialog::Show(HWND owner, bool save) {
    std::vector<wchar_t> path(32768, L'\0');
    FileName.copy(path.data(), path.size() - 1);
    const std::wstring filter = DialogFilter(Filter);
    // The dialog takes the extension without its dot.
    const std::wstring extension =
        !DefaultExt.empty() && DefaultExt[0] == L'.' ? DefaultExt.substr(1) : DefaultExt;
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(FilterIndex);
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = DWORD(path.size());
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = Flags | OFN_EXPLORER;
    const auto& handler = CurrentFileDialogHandler();
    const bool confirmed = handler ? handler(ofn, save)
                           : save  ? GetSaveFileNameW(&ofn) != FALSE
                                   : GetOpenFileNameW(&ofn) != FALSE;
    if (!confirmed) return false;
    FileName = path.data();
    FilterIndex = int(ofn.nFilterIndex);
    return true;
}

bool CommonDialog::ShowPrinter(HWND owner) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = Flags & ~kPrintBitsNotHonoured;
    // A picture is one page; the range still needs room, or the dialog
    // disables the page-range choice that PD_PAGENUMS selects.
    pd.nFromPage = pd.nToPage = pd.nMinPage = 1;
    pd.nMaxPage = 0xFFFF;
    pd.nCopies = 1;
    const BOOL confirmed = PrintDlgW(&pd);
    UniqueGlobal devMode(pd.hDevMode), devNames(pd.hDevNames);
    return confirmed != FALSE;
}

}  // namespace toolkit
