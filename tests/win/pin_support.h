// What the pin tests share: pictures of the pattern, the pins on screen and
// their right-click menu chosen from as a person would.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/frm_main.h"
#include "tests/support/input.h"
#include "tests/support/test_window.h"
#include "toolkit/picture.h"

namespace testing_support {

// A w x h picture of the pattern, taken at `origin` on the screen when given.
inline toolkit::Picture PatternPicture(int w, int h, const POINT* origin = nullptr) {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(w, -h, &bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<uint32_t*>(bits)[size_t(y) * w + x] = Rgb(PatternAt(x, y));
    toolkit::Picture picture = toolkit::Picture::FromBitmap(std::move(bitmap), {});
    if (origin) picture.SetScreenOrigin(*origin);
    return picture;
}

// The part inside `seen` of a pin of the pattern at `zoom` percent: whole
// blocks of screen pixels.
inline bool ShowsPatternWithin(const RECT& pin, const RECT& seen, int zoom) {
    RECT area{};
    if (!IntersectRect(&area, &pin, &seen)) return false;
    const Pixels shown = ReadScreen(area);
    const int dx = area.left - pin.left, dy = area.top - pin.top;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.at(x, y) != Rgb(PatternAt((dx + x) * 100 / zoom, (dy + y) * 100 / zoom)))
                return false;
    return true;
}

// The pattern as a pin at `zoom` percent shows it, whole.
inline bool ShowsPattern(const RECT& area, int zoom, int w, int h) {
    return area.right - area.left == w * zoom / 100 && area.bottom - area.top == h * zoom / 100 &&
           ShowsPatternWithin(area, area, zoom);
}

inline RECT PinRect(const app::FrmMain& form, size_t index = 0) {
    return form.Pins.At(index).PictureRect();
}

inline POINT Inside(const RECT& r, int x, int y) { return POINT{r.left + x, r.top + y}; }

// Right-clicks at the point and chooses the menu's entry by its access key,
// from another thread while this one runs the menu.
inline void ChooseFromMenu(POINT at, WORD key) {
    std::atomic<bool> chosen{false};
    std::thread user([&] {
        Click(at);  // the pin takes the keyboard first
        SendMouse(at, MOUSEEVENTF_RIGHTDOWN);
        SendMouse(at, MOUSEEVENTF_RIGHTUP);
        for (int i = 0; i < 200 && !FindShownWindow(L"#32768", GetCurrentProcessId()); ++i)
            Sleep(25);
        PressKeys({key});
        chosen = true;
    });
    PumpUntil([&] { return chosen.load(); }, 8000);
    user.join();
    Pump(100);
}

}  // namespace testing_support
