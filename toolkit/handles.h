// Owners for Win32 handles: an alias of Unique per kind, and scope guards
// for what must be undone before the scope ends.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "toolkit/unique.h"

namespace toolkit {

inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DeleteMemoryDC(HDC h) { ::DeleteDC(h); }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) { ::FindClose(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyAccelerators(HACCEL h) { ::DestroyAcceleratorTable(h); }
inline void DestroyImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void Unhook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void UnmapView(const void* view) { ::UnmapViewOfFile(view); }
inline void FreeGlobal(HGLOBAL h) { ::GlobalFree(h); }
inline void FreeTaskMemory(wchar_t* p) { ::CoTaskMemFree(p); }
inline void FreeArguments(LPWSTR* words) { ::LocalFree(words); }
inline void FinishDrop(HDROP drop) { ::DragFinish(drop); }

using UniqueBitmap = Unique<HBITMAP, DeleteGdiObject>;
using UniquePalette = Unique<HPALETTE, DeleteGdiObject>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject>;
using UniqueRegion = Unique<HRGN, DeleteGdiObject>;
using UniqueDC = Unique<HDC, DeleteMemoryDC>;            // CreateDC / CreateCompatibleDC
using UniqueHandle = Unique<HANDLE, CloseKernelHandle>;  // processes, threads, events
using UniqueFile =
    Unique<HANDLE, CloseKernelHandle, -1>;            // CreateFile fails with INVALID_HANDLE_VALUE
using UniqueFind = Unique<HANDLE, CloseFind, -1>;     // FindFirstFile, likewise
using UniqueMenu = Unique<HMENU, DestroyMenuHandle>;  // until attached to a window or a parent menu
using UniqueAccelerators = Unique<HACCEL, DestroyAccelerators>;
using UniqueImageList = Unique<HIMAGELIST, DestroyImageList>;
using UniqueHook = Unique<HHOOK, Unhook>;
using UniqueView = Unique<const void*, UnmapView>;          // MapViewOfFile
using UniqueGlobal = Unique<HGLOBAL, FreeGlobal>;           // what a common dialog hands back
using UniqueTaskString = Unique<wchar_t*, FreeTaskMemory>;  // a string the shell allocated
using UniqueArguments = Unique<LPWSTR*, FreeArguments>;     // CommandLineToArgvW
using UniqueDrop = Unique<HDROP, FinishDrop>;               // what WM_DROPFILES hands over

// A DC borrowed from a window; ReleaseDC needs the window it came from.
class WindowDC {
public:
    enum class Area { Client, Whole };
    WindowDC(HWND hwnd, Area area)
        : hwnd_(hwnd), dc_(area == Area::Client ? ::GetDC(hwnd) : ::GetWindowDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of a WM_PAINT: EndPaint on every path, so the window is validated
// even when the painting stops early.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { Restore(); }
    // Selects the previous object back now and returns the one that came out.
    HGDIOBJ Restore() {
        if (!previous_) return nullptr;
        return ::SelectObject(dc_, std::exchange(previous_, nullptr));
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette)
        : dc_(dc), previous_(::SelectPalette(dc, palette, FALSE)) {}
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;
    ~PaletteGuard() { Restore(); }
    HPALETTE Restore() {
        if (!previous_) return nullptr;
        return ::SelectPalette(dc_, std::exchange(previous_, nullptr), FALSE);
    }

private:
    HDC dc_;
    HPALETTE previous_;
};

}  // namespace toolkit
