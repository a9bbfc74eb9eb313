#include "toolkit/run_at_start.h"

#include <windows.h>

namespace toolkit {

bool RunsAtStart(const std::wstring& name) {
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

bool SetRunAtStart(const std::wstring& name, bool on) {
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    wchar_t exe[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return false;
    // Quoted: the path may hold spaces (Program Files).
    const std::wstring command = L"\"" + std::wstring(exe) + L"\"";
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), REG_SZ, command.c_str(),
                           DWORD((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace toolkit
