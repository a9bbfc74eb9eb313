// Per-user settings: text values under HKCU\Software\<app>\<section>.
#pragma once

#include <optional>
#include <string>

namespace toolkit {

// Empty when the value is missing or not text.
std::optional<std::wstring> GetSetting(const std::wstring& app, const std::wstring& section,
                                       const std::wstring& key);
bool SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);

}  // namespace toolkit
