// A test that starts from a first run with the main window shown in front,
// and reads back what the window shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "tests/support/test_window.h"

namespace testing_support {

struct MenuItemShown {
    int level;          // 1 on the menu bar
    std::wstring text;  // "-" for a separator
    bool enabled;
};

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

    // The real menus, depth first, as the user meets them.
    std::vector<MenuItemShown> Menus() const {
        std::vector<MenuItemShown> items;
        ReadMenu(GetMenu(form.hwnd()), 1, items);
        return items;
    }

    // What the window tells the tooltip control for a button (1-based); empty for none.
    std::wstring Tooltip(int index) const {
        TBBUTTON button{};
        SendMessageW(form.Toolbar1.hwnd(), TB_GETBUTTON, index - 1, LPARAM(&button));
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = HWND(SendMessageW(form.Toolbar1.hwnd(), TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = UINT_PTR(button.idCommand);
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(form.hwnd(), WM_NOTIFY, 0, LPARAM(&info));
        return info.lpszText ? info.lpszText : L"";
    }

    // A person's input on another thread while this one runs the program,
    // until the program has done what it should.
    void UserDoes(const std::function<void()>& input, const std::function<bool()>& done) {
        std::thread user(input);
        PumpUntil(done, 8000, form.hwnd(), form.Accelerators());
        user.join();
        Pump(200, form.hwnd(), form.Accelerators());
    }

    app::FrmMain form;

private:
    static void ReadMenu(HMENU menu, int level, std::vector<MenuItemShown>& out) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = L"";
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
            info.dwTypeData = text;
            info.cch = 128;
            EXPECT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info)) << level << " " << i;
            out.push_back(
                {level, (info.fType & MFT_SEPARATOR) ? L"-" : text, !(info.fState & MFS_DISABLED)});
            if (info.hSubMenu) ReadMenu(info.hSubMenu, level + 1, out);
        }
    }
};

}  // namespace testing_support
