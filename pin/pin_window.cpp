#include "pin/pin_window.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "capture/screen_grab.h"
#include "pin/pin_geometry.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"

namespace pin {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
constexpr UINT kShownMessage = WM_APP + 1;

enum MenuId : UINT {
    kMenuCopy = 1,
    kMenuSaveAs,
    kMenuToViewer,
    kMenuActualSize,
    kMenuClose,
    kMenuCloseAll,
    kMenuHideAll,
    kMenuOpacity = 100,  // + the percentage
};

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        // The system's shadow, where it draws one, sets the pin off what lies beneath.
        wc.style = CS_DBLCLKS | CS_DROPSHADOW;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_SIZEALL);
        wc.lpszClassName = Window::kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// The thin frame around the picture, as the style draws it.
RECT FrameAround(const RECT& picture) {
    RECT r = picture;
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return r;
}

int32_t Scaled64(int64_t i, int32_t scaled, int32_t length) { return int32_t(i * scaled / length); }

// The frame around the picture, cut to the displays' bounds with the frame
// itself just beyond them: a zoomed pin far larger than the screen would ask
// the system for a surface of that size, and resizing it on every wheel step
// is what makes zooming slow.
RECT OnDisplays(const RECT& frame, const RECT& picture) {
    toolkit::PhysicalPixels physical;
    RECT bounds{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    bounds.right = bounds.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    bounds.bottom = bounds.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    bounds.left -= picture.left - frame.left;
    bounds.top -= picture.top - frame.top;
    bounds.right += frame.right - picture.right;
    bounds.bottom += frame.bottom - picture.bottom;
    RECT shown{};
    return IntersectRect(&shown, &frame, &bounds) ? shown : frame;
}

}  // namespace

const wchar_t Window::kClassName[] = L"FotolarkPin";

Window::Window(toolkit::Picture picture, const Record& place, Host& host)
    : picture_(std::move(picture)), size_(picture_.PixelSize()), place_(place), host_(host) {
    if (picture_.Empty() || size_.cx <= 0 || size_.cy <= 0) return;
    RegisterOnce();
    // The window takes the thread's awareness as it is made: per monitor, so
    // that the system neither scales its pixels nor moves them on a display
    // scaled otherwise.
    toolkit::PhysicalPixels physical;
    place_.zoom = NextZoom(place_.zoom, 0, size_.cx, size_.cy);
    const RECT frame = WindowRect();
    hwnd_ = CreateWindowExW(kExStyle, kClassName, L"Fotolark", kStyle, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    ApplyOpacity(place_.opacity);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    // Kept on disk once shown: writing a large picture would hold it up.
    PostMessageW(hwnd_, kShownMessage, 0, 0);
}

Window::~Window() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

RECT Window::PictureRect() const {
    return RECT{place_.left, place_.top, place_.left + Scaled(size_.cx, place_.zoom),
                place_.top + Scaled(size_.cy, place_.zoom)};
}

RECT Window::WindowRect() {
    const RECT picture = PictureRect(), frame = FrameAround(picture),
               shown = OnDisplays(frame, picture);
    shownFrom_ = POINT{shown.left - frame.left, shown.top - frame.top};
    return shown;
}

void Window::Reposition() {
    const POINT before = shownFrom_;
    const RECT frame = WindowRect();
    // Where the cut moved, the pixels kept would show the wrong part.
    const bool cutMoved = before.x != shownFrom_.x || before.y != shownFrom_.y;
    SetWindowPos(hwnd_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (cutMoved ? SWP_NOCOPYBITS : 0));
    if (cutMoved) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::SetZoom(int zoom, POINT anchor) {
    zoom = NextZoom(zoom, 0, size_.cx, size_.cy);
    if (zoom == place_.zoom) return;
    const Point32 origin = ZoomAround(Point32{place_.left, place_.top}, Point32{anchor.x, anchor.y},
                                      place_.zoom, zoom);
    place_.left = origin.x;
    place_.top = origin.y;
    place_.zoom = zoom;
    Reposition();
    InvalidateRect(hwnd_, nullptr, FALSE);
    host_.PinChanged(*this);
}

void Window::SetOpacity(int opacity) {
    ApplyOpacity(opacity);
    host_.PinChanged(*this);
}

void Window::ApplyOpacity(int opacity) {
    place_.opacity = std::clamp(opacity, kMinOpacity, kMaxOpacity);
    const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    // Layered only once faded: an opaque pin is drawn as any window.
    if (place_.opacity == kMaxOpacity && !(ex & WS_EX_LAYERED)) return;
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd_, 0, Alpha(place_.opacity), LWA_ALPHA);
}

void Window::MoveTo(int32_t left, int32_t top) {
    place_.left = left;
    place_.top = top;
    Reposition();
}

void Window::KeepOnDisplays() {
    const RECT r = PictureRect();
    const Rect32 kept =
        pin::KeepOnDisplays(Rect32{r.left, r.top, r.right, r.bottom}, capture::DisplayRects());
    if (kept.left != r.left || kept.top != r.top) MoveTo(kept.left, kept.top);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

// Each case may end the pin through its host: nothing of it is touched after.
LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers every pixel
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            OnDrag(message);
            return 0;
        case WM_LBUTTONDBLCLK:
        case WM_CLOSE:
            host_.PinAction(*this, Action::Close);
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0,
                    POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_KEYDOWN:
            if (OnKey(wParam)) return 0;
            break;
        case WM_CONTEXTMENU: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (at.x == -1 && at.y == -1) at = POINT{place_.left, place_.top};  // from the keyboard
            ShowMenu(at);
            return 0;
        }
        case WM_DISPLAYCHANGE:
            KeepOnDisplays();
            Reposition();  // the displays' bounds changed
            host_.PinChanged(*this);
            return 0;
        case kShownMessage:
            host_.PinShown(*this);
            return 0;
        case 0x02E0:  // WM_DPICHANGED: the pin keeps its pixels, not the suggested size
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::Paint() {
    toolkit::PaintDC dc(hwnd_);
    // In the picture's pixels at the zoom: the window may show only part of it.
    RECT d = dc.area();
    OffsetRect(&d, shownFrom_.x, shownFrom_.y);
    const POINT at{-shownFrom_.x, -shownFrom_.y};  // the picture's corner in the window
    toolkit::UniqueDC memory(CreateCompatibleDC(dc.get()));
    if (!memory) return;
    toolkit::SelectGuard selected(memory.get(), picture_.Bitmap());
    std::optional<toolkit::PaletteGuard> palette;
    if (picture_.Palette()) {
        palette.emplace(dc.get(), picture_.Palette());
        RealizePalette(dc.get());
    }
    const int32_t w = size_.cx, h = size_.cy;
    if (place_.zoom == 100) {
        BitBlt(dc.get(), at.x + d.left, at.y + d.top, d.right - d.left, d.bottom - d.top,
               memory.get(), d.left, d.top, SRCCOPY);
        return;
    }
    const int32_t sw = Scaled(w, place_.zoom), sh = Scaled(h, place_.zoom);
    if (place_.zoom < 100) {
        SetStretchBltMode(dc.get(), HALFTONE);
        SetBrushOrgEx(dc.get(), at.x, at.y, nullptr);
        StretchBlt(dc.get(), at.x, at.y, sw, sh, memory.get(), 0, 0, w, h, SRCCOPY);
        return;
    }
    // Larger: each picture pixel a block of whole screen pixels, and only the
    // blocks the repaint needs, so a zoomed 4K picture repaints as fast.
    SetStretchBltMode(dc.get(), COLORONCOLOR);
    const int32_t x0 = std::max<int32_t>(0, int32_t(int64_t(d.left) * w / sw)),
                  y0 = std::max<int32_t>(0, int32_t(int64_t(d.top) * h / sh));
    const int32_t x1 = std::min<int32_t>(w, int32_t((int64_t(d.right) * w + sw - 1) / sw)),
                  y1 = std::min<int32_t>(h, int32_t((int64_t(d.bottom) * h + sh - 1) / sh));
    if (x1 <= x0 || y1 <= y0) return;
    const int32_t dx0 = Scaled64(x0, sw, w), dy0 = Scaled64(y0, sh, h);
    StretchBlt(dc.get(), at.x + dx0, at.y + dy0, Scaled64(x1, sw, w) - dx0,
               Scaled64(y1, sh, h) - dy0, memory.get(), x0, y0, x1 - x0, y1 - y0, SRCCOPY);
}

void Window::OnWheel(int delta, bool control, POINT screen) {
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (!notches) return;
    if (control) {
        SetOpacity(NextOpacity(place_.opacity, notches));
    } else {
        SetZoom(NextZoom(place_.zoom, notches, size_.cx, size_.cy), screen);
    }
}

bool Window::OnKey(WPARAM key) {
    const int step = GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
    switch (key) {
        case VK_ESCAPE:
            host_.PinAction(*this, Action::Close);
            return true;
        case VK_LEFT:
            MoveTo(place_.left - step, place_.top);
            break;
        case VK_RIGHT:
            MoveTo(place_.left + step, place_.top);
            break;
        case VK_UP:
            MoveTo(place_.left, place_.top - step);
            break;
        case VK_DOWN:
            MoveTo(place_.left, place_.top + step);
            break;
        case 'C':
            if (GetKeyState(VK_CONTROL) >= 0) return false;
            host_.PinAction(*this, Action::Copy);
            return true;
        default:
            return false;
    }
    host_.PinChanged(*this);
    return true;
}

void Window::OnDrag(UINT message) {
    // Where the pointer was at this message, not where it is by now.
    const DWORD pos = GetMessagePos();
    const POINT at{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    switch (message) {
        case WM_LBUTTONDOWN:
            dragging_ = true;
            dragFrom_ = at;
            dragOrigin_ = POINT{place_.left, place_.top};
            SetCapture(hwnd_);
            break;
        case WM_MOUSEMOVE:
            if (dragging_)
                MoveTo(dragOrigin_.x + (at.x - dragFrom_.x), dragOrigin_.y + (at.y - dragFrom_.y));
            break;
        default:  // released, or the capture taken away
            if (!dragging_) break;
            dragging_ = false;
            if (GetCapture() == hwnd_) ReleaseCapture();
            host_.PinChanged(*this);
            break;
    }
}

void Window::ShowMenu(POINT screen) {
    const MenuTexts t = host_.PinMenuTexts();
    toolkit::UniqueMenu menu(CreatePopupMenu());
    toolkit::UniqueMenu opacity(CreatePopupMenu());
    if (!menu || !opacity) return;
    for (int percent = kMaxOpacity; percent >= kMinOpacity; percent -= 20)
        AppendMenuW(opacity.get(), MF_STRING | (percent == place_.opacity ? MF_CHECKED : 0),
                    kMenuOpacity + percent, (std::to_wstring(percent) + L" %").c_str());
    AppendMenuW(menu.get(), MF_STRING, kMenuCopy, t.copy.c_str());
    AppendMenuW(menu.get(), MF_STRING, kMenuSaveAs, t.saveAs.c_str());
    AppendMenuW(menu.get(), MF_STRING, kMenuToViewer, t.toViewer.c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING | (place_.zoom == 100 ? MF_CHECKED : 0), kMenuActualSize,
                t.actualSize.c_str());
    AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(opacity.release()),
                t.opacity.c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kMenuHideAll, t.hideAll.c_str());
    AppendMenuW(menu.get(), MF_STRING, kMenuClose, t.close.c_str());
    AppendMenuW(menu.get(), MF_STRING, kMenuCloseAll, t.closeAll.c_str());
    SetForegroundWindow(hwnd_);  // else the menu stays up when the user clicks elsewhere
    const UINT chosen = UINT(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                            screen.y, 0, hwnd_, nullptr));
    menu.reset();
    switch (chosen) {
        case kMenuCopy:
            host_.PinAction(*this, Action::Copy);
            break;
        case kMenuSaveAs:
            host_.PinAction(*this, Action::SaveAs);
            break;
        case kMenuToViewer:
            host_.PinAction(*this, Action::ToViewer);
            break;
        case kMenuHideAll:
            host_.PinAction(*this, Action::HideAll);
            break;
        case kMenuClose:
            host_.PinAction(*this, Action::Close);
            break;
        case kMenuCloseAll:
            host_.PinAction(*this, Action::CloseAll);
            break;
        case kMenuActualSize: {
            const RECT r = PictureRect();
            SetZoom(100, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            break;
        }
        default:
            if (chosen > kMenuOpacity) SetOpacity(int(chosen - kMenuOpacity));
            break;
    }
}

}  // namespace pin
