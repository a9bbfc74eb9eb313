#include "tests/support/wait.h"

namespace testing_support {

namespace {

void RunQueue(HWND accelTarget, HACCEL accelerators) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (accelerators && TranslateAcceleratorW(accelTarget, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

void Pump(DWORD milliseconds, HWND accelTarget, HACCEL accelerators) {
    PumpUntil([] { return false; }, milliseconds, accelTarget, accelerators);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, HWND accelTarget,
               HACCEL accelerators) {
    const DWORD start = GetTickCount();
    for (;;) {
        RunQueue(accelTarget, accelerators);
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        // Wakes for this thread's input at once; otherwise looks again soon,
        // for what other threads and processes do.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

}  // namespace testing_support
