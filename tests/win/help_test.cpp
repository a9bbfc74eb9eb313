// Help and About as the user meets them: the program started from a folder
// with a space in its name opens its readme in Notepad, and Exit ends only
// the Notepad it started last.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/command_map.h"
#include "app/frm_main.h"
#include "tests/win/support/answers.h"
#include "tests/win/support/shown_form.h"
#include "tests/win/support/test_window.h"

using namespace testing_support;

namespace {

// The Notepad windows on screen whose title names the readme, by process.
std::set<DWORD> ReadmeNotepads() {
    std::set<DWORD> found;
    for (HWND w = FindWindowW(L"Notepad", nullptr); w; w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
        wchar_t title[256] = L"";
        GetWindowTextW(w, title, 256);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (std::wstring(title).find(L"readme") != std::wstring::npos) found.insert(pid);
    }
    return found;
}

bool Running(DWORD pid) {
    toolkit::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

class Help : public testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = temp + std::wstring(L"fotolark help test");
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring built = toolkit::AppPath() + L"\\..\\..\\";
        for (const wchar_t* name : {L"fotolark.exe", L"readme.txt"})
            ASSERT_TRUE(CopyFileW((built + name).c_str(), (folder_ + L"\\" + name).c_str(), FALSE));
    }
    void TearDown() override {
        for (DWORD pid : ReadmeNotepads()) {
            toolkit::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
            if (process) TerminateProcess(process.get(), 0);
        }
        Pump(300);
        for (const wchar_t* name : {L"fotolark.exe", L"readme.txt"})
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
        ClearSettings();
    }
    std::wstring folder_;
};

TEST_F(Help, OpensTheReadmeFromAFolderWithASpaceAndExitEndsOnlyTheLastNotepad) {
    toolkit::StartedProcess program =
        toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\"", SW_SHOWNORMAL);
    ASSERT_NE(program.id, 0u);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND w = FindWindowW(L"FotolarkMain", nullptr); w; w = FindWindowExW(nullptr, w, L"FotolarkMain", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == program.id && IsWindowVisible(w)) window = w;
        }
        return window != nullptr;
    }, 10000));

    std::set<DWORD> first, both;
    PostMessageW(window, WM_COMMAND, app::ID_mnuHowto, 0);
    ASSERT_TRUE(PumpUntil([&] { return (first = ReadmeNotepads()).size() == 1; }, 10000));
    PostMessageW(window, WM_COMMAND, app::ID_mnuHowto, 0);
    ASSERT_TRUE(PumpUntil([&] { return (both = ReadmeNotepads()).size() == 2; }, 10000));

    PostMessageW(window, WM_COMMAND, app::ID_mnuExit, 0);
    EXPECT_EQ(WaitForSingleObject(program.handle.get(), 10000), DWORD(WAIT_OBJECT_0));
    for (DWORD pid : both) {
        if (first.count(pid))
            EXPECT_TRUE(Running(pid)) << "the first Notepad stays";
        else
            EXPECT_TRUE(PumpUntil([&] { return !Running(pid); }, 3000)) << "the second is ended";
    }
}

class About : public ShownForm {};

TEST_F(About, SevenFixedLinesWithTheInformationIconAndOk) {
    ScriptedBoxes boxes({IDOK});
    form.mnuAbout_Click();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].title, L"关于...");
    EXPECT_EQ(boxes.asked[0].style, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.asked[0].text.rfind(L"Fotolark V2.0\r\n", 0), 0u);
}

}  // namespace
