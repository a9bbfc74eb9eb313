// The close protocol and Exit: what is asked, what is saved, what stays open.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/runtime.h"
#include "toolkit/settings.h"

using namespace testing_support;

namespace {

// Makes the settings store refuse writes: the program's key becomes a link
// to a key that does not exist, so nothing can be created under it.
class UnwritableSettings {
public:
    UnwritableSettings() {
        ClearSettings();
        HKEY link = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Fotolark", 0, nullptr,
                        REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr);
        const wchar_t target[] = L"\\Registry\\Machine\\Software\\FotolarkNoSuchKey\\Deeper";
        RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                       reinterpret_cast<const BYTE*>(target), sizeof target - sizeof(wchar_t));
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
    bool refuses() const { return !toolkit::SaveSetting(L"Fotolark", L"Settings", L"Probe", L"1"); }
};

class CloseProtocol : public ShownForm {
protected:
    void Capture() {
        form.mnuClient_Click();
        ASSERT_TRUE(form.CaptureUnsaved);
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
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
    EXPECT_TRUE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

TEST_F(CloseProtocol, YesWithACancelledSaveKeepsTheWindowAndPicture) {
    Capture();
    ScriptedBoxes boxes({IDYES});
    FileDialogAnswer cancel(L"保存", L"");
    EXPECT_FALSE(CloseBox());
    EXPECT_TRUE(cancel.seen());
    EXPECT_TRUE(form.CaptureUnsaved);
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
        FileDialogAnswer save(L"保存", path);
        EXPECT_FALSE(CloseBox());
        EXPECT_TRUE(save.seen());
    }
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_NE(boxes.asked[1].text.find(L"无法保存"), std::wstring::npos);
    EXPECT_NE(boxes.asked[1].text.find(path), std::wstring::npos);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
    lock.reset();
    DeleteFileW(path.c_str());
}

TEST_F(CloseProtocol, YesWithASuccessfulSaveWritesTheFileAndCloses) {
    Capture();
    const std::wstring path = TempPath(L"fotolark_close_test.bmp");
    DeleteFileW(path.c_str());
    ScriptedBoxes boxes({IDYES});
    FileDialogAnswer save(L"保存", path);
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

TEST_F(CloseProtocol, AFailureWhileAskingNeitherClosesNorLosesTheCapture) {
    Capture();
    const auto previous =
        toolkit::SetMsgBoxHandler([](HWND, const std::wstring&, UINT, const std::wstring&) -> int {
            throw std::bad_alloc();
        });
    const bool closed = CloseBox();
    toolkit::SetMsgBoxHandler(previous);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(form.CaptureUnsaved);
    EXPECT_FALSE(form.PicBmp.GetPicture().Empty());
}

class ExitCommand : public CloseProtocol {
protected:
    // Starts Notepad as the help command does.
    void StartHelp() {
        app::HelpTask = toolkit::Shell(L"notepad.exe", SW_SHOWMINNOACTIVE);
        pid_ = DWORD(app::HelpTaskId());
        ASSERT_NE(app::HelpTaskId(), 0);
        helper_.reset(
            OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, DWORD(app::HelpTaskId())));
        ASSERT_TRUE(PumpUntil([&] { return HelperWindow(L"Notepad") != nullptr; }));
    }
    // A shown window of the help's process, of that class.
    HWND HelperWindow(const wchar_t* cls) {
        const DWORD pid = pid_;
        for (HWND w = FindWindowW(cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) return w;
        }
        return nullptr;
    }
    bool HelperEnded() { return WaitForSingleObject(helper_.get(), 3000) == WAIT_OBJECT_0; }
    void TearDown() override {
        if (helper_) {
            if (!HelperEnded()) TerminateProcess(helper_.get(), 1);
        }
        app::HelpTask = toolkit::Process();
        CloseProtocol::TearDown();
    }
    toolkit::UniqueHandle helper_;
    DWORD pid_ = 0;
    EndCatcher end_;
};

TEST_F(ExitCommand, ClosesTheUntouchedHelpAndEndsWithoutStoring) {
    StartHelp();
    ScriptedBoxes boxes({});
    EXPECT_THROW(form.mnuExit_Click(), Ended);
    EXPECT_TRUE(HelperEnded());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_FALSE(toolkit::GetSetting(L"Fotolark", L"Settings", L"MainLeft"));
}

TEST_F(ExitCommand, TextTypedIntoTheHelpKeepsItOpenWithItsOwnQuestion) {
    StartHelp();
    const HWND text = FindWindowExW(HelperWindow(L"Notepad"), nullptr, L"Edit", nullptr);
    ASSERT_TRUE(text);
    for (wchar_t c : std::wstring(L"the user's note")) SendMessageW(text, WM_CHAR, c, 0);
    EXPECT_THROW(form.mnuExit_Click(), Ended);
    EXPECT_TRUE(PumpUntil([&] { return HelperWindow(L"#32770") != nullptr; }))
        << "Notepad asks about its text";
    EXPECT_EQ(WaitForSingleObject(helper_.get(), 0), DWORD(WAIT_TIMEOUT));
}

TEST_F(ExitCommand, WithoutHelpProcessStillEnds) {
    app::HelpTask = toolkit::Process();
    EXPECT_THROW(form.mnuExit_Click(), Ended);
}

TEST_F(ExitCommand, UnsavedCaptureAsksFirstAndCancelEndsNothing) {
    Capture();
    StartHelp();
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

TEST_F(ExitCommand, NeverClosesAnotherNotepadOnceTheHelpHasEnded) {
    StartHelp();
    TerminateProcess(helper_.get(), 1);  // the user closed the help
    ASSERT_TRUE(HelperEnded());
    const toolkit::Process other = toolkit::Shell(L"notepad.exe", SW_SHOWMINNOACTIVE);
    ASSERT_NE(other.Id(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return WaitForInputIdle(other.Handle(), 0) == 0; }));
    EXPECT_THROW(form.mnuExit_Click(), Ended);
    EXPECT_EQ(WaitForSingleObject(other.Handle(), 1000), DWORD(WAIT_TIMEOUT));
    TerminateProcess(other.Handle(), 1);
}

}  // namespace
