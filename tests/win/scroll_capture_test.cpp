// Scrolling captures of windows that scroll: the test's own page with a
// sticky header and footer, a list view and Notepad.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "capture/scroll_capture.h"
#include "tests/support/input.h"
#include "tests/support/scroll_page.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

constexpr int kWidth = 300, kHeight = 260;

capture::ScrollTarget TargetOf(const ScrollPage& page) {
    const RECT c = page.ClientOnScreen();
    const auto target =
        capture::ScrollableAt(POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    EXPECT_TRUE(target && target->window == page.hwnd());
    return target.value_or(capture::ScrollTarget{});
}

const auto kGoOn = [](int) { return true; };

}  // namespace

TEST(ScrollCapture, TheWholePageOnceAndTheScrollPositionPutBack) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    const capture::ScrollTarget target = TargetOf(page);
    const RECT c = page.ClientOnScreen();
    EXPECT_EQ(target.area.left, c.left);
    EXPECT_EQ(target.area.bottom, c.bottom);
    EXPECT_EQ(target.area.right - target.area.left, kWidth) << "no scroll bar";

    for (const int from : {0, 777}) {
        page.ScrollTo(from);
        const capture::ScrolledPicture shot = capture::CaptureScrolling(target, 100000, kGoOn);
        EXPECT_EQ(shot.end, capture::ScrollEnd::Bottom);
        const Pixels p = ReadPicture(shot.picture);
        const std::vector<uint32_t> whole = page.Whole(from);
        ASSERT_EQ(p.width, kWidth);
        ASSERT_EQ(size_t(p.height) * kWidth, whole.size()) << "from " << from;
        EXPECT_TRUE(p.data == whole) << "from " << from;
        EXPECT_EQ(page.position(), from);
    }
}

TEST(ScrollCapture, WithoutTheWheelByTheScrollBar) {
    ScrollPage page(40, 40, kWidth, kHeight, 1500, false);
    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetOf(page), 100000, kGoOn);
    EXPECT_TRUE(ReadPicture(shot.picture).data == page.Whole());
    EXPECT_EQ(page.position(), 0);
}

TEST(ScrollCapture, EscapeMidwayKeepsThePartRead) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    capture::ScrollKeys keys(false);
    ASSERT_TRUE(keys.installed());
    bool pressed = false;
    const capture::ScrolledPicture shot =
        capture::CaptureScrolling(TargetOf(page), 100000, [&](int height) {
            if (height > 900 && !pressed) {
                PressKeys({VK_ESCAPE});
                pressed = true;
            }
            return !keys.escaped();
        });
    EXPECT_EQ(shot.end, capture::ScrollEnd::Stopped);
    const Pixels p = ReadPicture(shot.picture);
    const int rows = p.height - ScrollPage::kHeader - ScrollPage::kFooter;
    EXPECT_GT(rows, 900 - kHeight);
    EXPECT_LT(rows, 2000);
    EXPECT_TRUE(p.data == page.Whole(0, rows));
    EXPECT_EQ(page.position(), 0);
}

TEST(ScrollCapture, FollowsTheUsersOwnWheelUntilEnter) {
    ScrollPage page(40, 40, kWidth, kHeight, 1200);
    capture::ScrollKeys keys(true);
    ASSERT_TRUE(keys.installed());
    const RECT c = page.ClientOnScreen();
    const POINT centre{(c.left + c.right) / 2, (c.top + c.bottom) / 2};
    MouseTo(centre);
    int notches = 0;
    const capture::ScrolledPicture shot =
        capture::FollowScrolling(TargetOf(page), 100000, [&](int) {
            if (page.position() < 1200 - page.body() && notches < 100) {
                Wheel(centre, -1);
                ++notches;
            } else if (!keys.finished()) {
                PressKeys({VK_RETURN});
            }
            return !keys.finished() && !keys.escaped();
        });
    EXPECT_TRUE(ReadPicture(shot.picture).data == page.Whole());
}

TEST(ScrollCapture, StopsAtTheHeightAllowed) {
    ScrollPage page(40, 40, kWidth, kHeight, 3001);
    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetOf(page), 1000, kGoOn);
    EXPECT_EQ(shot.end, capture::ScrollEnd::Full);
    const Pixels p = ReadPicture(shot.picture);
    EXPECT_LE(p.height, 1000);
    EXPECT_TRUE(p.data == page.Whole(0, p.height - ScrollPage::kHeader - ScrollPage::kFooter));
    EXPECT_EQ(page.position(), 0);
}

namespace {

// What the screen shows of a rectangle, the rows of a picture.
std::vector<uint32_t> Rows(const Pixels& p, int top, int rows) {
    return std::vector<uint32_t>(p.data.begin() + size_t(top) * p.width,
                                 p.data.begin() + size_t(top + rows) * p.width);
}

RECT ClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

capture::ScrollTarget TargetIn(HWND window) {
    const RECT c = ClientOnScreen(window);
    const auto target =
        capture::ScrollableAt(POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2});
    EXPECT_TRUE(target && target->window == window);
    return target.value_or(capture::ScrollTarget{});
}

// Each band of rows, as the screen shows it once the window has scrolled it
// into view, is where the picture has it: no row doubled or missing.
void ExpectBandsInPlace(HWND window, const Pixels& shot, const std::function<RECT(int)>& showBand,
                        const std::function<int(int)>& at, std::initializer_list<int> bands) {
    for (const int band : bands) {
        const RECT r = showBand(band);
        Pump(200);
        const RECT c = ClientOnScreen(window);
        const Pixels seen = ReadScreen(RECT{c.left, c.top + r.top, c.right, c.top + r.bottom});
        ASSERT_LE(at(band) + seen.height, shot.height) << band;
        EXPECT_TRUE(seen.data == Rows(shot, at(band), seen.height)) << "band " << band;
    }
}

}  // namespace

TEST(ScrollCapture, ListViewOf500ItemsEveryItemOnce) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"list", WS_POPUP | WS_BORDER | LVS_REPORT, 60, 60,
                                320, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(list);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 250;
    column.pszText = const_cast<wchar_t*>(L"Items");
    ListView_InsertColumn(list, 0, &column);
    for (int i = 0; i < 500; ++i) {
        std::wstring text = L"Item " + std::to_wstring(i) + std::wstring(size_t(i % 17), L'#');
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text.data();
        ListView_InsertItem(list, &item);
    }
    ShowWindow(list, SW_SHOW);
    UpdateWindow(list);
    Pump(300);
    RECT first{};
    ListView_GetItemRect(list, 0, &first, LVIR_BOUNDS);
    const int itemHeight = first.bottom - first.top, perPage = ListView_GetCountPerPage(list);
    const RECT client = ClientOnScreen(list);

    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetIn(list), 100000, kGoOn);
    const Pixels p = ReadPicture(shot.picture);
    EXPECT_EQ(p.height, client.bottom - client.top + (500 - perPage) * itemHeight);
    EXPECT_EQ(ListView_GetTopIndex(list), 0) << "scrolled back";
    ExpectBandsInPlace(
        list, p,
        [&](int i) {
            ListView_EnsureVisible(list, i, FALSE);
            RECT r{};
            ListView_GetItemRect(list, i, &r, LVIR_BOUNDS);
            return r;
        },
        [&](int i) { return first.top + i * itemHeight; }, {1, 123, 250, 377, 499});
    DestroyWindow(list);
}

TEST(ScrollCapture, NotepadWithALongFileEveryLineOnce) {
    constexpr int kLines = 300;
    const std::wstring path = TempPath(L"fotolark-scroll.txt");
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "line " + std::to_string(i) + " " + std::string(size_t(i % 23), 'x') + "\r\n";
    WriteFileBytes(path, text);
    toolkit::Process notepad = toolkit::Shell(L"notepad.exe \"" + path + L"\"", SW_SHOWNORMAL);
    HWND frame = nullptr, edit = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            frame = FindShownWindow(L"Notepad", notepad.Id());
            edit = frame ? FindWindowExW(frame, nullptr, L"Edit", nullptr) : nullptr;
            return edit && SendMessageW(edit, EM_GETLINECOUNT, 0, 0) >= kLines;
        },
        10000));
    SetWindowPos(frame, HWND_TOP, 80, 80, 420, 360, SWP_SHOWWINDOW);
    Pump(300);
    const auto lineTop = [&](int line) {
        const LRESULT at =
            SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, line, 0), 0);
        return int(short(HIWORD(at)));
    };
    const int lineHeight = lineTop(1) - lineTop(0), top = lineTop(0);
    SendMessageW(edit, WM_VSCROLL, SB_BOTTOM, 0);
    const int lastFirst = int(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    // Nothing blinks in the picture: the caret is elsewhere.
    SetForegroundWindow(frame);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    Pump(300);
    const RECT client = ClientOnScreen(edit);

    const capture::ScrolledPicture shot = capture::CaptureScrolling(TargetIn(edit), 100000, kGoOn);
    const Pixels p = ReadPicture(shot.picture);
    EXPECT_EQ(p.height, client.bottom - client.top + lastFirst * lineHeight);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled back";
    ExpectBandsInPlace(
        edit, p,
        [&](int line) {
            SendMessageW(edit, EM_LINESCROLL, 0,
                         line - SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
            return RECT{0, lineTop(line), 0, lineTop(line) + lineHeight};
        },
        [&](int line) { return top + line * lineHeight; }, {7, 100, 211, kLines - 1});
    notepad.AskToClose();
}
