// Another program for region_tests: holds the clipboard open until told to
// let go. Arguments: the name of an event to set once it holds the clipboard,
// and the name of an event to wait for.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE letGo = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (!held || !letGo || !OpenClipboard(nullptr)) return 1;
    SetEvent(held);
    WaitForSingleObject(letGo, 60000);
    CloseClipboard();
    CloseHandle(held);
    CloseHandle(letGo);
    return 0;
}
