// What the platform itself takes for the work of a pin, with nothing of ours
// around it: a 4K window shown with a ready 4K bitmap blitted into it, and one
// zoom step of that window (grown by a quarter around a point, the visible
// part stretched). The pin's own figures are read against these.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/measure.h"
#include "tests/support/wait.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

HDC g_picture = nullptr;
int g_zoom = 100;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    toolkit::PaintDC dc(hwnd);
    const RECT& d = dc.area();
    if (g_zoom == 100) {
        BitBlt(dc.get(), d.left, d.top, d.right - d.left, d.bottom - d.top, g_picture, d.left,
               d.top, SRCCOPY);
    } else {
        SetStretchBltMode(dc.get(), COLORONCOLOR);
        StretchBlt(dc.get(), d.left, d.top, d.right - d.left, d.bottom - d.top, g_picture,
                   d.left * 100 / g_zoom, d.top * 100 / g_zoom, (d.right - d.left) * 100 / g_zoom,
                   (d.bottom - d.top) * 100 / g_zoom, SRCCOPY);
    }
    return 0;
}

HWND NewWindow() {
    HWND hwnd =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BareFloor", L"", WS_POPUP, 0, 0, kWidth,
                        kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    GdiFlush();
    return hwnd;
}

}  // namespace

int main() {
    SetProcessDPIAware();
    if (bench::DisplayName(GetSystemMetrics(SM_CXSCREEN)) != "4k") return 0;
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kWidth, -kHeight, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) px[size_t(y) * kWidth + x] = (x * 7 + y * 3) & 0xFFFFFF;
    toolkit::UniqueDC memory(CreateCompatibleDC(nullptr));
    toolkit::SelectGuard selected(memory.get(), bitmap.get());
    g_picture = memory.get();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BareFloor";
    RegisterClassExW(&wc);

    // Each shown window goes before the next is timed.
    HWND shown = nullptr;
    std::vector<double> shows;
    for (int i = 0; i < 15; ++i) {
        if (shown) DestroyWindow(shown);
        testing_support::Pump(50);
        shows.push_back(bench::TimeMs([&] { shown = NewWindow(); }));
    }
    testing_support::Pump(200);

    // One wheel step: the window a quarter larger around (600, 400), repainted.
    const HWND hwnd = shown;
    const double zoom = bench::MedianMs(41, [&](int i) {
        g_zoom = i % 2 ? 100 : 125;
        const int w = kWidth * g_zoom / 100, h = kHeight * g_zoom / 100;
        const int x = 600 - 600 * g_zoom / 100, y = 400 - 400 * g_zoom / 100;
        SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        GdiFlush();
    });
    // The stretch alone, into the window as it stands.
    g_zoom = 125;
    const double stretch = bench::MedianMs(41, [&](int) {
        toolkit::WindowDC dc(hwnd, toolkit::WindowDC::Area::Client);
        SetStretchBltMode(dc.get(), COLORONCOLOR);
        StretchBlt(dc.get(), 0, 0, kWidth, kHeight, g_picture, 0, 0, kWidth * 100 / 125,
                   kHeight * 100 / 125, SRCCOPY);
        GdiFlush();
    });
    // A step that does not change the window's rectangle: the window already
    // covers the display, only the picture in it changes.
    SetWindowPos(hwnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    testing_support::Pump(200);
    const double repaint = bench::MedianMs(41, [&](int i) {
        g_zoom = i % 2 ? 100 : 125;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        GdiFlush();
    });
    DestroyWindow(hwnd);
    std::printf("bench: pin_repaint_floor_ms_4k %.2f ms\n", repaint);
    std::printf("bench: pin_show_floor_ms_4k %.2f ms\n", bench::Median(shows));
    std::printf("bench: pin_zoom_floor_ms_4k %.2f ms\n", zoom);
    std::printf("bench: pin_stretch_floor_ms_4k %.2f ms\n", stretch);
    return 0;
}
