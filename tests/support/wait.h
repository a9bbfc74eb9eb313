// Waiting for what the program, the system or another process does: the one
// loop every test and benchmark waits in. It runs the calling thread's
// messages meanwhile, so the program's windows stay alive.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_support {

// Runs the queue for that long, translating the program's shortcuts when
// given them, as its own loop does.
void Pump(DWORD milliseconds = 50, HWND accelTarget = nullptr, HACCEL accelerators = nullptr);
// Pumps until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000,
               HWND accelTarget = nullptr, HACCEL accelerators = nullptr);

}  // namespace testing_support
