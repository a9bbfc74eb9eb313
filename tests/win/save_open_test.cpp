// Saving through the real save dialog, answered as a person would.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/frm_main.h"
#include "tests/win/support/answers.h"
#include "tests/win/support/shown_form.h"

using namespace testing_support;

namespace {

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return folder + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Contents(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Save : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        form.mnuClient_Click();
    }
    // Runs the save command while the dialog is answered.
    void SaveAs(const std::wstring& name,
                FileDialogAnswer::Replace replace = FileDialogAnswer::Replace::Yes) {
        FileDialogAnswer answer(L"保存", name, replace);
        form.mnusave_Click();
        EXPECT_TRUE(answer.seen());
        replaceAsked = answer.replaceAsked();
        backInDialog = answer.backInDialog();
    }
    bool replaceAsked = false, backInDialog = false;
};

TEST_F(Save, ANameWithoutExtensionBecomesABitmapAndACancelWritesNothing) {
    const std::wstring typed = TempPath(L"fotolark_typed"), written = typed + L".bmp";
    DeleteFileW(written.c_str());
    SaveAs(typed);
    ASSERT_TRUE(Exists(written));
    EXPECT_EQ(Contents(written).substr(0, 2), "BM");
    EXPECT_EQ(form.CaptureUnsaved, app::kFalse);

    // The dialog keeps the name for next time; a cancel must not write it.
    DeleteFileW(written.c_str());
    form.CaptureUnsaved = app::kTrue;
    SaveAs(L"");
    EXPECT_FALSE(Exists(written));
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
}

TEST_F(Save, DecliningToReplaceGoesBackToTheDialogAndKeepsTheOldFile) {
    const std::wstring path = TempPath(L"fotolark_existing.bmp");
    std::ofstream(path.c_str(), std::ios::binary) << "the user's old file";
    SaveAs(path, FileDialogAnswer::Replace::No);
    EXPECT_TRUE(replaceAsked);
    EXPECT_TRUE(backInDialog);
    EXPECT_EQ(Contents(path), "the user's old file");
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    DeleteFileW(path.c_str());
}

}  // namespace
