// The free-region capture driven with real mouse input, over a window of
// another thread that stands for another program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/frm_main.h"
#include "toolkit/handles.h"
#include "toolkit/mouse_pointer.h"
#include "toolkit/runtime.h"
#include "capture/clipboard.h"
#include "tests/win/support/answers.h"
#include "tests/win/support/input.h"
#include "tests/win/support/test_window.h"

using namespace testing_support;

namespace {

// --- The other program: a pattern window on its own thread ---

std::atomic<int> otherClicks{0}, otherMoves{0};
WNDPROC patternProc = nullptr;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
        while (!hwnd_) Sleep(10);
        Sleep(200);
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
std::atomic<int> movesBeforeRelease{-1};
void ReleaseDrag(POINT at) {
    Sleep(100);
    movesBeforeRelease = otherMoves.load();
    Release(at);
}

// --- Clipboard ---

Pixels ClipboardPixels() {
    Pixels p;
    if (!OpenClipboard(nullptr)) return p;
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) p = ReadBitmap(static_cast<HBITMAP>(bitmap));
    CloseClipboard();
    return p;
}

void SetClipboardText(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(not opened)";
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

Pixels Crop(const Pixels& from, int x, int y, int w, int h) {
    Pixels p;
    p.width = w;
    p.height = h;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) p.data.push_back(from.at(x + col, y + row));
    return p;
}

class RegionCapture : public testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        ASSERT_TRUE(form.Load());
        form.Show();
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
        ClearSettings();
    }
    // A point of the other program's window, in screen pixels.
    POINT Over(int x, int y) const { return POINT{other->client().left + x, other->client().top + y}; }
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

    app::FrmMain form;
    std::unique_ptr<OtherProgram> other;
    std::unique_ptr<ScriptedBoxes> boxes;
};

TEST_F(RegionCapture, DragCopiesTheAreaToClipboardAndViewerAndLeavesTheScreenAsItWas) {
    const POINT a = Over(40, 30), b = Over(290, 200);
    const RECT area{a.x - 4, a.y - 4, b.x + 4, b.y + 4};
    const Pixels before = ReadScreen(area);
    SetClipboardText(L"replaced by the capture");
    form.CaptureUnsaved = false;
    form.mnuDistrict_Click();
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_TRUE(form.RegionArmed);
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Pixels);
    Pump(100);
    EXPECT_TRUE(IsIconic(form.hwnd()));

    Pixels during;
    HCURSOR armedCursor = nullptr, dragCursor = nullptr;
    Select([&] {
        MouseTo(a);
        armedCursor = CursorShown();
        Press(a);
        MouseTo(Over(150, 100));
        MouseTo(b);
        // The frame's bottom edge near the far corner is the last move's.
        PumpUntil([&] { return ReadScreen(area).at(b.x - 2 - area.left, b.y - 1 - area.top) !=
                             before.at(b.x - 2 - area.left, b.y - 1 - area.top); });
        during = ReadScreen(area);
        dragCursor = CursorShown();
        ReleaseDrag(b);
    });
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    EXPECT_EQ(armedCursor, cross);
    EXPECT_EQ(dragCursor, cross);

    // During the drag: the ring inverted but its corners, the label's glyphs
    // inverted, nothing else touched.
    const int l = a.x - area.left, t = a.y - area.top, r = b.x - area.left, btm = b.y - area.top;
    int changedInside = 0;
    ASSERT_EQ(during.width, before.width);
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x) {
            const bool inside = x >= l && x < r && y >= t && y < btm;
            const bool edgeX = x == l || x == r - 1, edgeY = y == t || y == btm - 1;
            if (inside && (edgeX || edgeY)) {
                EXPECT_EQ(during.at(x, y), (edgeX && edgeY) ? before.at(x, y) : before.at(x, y) ^ 0xFFFFFF)
                    << x << "," << y;
            } else if (during.at(x, y) != before.at(x, y)) {
                EXPECT_TRUE(inside) << x << "," << y;
                EXPECT_EQ(during.at(x, y), before.at(x, y) ^ 0xFFFFFF) << x << "," << y;
                ++changedInside;
            }
        }
    EXPECT_GT(changedInside, 10);   // the label "250x170"
    EXPECT_LT(changedInside, 400);  // its glyphs only

    const Pixels expected = Crop(before, l, t, r - l, btm - t);
    EXPECT_EQ(ClipboardPixels().width, 250);
    EXPECT_EQ(ClipboardPixels().height, 170);
    EXPECT_EQ(ClipboardPixels().data, expected.data);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));  // the picture alone
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(ReadScreen(area).data, before.data);
    EXPECT_TRUE(boxes->asked.empty());

    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(movesBeforeRelease, 0);
    EXPECT_FALSE(IsIconic(form.hwnd()));
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Twips);
    EXPECT_EQ(toolkit::ScreenMousePointer(), toolkit::MousePointer::Default);
    EXPECT_EQ(CursorShown(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(form.RegionArmed);
    EXPECT_TRUE(form.CaptureUnsaved);
    // Laid out in twips for the new picture.
    EXPECT_EQ(form.PicBmp.AsControl().Width(), 250 * 15);

    // Once the selection is over, the other program gets its clicks again.
    std::thread user([&] {
        Press(Over(10, 10));
        ReleaseDrag(Over(10, 10));
    });
    Pump(300);
    user.join();
    EXPECT_TRUE(PumpUntil([] { return otherClicks == 2; }, 1000));
}

TEST_F(RegionCapture, UpLeftDragWithOtherButtonsAndEscapeGivesTheMirroredRectangle) {
    const POINT a = Over(60, 50), b = Over(200, 150);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    form.mnuDistrict_Click();
    Select([&] {
        MouseTo(b);
        PressKeys({VK_ESCAPE});
        Press(b);
        MouseTo(Over(100, 100));
        PressKeys({VK_ESCAPE});
        SendMouse(Over(90, 90), MOUSEEVENTF_RIGHTDOWN);
        SendMouse(Over(90, 90), MOUSEEVENTF_RIGHTUP);
        SendMouse(Over(80, 80), MOUSEEVENTF_MIDDLEDOWN);
        SendMouse(Over(80, 80), MOUSEEVENTF_MIDDLEUP);
        MouseTo(a);
        ReleaseDrag(a);
    });
    EXPECT_EQ(Picture().width, 140);
    EXPECT_EQ(Picture().height, 100);
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(ClipboardPixels().data, expected.data);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, PressReachesTheSelectionWhileAnotherProgramIsInFront) {
    form.mnuDistrict_Click();
    Pump(100);
    // The capture of a window that is not in front brings no press from
    // another program's window.
    SetForegroundWindow(other->hwnd());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other->hwnd(); }, 2000));
    const POINT a = Over(50, 60), b = Over(170, 140);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    Select([&] {
        Press(a);
        MouseTo(Over(100, 100));
        SendMouse(Over(110, 110), MOUSEEVENTF_RIGHTDOWN);
        SendMouse(Over(110, 110), MOUSEEVENTF_RIGHTUP);
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().data, expected.data);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, ADragPastTheScreensCornerEndsAtItsLastPixel) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const POINT a{cx - 120, cy - 90};
    const RECT area{a.x - 4, a.y - 4, cx, cy};
    const Pixels before = ReadScreen(area);
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(POINT{cx + 200, cy + 200});  // the pointer stops at the edge
        ReleaseDrag(POINT{cx + 200, cy + 200});
    });
    EXPECT_EQ(Picture().width, 119);
    EXPECT_EQ(Picture().height, 89);
    EXPECT_EQ(Picture().data, Crop(before, 4, 4, 119, 89).data);
    EXPECT_EQ(ReadScreen(area).data, before.data);  // the frame was drawn and erased on screen
}

TEST_F(RegionCapture, ArmingTwiceOnlySetsThePixelScaleAndAClickGivesOnePixel) {
    form.mnuDistrict_Click();
    form.SetScaleMode(toolkit::ScaleMode::Twips);
    form.CaptureUnsaved = false;
    form.mnuDistrict_Click();
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Pixels);
    EXPECT_FALSE(form.CaptureUnsaved);
    EXPECT_TRUE(form.RegionArmed);
    EXPECT_TRUE(IsIconic(form.hwnd()));
    // Still armed, for one selection: a click without a drag copies an empty
    // area, which the platform makes a 1 x 1 monochrome bitmap.
    Select([&] {
        Press(Over(100, 100));
        ReleaseDrag(Over(100, 100));
    });
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(form.PicBmp.GetPicture().Bitmap(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(ClipboardPixels().width, 1);
    EXPECT_EQ(ClipboardPixels().height, 1);
    EXPECT_EQ(form.GetScaleMode(), toolkit::ScaleMode::Twips);
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(RegionCapture, ClipboardHeldByAnotherProgramStillShowsTheCapture) {
    SetClipboardText(L"kept");
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    const std::wstring heldName = L"fotolark-held-" + suffix, letGoName = L"fotolark-letgo-" + suffix;
    toolkit::UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
    toolkit::UniqueHandle letGo(CreateEventW(nullptr, TRUE, FALSE, letGoName.c_str()));
    std::wstring command = L"\"" + toolkit::AppPath() + L"\\clipboard_holder.exe\" " + heldName + L" " + letGoName;
    const toolkit::Process holder = toolkit::Shell(command, SW_SHOWNORMAL);
    ASSERT_NE(holder.Id(), 0u);
    ASSERT_EQ(WaitForSingleObject(held.get(), 10000), WAIT_OBJECT_0);

    // The clipboard keeps a bitmap it refused with its owner.
    toolkit::UniqueBitmap refused(CreateBitmap(4, 4, 1, 1, nullptr));
    EXPECT_FALSE(capture::SetClipboardBitmap(form.hwnd(), refused));
    EXPECT_EQ(GetObjectType(refused.get()), DWORD(OBJ_BITMAP));

    const POINT a = Over(30, 40), b = Over(130, 90);
    const Pixels expected = ReadScreen(RECT{a.x, a.y, b.x, b.y});
    form.mnuDistrict_Click();
    Select([&] {
        Press(a);
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().data, expected.data);
    ASSERT_EQ(boxes->asked.size(), 1u);
    EXPECT_EQ(boxes->asked[0].text, L"无法将图片复制到剪贴板。");

    SetEvent(letGo.get());
    ASSERT_EQ(WaitForSingleObject(holder.Handle(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ClipboardText(), L"kept");
    // Once free, the clipboard takes the bitmap and its owner lets go of it.
    EXPECT_TRUE(capture::SetClipboardBitmap(form.hwnd(), refused));
    EXPECT_EQ(refused.get(), nullptr);
}

TEST_F(RegionCapture, ClearEmptiesTheViewerAndNothingElse) {
    form.mnuClient_Click();
    ASSERT_FALSE(form.PicBmp.GetPicture().Empty());
    SetClipboardText(L"untouched");
    for (const bool unsaved : {true, false}) {
        form.CaptureUnsaved = unsaved;
        form.mnuClear_Click();
        EXPECT_TRUE(form.PicBmp.GetPicture().Empty());
        EXPECT_EQ(form.CaptureUnsaved, unsaved);
        EXPECT_FALSE(form.RegionArmed);
    }
    EXPECT_EQ(ClipboardText(), L"untouched");
}

TEST_F(RegionCapture, ToolbarButtonArmsThroughARealClick) {
    RECT button{};
    ASSERT_TRUE(SendMessageW(form.Toolbar1.hwnd(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&button)));
    MapWindowPoints(form.Toolbar1.hwnd(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    const POINT onButton{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    std::thread clicker([&] {
        Press(onButton);
        ReleaseDrag(onButton);
    });
    const bool armed = PumpUntil([&] { return form.RegionArmed && IsIconic(form.hwnd()); }, 3000);
    clicker.join();
    ASSERT_TRUE(armed);
    // Wider than the viewport, not as high.
    const POINT a = Over(10, 100), b = Over(470, 160);
    ASSERT_GT(b.x - a.x, form.picScroll.AsControl().Width() / 15);
    Select([&] {
        Press(a);
        MouseTo(Over(130, 110));
        MouseTo(b);
        ReleaseDrag(b);
    });
    EXPECT_EQ(Picture().width, 460);
    EXPECT_EQ(Picture().height, 60);
    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(movesBeforeRelease, 0);
    // The viewer was laid out again for the new picture.
    EXPECT_TRUE(form.HScroll1.Visible());
    EXPECT_FALSE(form.VScroll1.Visible());
}

}  // namespace
