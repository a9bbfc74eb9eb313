#include "tests/support/test_window.h"

#include "pin/pin_store.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "toolkit/handles.h"
#include "toolkit/runtime.h"
#include "toolkit/settings.h"

namespace testing_support {

COLORREF PatternAt(int x, int y) { return kPatternColors[((x / 8) + 3 * (y / 8)) % 8]; }

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

PatternWindow::PatternWindow(int x, int y, int clientWidth, int clientHeight, const wchar_t* title,
                             DWORD style, DWORD exStyle) {
    RegisterTestClass(L"FotolarkTestPattern", &PatternWindow::Proc);
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, L"FotolarkTestPattern", title, style, x, y, r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    Pump(200);
}

PatternWindow::~PatternWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK PatternWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT client;
            GetClientRect(hwnd, &client);
            for (int y = 0; y < client.bottom; y += 8)
                for (int x = 0; x < client.right; x += 8) {
                    RECT block{x, y, x + 8, y + 8};
                    toolkit::UniqueBrush brush(CreateSolidBrush(PatternAt(x, y)));
                    FillRect(dc, &block, brush.get());
                }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MOUSEMOVE:
            if (self && message != WM_MOUSEMOVE) ++self->clicks_;
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Pixels ReadBitmap(HBITMAP bitmap, HPALETTE palette) {
    Pixels p;
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return p;
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    p.data.resize(size_t(p.width) * p.height);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = p.width;
    bmi.bmiHeader.biHeight = -p.height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    std::optional<toolkit::PaletteGuard> realized;
    if (palette) {
        realized.emplace(screen.get(), palette);
        RealizePalette(screen.get());
    }
    GetDIBits(screen.get(), bitmap, 0, p.height, p.data.data(), &bmi, DIB_RGB_COLORS);
    for (auto& v : p.data) v &= 0xFFFFFF;
    return p;
}

Pixels ReadPicture(const toolkit::Picture& picture) {
    return ReadBitmap(picture.Bitmap(), picture.Palette());
}

Pixels ReadScreen(const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    toolkit::UniqueDC memory(CreateCompatibleDC(screen.get()));
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    {
        toolkit::SelectGuard selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
    }
    return ReadBitmap(bitmap.get());
}

namespace {

int EnvInt(const char* name, int index) {
    const char* value = std::getenv(name);
    if (!value) return 0;
    int w = 0, h = 0;
    if (std::sscanf(value, "%dx%d", &w, &h) < 1) return 0;
    return index == 0 ? w : h;
}

}  // namespace

int ExpectedScreenWidth() { return EnvInt("FOTOLARK_SCREEN", 0); }
int ExpectedScreenHeight() { return EnvInt("FOTOLARK_SCREEN", 1); }
int ExpectedDpi() { return EnvInt("FOTOLARK_DPI", 0); }
int ExpectedDepth() { return EnvInt("FOTOLARK_DEPTH", 0); }

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return folder + name;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void StoreNoGlobalKeys() {
    for (const wchar_t* key :
         {L"KeyScreen", L"KeyWindow", L"KeyRegion", L"KeyPick", L"KeyPinClipboard"})
        toolkit::SaveSetting(L"Fotolark", L"Settings", key, L"");
}

void ClearSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Fotolark");
    // The pins kept from another test would come back at the next start.
    const std::wstring pins = pin::DefaultFolder();
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW((pins + L"\\*").c_str(), &found));
    if (!pins.empty() && find) {
        do DeleteFileW((pins + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(find.get(), &found));
    }
}

OtherProcess::OtherProcess(Kind kind, int x, int y, int clientWidth, int clientHeight,
                           UINT keyModifiers, UINT heldKey) {
    static int count = 0;
    const std::wstring title = L"other program " + std::to_wstring(GetCurrentProcessId()) + L"." +
                               std::to_wstring(++count);
    const wchar_t* kinds[] = {L"window", L"popup", L"topmost-popup"};
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder.erase(folder.find_last_of(L'\\') + 1);
    std::wstring command = L"\"" + folder + L"other_program.exe\" " + kinds[int(kind)] + L" " +
                           std::to_wstring(x) + L" " + std::to_wstring(y) + L" " +
                           std::to_wstring(clientWidth) + L" " + std::to_wstring(clientHeight) +
                           L" \"" + title + L"\"";
    if (heldKey) command += L" " + std::to_wstring(keyModifiers) + L" " + std::to_wstring(heldKey);
    process_ = toolkit::Shell(command, SW_SHOWNORMAL);
    if (!process_.Id()) return;
    PumpUntil([&] {
        hwnd_ = FindWindowW(L"FotolarkTestPattern", title.c_str());
        return hwnd_ && IsWindowVisible(hwnd_);
    });
    // Painted: its pattern shows on the screen.
    PumpUntil([&] {
        const POINT o = clientOrigin();
        return ReadScreen(RECT{o.x, o.y, o.x + 1, o.y + 1}).at(0, 0) == Rgb(PatternAt(0, 0));
    });
}

OtherProcess::~OtherProcess() {
    if (!process_.Id()) return;
    TerminateProcess(process_.Handle(), 0);
    WaitForSingleObject(process_.Handle(), 5000);
}

POINT OtherProcess::clientOrigin() const {
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    return origin;
}

std::string FileContents(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

HWND FindShownWindow(const wchar_t* cls, DWORD pid, const std::wstring& titlePart) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((!pid || owner == pid) && IsWindowVisible(w) &&
            WindowText(w).find(titlePart) != std::wstring::npos)
            return w;
    }
    return nullptr;
}

std::wstring DeskWallpaper() {
    wchar_t path[MAX_PATH] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

void SetDeskWallpaper(std::wstring path) {
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE);
}

}  // namespace testing_support
