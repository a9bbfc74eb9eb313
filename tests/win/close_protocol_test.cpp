// The close protocol and Exit: what is asked, what is saved, what stays open.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "app/toolkit/runtime.h"
#include "app/toolkit/settings.h"
#include "capture/capture_core.h"
#include "capture/process.h"
#include "tests/win/support/shown_form.h"
#include "tests/win/support/test_window.h"

using namespace testing_support;

namespace {

struct Asked {
    std::wstring text, title;
    UINT style;
};

// Answers every message box from a script and records what was asked.
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::vector<int> answers) : answers_(std::move(answers)) {
        previous_ = toolkit::SetMsgBoxHandler(
            [this](HWND, const std::wstring& text, UINT style, const std::wstring& title) {
                asked.push_back({text, title, style});
                const int answer = next_ < answers_.size() ? answers_[next_] : IDCANCEL;
                ++next_;
                return answer;
            });
    }
    ~ScriptedBoxes() { toolkit::SetMsgBoxHandler(previous_); }
    std::vector<Asked> asked;

private:
    std::vector<int> answers_;
    size_t next_ = 0;
    toolkit::MsgBoxHandler previous_;
};

struct Ended {};

// Turns the end of the program into an exception the test can catch.
class EndCatcher {
public:
    EndCatcher() { previous_ = toolkit::SetEndHandler([] { throw Ended{}; }); }
    ~EndCatcher() { toolkit::SetEndHandler(previous_); }

private:
    toolkit::EndHandler previous_;
};

// Answers the save dialog from another thread, as a person would: types a
// name and presses Save, or cancels.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(std::wstring path) : path_(std::move(path)) {
        worker_ = std::thread([this] { Run(); });
    }
    ~SaveDialogAnswer() {
        stop_ = true;
        worker_.join();
    }
    bool seen() const { return seen_; }

private:
    void Run() {
        while (!stop_) {
            HWND dialog = FindWindowW(L"#32770", L"保存");
            if (dialog && IsWindowVisible(dialog)) {
                seen_ = true;
                Sleep(200);
                if (path_.empty()) {
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                } else {
                    // cmb13 holds the name in the explorer-style dialog, edt1 in others.
                    HWND edit = GetDlgItem(dialog, 0x47c);
                    if (!edit) edit = GetDlgItem(dialog, 0x480);
                    if (HWND inner = FindWindowExW(edit, nullptr, L"Edit", nullptr)) edit = inner;
                    SendMessageW(edit, WM_SETTEXT, 0, LPARAM(path_.c_str()));
                    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                    ConfirmOverwrite(dialog);
                }
                return;
            }
            Sleep(50);
        }
    }
    // The dialog asks before replacing an existing file; answer Yes.
    void ConfirmOverwrite(HWND dialog) {
        for (int i = 0; i < 30 && !stop_; ++i) {
            Sleep(100);
            if (!IsWindow(dialog)) return;
            for (HWND w = FindWindowW(L"#32770", nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                if (w != dialog && GetWindow(w, GW_OWNER) == dialog && IsWindowVisible(w)) {
                    PostMessageW(w, WM_COMMAND, IDYES, 0);
                    return;
                }
            }
        }
    }
    std::wstring path_;
    std::atomic<bool> stop_{false}, seen_{false};
    std::thread worker_;
};

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// Makes the settings store refuse writes: the program's key becomes a link
// to a key that does not exist, so nothing can be created under it.
class UnwritableSettings {
public:
    UnwritableSettings() {
        ClearSettings();
        HKEY link = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Fotolark", 0, nullptr,
                        REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK,
                        nullptr, &link, nullptr);
        const wchar_t target[] = L"\\Registry\\Machine\\Software\\FotolarkNoSuchKey\\Deeper";
        RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target),
                       sizeof target - sizeof(wchar_t));
        RegCloseKey(link);
    }
    ~UnwritableSettings() {
        HKEY link = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Fotolark", REG_OPTION_OPEN_LINK,
                          KEY_ALL_ACCESS, &link) != ERROR_SUCCESS)
            return;
        using NtDeleteKey = LONG(WINAPI*)(HANDLE);
        if (auto remove = reinterpret_cast<NtDeleteKey>(
                GetProcAddress(GetModuleHandleW(L"ntdll"), "NtDeleteKey")))
            remove(link);
        RegCloseKey(link);
    }
    bool refuses() const {
        return !toolkit::SaveSetting(L"Fotolark", L"Settings", L"Probe", L"1");
    }
};

class CloseProtocol : public ShownForm {
protected:
    void Capture() {
        form.mnuClient_Click();
        ASSERT_EQ(form.CaptureUnsaved, app::kTrue);
    }
    bool CloseBox() {
        PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
        Pump(300);
        return !IsWindow(form.hwnd());
    }
};

TEST_F(CloseProtocol, NothingUnsavedClosesWithoutAsking) {
    ScriptedBoxes boxes({});
    EXPECT_TRUE(CloseBox());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_TRUE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

TEST_F(CloseProtocol, UnsavedCaptureAsksAndNoDiscards) {
    Capture();
    ScriptedBoxes boxes({IDNO});
    EXPECT_TRUE(CloseBox());
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"  文件还没有保存，您要保存吗?");
    EXPECT_EQ(boxes.asked[0].title, toolkit::ExeName());
    EXPECT_EQ(boxes.asked[0].style, UINT(MB_YESNOCANCEL | MB_ICONINFORMATION));
}

TEST_F(CloseProtocol, CancelKeepsTheWindowButStoresThePlacement) {
    Capture();
    ScriptedBoxes boxes({IDCANCEL});
    EXPECT_FALSE(CloseBox());
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
    EXPECT_TRUE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

TEST_F(CloseProtocol, YesWithACancelledSaveKeepsTheWindowAndPicture) {
    Capture();
    ScriptedBoxes boxes({IDYES});
    SaveDialogAnswer cancel(L"");
    EXPECT_FALSE(CloseBox());
    EXPECT_TRUE(cancel.seen());
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
}

TEST_F(CloseProtocol, YesWithAFailingSaveKeepsTheWindowAndSaysSo) {
    Capture();
    // Another program holds the file open, so it cannot be written.
    const std::wstring path = TempPath(L"fotolark_locked.bmp");
    toolkit::UniqueHandle lock(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    ScriptedBoxes boxes({IDYES, IDOK});
    {
        SaveDialogAnswer save(path);
        EXPECT_FALSE(CloseBox());
        EXPECT_TRUE(save.seen());
    }
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_NE(boxes.asked[1].text.find(L"无法保存"), std::wstring::npos);
    EXPECT_NE(boxes.asked[1].text.find(path), std::wstring::npos);
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
    lock.reset();
    DeleteFileW(path.c_str());
}

TEST_F(CloseProtocol, YesWithASuccessfulSaveWritesTheFileAndCloses) {
    Capture();
    const std::wstring path = TempPath(L"fotolark_close_test.bmp");
    DeleteFileW(path.c_str());
    ScriptedBoxes boxes({IDYES});
    SaveDialogAnswer save(path);
    EXPECT_TRUE(CloseBox());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    DeleteFileW(path.c_str());
}

TEST_F(CloseProtocol, PlacementThatCannotBeWrittenStillAsks) {
    Capture();
    UnwritableSettings unwritable;
    ASSERT_TRUE(unwritable.refuses());
    ScriptedBoxes boxes({IDCANCEL});
    EXPECT_FALSE(CloseBox());
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"  文件还没有保存，您要保存吗?");
}

class ExitCommand : public CloseProtocol {
protected:
    // A process standing in for the help's Notepad.
    DWORD StartHelper() {
        const DWORD pid = toolkit::Shell(L"notepad.exe", SW_SHOWMINNOACTIVE);
        helper_.reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
        return pid;
    }
    bool HelperEnded() { return WaitForSingleObject(helper_.get(), 3000) == WAIT_OBJECT_0; }
    void TearDown() override {
        if (helper_) {
            if (!HelperEnded()) capture::EndProcessById(int32_t(GetProcessId(helper_.get())));
        }
        app::HelpTaskId = 0;
        CloseProtocol::TearDown();
    }
    toolkit::UniqueHandle helper_;
    EndCatcher end_;
};

TEST_F(ExitCommand, EndsTheHelpProcessAndTheProgramWithoutStoring) {
    app::HelpTaskId = int32_t(StartHelper());
    ASSERT_NE(app::HelpTaskId, 0);
    ScriptedBoxes boxes({});
    EXPECT_THROW(form.mnuExit_Click(), Ended);
    EXPECT_TRUE(HelperEnded());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_FALSE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

TEST_F(ExitCommand, WithoutHelpProcessStillEnds) {
    app::HelpTaskId = 0;
    EXPECT_THROW(form.mnuExit_Click(), Ended);
}

TEST_F(ExitCommand, UnsavedCaptureAsksFirstAndCancelEndsNothing) {
    Capture();
    app::HelpTaskId = int32_t(StartHelper());
    {
        ScriptedBoxes boxes({IDCANCEL});
        EXPECT_NO_THROW(form.mnuExit_Click());
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0].text, L"  文件还没有保存，您要保存吗?");
        EXPECT_EQ(boxes.asked[0].style, UINT(MB_YESNOCANCEL | MB_ICONINFORMATION));
        EXPECT_EQ(WaitForSingleObject(helper_.get(), 200), DWORD(WAIT_TIMEOUT));
        EXPECT_TRUE(IsWindow(form.hwnd()));
    }
    ScriptedBoxes boxes({IDNO});
    EXPECT_THROW(form.mnuExit_Click(), Ended);
    EXPECT_TRUE(HelperEnded());
    EXPECT_FALSE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

}  // namespace
