// Twips against the real display's pixels, at each dpi the tests run on: the
// toolkit's units and the main window's default size.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "tests/support/test_window.h"
#include "toolkit/form.h"
#include "toolkit/units.h"

using namespace testing_support;

namespace {

TEST(Units, TwipsPerPixelFollowTheRealDpi) {
    const int dpi = ExpectedDpi() ? ExpectedDpi() : 96;
    EXPECT_EQ(toolkit::Screen::TwipsPerPixelX(), 1440 / dpi);
    EXPECT_EQ(toolkit::Screen::TwipsPerPixelY(), 1440 / dpi);
    EXPECT_EQ(toolkit::Screen::Width(), GetSystemMetrics(SM_CXSCREEN) * (1440 / dpi));
}

TEST(MainWindow, DefaultWindowIs6500TwipsAtTheRealDpi) {
    ClearSettings();
    app::FrmMain form;
    ASSERT_TRUE(form.Load());
    RECT r;
    GetWindowRect(form.hwnd(), &r);
    const double tpp = toolkit::Screen::TwipsPerPixelX();
    EXPECT_EQ(r.right - r.left, toolkit::ToInt32(6500 / tpp).value());
    EXPECT_EQ(r.bottom - r.top, toolkit::ToInt32(6500 / tpp).value());
    EXPECT_EQ(r.left, toolkit::ToInt32(1000 / tpp).value());
    EXPECT_EQ(form.Width(), float(toolkit::ToInt32(6500 / tpp).value() * tpp));
}

}  // namespace
