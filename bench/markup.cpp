// Marking up a 3840 x 2160 picture: one pointer move while a rectangle is
// dragged over 200 marks, the undo of one mark, and the memory that 1000
// marks and 1000 undos take (the history keeps marks, never the picture).
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "tests/support/wait.h"
#include "toolkit/runtime.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

toolkit::Picture Picture4k() {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kWidth, -kHeight, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) px[size_t(y) * kWidth + x] = (x * 7 + y * 3) & 0xFFFFFF;
    return toolkit::Picture::FromBitmap(std::move(bitmap), {});
}

class Pointer {
public:
    explicit Pointer(HWND viewer) : viewer_(viewer) {}
    void Down(int x, int y) { SendMessageW(viewer_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y) {
        SendMessageW(viewer_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        UpdateWindow(viewer_);
    }
    void Up(int x, int y) {
        SendMessageW(viewer_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        UpdateWindow(viewer_);
    }
    void DragOut(int x, int y, int w, int h) {
        Down(x, y);
        Move(x + w / 2, y + h / 2);
        Up(x + w, y + h);
    }

private:
    HWND viewer_;
};

void Key(HWND form, WORD key, bool ctrl) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(form, WM_KEYDOWN, key, 0);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

// Windows reports the private memory as PrivateUsage and PagefileUsage; Wine
// fills in only the second.
double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return std::max(counters.PrivateUsage, counters.PagefileUsage) / (1024.0 * 1024.0);
}

// One of the tools that drag out a mark, by turns.
const WORD kToolKeys[] = {'R', 'E', 'L', 'A', 'P', 'H', 'X', 'M'};

}  // namespace

int main() {
    OleInitialize(nullptr);
    toolkit::SetMsgBoxHandler(
        [](HWND, const std::wstring&, UINT, const std::wstring&) { return IDNO; });
    // Figures of the 4k picture: the same on either display, printed once.
    if (bench::DisplayName(GetSystemMetrics(SM_CXSCREEN)) != "4k") return 0;
    app::FrmMain form;
    if (!form.Load()) return 1;
    form.Show();
    form.SetWindowState(toolkit::WindowState::Maximized);
    form.PicBmp.SetPicture(Picture4k());
    form.Form_Resize();
    testing_support::Pump(300);
    HWND viewer = form.PicBmp.hwnd();
    Pointer pointer(viewer);

    for (int i = 0; i < 200; ++i) {
        Key(form.hwnd(), kToolKeys[i % 8], false);
        pointer.DragOut(40 + (i * 37) % 1400, 40 + (i * 53) % 800, 60 + i % 90, 40 + i % 70);
    }
    Key(form.hwnd(), 'R', false);
    pointer.Down(300, 200);
    for (int i = 0; i < 20; ++i) pointer.Move(400 + i, 300 + i);  // warm up
    const double drag =
        bench::MedianMs(101, [&](int i) { pointer.Move(420 + i % 50, 320 + i % 40); });
    pointer.Up(470, 360);

    const double undo = bench::MedianMs(51, [&](int) {
        Key(form.hwnd(), 'Z', true);
        UpdateWindow(viewer);
    });
    for (int i = 0; i < 51; ++i) Key(form.hwnd(), 'Y', true);

    form.mnuClear_Click();
    form.PicBmp.SetPicture(Picture4k());
    form.Form_Resize();
    testing_support::Pump(100);
    const double before = PrivateMb();
    for (int i = 0; i < 1000; ++i) {
        if (i % 100 == 99) {  // a crop now and then
            Key(form.hwnd(), 'C', false);
            pointer.DragOut(1, 1, 1200 - i, 700 - i / 2);
            Key(form.hwnd(), VK_RETURN, false);
            continue;
        }
        Key(form.hwnd(), kToolKeys[i % 8], false);
        pointer.DragOut(20 + (i * 37) % 900, 20 + (i * 53) % 500, 30 + i % 60, 20 + i % 50);
    }
    for (int i = 0; i < 1000; ++i) Key(form.hwnd(), 'Z', true);
    testing_support::Pump(100);
    const double history = PrivateMb() - before;

    std::printf("bench: markup_drag_ms_4k %.2f ms\n", drag);
    std::printf("bench: markup_undo_ms_4k %.2f ms\n", undo);
    std::printf("bench: markup_history_mb %.2f MB\n", history);
    OleUninitialize();
    return 0;
}
