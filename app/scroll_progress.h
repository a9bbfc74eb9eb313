// The small window that shows a scrolling capture's height as it grows and
// how to stop it. It stands outside the area read, so it is never in the
// picture, and never takes the activation from the window scrolled.
#pragma once

#include <windows.h>

#include <string>

#include "capture/region_rect.h"

namespace app {

class ScrollProgressWindow {
public:
    // heightText has "%1" where the height goes.
    ScrollProgressWindow(const capture::Rect32& area, std::wstring heightText, std::wstring hint);
    ~ScrollProgressWindow();
    ScrollProgressWindow(const ScrollProgressWindow&) = delete;
    ScrollProgressWindow& operator=(const ScrollProgressWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    void ShowHeight(int height);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::wstring heightText_, hint_;
};

// Where a window of that size stands clear of the area: below it or above
// it, else beside it, on the area's display; else on another display.
POINT PlaceOutside(const capture::Rect32& area, SIZE size);

}  // namespace app
