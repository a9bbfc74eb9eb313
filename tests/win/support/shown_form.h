// A test that starts from a first run with the main window shown in front.
#pragma once

#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "tests/win/support/test_window.h"

namespace testing_support {

class ShownForm : public testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        ASSERT_TRUE(form.Load());
        form.Show();
        SetForegroundWindow(form.hwnd());
        Pump(200);
    }
    void TearDown() override { ClearSettings(); }

    app::FrmMain form;
};

}  // namespace testing_support
