#include "toolkit/settings.h"

#include <windows.h>

#include <vector>

namespace toolkit {

namespace {

std::wstring KeyPath(const std::wstring& app, const std::wstring& section) {
    return L"Software\\" + app + L"\\" + section;
}

}  // namespace

std::optional<std::wstring> GetSetting(const std::wstring& app, const std::wstring& section,
                                       const std::wstring& key) {
    DWORD type = 0, bytes = 0;
    const std::wstring path = KeyPath(app, section);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, &type,
                     buffer.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer.data());
}

bool SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
    const std::wstring path = KeyPath(app, section);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), REG_SZ, value.c_str(),
                           bytes) == ERROR_SUCCESS;
}

}  // namespace toolkit
