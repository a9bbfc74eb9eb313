// Marking up a 3840 x 2160 picture: one pointer move while a rectangle is
// dragged over 200 marks or a selected mark's handle is dragged among them,
// the undo of one mark, and the memory that 1000 marks and 1000 undos take
// (the history keeps marks, never the picture). Then one pointer move while a
// crop or a redaction is dragged across a 7680 x 4320 picture.
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

toolkit::Picture Pattern(int width, int height) {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(width, -height, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) px[size_t(y) * width + x] = (x * 7 + y * 3) & 0xFFFFFF;
    return toolkit::Picture::FromBitmap(std::move(bitmap), {});
}

toolkit::Picture Picture4k() { return Pattern(3840, 2160); }

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

    // The rectangle just drawn, selected by its edge, resized by its corner.
    Key(form.hwnd(), 'V', false);
    pointer.Down(300, 280);
    pointer.Up(300, 280);
    pointer.Down(470, 360);
    for (int i = 0; i < 20; ++i) pointer.Move(480 + i, 370 + i);  // warm up
    const double handle =
        bench::MedianMs(101, [&](int i) { pointer.Move(500 + i % 50, 390 + i % 40); });
    pointer.Up(520, 400);
    Key(form.hwnd(), VK_ESCAPE, false);
    if (form.Markup.Doc().marks.back().points.back().x != 520) {
        std::printf("the handle was not dragged\n");
        return 1;
    }

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

    // Across most of the viewer: a crop, then a redaction, from the corner.
    form.mnuClear_Click();
    form.PicBmp.SetPicture(Pattern(7680, 4320));
    form.Form_Resize();
    testing_support::Pump(100);
    const auto across = [&](WORD tool) {
        Key(form.hwnd(), tool, false);
        pointer.Down(20, 20);
        for (int i = 0; i < 20; ++i) pointer.Move(2800 + i * 20, 1500 + i * 10);  // warm up
        const double ms = bench::MedianMs(
            101, [&](int i) { pointer.Move(3200 + i % 50 * 3, 1700 + i % 40 * 2); });
        pointer.Up(3000, 1600);
        Key(form.hwnd(), VK_ESCAPE, false);
        return ms;
    };
    const double crop = across('C');
    const double redaction = across('X');

    std::printf("bench: markup_drag_ms_4k %.2f ms\n", drag);
    std::printf("bench: markup_handle_drag_ms_4k %.2f ms\n", handle);
    std::printf("bench: markup_crop_drag_ms_8k %.2f ms\n", crop);
    std::printf("bench: markup_redaction_drag_ms_8k %.2f ms\n", redaction);
    std::printf("bench: markup_undo_ms_4k %.2f ms\n", undo);
    std::printf("bench: markup_history_mb %.2f MB\n", history);
    OleUninitialize();
    return 0;
}
