#include "capture/process.h"

#include <windows.h>

#include "app/toolkit/handles.h"

namespace capture {

void EndProcessById(const int32_t& TaskId) {
    toolkit::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(TaskId)));
    if (process) TerminateProcess(process.get(), 1);
}

}  // namespace capture
