// Print Screen pressed on the display, and a file dropped, while one of the
// window's own boxes or dialogs is up: nothing is captured or opened, and the
// box stays in front and answers as the user asks.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/frm_main.h"
#include "output/picture_file.h"
#include "tests/support/input.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

bool IsDialog(HWND w) {
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    return lstrcmpW(cls, L"#32770") == 0;
}

std::wstring Caption(HWND w) {
    wchar_t text[512] = L"";
    GetWindowTextW(w, text, 512);
    return text;
}

class KeysWhileAsking : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        form.mnuClient_Click();
        picture_ = TempPath(L"fotolark busy.png");
        ASSERT_TRUE(output::SavePicture(form.PicBmp.GetPicture(), picture_));
        // The key reaches the program at all: with no box up, it captures.
        const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
        PressKeysOnDisplay("Print");
        ASSERT_TRUE(PumpUntil([&] { return form.PicBmp.GetPicture().Bitmap() != before; }));
        Pump(300);
    }
    void TearDown() override {
        DeleteFileW(picture_.c_str());
        DeleteFileW(saved_.c_str());
        ShownForm::TearDown();
    }

    // Runs the command, which shows a box or dialog. Once it is in front,
    // another thread drops the picture on the window, gives the dialog
    // `name` when there is one, and presses Print Screen and then `answer`
    // on the display. Returns whether the box answered.
    bool PrintScreenDuring(const std::function<void()>& command, const char* answer,
                           const std::wstring& name = L"") {
        before_ = form.PicBmp.GetPicture().Bitmap();
        unsaved_ = form.CaptureUnsaved;
        const DWORD thread = GetCurrentThreadId();
        std::atomic<bool> done{false}, answered{true};
        std::thread user([&] {
            HWND box = nullptr;
            PumpUntil(
                [&] {
                    box = GetForegroundWindow();
                    return done ||
                           (IsDialog(box) && GetWindowThreadProcessId(box, nullptr) == thread);
                },
                20000);
            if (done) return;
            Sleep(300);                          // as a person looks before pressing
            Drop(form.hwnd(), picture_, false);  // a question it raised would wait for this thread
            if (!name.empty()) {
                HWND edit = GetDlgItem(box, 0x47c);  // the name box: cmb13, edt1 in the old dialog
                if (!edit) edit = GetDlgItem(box, 0x480);
                if (HWND inner = FindWindowExW(edit, nullptr, L"Edit", nullptr)) edit = inner;
                SendMessageW(edit, WM_SETTEXT, 0, LPARAM(name.c_str()));
            }
            PressKeysOnDisplay((std::string("Print ") + answer).c_str());
            if (PumpUntil([&] { return done.load(); }, 10000)) return;
            // Locked up: end the box so that the test goes on.
            answered = false;
            while (!done) {
                for (HWND w = FindWindowW(L"#32770", nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
                    if (GetWindowThreadProcessId(w, nullptr) == thread)
                        PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                Sleep(200);
            }
        });
        command();
        done = true;
        user.join();
        Pump(300);
        return answered;
    }
    // Nothing was captured or dropped meanwhile, and the window works.
    void ExpectNothingElse() {
        EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before_);
        EXPECT_EQ(form.CaptureUnsaved, unsaved_);
        EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
    }

    std::wstring picture_, saved_ = TempPath(L"fotolark busy saved.bmp");
    HBITMAP before_ = nullptr;
    bool unsaved_ = false;
};

TEST_F(KeysWhileAsking, AboutCloseQuestionAndDelayedBox) {
    EXPECT_TRUE(PrintScreenDuring([&] { form.mnuAbout_Click(); }, "Return"));
    ExpectNothingElse();

    bool cancel = false;
    EXPECT_TRUE(PrintScreenDuring([&] { form.Form_Unload(cancel); }, "Escape"));
    EXPECT_TRUE(cancel);  // Cancel keeps the window
    ExpectNothingElse();

    EXPECT_TRUE(PrintScreenDuring([&] { form.mnuAtiveWindow_Click(); }, "Escape"));
    ExpectNothingElse();
    EXPECT_FALSE(IsIconic(form.hwnd()));
}

TEST_F(KeysWhileAsking, SaveAndOpenDialogs) {
    DeleteFileW(saved_.c_str());
    EXPECT_TRUE(PrintScreenDuring([&] { form.mnusave_Click(); }, "Return", saved_));
    EXPECT_TRUE(FileExists(saved_));
    unsaved_ = false;  // the save did that
    ExpectNothingElse();

    EXPECT_TRUE(PrintScreenDuring([&] { form.mnuOpen_Click(); }, "Return", picture_));
    EXPECT_NE(Caption(form.hwnd()).find(L"fotolark busy.png("), std::wstring::npos);
    EXPECT_FALSE(form.CaptureUnsaved);
    EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
}

}  // namespace

namespace {

// The mark-up's right-click menu open: Print Screen captures nothing, and the
// menu closes over the picture it was opened for.
TEST_F(KeysWhileAsking, MarkupMenu) {
    before_ = form.PicBmp.GetPicture().Bitmap();
    unsaved_ = form.CaptureUnsaved;
    RECT viewer;
    GetWindowRect(form.PicBmp.hwnd(), &viewer);
    const POINT at{viewer.left + 40, viewer.top + 40};
    const DWORD pid = GetCurrentProcessId();
    std::atomic<bool> seen{false}, done{false};
    std::thread user([&] {
        SendMouse(at, MOUSEEVENTF_RIGHTDOWN);
        SendMouse(at, MOUSEEVENTF_RIGHTUP);
        if (!PumpUntil([&] { return FindShownWindow(L"#32768", pid) != nullptr; })) return;
        seen = true;
        Sleep(300);  // as a person looks before pressing
        PressKeysOnDisplay("Print Escape");
        // A menu left over the new picture is ended so that the test goes on.
        while (!PumpUntil([&] { return done.load(); }, 5000))
            PostMessageW(form.hwnd(), WM_CANCELMODE, 0, 0);
    });
    EXPECT_TRUE(PumpUntil([&] { return seen && !FindShownWindow(L"#32768", pid); }, 4000));
    done = true;
    user.join();
    Pump(300);
    ExpectNothingElse();
}

}  // namespace
