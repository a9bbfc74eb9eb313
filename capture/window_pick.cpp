#include "capture/window_pick.h"

#include <dwmapi.h>

#include <cstdlib>
#include <cstring>

#include "capture/region_frame.h"
#include "capture/screen_grab.h"
#include "capture/screen_layout.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"

namespace capture {

namespace {

constexpr int kOutlineWidth = 3;
constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED, Windows 8 and later

enum class Phase { Idle, Armed, Pressed, Dragging, Done };

// Shared by the hooks, which the system calls on the thread that installed
// them while it waits for messages.
struct Pick {
    Phase phase = Phase::Idle;
    HWND form = nullptr;
    DWORD ownThread = 0;
    toolkit::UniqueHook mouse, keyboard;
    HWND outlined = nullptr;
    Rect32 outline;  // as drawn, on the virtual screen
    POINT anchor{};
    Rect32 band;  // the dragged rectangle as drawn
    PickOutcome outcome;
};

Pick& State() {
    static Pick pick;
    return pick;
}

// The ring of the rectangle in four strokes that do not overlap, so that
// drawing it twice leaves the screen as it was.
void InvertOutline(const Rect32& r) {
    if (IsEmpty(r)) return;
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    const int32_t w = r.right - r.left, h = r.bottom - r.top, t = kOutlineWidth;
    if (w <= 2 * t || h <= 2 * t) {
        PatBlt(screen.get(), r.left, r.top, w, h, DSTINVERT);
        return;
    }
    PatBlt(screen.get(), r.left, r.top, w, t, DSTINVERT);
    PatBlt(screen.get(), r.left, r.bottom - t, w, t, DSTINVERT);
    PatBlt(screen.get(), r.left, r.top + t, t, h - 2 * t, DSTINVERT);
    PatBlt(screen.get(), r.right - t, r.top + t, t, h - 2 * t, DSTINVERT);
}

void InvertBand(const Rect32& r) {
    toolkit::WindowDC screen(nullptr, toolkit::WindowDC::Area::Client);
    DrawRegionFrame(screen.get(), r);
}

Rect32 OutlineOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return ClampTo(Rect32{r.left, r.top, r.right, r.bottom}, VirtualScreen()).value_or(Rect32{});
}

void OutlineWindowAt(Pick& p, POINT at) {
    const HWND window = PickableWindowAt(at, p.ownThread);
    const Rect32 outline = window ? OutlineOf(window) : Rect32{};
    if (window == p.outlined && !std::memcmp(&outline, &p.outline, sizeof outline)) return;
    InvertOutline(p.outline);
    p.outlined = window;
    p.outline = outline;
    InvertOutline(p.outline);
}

Rect32 BandTo(const Pick& p, POINT to) {
    const Point32 end = ClampPoint(Point32{to.x, to.y}, VirtualScreen());
    Rect32 r{p.anchor.x, p.anchor.y, end.x, end.y};
    NormalizeRect(r);
    return r;
}

void Finish(Pick& p, PickOutcome outcome) {
    InvertOutline(p.outline);
    p.outline = Rect32{};
    InvertBand(p.band);
    p.band = Rect32{};
    p.outcome = outcome;
    p.phase = Phase::Done;
    PostMessageW(p.form, kPickDoneMessage, 0, 0);
}

void Cancel(Pick& p) { Finish(p, PickOutcome{}); }

bool Active(const Pick& p) {
    return p.phase == Phase::Armed || p.phase == Phase::Pressed || p.phase == Phase::Dragging;
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    Pick& p = State();
    if (code != HC_ACTION || !Active(p)) return CallNextHookEx(nullptr, code, wParam, lParam);
    toolkit::PhysicalPixels physical;
    if (!IsWindow(p.form)) {  // the window went away while armed
        Cancel(p);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    const POINT pt = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    switch (wParam) {
        case WM_MOUSEMOVE:
            if (p.phase == Phase::Armed) {
                OutlineWindowAt(p, pt);
            } else if (p.phase == Phase::Pressed) {
                if (std::abs(pt.x - p.anchor.x) >= GetSystemMetrics(SM_CXDRAG) ||
                    std::abs(pt.y - p.anchor.y) >= GetSystemMetrics(SM_CYDRAG)) {
                    InvertOutline(p.outline);
                    p.outline = Rect32{};
                    p.phase = Phase::Dragging;
                    p.band = BandTo(p, pt);
                    InvertBand(p.band);
                }
            } else {
                InvertBand(p.band);
                p.band = BandTo(p, pt);
                InvertBand(p.band);
            }
            // Moves pass, or the pointer would stand still.
            return CallNextHookEx(nullptr, code, wParam, lParam);
        case WM_LBUTTONDOWN:
            if (p.phase == Phase::Armed) {
                p.phase = Phase::Pressed;
                p.anchor = pt;
                OutlineWindowAt(p, pt);
            }
            break;
        case WM_LBUTTONUP:
            if (p.phase == Phase::Dragging) {
                InvertBand(p.band);
                p.band = BandTo(p, pt);
                InvertBand(p.band);
                Finish(p, PickOutcome{PickOutcome::Kind::Area, nullptr, p.band});
            } else if (p.phase == Phase::Pressed) {
                if (p.outlined)
                    Finish(p, PickOutcome{PickOutcome::Kind::Window, p.outlined, {}});
                else
                    p.phase = Phase::Armed;  // nothing there to pick: still armed
            }
            break;
        case WM_RBUTTONUP:
            // On the release, so that no program gets a release without its press.
            Cancel(p);
            break;
    }
    return 1;  // no button reaches the program under the pointer
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    Pick& p = State();
    if (code == HC_ACTION && Active(p) && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) &&
        reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode == VK_ESCAPE) {
        toolkit::PhysicalPixels physical;
        Cancel(p);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Search {
    POINT point;
    DWORD ownThread;
    HWND found = nullptr;
};

bool Cloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, kCloaked, &cloaked, sizeof cloaked)) && cloaked;
}

BOOL CALLBACK Consider(HWND window, LPARAM lParam) {
    auto& s = *reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(window) || IsIconic(window) ||
        GetWindowThreadProcessId(window, nullptr) == s.ownThread ||
        (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
        return TRUE;
    RECT r{};
    if (!GetWindowRect(window, &r) || !PtInRect(&r, s.point) || Cloaked(window)) return TRUE;
    s.found = window;
    return FALSE;
}

}  // namespace

HWND PickableWindowAt(POINT point, DWORD ownThread) {
    toolkit::PhysicalPixels physical;
    Search search{point, ownThread};
    EnumWindows(&Consider, reinterpret_cast<LPARAM>(&search));  // from the top of the Z order
    return search.found;
}

bool ArmWindowPick(HWND form) {
    Pick& p = State();
    if (Active(p)) return false;
    toolkit::PhysicalPixels physical;
    p = Pick{};
    p.form = form;
    p.ownThread = GetWindowThreadProcessId(form, nullptr);
    const HINSTANCE module = GetModuleHandleW(nullptr);
    p.mouse.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, module, 0));
    p.keyboard.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, module, 0));
    if (!p.mouse || !p.keyboard) {
        p = Pick{};
        return false;
    }
    p.phase = Phase::Armed;
    POINT at{};
    GetCursorPos(&at);
    OutlineWindowAt(p, at);
    return true;
}

bool WindowPickArmed() { return Active(State()); }

PickOutcome TakePickOutcome() {
    Pick& p = State();
    const PickOutcome outcome = p.outcome;
    if (p.phase == Phase::Done) p = Pick{};  // unhooked here, not inside a hook
    return outcome;
}

}  // namespace capture
