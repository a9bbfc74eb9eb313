// A window that steps out of the screen's picture and comes back with the
// keyboard still its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace toolkit {

// Keeps a window out of what the screen shows for its scope, while it stays
// the active window. Hiding it would hand the activation to another
// program's window, and under Wine the X server's keyboard focus then stays
// with that window after ours is shown again, though Windows' own state says
// ours has it. An empty window region draws nothing and lets the windows
// beneath show through; Windows 11 gives back the rounded corners and the
// shadow with the region. Windows 10 2004 and later document a way to stay
// where it is and still "not appear at all" in captures
// (SetWindowDisplayAffinity with WDA_EXCLUDEFROMCAPTURE), but not what a GDI
// read of the screen then shows there, and Wine 8 refuses the call (FALSE,
// affinity unchanged), so it cannot be checked here and is not relied on.
class OutOfSight {
public:
    explicit OutOfSight(HWND hwnd);
    ~OutOfSight();
    OutOfSight(const OutOfSight&) = delete;
    OutOfSight& operator=(const OutOfSight&) = delete;

    // Returns once the screen shows what lies beneath the window. Windows 8
    // and later compose the screen from the windows' own surfaces a frame
    // later; where nothing composes it (Wine, Windows 7 without Aero) the
    // programs beneath repaint it themselves, a little later still.
    void WaitForScreenBeneath() const;

private:
    HWND hwnd_;
    RECT area_{};                  // where the window stood, on the screen
    std::vector<uint32_t> shown_;  // what the screen showed there before
};

// Returns once programs asked to repaint have had the time to: the frame
// after next where the screen is composed, else the slowest repaint seen.
void WaitForRepaints();

// After the window comes back from minimized: makes it the keyboard's again.
// Under Wine the X server's focus follows only a real change of focus made
// after the system has seen the window back, so this lets it see that
// (without dispatching anything) and moves the focus away and back.
void ReclaimKeyboard(HWND hwnd);

}  // namespace toolkit
