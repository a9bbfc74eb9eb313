#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/wait.h"

namespace {

// Right after Wine's server starts, its virtual desktop may not take windows
// yet; wait until a top-level window can be made.
bool WaitForDesktop() {
    return testing_support::PumpUntil(
        [] {
            const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                               nullptr, nullptr, nullptr);
            return probe && DestroyWindow(probe);
        },
        10000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    OleInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    if (!WaitForDesktop()) {
        fprintf(stderr, "the desktop takes no windows\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
