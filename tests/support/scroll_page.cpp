#include "tests/support/scroll_page.h"

#include <algorithm>

#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/handles.h"

namespace testing_support {

ScrollPage::ScrollPage(int x, int y, int clientWidth, int clientHeight, int pageHeight, bool wheel)
    : width_(clientWidth), height_(clientHeight), pageHeight_(pageHeight), wheel_(wheel) {
    // Lines 9 to 19 rows high.
    for (int line = 0; int(lineOf_.size()) < pageHeight_; ++line)
        for (int r = 0; r < 9 + (line * 5) % 11 && int(lineOf_.size()) < pageHeight_; ++r) {
            lineOf_.push_back(line);
            rowInLine_.push_back(r);
        }
    RegisterTestClass(L"FotolarkTestScrollPage", &ScrollPage::Proc);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_VSCROLL;
    RECT r{0, 0, clientWidth + GetSystemMetrics(SM_CXVSCROLL), clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    hwnd_ =
        CreateWindowExW(0, L"FotolarkTestScrollPage", L"scroll page", style, x, y, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    ScrollTo(0);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    Pump(200);
}

ScrollPage::~ScrollPage() {
    if (hwnd_) DestroyWindow(hwnd_);
}

RECT ScrollPage::ClientOnScreen() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ScrollPage::ScrollTo(int pos) {
    pos_ = std::clamp(pos, 0, pageHeight_ - body());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    info.nMax = pageHeight_ - 1;
    info.nPage = UINT(body());
    info.nPos = pos_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

uint32_t ScrollPage::PageAt(int x, int y) const {
    const int line = lineOf_[size_t(y)];
    const int row = rowInLine_[size_t(y)];
    if (row < 2) return 0xFFFFFF;  // the gap between lines
    // "Letters": runs of ink whose places depend on the line and the row.
    const bool ink = ((x + line * 7) / 5 + row) % 3 == 0 && (x / 40 + line) % 4 != 0;
    return ink ? uint32_t((line * 37 % 200) << 16 | (y % 251) << 8 | 0x30) : 0xFFFFFF;
}

uint32_t ScrollPage::FixedAt(int x, int y) const {
    return y < kHeader ? 0x2040A0u + uint32_t((x / 16 % 2) << 14)
                       : 0x20A040u + uint32_t(((x + y) / 16 % 2) << 6);
}

std::vector<uint32_t> ScrollPage::Whole(int from, int rows) const {
    if (rows <= 0) rows = pageHeight_ - from;
    std::vector<uint32_t> out;
    out.reserve(size_t(width_) * (kHeader + rows + kFooter));
    for (int y = 0; y < kHeader; ++y)
        for (int x = 0; x < width_; ++x) out.push_back(FixedAt(x, y));
    for (int y = from; y < from + rows; ++y)
        for (int x = 0; x < width_; ++x) out.push_back(PageAt(x, y));
    for (int y = height_ - kFooter; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.push_back(FixedAt(x, y));
    return out;
}

void ScrollPage::Paint(HDC dc) const {
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            pixels.push_back(y < kHeader || y >= height_ - kFooter ? FixedAt(x, y)
                                                                   : PageAt(x, pos_ + y - kHeader));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, width_, height_, 0, 0, 0, height_, pixels.data(), &info,
                      DIB_RGB_COLORS);
}

LRESULT CALLBACK ScrollPage::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<ScrollPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            toolkit::PaintDC paint(hwnd);
            self->Paint(paint.get());
            return 0;
        }
        case WM_MOUSEWHEEL:
            if (!self->wheel_) break;
            self->ScrollTo(self->pos_ - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelRows / WHEEL_DELTA);
            return 0;
        case WM_VSCROLL: {
            int pos = self->pos_;
            switch (LOWORD(wParam)) {
                case SB_LINEDOWN:
                    pos += kLineRows;
                    break;
                case SB_LINEUP:
                    pos -= kLineRows;
                    break;
                case SB_PAGEDOWN:
                    pos += self->body();
                    break;
                case SB_PAGEUP:
                    pos -= self->body();
                    break;
                case SB_THUMBPOSITION:
                case SB_THUMBTRACK:
                    pos = HIWORD(wParam);
                    break;
                case SB_TOP:
                    pos = 0;
                    break;
                case SB_BOTTOM:
                    pos = self->pageHeight_;
                    break;
            }
            self->ScrollTo(pos);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_NEXT) self->ScrollTo(self->pos_ + self->body() - kLineRows);
            if (wParam == VK_PRIOR) self->ScrollTo(self->pos_ - self->body() + kLineRows);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace testing_support
