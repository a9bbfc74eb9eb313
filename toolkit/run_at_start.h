// Starting a program when the user signs in to Windows: a value under the
// current user's Run key.
#pragma once

#include <string>

namespace toolkit {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool RunsAtStart(const std::wstring& name);
// The program file itself, quoted, when on; the value removed when off.
bool SetRunAtStart(const std::wstring& name, bool on);

}  // namespace toolkit
