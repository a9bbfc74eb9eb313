// A pin: a picture in a borderless, topmost window with a thin frame, at one
// screen pixel per picture pixel on every display. Drag moves it, the wheel
// zooms around the pointer, Ctrl+wheel fades it, arrows nudge it, Escape or a
// double click closes it; its right-click menu offers the rest. It knows
// nothing of who made it: what leaves the pin goes to its host.
#pragma once

#include <windows.h>

#include <string>

#include "pin/pin_record.h"
#include "toolkit/picture.h"

namespace pin {

class Window;

enum class Action { Copy, SaveAs, ToViewer, Close, CloseAll, HideAll };

struct MenuTexts {
    std::wstring copy, saveAs, toViewer, actualSize, opacity, close, closeAll, hideAll;
};

class Host {
public:
    virtual ~Host() = default;
    // Close and CloseAll end the pin (and the others): the window may be gone on return.
    virtual void PinAction(Window& pin, Action action) = 0;
    // It is up and painted.
    virtual void PinShown(Window& pin) = 0;
    // Its place, zoom or opacity changed (a drag: once it ends).
    virtual void PinChanged(Window& pin) = 0;
    virtual MenuTexts PinMenuTexts() = 0;
};

class Window {
public:
    // A shown pin of the picture at the record's place, zoom and opacity; its
    // window is null when it could not be made.
    Window(toolkit::Picture picture, const Record& place, Host& host);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    const toolkit::Picture& Picture() const { return picture_; }
    Record Place() const { return place_; }
    // The rectangle the picture covers on the screen, frame excluded.
    RECT PictureRect() const;

    void SetZoom(int zoom, POINT anchor);
    void SetOpacity(int opacity);
    void MoveTo(int32_t left, int32_t top);
    // Puts it back onto a display when none shows it any longer.
    void KeepOnDisplays();

    static const wchar_t kClassName[];

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // Sets the window's rectangle from the place and zoom.
    void Reposition();
    // The window's rectangle, the frame cut to the displays; notes the cut.
    RECT WindowRect();
    void OnWheel(int delta, bool control, POINT screen);
    bool OnKey(WPARAM key);
    void OnDrag(UINT message);
    void ApplyOpacity(int opacity);
    void ShowMenu(POINT screen);

    toolkit::Picture picture_;
    SIZE size_{};
    Record place_;
    Host& host_;
    HWND hwnd_ = nullptr;
    int wheelRest_ = 0;
    bool dragging_ = false;
    POINT dragFrom_{}, dragOrigin_{};
    // How far into the framed picture the window starts, where the displays cut it.
    POINT shownFrom_{};
};

}  // namespace pin
