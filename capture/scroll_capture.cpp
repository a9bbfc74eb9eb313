#include "capture/scroll_capture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "capture/screen_grab.h"
#include "capture/screen_layout.h"
#include "capture/scroll_stitch.h"
#include "toolkit/physical_pixels.h"

namespace capture {

namespace {

constexpr DWORD kPollMs = 15;       // between two reads that must agree
constexpr DWORD kSettleMs = 2000;   // a window that never stops changing
constexpr DWORD kPatienceMs = 500;  // for the first change after a scroll
constexpr UINT kTimeoutMs = 2000;   // a window that does not answer
constexpr int kMaxUnits = 40;       // wheel notches or lines in one step

// Runs this thread's messages for a while: the hooks and the progress window
// live on it.
void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
    }
}

std::optional<SCROLLINFO> VerticalBar(HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) ||
        !GetScrollInfo(window, SB_VERT, &info))
        return std::nullopt;
    return info;
}

bool Scrolls(HWND window) {
    const std::optional<SCROLLINFO> bar = VerticalBar(window);
    return bar && bar->nMax - bar->nMin + 1 > int(bar->nPage);
}

// The window's client area on the screen, as far as its parents and the
// displays show it.
std::optional<Rect32> VisibleClient(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    for (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow();
         parent = GetAncestor(parent, GA_PARENT)) {
        RECT p{};
        GetClientRect(parent, &p);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&p), 2);
        IntersectRect(&r, &r, &p);
    }
    return ClampTo(Rect32{r.left, r.top, r.right, r.bottom}, VirtualScreen());
}

std::optional<ScrollTarget> TargetAt(POINT point) {
    const HWND deepest = WindowFromPoint(point);
    if (!deepest) return std::nullopt;
    HWND window = deepest;
    while (window && !Scrolls(window)) {
        const HWND parent = GetAncestor(window, GA_PARENT);
        window = parent == GetDesktopWindow() ? nullptr : parent;
    }
    if (!window) window = deepest;
    const std::optional<Rect32> area = VisibleClient(window);
    if (!area) return std::nullopt;
    return ScrollTarget{window, *area};
}

// The area's pixels, read from the screen.
class AreaReader {
public:
    explicit AreaReader(const Rect32& area)
        : area_(area),
          width_(area.right - area.left),
          height_(area.bottom - area.top),
          memory_(CreateCompatibleDC(nullptr)),
          bitmap_(toolkit::NewBitmap32(width_, -height_, &bits_)) {}
    bool ok() const { return memory_ && bitmap_ && bits_; }
    std::vector<uint32_t> Read() const {
        {
            toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
            toolkit::SelectGuard selected(memory_.get(), bitmap_.get());
            BitBlt(memory_.get(), 0, 0, width_, height_, screen.get(), area_.left, area_.top,
                   SRCCOPY);
        }
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits_);
        std::vector<uint32_t> pixels(p, p + size_t(width_) * height_);
        for (auto& v : pixels) v &= 0xFFFFFF;
        return pixels;
    }
    // Two reads a moment apart that agree: the window has painted. With the
    // read before a scroll, waits a while for the area to change first.
    std::vector<uint32_t> ReadSettled(const std::vector<uint32_t>* before) const {
        std::vector<uint32_t> last = Read();
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            PumpFor(kPollMs);
            std::vector<uint32_t> now = Read();
            const ULONGLONG waited = GetTickCount64() - start;
            if ((now == last && (!before || now != *before || waited >= kPatienceMs)) ||
                waited >= kSettleMs)
                return now;
            last = std::move(now);
        }
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    Rect32 area_;
    int width_, height_;
    toolkit::UniqueDC memory_;
    void* bits_ = nullptr;
    toolkit::UniqueBitmap bitmap_;
};

// Bottom-up, as a capture of the screen is: the picture saves as it stands.
toolkit::Picture Compose(const ScrollStitcher& stitcher) {
    const StitchResult result = stitcher.Result();
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(result.width, result.height, &bits);
    if (!bitmap || !bits) return toolkit::Picture();
    auto* out = static_cast<uint32_t*>(bits);
    const size_t width = size_t(result.width);
    for (const StitchBand& b : result.bands)
        for (int i = 0; i < b.rows; ++i)
            std::memcpy(out + size_t(result.height - 1 - b.destTop - i) * width,
                        stitcher.Frame(b.frame).data() + size_t(b.sourceTop + i) * width,
                        width * 4);
    return toolkit::Picture::FromBitmap(std::move(bitmap), toolkit::UniquePalette());
}

enum class Method { Wheel, Lines, PageKey, None };

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
}

// Units down (negative: up): wheel notches, lines or pages.
void Scroll(const ScrollTarget& t, Method method, int units) {
    const int down = units > 0 ? 1 : -1;
    for (int left = std::abs(units); left > 0;) {
        switch (method) {
            case Method::Wheel: {
                // Several notches in one message, as a fast wheel sends them.
                const int notches = std::min(left, 100);
                const POINT centre{(t.area.left + t.area.right) / 2,
                                   (t.area.top + t.area.bottom) / 2};
                Send(t.window, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-down * notches * WHEEL_DELTA)),
                     MAKELPARAM(WORD(centre.x), WORD(centre.y)));
                left -= notches;
                break;
            }
            case Method::Lines:
                Send(t.window, WM_VSCROLL, down > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
                if (--left == 0) Send(t.window, WM_VSCROLL, SB_ENDSCROLL, 0);
                break;
            case Method::PageKey:
                Send(t.window, WM_KEYDOWN, down > 0 ? VK_NEXT : VK_PRIOR, 1);
                Send(t.window, WM_KEYUP, down > 0 ? VK_NEXT : VK_PRIOR, 0xC0000001);
                --left;
                break;
            case Method::None:
                return;
        }
    }
    // Whatever the window invalidated is painted before the area is read.
    RedrawWindow(t.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::optional<int> ScrollPosition(HWND window) {
    const std::optional<SCROLLINFO> bar = VerticalBar(window);
    if (!bar) return std::nullopt;
    return bar->nPos;
}

// Back where the user had it: the steps taken, undone; then, where the
// window keeps a scroll position, exactly to it (the last step down may
// have been cut short by the end of the page).
void Restore(const ScrollTarget& t, Method method, int units, std::optional<int> start) {
    Scroll(t, method, -units);
    if (!start) return;
    std::optional<int> now = ScrollPosition(t.window);
    if (now && *now != *start && *start <= 0xFFFF) {
        Send(t.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, *start), 0);
        Send(t.window, WM_VSCROLL, SB_ENDSCROLL, 0);
        now = ScrollPosition(t.window);
    }
    for (int i = 0; now && *now != *start && i < 10000; ++i) {
        Send(t.window, WM_VSCROLL, *now > *start ? SB_LINEUP : SB_LINEDOWN, 0);
        const std::optional<int> next = ScrollPosition(t.window);
        if (next == now) break;  // it does not move that way
        now = next;
    }
    RedrawWindow(t.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

std::optional<ScrollTarget> ScrollableAt(POINT point) {
    toolkit::PhysicalPixels physical;
    return TargetAt(point);
}

std::optional<ScrollTarget> ScrollableIn(const Rect32& region) {
    toolkit::PhysicalPixels physical;
    std::optional<ScrollTarget> t =
        TargetAt(POINT{(region.left + region.right) / 2, (region.top + region.bottom) / 2});
    if (!t) return std::nullopt;
    RECT r{region.left, region.top, region.right, region.bottom};
    const RECT client{t->area.left, t->area.top, t->area.right, t->area.bottom};
    if (!IntersectRect(&r, &r, &client)) return std::nullopt;
    t->area = Rect32{r.left, r.top, r.right, r.bottom};
    return t;
}

ScrolledPicture CaptureScrolling(const ScrollTarget& target, int maxHeight,
                                 const ScrollProgress& progress) {
    toolkit::PhysicalPixels physical;
    const AreaReader reader(target.area);
    if (!reader.ok()) return {};
    ScrollStitcher stitcher(reader.width(), reader.height(), maxHeight);
    const std::optional<int> start = ScrollPosition(target.window);
    std::vector<uint32_t> last = reader.ReadSettled(nullptr);
    stitcher.Add(last);

    ScrolledPicture result;
    Method method = Method::Wheel;
    int units = 1, unitsTaken = 0;
    double rowsPerUnit = 0;
    for (;;) {
        if (!progress(stitcher.Height())) {
            result.end = ScrollEnd::Stopped;
            break;
        }
        Scroll(target, method, units);
        std::vector<uint32_t> read = reader.ReadSettled(&last);
        const ScrollStitcher::Outcome outcome = stitcher.Add(read, int(rowsPerUnit * units + 0.5));
        if (outcome == ScrollStitcher::Outcome::Added) {
            unitsTaken += units;
            const double step = double(stitcher.LastShift()) / units;
            rowsPerUnit = std::max(rowsPerUnit, step);
            // About a third of the area a step: enough overlap to match.
            units = std::clamp(int(reader.height() / 3 / rowsPerUnit), 1, kMaxUnits);
            last = std::move(read);
            continue;
        }
        if (outcome == ScrollStitcher::Outcome::Full) {
            Scroll(target, method, -units);
            result.end = ScrollEnd::Full;
            break;
        }
        if (outcome == ScrollStitcher::Outcome::NoMatch) {
            // Too far, or the page changed: back, and a smaller step.
            Scroll(target, method, -units);
            last = reader.ReadSettled(nullptr);
            if (units > 1) {
                units = std::max(1, units / 2);
                continue;
            }
        } else if (unitsTaken == 0 && method != Method::PageKey) {
            // Nothing moved from the start: the window may take another way.
            method = Method(int(method) + 1);
            units = 1;
            continue;
        }
        result.end = ScrollEnd::Bottom;
        break;
    }
    Restore(target, method, unitsTaken, start);
    result.picture = Compose(stitcher);
    return result;
}

ScrolledPicture FollowScrolling(const ScrollTarget& target, int maxHeight,
                                const ScrollProgress& progress) {
    toolkit::PhysicalPixels physical;
    const AreaReader reader(target.area);
    if (!reader.ok()) return {};
    ScrollStitcher stitcher(reader.width(), reader.height(), maxHeight);
    stitcher.Add(reader.ReadSettled(nullptr));
    ScrolledPicture result;
    while (progress(stitcher.Height())) {
        // A read that matches nothing (scrolled up, or too far at once) waits
        // for the user to come back within reach.
        if (stitcher.Add(reader.ReadSettled(nullptr), stitcher.LastShift()) ==
            ScrollStitcher::Outcome::Full) {
            result.end = ScrollEnd::Full;
            break;
        }
    }
    result.picture = Compose(stitcher);
    return result;
}

namespace {

struct KeysState {
    bool clickFinishes = false, escaped = false, finished = false;
};

KeysState& Keys() {
    static KeysState state;
    return state;
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        const DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode;
        if (key == VK_ESCAPE) return Keys().escaped = true, 1;
        if (key == VK_RETURN) return Keys().finished = true, 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Keys().clickFinishes) {
        if (wParam == WM_LBUTTONDOWN) return 1;
        // On the release, so that no program gets a release without its press.
        if (wParam == WM_LBUTTONUP) return Keys().finished = true, 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

ScrollKeys::ScrollKeys(bool clickFinishes) {
    Keys() = KeysState{clickFinishes};
    const HINSTANCE module = GetModuleHandleW(nullptr);
    keyboard_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, module, 0));
    if (clickFinishes) mouse_.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, module, 0));
}

ScrollKeys::~ScrollKeys() { Keys() = KeysState{}; }

bool ScrollKeys::escaped() const { return Keys().escaped; }
bool ScrollKeys::finished() const { return Keys().finished; }

}  // namespace capture
