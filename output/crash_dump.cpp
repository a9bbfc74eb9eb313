#include "output/crash_dump.h"

#include <dbghelp.h>

#include "toolkit/handles.h"

namespace output {

bool WriteMiniDump(const std::wstring& path, EXCEPTION_POINTERS* exception) {
    using Writer =
        BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                      PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);
    // From the system folder only: a dbghelp.dll planted beside the program
    // would otherwise run in it.
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (!length || length >= MAX_PATH) return false;
    const HMODULE library = LoadLibraryW((std::wstring(system) + L"\\dbghelp.dll").c_str());
    if (!library) return false;
    const auto write = reinterpret_cast<Writer>(
        reinterpret_cast<void*>(GetProcAddress(library, "MiniDumpWriteDump")));
    bool written = false;
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (write && file) {
        MINIDUMP_EXCEPTION_INFORMATION info{GetCurrentThreadId(), exception, FALSE};
        written = write(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal,
                        exception ? &info : nullptr, nullptr, nullptr) != FALSE;
    }
    file.reset();
    if (!written) DeleteFileW(path.c_str());
    FreeLibrary(library);
    return written;
}

}  // namespace output
