#include "app/about_help_text.h"

namespace app {

std::wstring AboutText() {
    return L"Fotolark V2.0\r\n"
           L"\r\n"
           L"云雀软件工作室\r\n"
           L" https://www.fotolark.example\r\n"
           L"\r\n"
           L"QQ\uFF1A2026120700\r\n"
           L"邮箱\uFF1Asupport@fotolark.example";
}

// A program at a drive root has "D:\" as its folder, and the path keeps the
// doubled backslash: Windows reads it as one.
std::wstring HelpCommandLine(const std::wstring& appPath) {
    return L"notepad \"" + appPath + L"\\readme.txt\"";
}

}  // namespace app
