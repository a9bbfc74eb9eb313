#include "app/scroll_progress.h"

#include <algorithm>
#include <vector>

#include "app/texts.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"

namespace app {

namespace {

constexpr wchar_t kClass[] = L"FotolarkScrollProgress";
constexpr int kMargin = 6;  // around the text, and from the area

struct Displays {
    std::vector<RECT> work;
};

BOOL CALLBACK AddWork(HMONITOR monitor, HDC, RECT*, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<Displays*>(list)->work.push_back(info.rcWork);
    return TRUE;
}

bool Clear(const RECT& r, const RECT& area, const RECT& work) {
    RECT overlap, inside;
    return !IntersectRect(&overlap, &r, &area) && IntersectRect(&inside, &r, &work) &&
           EqualRect(&inside, &r);
}

}  // namespace

POINT PlaceOutside(const capture::Rect32& a, SIZE size) {
    const RECT area{a.left, a.top, a.right, a.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info);
    const RECT work = info.rcWork;
    const auto within = [&](LONG v, LONG lo, LONG hi) { return std::max(lo, std::min(v, hi)); };
    const LONG x = within(a.left, work.left, work.right - size.cx);
    const LONG y = within(a.top, work.top, work.bottom - size.cy);
    const POINT candidates[] = {
        {x, a.bottom + kMargin},
        {x, a.top - kMargin - size.cy},
        {a.right + kMargin, y},
        {a.left - kMargin - size.cx, y},
    };
    for (const POINT& p : candidates) {
        const RECT r{p.x, p.y, p.x + size.cx, p.y + size.cy};
        if (Clear(r, area, work)) return p;
    }
    Displays displays;
    EnumDisplayMonitors(nullptr, nullptr, &AddWork, reinterpret_cast<LPARAM>(&displays));
    for (const RECT& w : displays.work) {
        const RECT r{w.left, w.top, w.left + size.cx, w.top + size.cy};
        if (Clear(r, area, w)) return POINT{r.left, r.top};
    }
    return POINT{work.left, work.top};  // nowhere clear: an area as large as every display
}

ScrollProgressWindow::ScrollProgressWindow(const capture::Rect32& area, std::wstring heightText,
                                           std::wstring hint)
    : heightText_(std::move(heightText)), hint_(std::move(hint)) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ScrollProgressWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
        wc.lpszClassName = kClass;
        return RegisterClassW(&wc);
    }();
    (void)atom;
    toolkit::PhysicalPixels physical;
    // Sized for the tallest picture allowed, so it never grows.
    const std::wstring widest = Formatted(heightText_, {L"30000"}) + L"    " + hint_;
    SIZE text{};
    {
        toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
        toolkit::SelectGuard font(screen.get(), GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(screen.get(), widest.c_str(), int(widest.size()), &text);
    }
    const SIZE size{text.cx + 2 * kMargin + 2, text.cy + 2 * kMargin + 2};
    const POINT at = PlaceOutside(area, size);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"",
                            WS_POPUP | WS_BORDER, at.x, at.y, size.cx, size.cy, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
    ShowHeight(area.bottom - area.top);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

ScrollProgressWindow::~ScrollProgressWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void ScrollProgressWindow::ShowHeight(int height) {
    SetWindowTextW(hwnd_,
                   (Formatted(heightText_, {std::to_wstring(height)}) + L"    " + hint_).c_str());
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

LRESULT CALLBACK ScrollProgressWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            toolkit::PaintDC paint(hwnd);
            wchar_t text[256] = L"";
            GetWindowTextW(hwnd, text, 256);
            RECT r;
            GetClientRect(hwnd, &r);
            toolkit::SelectGuard font(paint.get(), GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(paint.get(), TRANSPARENT);
            SetTextColor(paint.get(), GetSysColor(COLOR_INFOTEXT));
            DrawTextW(paint.get(), text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace app
