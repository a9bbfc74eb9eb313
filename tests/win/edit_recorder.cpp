// Another program for desktop_command_tests, registered as Paint's "edit"
// command: appends the file it was given, as a line of UTF-16, to
// edit_recorder.log beside itself.
#include <windows.h>

#include <string>

#include "toolkit/handles.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, n);
    log.erase(log.find_last_of(L'\\') + 1).append(L"edit_recorder.log");
    // Two editors started at once take turns, so neither writes over the other's line.
    const toolkit::UniqueHandle turn(CreateMutexW(nullptr, FALSE, L"fotolark-edit-recorder"));
    if (!turn || WaitForSingleObject(turn.get(), 10000) != WAIT_OBJECT_0) return 1;
    const toolkit::UniqueFile file(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                               nullptr, OPEN_ALWAYS, 0, nullptr));
    const std::wstring line = std::wstring(argv[1]) + L"\n";
    DWORD written = 0;
    const bool ok = file && WriteFile(file.get(), line.data(), DWORD(line.size() * sizeof(wchar_t)),
                                      &written, nullptr);
    ReleaseMutex(turn.get());
    return ok ? 0 : 1;
}
