// Writing files: the two steps a save can fail at, each with the system's own
// error. Wine running as root refuses no folder and fills no disk, so tests
// make a step fail with a given error through the seam.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/handles.h"

namespace toolkit {

// A file of that name made here, open for writing and shared with nobody;
// empty, with the error in GetLastError, when it cannot be.
UniqueFile CreateNewFile(const std::wstring& path);

// All of the bytes, or false with the error in GetLastError.
bool WriteToFile(HANDLE file, const void* data, DWORD size);

enum class FileStep { Create, Write };
// For tests: from now on the step fails with the error; 0 lets it work again.
void SetFileFailure(FileStep step, DWORD error);

}  // namespace toolkit
