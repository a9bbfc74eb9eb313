#include "app/toolkit/form.h"

#include <optional>

#include "app/toolkit/units.h"

namespace toolkit {

namespace {

int ScreenDpi(int index) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::optional<LONG> ToPixels(float units, double unitsPerPixel) {
    const auto pixels = ToInt32(units / unitsPerPixel);
    if (!pixels) return std::nullopt;
    return *pixels;
}

float ToUnits(LONG pixels, double unitsPerPixel) {
    return static_cast<float>(pixels * unitsPerPixel);
}

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

bool Control::Move(const RECT& r) {
    return SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

float Control::Left() const { return ToUnits(PixelRect().left, UnitsPerPixel().x); }
float Control::Top() const { return ToUnits(PixelRect().top, UnitsPerPixel().y); }
float Control::Width() const {
    const RECT r = PixelRect();
    return ToUnits(r.right - r.left, UnitsPerPixel().x);
}
float Control::Height() const {
    const RECT r = PixelRect();
    return ToUnits(r.bottom - r.top, UnitsPerPixel().y);
}

bool Control::SetLeft(float value) {
    const auto px = ToPixels(value, UnitsPerPixel().x);
    if (!px) return false;
    RECT r = PixelRect();
    OffsetRect(&r, *px - r.left, 0);
    return Move(r);
}

bool Control::SetTop(float value) {
    const auto px = ToPixels(value, UnitsPerPixel().y);
    if (!px) return false;
    RECT r = PixelRect();
    OffsetRect(&r, 0, *px - r.top);
    return Move(r);
}

bool Control::SetWidth(float value) {
    const auto px = ToPixels(value, UnitsPerPixel().x);
    if (!px || *px < 0) return false;
    RECT r = PixelRect();
    r.right = r.left + *px;
    return Move(r);
}

bool Control::SetHeight(float value) {
    const auto px = ToPixels(value, UnitsPerPixel().y);
    if (!px || *px < 0) return false;
    RECT r = PixelRect();
    r.bottom = r.top + *px;
    return Move(r);
}

bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

// --- Form ---

RECT Form::WindowPixels() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

bool Form::MoveWindowPixels(const RECT& r) {
    return SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

float Form::Left() const { return ToUnits(WindowPixels().left, Screen::TwipsPerPixelX()); }
float Form::Top() const { return ToUnits(WindowPixels().top, Screen::TwipsPerPixelY()); }
float Form::Width() const {
    const RECT r = WindowPixels();
    return ToUnits(r.right - r.left, Screen::TwipsPerPixelX());
}
float Form::Height() const {
    const RECT r = WindowPixels();
    return ToUnits(r.bottom - r.top, Screen::TwipsPerPixelY());
}

bool Form::SetLeft(float twips) {
    const auto px = ToPixels(twips, Screen::TwipsPerPixelX());
    if (!px) return false;
    RECT r = WindowPixels();
    OffsetRect(&r, *px - r.left, 0);
    return MoveWindowPixels(r);
}

bool Form::SetTop(float twips) {
    const auto px = ToPixels(twips, Screen::TwipsPerPixelY());
    if (!px) return false;
    RECT r = WindowPixels();
    OffsetRect(&r, 0, *px - r.top);
    return MoveWindowPixels(r);
}

bool Form::SetWidth(float twips) {
    const auto px = ToPixels(twips, Screen::TwipsPerPixelX());
    if (!px || *px < 0) return false;
    RECT r = WindowPixels();
    r.right = r.left + *px;
    return MoveWindowPixels(r);
}

bool Form::SetHeight(float twips) {
    const auto px = ToPixels(twips, Screen::TwipsPerPixelY());
    if (!px || *px < 0) return false;
    RECT r = WindowPixels();
    r.bottom = r.top + *px;
    return MoveWindowPixels(r);
}

float Form::ScaleWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToUnits(r.right, UnitsPerPixel().x);
}

float Form::ScaleHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToUnits(r.bottom, UnitsPerPixel().y);
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
