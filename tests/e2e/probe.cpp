// The end-to-end suite's eyes inside Wine: reads what a person sees of
// windows, message boxes, the clipboard, the registry and the wallpaper
// setting, and prints it as UTF-8. Waits where a state may take a moment.
//   probe window CLASS [TITLE-PART]   waits for the window; prints its screen
//                                     rectangle, client rectangle, "min" or
//                                     "shown", and its title
//   probe gone CLASS [TITLE-PART]     waits until no such window is shown
//   probe front CLASS [TITLE-PART]    whether such a window is in front now
//   probe box                         waits for a message box; prints its text
//   probe tooltip                     waits for a shown tooltip; prints its text
//   probe clipboard FILE              writes the clipboard's bitmap as a BMP
//   probe setting NAME                prints HKCU\Software\Fotolark\Settings\NAME
//   probe wallpaper                   prints the desktop wallpaper's path
//   probe place CLASS X Y W H         moves and sizes the window, as a user would
// Exit code 0 when found or done, 1 when the wait ran out, 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/handles.h"

namespace {

void Print(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    DWORD written = 0;
    utf8 += '\n';
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

std::wstring Title(HWND w) { return testing_support::WindowText(w); }

HWND Find(const wchar_t* cls, const wchar_t* part) {
    return testing_support::FindShownWindow(cls, 0, part ? part : L"");
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms = 10000) {
    return testing_support::PumpUntil(condition, ms);
}

// Whether the window in front is of that class and title.
bool InFront(const wchar_t* cls, const wchar_t* part) {
    const HWND front = GetForegroundWindow();
    wchar_t name[64] = L"";
    GetClassNameW(front, name, 64);
    return front && std::wcscmp(name, cls) == 0 &&
           (!part || Title(front).find(part) != std::wstring::npos);
}

// The static text of a message box: its only "Static" child with text.
BOOL CALLBACK BoxText(HWND child, LPARAM out) {
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, 32);
    if (std::wcscmp(cls, L"Static") == 0 && !Title(child).empty())
        *reinterpret_cast<std::wstring*>(out) = Title(child);
    return TRUE;
}

int Window(const wchar_t* cls, const wchar_t* part) {
    HWND w = nullptr;
    if (!WaitFor([&] { return (w = Find(cls, part)) != nullptr; })) return 1;
    RECT r{}, c{};
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
    wchar_t line[160];
    std::swprintf(line, 160, L"%ld %ld %ld %ld %ld %ld %ld %ld %ls ", r.left, r.top, r.right,
                  r.bottom, c.left, c.top, c.right, c.bottom, IsIconic(w) ? L"min" : L"shown");
    Print(line + Title(w));
    return 0;
}

int Box() {
    std::wstring text;
    const bool found = WaitFor([&] {
        for (HWND w = FindWindowW(L"#32770", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
            if (!IsWindowVisible(w)) continue;
            EnumChildWindows(w, &BoxText, reinterpret_cast<LPARAM>(&text));
            if (!text.empty()) return true;
        }
        return false;
    });
    if (found) Print(text);
    return found ? 0 : 1;
}

// Another process's GetWindowText reads no tooltip's text: only the message asks it.
std::wstring AskedText(HWND w) {
    wchar_t text[512] = L"";
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 1000, &result);
    return text;
}

int Tooltip() {
    std::wstring text;
    const bool found = WaitFor([&] {
        const HWND tip = Find(L"tooltips_class32", nullptr);
        return tip && !(text = AskedText(tip)).empty();
    });
    if (found) Print(text);
    return found ? 0 : 1;
}

int Clipboard(const wchar_t* path) {
    if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) return 1;
    int result = 1;
    if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        BITMAPINFOHEADER h{sizeof h, info.bmWidth, info.bmHeight, 1, 24, BI_RGB};
        const DWORD stride = (DWORD(info.bmWidth) * 3 + 3) & ~3u;
        std::vector<char> pixels(size_t(stride) * info.bmHeight);
        GetDIBits(toolkit::WindowDC(nullptr, toolkit::WindowDC::Area::Client).get(), bitmap, 0,
                  info.bmHeight, pixels.data(), reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS);
        BITMAPFILEHEADER f{0x4D42, DWORD(sizeof f + sizeof h + pixels.size()), 0, 0,
                           DWORD(sizeof f + sizeof h)};
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&f), sizeof f);
        out.write(reinterpret_cast<const char*>(&h), sizeof h);
        out.write(pixels.data(), std::streamsize(pixels.size()));
        result = out ? 0 : 1;
    }
    CloseClipboard();
    return result;
}

int Setting(const wchar_t* name) {
    wchar_t value[256] = L"";
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Fotolark\\Settings", name, RRF_RT_REG_SZ,
                     nullptr, value, &bytes) != ERROR_SUCCESS)
        return 1;
    Print(value);
    return 0;
}

int Wallpaper() {
    wchar_t path[MAX_PATH] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    Print(path);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    const wchar_t* part = argc > 3 ? argv[3] : nullptr;
    if (verb == L"window" && argc > 2) return Window(argv[2], part);
    if (verb == L"front" && argc > 2) return InFront(argv[2], part) ? 0 : 1;
    if (verb == L"gone" && argc > 2) return WaitFor([&] { return !Find(argv[2], part); }) ? 0 : 1;
    if (verb == L"box") return Box();
    if (verb == L"tooltip") return Tooltip();
    if (verb == L"clipboard" && argc > 2) return Clipboard(argv[2]);
    if (verb == L"setting" && argc > 2) return Setting(argv[2]);
    if (verb == L"wallpaper") return Wallpaper();
    if (verb == L"place" && argc > 6) {
        HWND w = Find(argv[2], nullptr);
        return w && SetWindowPos(w, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]),
                                 _wtoi(argv[6]), SWP_NOZORDER)
                   ? 0
                   : 1;
    }
    return 2;
}
