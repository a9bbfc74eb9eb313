#include "toolkit/out_of_sight.h"

#include <dwmapi.h>

#include "toolkit/handles.h"
#include "toolkit/picture.h"

namespace toolkit {

namespace {

// A program beneath that never repaints would otherwise hold the capture up;
// the slowest repaint seen under Wine took 50 ms.
constexpr ULONGLONG kCeilingMilliseconds = 100;
// Between two reads of the area: a repaint still under way changes it.
constexpr DWORD kSettleMilliseconds = 4;

bool Composed() {
    BOOL composed = FALSE;
    return SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed;
}

// The screen's pixels in a rectangle, row by row; empty where it cannot be read.
std::vector<uint32_t> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    WindowDC screen(nullptr, WindowDC::Area::Client);
    UniqueDC memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    UniqueBitmap bitmap = NewBitmap32(width, -height, &bits);
    if (!memory || !bitmap) return {};
    {
        SelectGuard selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY))
            return {};
    }
    const auto* first = static_cast<const uint32_t*>(bits);
    return std::vector<uint32_t>(first, first + size_t(width) * size_t(height));
}

}  // namespace

OutOfSight::OutOfSight(HWND hwnd) : hwnd_(hwnd) {
    if (!Composed()) {
        RECT window{},
            screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
        screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
        // A minimized window stands nowhere on the screen: nothing to wait for.
        if (!IsIconic(hwnd_) && GetWindowRect(hwnd_, &window) &&
            IntersectRect(&area_, &window, &screen))
            shown_ = ScreenPixels(area_);
    }
    UniqueRegion nothing(CreateRectRgn(0, 0, 0, 0));
    if (SetWindowRgn(hwnd_, nothing.get(), TRUE)) nothing.release();  // the window's now
}

// The window had no region of its own to give back.
OutOfSight::~OutOfSight() { SetWindowRgn(hwnd_, nullptr, TRUE); }

// Where nothing composes the screen, waits until the area where the window
// stood shows something else and has stopped changing, rather than for a
// fixed time: usually the programs beneath have repainted within a few ms.
void OutOfSight::WaitForScreenBeneath() const {
    if (Composed()) {
        DwmFlush();
        return;
    }
    if (shown_.empty()) return;
    const ULONGLONG start = GetTickCount64();
    std::vector<uint32_t> last = shown_;
    while (GetTickCount64() - start < kCeilingMilliseconds) {
        std::vector<uint32_t> now = ScreenPixels(area_);
        if (now != shown_ && now == last) return;
        last = std::move(now);
        Sleep(kSettleMilliseconds);
    }
}

void WaitForRepaints() {
    if (Composed())
        DwmFlush();
    else
        Sleep(DWORD(kCeilingMilliseconds));
}

void ReclaimKeyboard(HWND hwnd) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetForegroundWindow(hwnd);
    SetFocus(nullptr);
    SetFocus(hwnd);
}

}  // namespace toolkit
