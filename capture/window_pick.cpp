#include "capture/window_pick.h"

#include <dwmapi.h>

#include <cstdlib>
#include <memory>

#include "capture/pick_overlay.h"
#include "capture/screen_grab.h"
#include "capture/screen_layout.h"
#include "toolkit/handles.h"
#include "toolkit/physical_pixels.h"
#include "toolkit/visible_frame.h"

namespace capture {

namespace {

constexpr int kOutlineWidth = 3;
constexpr int kBandWidth = 1;
constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED, Windows 8 and later

// What the hooks post to the overlay's window: a button (wParam: the mouse
// message, lParam: the point), a move (its point waits in Pick::moved, so a
// burst of moves is one message), Escape.
constexpr UINT kHookButton = WM_APP + 1;
constexpr UINT kHookMove = WM_APP + 2;
constexpr UINT kHookEscape = WM_APP + 3;

constexpr UINT_PTR kWatchdog = 1;
constexpr UINT kWatchdogPeriodMs = 250;
// Longer than Windows lets a low-level hook take (at most 1 s since Windows 10
// 1709) before it passes the hook over and then removes it without a word.
constexpr DWORD kDeafAfterMs = 1500;

enum class Phase { Idle, Armed, Pressed, Dragging, Done };

struct Pick {
    Phase phase = Phase::Idle;
    HWND form = nullptr;
    DWORD ownThread = 0;
    PickOverlay* overlay = nullptr;
    toolkit::UniqueHook mouse, keyboard;
    HWND outlined = nullptr;
    POINT anchor{};
    Rect32 band;
    PickOutcome outcome;
    // Written by the hooks, which the system calls on this thread while it
    // waits for messages.
    DWORD heardAt = 0;  // when a hook last saw input
    POINT moved{};
    bool movePosted = false;
    // The watchdog: since when input has been arriving that no hook saw.
    bool unheard = false;
    DWORD unheardSince = 0;
};

Pick& State() {
    static Pick pick;
    return pick;
}

void OnPickMessage(UINT message, WPARAM wParam, LPARAM lParam);

// Kept hidden between picks, so that arming one costs no new window; made
// again for another thread, which would not get its messages.
PickOverlay* OutlineFor(DWORD thread) {
    static std::unique_ptr<PickOverlay> outline;
    if (!outline || !IsWindow(outline->hwnd()) ||
        GetWindowThreadProcessId(outline->hwnd(), nullptr) != thread) {
        outline.reset();
        outline = std::make_unique<PickOverlay>(&OnPickMessage);
    }
    return outline.get();
}

bool Active(const Pick& p) {
    return p.phase == Phase::Armed || p.phase == Phase::Pressed || p.phase == Phase::Dragging;
}

LPARAM PackPoint(POINT pt) { return MAKELPARAM(WORD(SHORT(pt.x)), WORD(SHORT(pt.y))); }
POINT UnpackPoint(LPARAM lParam) { return POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))}; }

// The hooks only note and hand on: Windows removes a hook that keeps it waiting.
LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    Pick& p = State();
    if (code != HC_ACTION || !Active(p)) return CallNextHookEx(nullptr, code, wParam, lParam);
    p.heardAt = GetTickCount();
    const POINT pt = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    const HWND sink = p.overlay->hwnd();
    if (wParam == WM_MOUSEMOVE) {
        p.moved = pt;
        if (!p.movePosted) p.movePosted = PostMessageW(sink, kHookMove, 0, 0);
        // Moves pass, or the pointer would stand still.
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    if (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_RBUTTONUP)
        PostMessageW(sink, kHookButton, wParam, PackPoint(pt));
    return 1;  // no button reaches the program under the pointer
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    Pick& p = State();
    if (code != HC_ACTION || !Active(p)) return CallNextHookEx(nullptr, code, wParam, lParam);
    p.heardAt = GetTickCount();
    if ((wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) &&
        reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode == VK_ESCAPE) {
        PostMessageW(p.overlay->hwnd(), kHookEscape, 0, 0);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void OutlineWindowAt(Pick& p, POINT at) {
    p.outlined = PickableWindowAt(at, p.ownThread);
    const Rect32 frame = p.outlined ? toolkit::VisibleFrame(p.outlined) : Rect32{};
    p.overlay->Show(ClampTo(frame, VirtualScreen()).value_or(Rect32{}), kOutlineWidth);
}

Rect32 BandTo(const Pick& p, POINT to) {
    const Point32 end = ClampPoint(Point32{to.x, to.y}, VirtualScreen());
    Rect32 r{p.anchor.x, p.anchor.y, end.x, end.y};
    NormalizeRect(r);
    return r;
}

void ShowBand(Pick& p, POINT to) {
    p.band = BandTo(p, to);
    p.overlay->Show(p.band, kBandWidth, true);
}

void Finish(Pick& p, PickOutcome outcome) {
    // Off the screen before anything is captured.
    p.overlay->Hide();
    KillTimer(p.overlay->hwnd(), kWatchdog);
    p.mouse.reset();
    p.keyboard.reset();
    p.outcome = outcome;
    p.phase = Phase::Done;
    PostMessageW(p.form, kPickDoneMessage, 0, 0);
}

void Cancel(Pick& p, bool hookLost = false) {
    PickOutcome outcome;
    outcome.hookLost = hookLost;
    Finish(p, outcome);
}

void OnMove(Pick& p) {
    p.movePosted = false;
    const POINT pt = p.moved;
    if (p.phase == Phase::Armed) {
        OutlineWindowAt(p, pt);
    } else if (p.phase == Phase::Pressed) {
        if (std::abs(pt.x - p.anchor.x) >= GetSystemMetrics(SM_CXDRAG) ||
            std::abs(pt.y - p.anchor.y) >= GetSystemMetrics(SM_CYDRAG)) {
            p.phase = Phase::Dragging;
            ShowBand(p, pt);
        }
    } else if (p.phase == Phase::Dragging) {
        ShowBand(p, pt);
    }
}

void OnButton(Pick& p, WPARAM button, POINT pt) {
    switch (button) {
        case WM_LBUTTONDOWN:
            if (p.phase == Phase::Armed) {
                p.phase = Phase::Pressed;
                p.anchor = pt;
                OutlineWindowAt(p, pt);
            }
            break;
        case WM_LBUTTONUP:
            if (p.phase == Phase::Dragging) {
                ShowBand(p, pt);
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
}

// Input the system has taken since a hook last saw any, for longer than a
// hook may keep it waiting: the hooks are gone, and the pick would otherwise
// hold on with nothing to end it.
void Watch(Pick& p) {
    LASTINPUTINFO input{};
    input.cbSize = sizeof input;
    if (!GetLastInputInfo(&input) || LONG(input.dwTime - p.heardAt) <= 0) {
        p.unheard = false;
        return;
    }
    const DWORD now = GetTickCount();
    if (!p.unheard) {
        p.unheard = true;
        p.unheardSince = now;
    } else if (now - p.unheardSince >= kDeafAfterMs) {
        Cancel(p, true);
    }
}

void OnPickMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Pick& p = State();
    if (!Active(p)) return;
    toolkit::PhysicalPixels physical;
    if (!IsWindow(p.form)) return Cancel(p);  // the window went away while armed
    switch (message) {
        case kHookMove:
            return OnMove(p);
        case kHookButton:
            return OnButton(p, wParam, UnpackPoint(lParam));
        case kHookEscape:
            return Cancel(p);
        case WM_TIMER:
            if (wParam == kWatchdog) Watch(p);
            return;
    }
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
    if (!GetWindowRect(window, &r) || !PtInRect(&r, s.point)) return TRUE;
    // A point on the invisible border belongs to what shows through it.
    const Rect32 frame = toolkit::VisibleFrame(window);
    const RECT visible{frame.left, frame.top, frame.right, frame.bottom};
    if (!PtInRect(&visible, s.point) || Cloaked(window)) return TRUE;
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
    p.overlay = OutlineFor(GetCurrentThreadId());
    const HINSTANCE module = GetModuleHandleW(nullptr);
    if (p.overlay->hwnd()) {
        p.mouse.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, module, 0));
        p.keyboard.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, module, 0));
    }
    if (!p.mouse || !p.keyboard ||
        !SetTimer(p.overlay->hwnd(), kWatchdog, kWatchdogPeriodMs, nullptr)) {
        p = Pick{};
        return false;
    }
    p.phase = Phase::Armed;
    p.heardAt = GetTickCount();
    GetCursorPos(&p.moved);
    OutlineWindowAt(p, p.moved);
    return true;
}

bool WindowPickArmed() { return Active(State()); }

HWND WindowPickOutline() {
    const Pick& p = State();
    return p.overlay ? p.overlay->hwnd() : nullptr;
}

void DeafenWindowPickHooks() {
    Pick& p = State();
    p.mouse.reset();
    p.keyboard.reset();
}

PickOutcome TakePickOutcome() {
    Pick& p = State();
    const PickOutcome outcome = p.outcome;
    if (p.phase == Phase::Done) {
        PickOverlay* const outline = p.overlay;  // hidden, kept for the next pick
        p = Pick{};
        p.overlay = outline;
    }
    return outcome;
}

}  // namespace capture
