// The main window on a real desktop: placement kept between runs, the frame
// layout, and the status bar's start-up text.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "tests/support/test_window.h"
#include "toolkit/settings.h"

using namespace testing_support;

namespace {

std::optional<std::wstring> Stored(const wchar_t* key) {
    return toolkit::GetSetting(L"Fotolark", L"Settings", key);
}

void Store(const wchar_t* left, const wchar_t* top, const wchar_t* width, const wchar_t* height) {
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"MainLeft", left);
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"MainTop", top);
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"MainWidth", width);
    toolkit::SaveSetting(L"Fotolark", L"Settings", L"MainHeight", height);
}

RECT WindowRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

void Close(app::FrmMain& form) {
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    Pump();
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
};

TEST_F(MainWindow, FirstRunOpensAtTheDefaultPlacement) {
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    form.Show();
    const RECT r = WindowRect(form.hwnd());
    EXPECT_EQ(r.left, 67);  // 1000 twips / 15 = 66.67 pixels
    EXPECT_EQ(r.top, 67);
    EXPECT_EQ(r.right - r.left, 433);  // 6500 / 15
    EXPECT_EQ(r.bottom - r.top, 433);
    EXPECT_EQ(form.Left(), 1005);  // what a pixel-placed window reports back
    EXPECT_EQ(form.Width(), 6495);
}

TEST_F(MainWindow, ReopensWhereItWasClosed) {
    Store(L"3000", L"1500", L"9000", L"7500");
    {
        app::FrmMain form;
        ASSERT_TRUE(form.Load());
        form.Show();
        EXPECT_EQ(form.Left(), 3000);
        EXPECT_EQ(form.Top(), 1500);
        EXPECT_EQ(form.Width(), 9000);
        EXPECT_EQ(form.Height(), 7500);
        SetWindowPos(form.hwnd(), nullptr, 100, 120, 500, 400, SWP_NOZORDER);
        Close(form);
        EXPECT_FALSE(IsWindow(form.hwnd()));
    }
    EXPECT_EQ(Stored(L"MainLeft"), L"1500");
    EXPECT_EQ(Stored(L"MainTop"), L"1800");
    EXPECT_EQ(Stored(L"MainWidth"), L"7500");
    EXPECT_EQ(Stored(L"MainHeight"), L"6000");
}

TEST_F(MainWindow, GarbledOrUnreachablePlacementFallsBackToTheDefaults) {
    Store(L"3000", L"not a number", L"9000", L"7500");
    {
        app::FrmMain form;
        ASSERT_TRUE(form.Load());
        EXPECT_EQ(form.Left(), 3000);
        EXPECT_EQ(form.Top(), 1005);
        EXPECT_EQ(form.Width(), 9000);
    }
    Store(L"90000", L"90000", L"9000", L"7500");  // a monitor that is gone
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.Left(), 1005);
    EXPECT_EQ(form.Top(), 1005);
    EXPECT_EQ(form.Width(), 6495);
}

TEST_F(MainWindow, MinimizedCloseStoresNothing) {
    Store(L"3000", L"1500", L"9000", L"7500");
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    form.Show();
    SetWindowPos(form.hwnd(), nullptr, 10, 10, 300, 300, SWP_NOZORDER);
    ShowWindow(form.hwnd(), SW_MINIMIZE);
    Pump();
    Close(form);
    EXPECT_FALSE(IsWindow(form.hwnd()));
    EXPECT_EQ(Stored(L"MainLeft"), L"3000");
    EXPECT_EQ(Stored(L"MainWidth"), L"9000");
}

TEST_F(MainWindow, MaximizedCloseStoresTheMaximizedRectangleAndReopensNormal) {
    RECT maximized;
    {
        app::FrmMain form;
        ASSERT_TRUE(form.Load());
        form.Show();
        ShowWindow(form.hwnd(), SW_MAXIMIZE);
        Pump();
        ASSERT_TRUE(IsZoomed(form.hwnd()));
        maximized = WindowRect(form.hwnd());
        Close(form);
    }
    EXPECT_EQ(Stored(L"MainLeft"), std::to_wstring(maximized.left * 15));
    EXPECT_EQ(Stored(L"MainWidth"), std::to_wstring((maximized.right - maximized.left) * 15));
    EXPECT_EQ(Stored(L"MainHeight"), std::to_wstring((maximized.bottom - maximized.top) * 15));
    app::FrmMain again;
    ASSERT_TRUE(again.Load());
    again.Show();
    EXPECT_FALSE(IsZoomed(again.hwnd()));
    const RECT r = WindowRect(again.hwnd());
    EXPECT_EQ(r.left, maximized.left);
    EXPECT_EQ(r.right - r.left, maximized.right - maximized.left);
    EXPECT_EQ(r.bottom - r.top, maximized.bottom - maximized.top);
}

TEST_F(MainWindow, LayoutFillsTheClientAreaAndSkipsWhatCannotFit) {
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    form.Show();
    Pump();
    const float w = form.ScaleWidth(), h = form.ScaleHeight();
    auto& view = form.picScroll.AsControl();
    EXPECT_EQ(form.Toolbar1.Height(), 360);
    EXPECT_EQ(form.StatusBar1.Height(), 375);
    EXPECT_EQ(form.StatusBar1.Top() + 375, h);
    EXPECT_EQ(view.Left(), 0);
    EXPECT_EQ(view.Top(), 360);
    // A hidden bar's strip is added to the viewport after the bars are placed.
    const float hStrip = IsWindowVisible(form.HScroll1.hwnd()) ? 0 : 255;
    const float vStrip = IsWindowVisible(form.VScroll1.hwnd()) ? 0 : 255;
    EXPECT_EQ(form.HScroll1.Top(), 360 + view.Height() - hStrip);
    EXPECT_EQ(form.VScroll1.Left(), view.Width() - vStrip);
    EXPECT_EQ(form.HScroll1.Height(), 255);
    EXPECT_EQ(form.VScroll1.Width(), 255);
    // The viewport fills the rest, less each bar that is shown.
    EXPECT_EQ(view.Width(), w - (IsWindowVisible(form.VScroll1.hwnd()) ? 255 : 0));
    EXPECT_EQ(view.Height(), h - 375 - 360 - (IsWindowVisible(form.HScroll1.hwnd()) ? 255 : 0));

    // Shrink below toolbar + status bar + bar: the viewport keeps its height.
    const float heightBefore = view.Height();
    RECT client{0, 0, 300, 30};
    AdjustWindowRect(&client, WS_OVERLAPPEDWINDOW, TRUE);
    SetWindowPos(form.hwnd(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(form.HScroll1.Top(), 360 + heightBefore);
    EXPECT_EQ(form.HScroll1.Width(), form.ScaleWidth() - 255);
}

TEST_F(MainWindow, MinimizedWindowIsNotLaidOutUntilRestored) {
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    form.Show();
    const float top = form.HScroll1.Top();
    ShowWindow(form.hwnd(), SW_MINIMIZE);
    Pump();
    form.HScroll1.SetTop(0);
    form.Form_Resize();
    EXPECT_EQ(form.HScroll1.Top(), 0);
    ShowWindow(form.hwnd(), SW_RESTORE);
    Pump();
    EXPECT_EQ(form.HScroll1.Top(), top);
}

TEST_F(MainWindow, StatusBarShowsTheProductAndTheStartTime) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    const std::wstring started = form.PanelText(2);
    wchar_t date[64];
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &before, nullptr, date, 64, nullptr);
    EXPECT_EQ(started.rfind(date, 0), 0u)
        << "panel 2: " << std::string(started.begin(), started.end());
    EXPECT_GT(started.size(), wcslen(date) + 4);  // and a time after it
    Sleep(1100);                                  // the clock moves on: the pause is what is tested
    form.Show();
    Pump();
    EXPECT_EQ(form.PanelText(2), started);  // never updated
    EXPECT_EQ(form.PanelText(1), L"云雀软件\uFF0DFotolark\u3000V2.0");
}

}  // namespace
