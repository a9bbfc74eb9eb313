#include "toolkit/file_write.h"

namespace toolkit {

namespace {

DWORD& Failure(FileStep step) {
    static DWORD failures[2] = {};
    return failures[int(step)];
}

bool Refused(FileStep step) {
    if (!Failure(step)) return false;
    SetLastError(Failure(step));
    return true;
}

}  // namespace

UniqueFile CreateNewFile(const std::wstring& path) {
    if (Refused(FileStep::Create)) return UniqueFile();
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteToFile(HANDLE file, const void* data, DWORD size) {
    if (Refused(FileStep::Write)) return false;
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr)) return false;
    if (written == size) return true;
    SetLastError(ERROR_DISK_FULL);  // a short write: no room for the rest
    return false;
}

void SetFileFailure(FileStep step, DWORD error) { Failure(step) = error; }

}  // namespace toolkit
