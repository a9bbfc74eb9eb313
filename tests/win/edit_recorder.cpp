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
    // Two editors started at once must not write over each other's line.
    toolkit::UniqueFile file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        if (attempt) Sleep(20);
        file.reset(CreateFileW(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    }
    if (!file) return 1;
    const std::wstring line = std::wstring(argv[1]) + L"\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), DWORD(line.size() * sizeof(wchar_t)), &written, nullptr);
    return 0;
}
