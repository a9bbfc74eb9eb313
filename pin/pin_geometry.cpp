#include "pin/pin_geometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "capture/screen_layout.h"

namespace pin {

namespace {

constexpr int kZoomSteps[] = {10,  15,  20,  25,  33,  50,  67,  75,  100,
                              125, 150, 200, 250, 300, 400, 500, 600, 800};
// How much of a pin must show on a display for the user to reach it.
constexpr int32_t kGrip = 24;

int32_t Clamp32(double v) {
    return int32_t(std::clamp(std::llround(v), (long long)INT32_MIN, (long long)INT32_MAX));
}

// Moves [low, low + size) into [from, to) as little as possible; to the start when it is larger.
int32_t Fit(int32_t low, int32_t size, int32_t from, int32_t to) {
    if (int64_t(low) + size > to) low = int32_t(std::max<int64_t>(int64_t(to) - size, INT32_MIN));
    return std::max(low, from);
}

}  // namespace

int NextZoom(int zoom, int notches, int32_t width, int32_t height) {
    const int* begin = std::begin(kZoomSteps);
    const int* end = std::end(kZoomSteps);
    const auto at = std::lower_bound(begin, end, zoom);
    int64_t index = at - begin;
    // A zoom between steps counts the next step that way as the first.
    if ((at == end || *at != zoom) && notches > 0) --index;
    index = std::clamp<int64_t>(index + notches, 0, end - begin - 1);
    while (index > 0 && kZoomSteps[index] > 100 &&
           (Scaled(width, kZoomSteps[index]) > kMaxSide ||
            Scaled(height, kZoomSteps[index]) > kMaxSide))
        --index;
    return kZoomSteps[index];
}

int NextOpacity(int opacity, int notches) {
    const int64_t next = int64_t(opacity) + int64_t(notches) * 10;
    return int(std::clamp<int64_t>(next, kMinOpacity, kMaxOpacity));
}

uint8_t Alpha(int opacity) { return uint8_t((std::clamp(opacity, 0, 100) * 255 + 50) / 100); }

int32_t Scaled(int32_t length, int zoom) {
    return std::max<int32_t>(1, Clamp32(double(length) * zoom / 100.0));
}

Point32 ZoomAround(Point32 origin, Point32 anchor, int oldZoom, int newZoom) {
    const double ratio = double(newZoom) / double(oldZoom);
    return Point32{Clamp32(anchor.x - (double(anchor.x) - origin.x) * ratio),
                   Clamp32(anchor.y - (double(anchor.y) - origin.y) * ratio)};
}

Point32 PlaceNear(Point32 pointer, int32_t width, int32_t height, const Rect32& workArea) {
    // Off the pointer's tip, so the first click does not land on the picture unasked.
    constexpr int32_t kOffset = 16;
    const int64_t x = int64_t(pointer.x) + kOffset, y = int64_t(pointer.y) + kOffset;
    return Point32{
        Fit(int32_t(std::min<int64_t>(x, INT32_MAX)), width, workArea.left, workArea.right),
        Fit(int32_t(std::min<int64_t>(y, INT32_MAX)), height, workArea.top, workArea.bottom)};
}

Rect32 KeepOnDisplays(const Rect32& rect, const std::vector<Rect32>& displays) {
    const int64_t width = int64_t(rect.right) - rect.left, height = int64_t(rect.bottom) - rect.top;
    const int64_t gripX = std::min<int64_t>(kGrip, width), gripY = std::min<int64_t>(kGrip, height);
    for (const Rect32& d : displays) {
        const Rect32 common = capture::Intersect(rect, d);
        if (int64_t(common.right) - common.left >= gripX &&
            int64_t(common.bottom) - common.top >= gripY)
            return rect;
    }
    const Point32 centre{int32_t((int64_t(rect.left) + rect.right) / 2),
                         int32_t((int64_t(rect.top) + rect.bottom) / 2)};
    const auto nearest = capture::DisplayAt(displays, centre);
    if (!nearest) return rect;
    const Rect32& d = displays[*nearest];
    const int32_t w = int32_t(std::min<int64_t>(width, INT32_MAX)),
                  h = int32_t(std::min<int64_t>(height, INT32_MAX));
    const int32_t left = Fit(rect.left, w, d.left, d.right),
                  top = Fit(rect.top, h, d.top, d.bottom);
    return Rect32{left, top, int32_t(std::min<int64_t>(int64_t(left) + w, INT32_MAX)),
                  int32_t(std::min<int64_t>(int64_t(top) + h, INT32_MAX))};
}

}  // namespace pin
