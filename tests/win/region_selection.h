// The free-region capture's tests share this: a window of another thread that
// stands for another program and counts the input it gets, the clipboard read
// and written, and the form with that program beside it.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/frm_main.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/mouse_pointer.h"

namespace testing_support {

// --- The other program: a pattern window on its own thread ---

inline std::atomic<int> otherClicks{0}, otherMoves{0};
inline WNDPROC patternProc = nullptr;

inline LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) ++otherMoves;
    if (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONDBLCLK && message != WM_MOUSEWHEEL)
        ++otherClicks;
    return CallWindowProcW(patternProc, hwnd, message, wParam, lParam);
}

class OtherProgram {
public:
    OtherProgram(int x, int y, int w, int h) {
        thread_ = std::thread([=] {
            PatternWindow window(x, y, w, h, L"other program");
            patternProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
            RECT client;
            GetClientRect(window.hwnd(), &client);
            MapWindowPoints(window.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
            client_ = client;
            hwnd_ = window.hwnd();
            while (!stop_) Pump(10);
        });
        PumpUntil([&] { return hwnd_ != nullptr; });
        // Painted: its pattern shows on the screen.
        PumpUntil([&] {
            const RECT c = client_;
            return ReadScreen(RECT{c.left, c.top, c.left + 1, c.top + 1}).at(0, 0) ==
                   Rgb(PatternAt(0, 0));
        });
    }
    ~OtherProgram() {
        stop_ = true;
        thread_.join();
    }
    HWND hwnd() const { return hwnd_; }
    RECT client() const { return client_; }  // on the screen

private:
    std::thread thread_;
    std::atomic<HWND> hwnd_{nullptr};
    std::atomic<bool> stop_{false};
    RECT client_{};
};

// What the other program saw of the drag; restoring the form afterwards
// moves windows under the pointer, which sends it moves of its own.
inline std::atomic<int> movesBeforeRelease{-1};
inline void ReleaseDrag(POINT at) {
    Sleep(100);  // moves that were to reach it would have by now: the pause is the check
    movesBeforeRelease = otherMoves.load();
    Release(at);
}

// --- Clipboard ---

inline Pixels ClipboardPixels() {
    Pixels p;
    if (!OpenClipboard(nullptr)) return p;
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) p = ReadBitmap(static_cast<HBITMAP>(bitmap));
    CloseClipboard();
    return p;
}

// Whether the bitmap on the clipboard pastes opaque where a program reads
// its fourth bytes as alpha (the DIB the system makes of it).
inline bool ClipboardDibOpaque() {
    if (!OpenClipboard(nullptr)) return false;
    bool opaque = false;
    if (HANDLE dib = GetClipboardData(CF_DIB)) {
        if (const void* bytes = GlobalLock(dib)) {
            opaque = DibIsOpaque(static_cast<const uint8_t*>(bytes), GlobalSize(dib));
            GlobalUnlock(dib);
        }
    }
    CloseClipboard();
    return opaque;
}

inline void SetClipboardText(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

inline std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(not opened)";
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

inline Pixels Crop(const Pixels& from, int x, int y, int w, int h) {
    Pixels p;
    p.width = w;
    p.height = h;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) p.data.push_back(from.at(x + col, y + row));
    return p;
}

class RegionCapture : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        MouseTo(POINT{1700, 100});  // off the other program, whose window would get a move
        other = std::make_unique<OtherProgram>(800, 300, 480, 360);
        // The user has just chosen the command in the form.
        SetForegroundWindow(form.hwnd());
        Pump(200);
        boxes = std::make_unique<ScriptedBoxes>(std::vector<int>{IDOK});
        otherClicks = otherMoves = 0;
        movesBeforeRelease = -1;
    }
    void TearDown() override {
        boxes.reset();
        other.reset();
        ShownForm::TearDown();
    }
    // A point of the other program's window, in screen pixels.
    POINT Over(int x, int y) const {
        return POINT{other->client().left + x, other->client().top + y};
    }
    // Plays the user on another thread while this one runs the program, until
    // the capture has reached the viewer and the release the form.
    void Select(const std::function<void()>& user) {
        const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
        otherMoves = 0;
        std::thread thread(user);
        const bool done = PumpUntil(
            [&] {
                return form.PicBmp.GetPicture().Bitmap() != before &&
                       form.GetScaleMode() == toolkit::ScaleMode::Twips;
            },
            8000);
        thread.join();
        Pump(100);
        ASSERT_TRUE(done);
    }
    Pixels Picture() const { return ReadPicture(form.PicBmp.GetPicture()); }

    std::unique_ptr<OtherProgram> other;
    std::unique_ptr<ScriptedBoxes> boxes;
};

}  // namespace testing_support
