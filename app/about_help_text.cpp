#include "app/about_help_text.h"

namespace app {

std::wstring AboutText(const std::wstring& studio, const std::wstring& qqLabel,
                       const std::wstring& mailLabel) {
    return L"Fotolark V2.0\r\n\r\n" + studio + L"\r\n https://www.fotolark.example\r\n\r\n" +
           qqLabel + L"2026120700\r\n" + mailLabel + L"support@fotolark.example";
}

// A program at a drive root has "D:\" as its folder, and the path keeps the
// doubled backslash: Windows reads it as one.
std::wstring HelpCommandLine(const std::wstring& appPath) {
    return L"notepad \"" + appPath + L"\\readme.txt\"";
}

}  // namespace app
