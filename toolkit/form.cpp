#include "toolkit/form.h"

#include <optional>

#include "toolkit/handles.h"
#include "toolkit/units.h"

namespace toolkit {

namespace {

int ScreenDpi(int index) {
    WindowDC screen(nullptr, WindowDC::Area::Client);
    return GetDeviceCaps(screen.get(), index);
}

// Reads or changes one of a rectangle's four properties, in units of the
// given size per pixel; a size may not be negative.
enum class Edge { Left, Top, Width, Height };

float Property(const RECT& r, Edge edge, Scale scale) {
    switch (edge) {
        case Edge::Left:
            return static_cast<float>(r.left * scale.x);
        case Edge::Top:
            return static_cast<float>(r.top * scale.y);
        case Edge::Width:
            return static_cast<float>((r.right - r.left) * scale.x);
        case Edge::Height:
            return static_cast<float>((r.bottom - r.top) * scale.y);
    }
    return 0;
}

std::optional<RECT> WithProperty(RECT r, Edge edge, float units, Scale scale) {
    const bool horizontal = edge == Edge::Left || edge == Edge::Width;
    const auto px = ToInt32(units / (horizontal ? scale.x : scale.y));
    if (!px) return std::nullopt;
    switch (edge) {
        case Edge::Left:
            OffsetRect(&r, *px - r.left, 0);
            break;
        case Edge::Top:
            OffsetRect(&r, 0, *px - r.top);
            break;
        case Edge::Width:
            if (*px < 0) return std::nullopt;
            r.right = r.left + *px;
            break;
        case Edge::Height:
            if (*px < 0) return std::nullopt;
            r.bottom = r.top + *px;
            break;
    }
    return r;
}

bool MoveTo(HWND hwnd, const std::optional<RECT>& r) {
    return r && SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                             SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

Scale TwipsScale() { return Scale{Screen::TwipsPerPixelX(), Screen::TwipsPerPixelY()}; }

}  // namespace

double Screen::TwipsPerPixelX() { return TwipsPerPixel(ScreenDpi(LOGPIXELSX)); }
double Screen::TwipsPerPixelY() { return TwipsPerPixel(ScreenDpi(LOGPIXELSY)); }
double Screen::Width() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
double Screen::Height() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

Scale Scale::Of(ScaleMode mode) {
    if (mode == ScaleMode::Pixels) return Scale{1, 1};
    return Scale{Screen::TwipsPerPixelX(), Screen::TwipsPerPixelY()};
}

// --- Control ---

Scale Control::UnitsPerPixel() const {
    return container_ ? container_->UnitsPerPixel() : Scale::Of(ScaleMode::Twips);
}

RECT Control::PixelRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

float Control::Left() const { return Property(PixelRect(), Edge::Left, UnitsPerPixel()); }
float Control::Top() const { return Property(PixelRect(), Edge::Top, UnitsPerPixel()); }
float Control::Width() const { return Property(PixelRect(), Edge::Width, UnitsPerPixel()); }
float Control::Height() const { return Property(PixelRect(), Edge::Height, UnitsPerPixel()); }
bool Control::SetLeft(float v) {
    return MoveTo(hwnd_, WithProperty(PixelRect(), Edge::Left, v, UnitsPerPixel()));
}
bool Control::SetTop(float v) {
    return MoveTo(hwnd_, WithProperty(PixelRect(), Edge::Top, v, UnitsPerPixel()));
}
bool Control::SetWidth(float v) {
    return MoveTo(hwnd_, WithProperty(PixelRect(), Edge::Width, v, UnitsPerPixel()));
}
bool Control::SetHeight(float v) {
    return MoveTo(hwnd_, WithProperty(PixelRect(), Edge::Height, v, UnitsPerPixel()));
}

bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

// --- Form ---

RECT Form::WindowPixels() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

float Form::Left() const { return Property(WindowPixels(), Edge::Left, TwipsScale()); }
float Form::Top() const { return Property(WindowPixels(), Edge::Top, TwipsScale()); }
float Form::Width() const { return Property(WindowPixels(), Edge::Width, TwipsScale()); }
float Form::Height() const { return Property(WindowPixels(), Edge::Height, TwipsScale()); }
bool Form::SetLeft(float twips) {
    return MoveTo(hwnd_, WithProperty(WindowPixels(), Edge::Left, twips, TwipsScale()));
}
bool Form::SetTop(float twips) {
    return MoveTo(hwnd_, WithProperty(WindowPixels(), Edge::Top, twips, TwipsScale()));
}
bool Form::SetWidth(float twips) {
    return MoveTo(hwnd_, WithProperty(WindowPixels(), Edge::Width, twips, TwipsScale()));
}
bool Form::SetHeight(float twips) {
    return MoveTo(hwnd_, WithProperty(WindowPixels(), Edge::Height, twips, TwipsScale()));
}

float Form::ScaleWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return Property(r, Edge::Width, UnitsPerPixel());
}

float Form::ScaleHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return Property(r, Edge::Height, UnitsPerPixel());
}

WindowState Form::GetWindowState() const {
    if (IsIconic(hwnd_)) return WindowState::Minimized;
    if (IsZoomed(hwnd_)) return WindowState::Maximized;
    return WindowState::Normal;
}

void Form::SetWindowState(WindowState state) {
    if (GetWindowState() == state) return;
    if (state != WindowState::Normal) {
        ShowWindow(hwnd_, state == WindowState::Minimized ? SW_MINIMIZE : SW_MAXIMIZE);
        return;
    }
    ShowWindow(hwnd_, SW_RESTORE);
    // A minimized window that was maximized comes back maximized first.
    if (IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
}

double Form::ScaleX(double value, ScaleMode from, ScaleMode to) const {
    return value / Scale::Of(from).x * Scale::Of(to).x;
}

double Form::ScaleY(double value, ScaleMode from, ScaleMode to) const {
    return value / Scale::Of(from).y * Scale::Of(to).y;
}

}  // namespace toolkit
