// Form and control geometry in the toolkit's units: twips unless a form's
// scale mode is pixels. Windows position everything in device pixels; these
// classes convert at the boundary, rounding half to even.
#pragma once

#include <windows.h>

#include <cstdint>

namespace toolkit {

enum class ScaleMode : int16_t { Twips = 1, Pixels = 3 };
enum class WindowState : int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

// The screen: twips per pixel follow the display's real DPI.
struct Screen {
    static double TwipsPerPixelX();
    static double TwipsPerPixelY();
    static double Width();   // primary screen, twips
    static double Height();  // primary screen, twips
};

// Scale units per device pixel, per axis.
struct Scale {
    double x = 1, y = 1;
    static Scale Of(ScaleMode mode);
};

// Something that holds controls and measures them in its scale units.
class Container {
public:
    virtual ~Container() = default;
    virtual HWND hwnd() const = 0;
    virtual Scale UnitsPerPixel() const = 0;
};

// A child window measured in its container's units. Setters return false and
// change nothing when the toolkit refuses the value (a negative size, or one
// that does not fit in device pixels).
class Control {
public:
    Control() = default;
    Control(HWND hwnd, const Container* container) : hwnd_(hwnd), container_(container) {}

    HWND hwnd() const { return hwnd_; }
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    bool SetLeft(float value);
    bool SetTop(float value);
    bool SetWidth(float value);
    bool SetHeight(float value);
    bool Visible() const;
    void SetVisible(bool visible);

private:
    RECT PixelRect() const;  // in the parent's client coordinates
    Scale UnitsPerPixel() const;

    HWND hwnd_ = nullptr;
    const Container* container_ = nullptr;
};

// A top-level window: position and outer size in twips, client size in the
// current scale mode.
class Form : public Container {
public:
    HWND hwnd() const override { return hwnd_; }
    Scale UnitsPerPixel() const override { return Scale::Of(scaleMode_); }

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    bool SetLeft(float twips);
    bool SetTop(float twips);
    bool SetWidth(float twips);
    bool SetHeight(float twips);
    float ScaleWidth() const;
    float ScaleHeight() const;
    ScaleMode GetScaleMode() const { return scaleMode_; }
    void SetScaleMode(ScaleMode mode) { scaleMode_ = mode; }
    WindowState GetWindowState() const;
    void SetWindowState(WindowState state);
    double ScaleX(double value, ScaleMode from, ScaleMode to) const;
    double ScaleY(double value, ScaleMode from, ScaleMode to) const;

protected:
    void AttachWindow(HWND hwnd) { hwnd_ = hwnd; }

private:
    RECT WindowPixels() const;

    HWND hwnd_ = nullptr;
    ScaleMode scaleMode_ = ScaleMode::Twips;
};

}  // namespace toolkit
