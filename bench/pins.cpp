// Pins of a 3840 x 2160 capture: the command to the pin painted, one wheel
// step repainted, and the GDI objects left after twenty were opened and closed.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/frm_main.h"
#include "bench/measure.h"
#include "pin/pin_store.h"
#include "tests/support/test_window.h"
#include "tests/support/wait.h"
#include "toolkit/runtime.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

toolkit::Picture Capture4k(int seed) {
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap = toolkit::NewBitmap32(kWidth, -kHeight, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            px[size_t(y) * kWidth + x] = (x * 7 + y * 3 + seed) & 0xFFFFFF;
    toolkit::Picture picture = toolkit::Picture::FromBitmap(std::move(bitmap), {});
    picture.SetScreenOrigin(POINT{0, 0});
    return picture;
}

void Wheel(HWND pin, int notches) {
    SendMessageW(pin, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(600, 400));
    UpdateWindow(pin);
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    if (bench::DisplayName(GetSystemMetrics(SM_CXSCREEN)) != "4k") return 0;
    toolkit::SetMsgBoxHandler(
        [](HWND, const std::wstring&, UINT, const std::wstring&) { return IDNO; });
    testing_support::ClearSettings();
    double show = 0, zoom = 0;
    int left = 0;
    {
        app::FrmMain form;
        if (!form.Load()) return 1;
        form.Show();
        form.PicBmp.SetPicture(Capture4k(0));
        testing_support::Pump(300);
        // One pin up at a time, as a user pins a screen: each goes before the next is timed.
        std::vector<double> shows;
        for (int i = 0; i < 15; ++i) {
            form.Pins.CloseAll();
            testing_support::Pump(50);
            shows.push_back(bench::TimeMs([&] {
                form.mnuPin_Click();
                GdiFlush();
            }));
        }
        show = bench::Median(shows);
        form.Pins.CloseAll();
        form.mnuPin_Click();
        testing_support::Pump(300);
        const HWND pin = form.Pins.At(0).hwnd();
        Wheel(pin, 1);
        zoom = bench::MedianMs(41, [&](int i) { Wheel(pin, i % 2 ? 1 : -1); });
        form.Pins.CloseAll();

        std::vector<HBITMAP> bitmaps;
        for (int i = 0; i < 20; ++i) {
            toolkit::Picture picture = Capture4k(i);
            bitmaps.push_back(picture.Bitmap());
            form.Pins.Pin(picture);
        }
        testing_support::Pump(200);
        form.Pins.CloseAll();
        testing_support::Pump(200);
        for (HBITMAP bitmap : bitmaps) left += GetObjectType(bitmap) != 0;
    }
    // What keeping a pin up on disk for the next start costs the window's
    // thread; each is written before the next is timed.
    pin::Store store(pin::DefaultFolder());
    const toolkit::Picture kept = Capture4k(0);
    std::vector<double> keeps;
    for (int i = 0; i < 5; ++i) {
        std::wstring name;
        keeps.push_back(bench::TimeMs([&] { name = store.Keep(kept, pin::Record{}); }));
        store.Drain();
        store.Forget(name);
        store.Drain();
    }
    const double keep = bench::Median(keeps);
    testing_support::ClearSettings();
    std::printf("bench: pin_keep_ms_4k %.2f ms\n", keep);
    std::printf("bench: pin_show_ms_4k %.2f ms\n", show);
    std::printf("bench: pin_zoom_ms_4k %.2f ms\n", zoom);
    std::printf("bench: pins_gdi_left %d objects\n", left);
    OleUninitialize();
    return 0;
}
