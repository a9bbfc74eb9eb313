// The program as started from outside, from a folder with a space in its
// name: the first picture named on its command line, its readme in Notepad,
// and Exit closing only the Notepad it started last; and the About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

#include "app/command_map.h"
#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"

using namespace testing_support;

namespace {

// The Notepad windows on screen whose title names the readme, by process.
std::set<DWORD> ReadmeNotepads() {
    std::set<DWORD> found;
    for (HWND w = FindWindowW(L"Notepad", nullptr); w;
         w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (WindowText(w).find(L"readme") != std::wstring::npos) found.insert(pid);
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
        for (const wchar_t* name : {L"fotolark.exe", L"readme.txt", L"pic.png"})
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
        ClearSettings();
    }
    std::wstring folder_;
};

TEST_F(Help, StartsWithTheFirstPictureNamedOnItsCommandLineOrSaysWhyNot) {
    const std::wstring pic = folder_ + L"\\pic.png";
    ASSERT_TRUE(output::SavePicture(
        capture::GrabWindowArea(GetDesktopWindow(), capture::WindowArea::Whole, 0, 0, 300, 200),
        pic));
    // Quoted; quoted and followed by another; unquoted, with spaces, and followed by another.
    for (const std::wstring& arguments :
         {L"\"" + pic + L"\"", L"\"" + pic + L"\" \"" + folder_ + L"\\other.png\"",
          pic + L" C:\\other.png"}) {
        const toolkit::Process opened =
            toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\" " + arguments, SW_SHOWNORMAL);
        EXPECT_TRUE(PumpUntil(
            [&] {
                const HWND w = FindShownWindow(L"FotolarkMain", opened.Id());
                return w && WindowText(w).find(L"pic.png(4500x3000) ]") != std::wstring::npos;
            },
            10000))
            << arguments.c_str();
        TerminateProcess(opened.Handle(), 0);
    }

    const std::wstring missing = folder_ + L"\\missing.png";
    const toolkit::Process failed =
        toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\" \"" + missing + L"\"", SW_SHOWNORMAL);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (box = FindShownWindow(L"#32770", failed.Id())) != nullptr; }, 10000));
    std::wstring said;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        said += WindowText(c) + L"\n";
    EXPECT_NE(said.find(missing), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil(
        [&] {
            const HWND w = FindShownWindow(L"FotolarkMain", failed.Id());
            return w && WindowText(w) == L"Fotolark" && !FindShownWindow(L"#32770", failed.Id());
        },
        5000));
    TerminateProcess(failed.Handle(), 0);
}

TEST_F(Help, OpensTheReadmeFromAFolderWithASpaceAndExitClosesOnlyTheLastNotepad) {
    const toolkit::Process program =
        toolkit::Shell(L"\"" + folder_ + L"\\fotolark.exe\"", SW_SHOWNORMAL);
    ASSERT_NE(program.Id(), 0u);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (window = FindShownWindow(L"FotolarkMain", program.Id())) != nullptr; },
        10000));

    std::set<DWORD> first, both;
    PostMessageW(window, WM_COMMAND, app::ID_mnuHowto, 0);
    ASSERT_TRUE(PumpUntil([&] { return (first = ReadmeNotepads()).size() == 1; }, 10000));
    PostMessageW(window, WM_COMMAND, app::ID_mnuHowto, 0);
    ASSERT_TRUE(PumpUntil([&] { return (both = ReadmeNotepads()).size() == 2; }, 10000));

    PostMessageW(window, WM_COMMAND, app::ID_mnuExit, 0);
    EXPECT_EQ(WaitForSingleObject(program.Handle(), 10000), DWORD(WAIT_OBJECT_0));
    for (DWORD pid : both) {
        if (first.count(pid))
            EXPECT_TRUE(Running(pid)) << "the first Notepad stays";
        else
            EXPECT_TRUE(PumpUntil([&] { return !Running(pid); }, 3000)) << "the second is closed";
    }
}

class About : public ShownForm {};

TEST_F(About, SevenLinesWithTheInformationIconAndOkInTheLanguageChosen) {
    ScriptedBoxes boxes({IDOK, IDOK});
    form.mnuAbout_Click();
    form.LoadLanguageFile(toolkit::AppPath() + L"\\..\\..\\language", L"\\English.lng");
    ASSERT_EQ(form.LanguageLines[0].empty(), false);  // the shipped English file was loaded
    form.mnuAbout_Click();
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[0].title, L"关于...");
    EXPECT_EQ(boxes.asked[0].style, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.asked[0].text.rfind(L"Fotolark V2.0\r\n", 0), 0u);
    EXPECT_EQ(boxes.asked[0].text.find(L"云雀软件工作室"), 17u);
    EXPECT_EQ(boxes.asked[1].title, L"About...");
    EXPECT_EQ(boxes.asked[1].text.rfind(L"Fotolark V2.0\r\n\r\nSkylark Software Studio\r\n", 0),
              0u);
    EXPECT_NE(boxes.asked[1].text.find(L"\r\nE-mail: support@"), std::wstring::npos);
}

// A drive letter of the Wine prefix for a folder, while it lives: Wine finds
// drives by the links in its "dosdevices" folder, which Unix's ln makes.
class MappedDrive {
public:
    MappedDrive(wchar_t letter, const std::wstring& folder) : letter_(letter) {
        using ToUnix = char*(CDECL*)(const wchar_t*);
        const auto toUnix = reinterpret_cast<ToUnix>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
        if (!toUnix) return;
        const std::string c = toUnix(L"C:\\"), target = toUnix(folder.c_str());
        link_ = c.substr(0, c.size() - 3) + char(towlower(letter)) + ":";  // ".../dosdevices/c:/"
        Run("ln -sfn \"" + target + "\" \"" + link_ + "\"");
        PumpUntil([&] { return mapped(); });
    }
    ~MappedDrive() {
        if (link_.empty()) return;
        Run("rm -f \"" + link_ + "\"");
        PumpUntil([&] { return !mapped(); });
    }
    bool mapped() const { return GetFileAttributesW(root().c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }

private:
    // A Unix program's handle cannot be waited on: callers wait for what it does.
    static void Run(const std::string& command) {
        toolkit::Shell(L"Z:\\bin\\" + std::wstring(command.begin(), command.end()), SW_HIDE);
    }
    wchar_t letter_;
    std::string link_;
};

// At a drive's root the program's folder keeps its backslash ("Q:\\"), so
// Help's command line holds two in a row before readme.txt, as the language
// file's path does before "language".
TEST_F(Help, AtADrivesRootTheFolderKeepsItsBackslash) {
    const std::wstring built = toolkit::AppPath() + L"\\..\\..\\";
    ASSERT_TRUE(CopyFileW((toolkit::AppPath() + L"\\root_probe.exe").c_str(),
                          (folder_ + L"\\root_probe.exe").c_str(), FALSE));
    CreateDirectoryW((folder_ + L"\\language").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((built + L"language\\English.lng").c_str(),
                          (folder_ + L"\\language\\English.lng").c_str(), FALSE));
    const MappedDrive drive(L'Q', folder_);
    ASSERT_TRUE(drive.mapped());
    const toolkit::Process probe = toolkit::Shell(
        drive.root() + L"root_probe.exe " + drive.root() + L"said.txt", SW_SHOWNORMAL);
    ASSERT_NE(probe.Id(), 0u);
    ASSERT_EQ(WaitForSingleObject(probe.Handle(), 30000), DWORD(WAIT_OBJECT_0));
    const std::string bytes = FileContents(folder_ + L"\\said.txt");
    const std::wstring said(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_EQ(said,
              L"Q:\\\n"
              L"notepad \"Q:\\\\readme.txt\"\n"
              L"&Open...\n");
    DeleteFileW((folder_ + L"\\said.txt").c_str());
    DeleteFileW((folder_ + L"\\root_probe.exe").c_str());
    DeleteFileW((folder_ + L"\\language\\English.lng").c_str());
    RemoveDirectoryW((folder_ + L"\\language").c_str());
}

}  // namespace
