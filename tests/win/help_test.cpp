// The program as started from outside, from a folder with a space in its
// name: a picture named on its command line, its readme in Notepad, and Exit
// ending only the Notepad it started last; and the About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/command_map.h"
#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
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

// A shown top-level window of that class and process.
HWND WindowOf(DWORD pid, const wchar_t* cls) {
    for (HWND w = FindWindowW(cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

std::wstring TextOf(HWND w) {
    wchar_t text[512] = L"";
    GetWindowTextW(w, text, 512);
    return text;
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
        for (const wchar_t* name : {L"fotolark.exe", L"readme.txt", L"pic.png"})
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
        ClearSettings();
    }
    std::wstring folder_;
};

TEST_F(Help, StartsWithThePictureNamedOnItsCommandLineOrSaysWhyNot) {
    const std::wstring pic = folder_ + L"\\pic.png";
    ASSERT_TRUE(output::SavePicture(capture::GrabWindowArea(GetDesktopWindow(), capture::WindowArea::Whole, 0, 0, 300, 200), pic));
    toolkit::StartedProcess opened = toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\" \"" + pic + L"\"", SW_SHOWNORMAL);
    EXPECT_TRUE(PumpUntil([&] {
        const HWND w = WindowOf(opened.id, L"FotolarkMain");
        return w && TextOf(w).find(L"pic.png(4500x3000) ]") != std::wstring::npos;
    }, 10000));
    TerminateProcess(opened.handle.get(), 0);

    const std::wstring missing = folder_ + L"\\missing.png";
    toolkit::StartedProcess failed = toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\" \"" + missing + L"\"", SW_SHOWNORMAL);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = WindowOf(failed.id, L"#32770")) != nullptr; }, 10000));
    std::wstring said;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) said += TextOf(c) + L"\n";
    EXPECT_NE(said.find(missing), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] {
        const HWND w = WindowOf(failed.id, L"FotolarkMain");
        return w && TextOf(w) == L"Fotolark" && !WindowOf(failed.id, L"#32770");
    }, 5000));
    TerminateProcess(failed.handle.get(), 0);
}

TEST_F(Help, OpensTheReadmeFromAFolderWithASpaceAndExitEndsOnlyTheLastNotepad) {
    toolkit::StartedProcess program =
        toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\"", SW_SHOWNORMAL);
    ASSERT_NE(program.id, 0u);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = WindowOf(program.id, L"FotolarkMain")) != nullptr; }, 10000));

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

TEST_F(About, SevenFixedLinesWithTheInformationIconAndOkInEveryLanguage) {
    ScriptedBoxes boxes({IDOK, IDOK});
    form.mnuAbout_Click();
    form.LoadLanguageFile(toolkit::AppPath() + L"\\..\\..\\language", L"\\English.lng");
    ASSERT_EQ(form.LanguageLines[0].empty(), false);  // the shipped English file was loaded
    form.mnuAbout_Click();
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[0].title, L"关于...");
    EXPECT_EQ(boxes.asked[0].style, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.asked[0].text.rfind(L"Fotolark V2.0\r\n", 0), 0u);
    EXPECT_EQ(boxes.asked[1].text, boxes.asked[0].text);
    EXPECT_EQ(boxes.asked[1].title, boxes.asked[0].title);
}

}  // namespace
