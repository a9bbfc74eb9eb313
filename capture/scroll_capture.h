// Capturing more of a window than the screen shows: its area is read, the
// window scrolled (by Fotolark, or by the user while Fotolark follows), read
// again, and the reads stitched into one tall picture. Screen pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "capture/region_rect.h"
#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace capture {

struct ScrollTarget {
    HWND window = nullptr;  // the window that scrolls
    Rect32 area;            // what is read, on the screen
};

// The innermost window at the point that scrolls (failing that, the window
// there), with its client area without its scroll bars, as far as it shows.
std::optional<ScrollTarget> ScrollableAt(POINT point);
// A rectangle dragged over a window: the window that scrolls under its
// centre, and the rectangle within that window's client area.
std::optional<ScrollTarget> ScrollableIn(const Rect32& region);

// Told the picture's height after every read placed; false stops the capture.
using ScrollProgress = std::function<bool(int height)>;

enum class ScrollEnd {
    Bottom,   // nothing scrolled any more
    Full,     // the picture reached the height allowed
    Stopped,  // the progress said stop
};

struct ScrolledPicture {
    toolkit::Picture picture;
    ScrollEnd end = ScrollEnd::Stopped;
};

// Scrolls the window down from where it stands, step by step, until the
// end, and puts its scroll position back afterwards. The wheel at the area's
// centre first; where it moves nothing, the scroll bar's line steps, then
// Page Down. The picture is at most maxHeight rows.
ScrolledPicture CaptureScrolling(const ScrollTarget& target, int maxHeight,
                                 const ScrollProgress& progress);

// Follows the user's own scrolling until the progress says stop.
ScrolledPicture FollowScrolling(const ScrollTarget& target, int maxHeight,
                                const ScrollProgress& progress);

// Keys and clicks meant for the capture under way, taken before any program
// sees them: Escape stops; Enter and, when asked, a left click finish. The
// wheel and everything else pass.
class ScrollKeys {
public:
    explicit ScrollKeys(bool clickFinishes);
    ~ScrollKeys();
    ScrollKeys(const ScrollKeys&) = delete;
    ScrollKeys& operator=(const ScrollKeys&) = delete;
    bool installed() const { return static_cast<bool>(keyboard_); }
    bool escaped() const;
    bool finished() const;

private:
    toolkit::UniqueHook keyboard_, mouse_;
};

}  // namespace capture
