// A crash report for the developers: a minidump of this process, written
// with the system's debugging library, loaded only when it is needed.
#pragma once

#include <windows.h>

#include <string>

namespace output {

// Writes the dump to path; false when the library or the file cannot be had.
bool WriteMiniDump(const std::wstring& path, EXCEPTION_POINTERS* exception);

}  // namespace output
