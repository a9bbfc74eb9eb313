// Helpers for tests on real windows: a window of the test's own painted with
// a known pattern, pixel reads, message pumping and the display under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/wait.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"
#include "toolkit/runtime.h"

namespace testing_support {

// Colours every display shows exactly, the 8-bit palette's static ones included.
constexpr COLORREF kPatternColors[] = {RGB(255, 0, 0),   RGB(0, 255, 0),    RGB(0, 0, 255),
                                       RGB(255, 255, 0), RGB(0, 255, 255),  RGB(255, 0, 255),
                                       RGB(0, 0, 0),     RGB(255, 255, 255)};

// The pattern's colour at a client pixel: 8 x 8 blocks that differ from
// their neighbours, so an offset of one pixel shows.
COLORREF PatternAt(int x, int y);

// A window class of the tests' own, with an arrow pointer; registering it
// again does nothing.
void RegisterTestClass(const wchar_t* name, WNDPROC proc);

// A top-level window with a frame whose client area shows the pattern.
class PatternWindow {
public:
    PatternWindow(int x, int y, int clientWidth, int clientHeight,
                  const wchar_t* title = L"pattern", DWORD style = WS_OVERLAPPEDWINDOW,
                  DWORD exStyle = 0);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    int clicks() const { return clicks_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    int clicks_ = 0;
};

// A pattern window of another process (other_program.exe beside the test),
// ended with this object. Some of what the system does with the foreground
// and the keyboard happens only between processes, not between threads.
// It can hold a global key (RegisterHotKey's modifiers and key) from before
// its window shows.
class OtherProcess {
public:
    enum class Kind { Window, Popup, TopmostPopup };
    OtherProcess(Kind kind, int x, int y, int clientWidth, int clientHeight, UINT keyModifiers = 0,
                 UINT heldKey = 0);
    ~OtherProcess();
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;
    HWND hwnd() const { return hwnd_; }
    POINT clientOrigin() const;  // on the screen

private:
    toolkit::Process process_;
    HWND hwnd_ = nullptr;
};

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[size_t(y) * width + x]; }
};
Pixels ReadBitmap(HBITMAP bitmap, HPALETTE palette = nullptr);
Pixels ReadPicture(const toolkit::Picture& picture);
Pixels ReadScreen(const RECT& area);
uint32_t Rgb(COLORREF c);  // COLORREF to 0x00RRGGBB

// What tools/test says the display is; 0 when the variable is unset.
int ExpectedScreenWidth();
int ExpectedScreenHeight();
int ExpectedDpi();
int ExpectedDepth();

// A file of that name in the user's temporary folder, and whether a path names anything.
std::wstring TempPath(const std::wstring& name);
bool FileExists(const std::wstring& path);
// A file's bytes (empty when it cannot be read), and a file written with them.
std::string FileContents(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A window's text: a top-level window's caption, a control's contents.
std::wstring WindowText(HWND hwnd);
// The first shown top-level window of that class (any, when null), of that
// process (any, when 0), whose caption holds `titlePart`; null for none.
HWND FindShownWindow(const wchar_t* cls, DWORD pid = 0, const std::wstring& titlePart = L"");

// The desktop wallpaper's file as the system reports it, and setting it.
std::wstring DeskWallpaper();
void SetDeskWallpaper(std::wstring path);

// Removes the stored settings so each test starts as a first run.
void ClearSettings();
// Stores "none" for every global key: a second window started while the
// first holds them would otherwise stop to say they are taken.
void StoreNoGlobalKeys();

}  // namespace testing_support
