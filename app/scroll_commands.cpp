// The scrolling capture: a window, or a rectangle inside one, picked by
// pointing, then scrolled to its end by Fotolark, or by the user.
#include <algorithm>
#include <optional>

#include "app/frm_main.h"
#include "app/scroll_progress.h"
#include "capture/scroll_capture.h"
#include "capture/window_pick.h"
#include "output/picture_file.h"
#include "output/picture_header.h"

namespace app {

namespace {

// The tallest picture of that width that the size limits and the memory
// allow; the reads kept until the end take about twice its memory again.
int HeightAllowed(int width) {
    if (width <= 0) return 0;
    int64_t height = std::min<int64_t>(output::kMaxPictureSide, output::kMaxPicturePixels / width);
    const output::FreeAddressSpace space = output::FreeAddressSpaceNow();
    while (height > 0 && !output::FitsInMemory(width, height, space.blocks))
        height = height * 9 / 10;
    return int(height);
}

bool ShiftHeld() { return GetAsyncKeyState(VK_SHIFT) < 0; }

}  // namespace

void FrmMain::mnuScrollCapture_Click() {
    if (capture::WindowPickArmed() || RegionArmed) return;
    scrollManual_ = ShiftHeld();
    // Out of the way as for the window pick, yet still the active window.
    ShowWindow(hwnd(), SW_SHOWMINIMIZED);
    scrollPick_ = capture::ArmWindowPick(hwnd());
    if (!scrollPick_) SetWindowState(toolkit::WindowState::Normal);
}

void FrmMain::OnScrollPickDone() {
    scrollPick_ = false;
    const capture::PickOutcome outcome = capture::TakePickOutcome();
    const bool manual = scrollManual_ || ShiftHeld();
    std::optional<capture::ScrollTarget> target;
    if (outcome.kind == capture::PickOutcome::Kind::Window) {
        POINT at{};
        GetCursorPos(&at);
        target = capture::ScrollableAt(at);
        // The pointer left the window picked before this ran: its middle.
        if (target && GetAncestor(target->window, GA_ROOT) != outcome.window) {
            RECT r{};
            GetWindowRect(outcome.window, &r);
            target = capture::ScrollableAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        }
    } else if (outcome.kind == capture::PickOutcome::Kind::Area) {
        target = capture::ScrollableIn(outcome.area);
    }
    if (target) ScrollAndCapture(target->window, target->area, manual);
    ComeForward();
    Form_Resize();
}

void FrmMain::ScrollAndCapture(HWND window, const capture::Rect32& area, bool manual) {
    CaptureUnderWay underWay(*this);
    const HWND topLevel = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(topLevel);
    BringWindowToTop(topLevel);
    capture::ScrollKeys keys(manual);
    ScrollProgressWindow progress(
        area, UiTexts[TextId::ScrollHeight],
        UiTexts[manual ? TextId::ScrollManualHint : TextId::ScrollAutoHint]);
    const auto going = [&](int height) {
        progress.ShowHeight(height);
        return !keys.escaped() && !keys.finished();
    };
    const capture::ScrollTarget target{window, area};
    const int maxHeight = HeightAllowed(area.right - area.left);
    capture::ScrolledPicture shot = manual ? capture::FollowScrolling(target, maxHeight, going)
                                           : capture::CaptureScrolling(target, maxHeight, going);
    // Escape keeps what an automatic capture read; the user's own scrolling it cancels.
    if (manual && keys.escaped()) return;
    if (!shot.picture.Empty()) ShowCapture(std::move(shot.picture));
}

}  // namespace app
