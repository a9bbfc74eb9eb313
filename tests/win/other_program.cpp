// Another program for the tests: a window painted with the test pattern, shown
// until the process is ended. Arguments: window | popup | topmost-popup, then
// x, y, client width, client height and the title; optionally then a global
// key it holds from before its window shows: modifiers and virtual key.
#include <windows.h>

#include <cwchar>

#include "tests/support/test_window.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 7) return 2;
    const bool popup = std::wcsstr(argv[1], L"popup") != nullptr;
    if (argc >= 9 && !RegisterHotKey(nullptr, 1, _wtoi(argv[7]), _wtoi(argv[8]))) return 3;
    const DWORD exStyle = std::wcscmp(argv[1], L"topmost-popup") == 0 ? WS_EX_TOPMOST : 0;
    testing_support::PatternWindow window(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]),
                                          _wtoi(argv[5]), argv[6],
                                          popup ? WS_POPUP : WS_OVERLAPPEDWINDOW, exStyle);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
