// The pick's outline: a window of our own, topmost, layered and
// click-through, shaped to a ring (and a size label). Unlike a frame inverted
// on the screen it leaves no trace when programs beneath repaint, and it is
// hidden before anything is captured.
#pragma once

#include <windows.h>

#include <string>

#include "capture/region_rect.h"

namespace capture {

// The outline's colour: drawn nowhere else, so a test can tell it apart.
constexpr COLORREF kOutlineColor = RGB(255, 0, 128);

class PickOverlay {
public:
    // Messages the window does not handle itself (the hooks' and the
    // watchdog's) go to `sink`.
    using Sink = void (*)(UINT message, WPARAM wParam, LPARAM lParam);
    explicit PickOverlay(Sink sink);
    ~PickOverlay();
    PickOverlay(const PickOverlay&) = delete;
    PickOverlay& operator=(const PickOverlay&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Rings the rectangle with a border that wide, inside it, with the
    // rectangle's size centred on it when `labelled`; hidden when empty.
    void Show(const Rect32& ring, int width, bool labelled = false);
    void Hide();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND hwnd_ = nullptr;
    Sink sink_ = nullptr;
    Rect32 shown_;
    int width_ = 0;
    bool labelled_ = false;
    std::wstring label_;
    RECT labelBox_{};  // in the window
};

}  // namespace capture
