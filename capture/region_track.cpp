#include "capture/region_track.h"

#include <algorithm>
#include <deque>

#include "capture/region_frame.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"

namespace capture {

namespace {

struct MouseEvent {
    UINT message = 0;
    POINT pt{};  // screen
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

enum class Phase { Idle, Armed, Tracking, Released };

// Shared by the hook and the tracking loop: the system calls the hook on the
// thread that installed it, while that thread waits for messages.
struct Selection {
    Phase phase = Phase::Idle;
    HWND form = nullptr;
    toolkit::UniqueHook hook;
    std::deque<MouseEvent> events;
};

Selection& State() {
    static Selection selection;
    return selection;
}

// The messages that move the frame; X buttons and wheels do not.
bool MovesTheFrame(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }

bool IsButton(UINT message) {
    return message != WM_MOUSEMOVE && message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL;
}

WORD ClampToWord(LONG value) {
    return static_cast<WORD>(static_cast<int16_t>(std::clamp<LONG>(value, -32768, 32767)));
}

// lParam of a mouse message to the window; a minimized window's client
// coordinates can lie beyond 16 bits.
LPARAM ClientLParam(HWND hwnd, POINT screen) {
    ScreenToClient(hwnd, &screen);
    return MAKELPARAM(ClampToWord(screen.x), ClampToWord(screen.y));
}

void Disarm() {
    Selection& s = State();
    s.hook.reset();
    s.phase = Phase::Idle;
    s.events.clear();
    MSG msg;
    while (s.form &&
           PeekMessageW(&msg, s.form, kRegionInputMessage, kRegionInputMessage, PM_REMOVE)) {
    }
    s.form = nullptr;
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    Selection& s = State();
    const UINT message = static_cast<UINT>(wParam);
    if (code != HC_ACTION || (s.phase != Phase::Armed && s.phase != Phase::Tracking))
        return CallNextHookEx(nullptr, code, wParam, lParam);
    if (!IsWindow(s.form)) {  // the window went away while armed
        Disarm();
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    toolkit::PhysicalPixels physical;  // the hook's points are the displays' own pixels
    const POINT pt = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    if (s.phase == Phase::Armed) {
        if (message == WM_LBUTTONDOWN) {
            // The drag's events are kept from now on, even those that come
            // before the window has handled the press.
            s.phase = Phase::Tracking;
            PostMessageW(s.form, kRegionPressMessage, 0, MAKELPARAM(pt.x, pt.y));
        }
    } else if (MovesTheFrame(message)) {
        try {
            s.events.push_back({message, pt, 0, ClientLParam(s.form, pt)});
        } catch (...) {
            // Out of memory: the event goes on to the system instead, whose
            // capture brings a release to the loop too.
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
        if (message == WM_LBUTTONUP) s.phase = Phase::Released;
        PostMessageW(s.form, kRegionInputMessage, 0, 0);
    }
    // Moves pass, or the pointer would stand still; no button reaches the
    // program under the pointer.
    return IsButton(message) ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

// Windows keeps the pointer on the screen, but Wine reports input driven past
// its edge where it was driven: the selection stays on the screen either way.
POINT OnScreen(POINT p) {
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN),
               top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    p.x = std::clamp<LONG>(p.x, left, left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1);
    p.y = std::clamp<LONG>(p.y, top, top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
    return p;
}

MouseEvent NextEvent(bool hooked) {
    Selection& s = State();
    for (;;) {
        MSG msg;
        // Mouse messages the capture brings are taken and never dispatched.
        // With the hook they repeat what it reported, except a left release:
        // that one only arrives if the system has dropped the hook.
        while (PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_REMOVE))
            if (!hooked || msg.message == WM_LBUTTONUP)
                return {msg.message, msg.pt, msg.wParam, msg.lParam};
        while (PeekMessageW(&msg, nullptr, kRegionInputMessage, kRegionInputMessage, PM_REMOVE)) {
        }
        if (!s.events.empty()) {
            const MouseEvent event = s.events.front();
            s.events.pop_front();
            return event;
        }
        // Keyboard and other messages wait in the queue until the drag ends.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE,
                                    QS_MOUSE | QS_POSTMESSAGE | QS_SENDMESSAGE, 0);
    }
}

}  // namespace

bool ArmRegionSelection(HWND form) {
    Selection& s = State();
    s.form = form;
    s.events.clear();
    s.phase = Phase::Armed;
    if (!s.hook)
        s.hook.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, GetModuleHandleW(nullptr), 0));
    SetCapture(form);
    return static_cast<bool>(s.hook);
}

void EndRegionPress(bool stillArmed) {
    Selection& s = State();
    if (s.phase != Phase::Tracking && s.phase != Phase::Released) return;
    if (!stillArmed) {
        Disarm();
        return;
    }
    s.phase = Phase::Armed;
    s.events.clear();
}

Rect32 TrackRegion(HWND hWnd, POINT& Anchor) {
    Selection& s = State();
    // In the window's own context, which turned the press into client pixels:
    // back to the screen point the press had.
    ClientToScreen(hWnd, &Anchor);
    toolkit::PhysicalPixels physical;
    const bool hooked = static_cast<bool>(s.hook);
    if (s.phase == Phase::Armed) s.phase = Phase::Tracking;  // a press the capture brought
    Rect32 rect;
    MouseEvent release;
    {
        toolkit::WindowDC display(nullptr, toolkit::WindowDC::Area::Client);  // every display
        rect = Rect32{Anchor.x, Anchor.y, Anchor.x, Anchor.y};
        NormalizeRect(rect);
        DrawRegionFrame(display.get(), rect);
        do {
            release = NextEvent(hooked);
            DrawRegionFrame(display.get(), rect);
            const POINT to = OnScreen(release.pt);
            rect = Rect32{Anchor.x, Anchor.y, to.x, to.y};
            NormalizeRect(rect);
            DrawRegionFrame(display.get(), rect);
        } while (release.message != WM_LBUTTONUP);
        DrawRegionFrame(display.get(), rect);
    }
    ReleaseCapture();
    Disarm();
    PostMessageW(hWnd, WM_LBUTTONUP, release.wParam, release.lParam);
    return rect;
}

}  // namespace capture
