#include "capture/pick_overlay.h"

#include <algorithm>

#include "toolkit/handles.h"

namespace capture {

namespace {

constexpr wchar_t kClass[] = L"FotolarkPickOutline";
// Windows 10 2004 and later keep such a window out of every screen capture.
constexpr DWORD kExcludeFromCapture = 0x11;

bool RegisterOnce(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

SIZE TextSize(const std::wstring& text) {
    SIZE extent{};
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    toolkit::SelectGuard font(screen.get(), GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(screen.get(), text.c_str(), int(text.size()), &extent);
    return extent;
}

}  // namespace

LRESULT CALLBACK PickOverlay::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PickOverlay*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (self) {
                self->Paint();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills it all
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            if ((message >= WM_APP || message == WM_TIMER) && self && self->sink_) {
                self->sink_(message, wParam, lParam);
                return 0;
            }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

PickOverlay::PickOverlay(Sink sink) : sink_(sink) {
    if (!RegisterOnce(&Proc)) return;
    hwnd_ = CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
        kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
    SetWindowDisplayAffinity(hwnd_, kExcludeFromCapture);  // fails before 2004: hidden anyway
}

PickOverlay::~PickOverlay() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

void PickOverlay::Paint() {
    toolkit::PaintDC dc(hwnd_);
    toolkit::UniqueBrush brush(CreateSolidBrush(kOutlineColor));
    FillRect(dc.get(), &dc.area(), brush.get());
    if (label_.empty()) return;
    toolkit::SelectGuard font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    DrawTextW(dc.get(), label_.c_str(), int(label_.size()), &labelBox_,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PickOverlay::Show(const Rect32& ring, int width, bool labelled) {
    if (!hwnd_) return;
    if (IsEmpty(ring)) return Hide();
    if (ring == shown_ && width == width_ && labelled == labelled_) return;
    // The window covers the ring and the label, which may stand out of it.
    Rect32 box = ring;
    Rect32 label;
    label_ = labelled ? RegionLabel(ring) : std::wstring();
    if (labelled) {
        const SIZE text = TextSize(label_);
        const int32_t cx = text.cx + 6, cy = text.cy + 2;  // a little room round the digits
        const Point32 at = LabelOrigin(ring, cx, cy);
        label = Rect32{at.x, at.y, at.x + cx, at.y + cy};
        box = Rect32{std::min(box.left, label.left), std::min(box.top, label.top),
                     std::max(box.right, label.right), std::max(box.bottom, label.bottom)};
    }
    const auto local = [&](const Rect32& r) {
        return RECT{r.left - box.left, r.top - box.top, r.right - box.left, r.bottom - box.top};
    };
    const RECT outer = local(ring);
    toolkit::UniqueRegion shape(CreateRectRgnIndirect(&outer));
    if (outer.right - outer.left > 2 * width && outer.bottom - outer.top > 2 * width) {
        toolkit::UniqueRegion hole(CreateRectRgn(outer.left + width, outer.top + width,
                                                 outer.right - width, outer.bottom - width));
        CombineRgn(shape.get(), shape.get(), hole.get(), RGN_DIFF);
    }
    labelBox_ = local(label);
    if (labelled) {
        toolkit::UniqueRegion tag(CreateRectRgnIndirect(&labelBox_));
        CombineRgn(shape.get(), shape.get(), tag.get(), RGN_OR);
    }
    // The system owns the region once it is set.
    if (SetWindowRgn(hwnd_, shape.get(), FALSE)) shape.release();
    SetWindowPos(hwnd_, HWND_TOPMOST, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    shown_ = ring;
    width_ = width;
    labelled_ = labelled;
}

void PickOverlay::Hide() {
    if (hwnd_ && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
    shown_ = Rect32{};
}

}  // namespace capture
