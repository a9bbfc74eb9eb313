#include "app/file_caption.h"

#include "toolkit/units.h"

namespace app {

std::wstring GetFileName(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring OpenedCaption(const std::wstring& exeName, const std::wstring& fileName,
                           float widthTwips, float heightTwips) {
    return exeName + L"\u2500[" + fileName + L"(" + toolkit::NumberText(widthTwips) + L"x" +
           toolkit::NumberText(heightTwips) + L") ]";
}

}  // namespace app
