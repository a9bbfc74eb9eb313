// Edit in Paint, with a program of the test's own registered as Paint's
// "edit" command: it records each file it is started on.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"
#include "toolkit/refused_writes.h"
#include "toolkit/runtime.h"

using namespace testing_support;

namespace {

constexpr wchar_t kClass[] = L"Paint.Picture";

class PaintEdit : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        DeleteFileW(log.c_str());
        Register();
        RemoveTemp();
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
        DeleteFileW(log.c_str());
        RemoveTemp();
        ShownForm::TearDown();
    }
    // Wine 8's shell finds classes in HKCR alone, not in the user's own
    // HKCU\Software\Classes.
    void Register() {
        const std::wstring command = L"\"" + toolkit::AppPath() + L"\\edit_recorder.exe\" \"%1\"";
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CLASSES_ROOT, L"Paint.Picture\\shell\\edit\\command", nullptr,
                            REG_SZ, command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
    }
    // The Temp folder as the program finds it on a fresh install: missing.
    void RemoveTemp() {
        DeleteFileW(temp.c_str());
        DeleteFileW(folder.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    // The files the editor was started on, in order.
    std::vector<std::wstring> Started() const {
        const std::string bytes = FileContents(log);
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        std::vector<std::wstring> lines;
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
             start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // Runs the command and waits for the editor's count-th start.
    void EditAndWait(size_t count) {
        form.mnuMspaint_Click();
        EXPECT_TRUE(PumpUntil([&] { return Started().size() >= count; }, 10000));
    }
    void ExpectEdited(const std::wstring& path, size_t count) {
        const auto started = Started();
        ASSERT_EQ(started.size(), count);
        for (const auto& file : started) EXPECT_EQ(_wcsicmp(file.c_str(), path.c_str()), 0) << file;
        EXPECT_EQ(ReadPicture(output::LoadPicture(path).picture).data,
                  ReadPicture(form.PicBmp.GetPicture()).data);
    }

    // Any message box is recorded and answered, so a fault fails the test, not hangs it.
    ScriptedBoxes boxes{std::vector<int>{}};
    const std::wstring log = toolkit::AppPath() + L"\\edit_recorder.log";
    const std::wstring folder = toolkit::AppPath() + L"\\Temp", temp = folder + L"\\temp.bmp";
};

TEST_F(PaintEdit, TheEditorIsStartedOnEachPictureInATempFolderMadeWhenMissing) {
    form.mnuClient_Click();
    EditAndWait(1);
    ExpectEdited(temp, 1);
    form.PicBmp.SetPicture(
        capture::GrabWindowArea(GetDesktopWindow(), capture::WindowArea::Whole, 0, 0, 300, 200));
    EditAndWait(2);
    ExpectEdited(temp, 2);
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(PaintEdit, AnEmptyViewerWritesAndStartsNothing) {
    form.mnuClear_Click();
    form.mnuMspaint_Click();
    Pump(1000);
    EXPECT_FALSE(FileExists(temp));
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(PaintEdit, AnUnwritableProgramFolderFallsBackToTheUsersTempAndNoEditorIsSaid) {
    // A file where the Temp folder should be: the program's folder takes nothing.
    std::ofstream(folder.c_str()) << "not a folder";
    const std::wstring fallback = TempPath(L"Fotolark\\temp.bmp");
    form.mnuClient_Click();
    EditAndWait(1);
    ExpectEdited(fallback, 1);
    EXPECT_TRUE(boxes.asked.empty());
    DeleteFileW(fallback.c_str());

    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
    form.mnuMspaint_Click();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"无法启动画图程序编辑：" + fallback);
    DeleteFileW(fallback.c_str());
}

// A program folder the user may not write (Program Files, for a user who is not
// an administrator): Paint is still started on a file that holds the picture.
TEST_F(PaintEdit, AReadOnlyProgramFolderHandsPaintTheUsersCopy) {
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));  // as the installer leaves it
    const std::wstring program = toolkit::AppPath() + L"\\";
    const auto previous = toolkit::SetWriteRefusal([&](const std::wstring& into) {
        return _wcsnicmp(into.c_str(), program.c_str(), program.size()) == 0;
    });
    const std::wstring fallback = TempPath(L"Fotolark\\temp.bmp");
    form.mnuClient_Click();
    form.mnuMspaint_Click();
    toolkit::SetWriteRefusal(previous);
    EXPECT_TRUE(PumpUntil([&] { return Started().size() >= 1; }, 10000));
    ExpectEdited(fallback, 1);
    EXPECT_FALSE(FileExists(temp));
    EXPECT_TRUE(boxes.asked.empty());
    DeleteFileW(fallback.c_str());
}

}  // namespace
