// Coordinates in the displays' own pixels for a scope, whatever the scaling.
#pragma once

namespace toolkit {

// On Windows 10 (1703) and later, runs its scope in the per-monitor (v2) DPI
// context: the program as a whole is system-DPI aware, and on a desk whose
// displays scale differently the system then scales the positions and sizes
// it reports for the other displays (pointer, window rectangles, screen
// metrics) and stretches what is read from them. In this context every
// display reports and gives its physical pixels. The main window keeps its own
// awareness: the system switches the thread's context to a window's while
// it handles that window's messages. Where the call is missing (Windows 7
// and 8, Wine 8) nothing is scaled that this would undo, and nothing changes.
class PhysicalPixels {
public:
    PhysicalPixels();
    ~PhysicalPixels();
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;
    // Whether this system has the per-thread context at all.
    static bool Available();

private:
    void* previous_ = nullptr;
};

}  // namespace toolkit
