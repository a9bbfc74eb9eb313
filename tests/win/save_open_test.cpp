// Saving and opening through the real file dialogs, answered as a person
// would.
#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>
#include <string>

#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "toolkit/common_dialog.h"
#include "toolkit/units.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"

using namespace testing_support;

namespace {

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
    ASSERT_TRUE(FileExists(written));
    EXPECT_EQ(FileContents(written).substr(0, 2), "BM");
    EXPECT_EQ(form.CaptureUnsaved, app::kFalse);

    // The dialog keeps the name for next time; a cancel must not write it.
    DeleteFileW(written.c_str());
    form.CaptureUnsaved = app::kTrue;
    SaveAs(L"");
    EXPECT_FALSE(FileExists(written));
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
}

// A dialog confirmed with an empty name, as the dialog layer may hand it back.
TEST_F(Save, AConfirmedEmptyNameWritesNothing) {
    const std::wstring named = TempPath(L"fotolark_named.bmp");
    std::wstring answer = named;
    const auto previous = toolkit::SetFileDialogHandler([&](OPENFILENAMEW& dialog, bool) {
        answer.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
        dialog.lpstrFile[answer.size()] = L'\0';
        return true;
    });
    ScriptedBoxes boxes({});
    form.mnusave_Click();
    ASSERT_TRUE(FileExists(named));  // the seam reaches the save
    DeleteFileW(named.c_str());
    form.CaptureUnsaved = app::kTrue;
    answer.clear();
    form.mnusave_Click();
    toolkit::SetFileDialogHandler(previous);
    EXPECT_FALSE(FileExists(named));
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
}

TEST_F(Save, AnEmptyViewerHasNothingToSave) {
    form.mnuClear_Click();
    ScriptedBoxes boxes({IDOK});
    FileDialogAnswer none(L"保存", L"");
    form.mnusave_Click();
    EXPECT_FALSE(none.seen());
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"没有可保存的图片。");
}

TEST_F(Save, DecliningToReplaceGoesBackToTheDialogAndKeepsTheOldFile) {
    const std::wstring path = TempPath(L"fotolark_existing.bmp");
    std::ofstream(path.c_str(), std::ios::binary) << "the user's old file";
    SaveAs(path, FileDialogAnswer::Replace::No);
    EXPECT_TRUE(replaceAsked);
    EXPECT_TRUE(backInDialog);
    EXPECT_EQ(FileContents(path), "the user's old file");
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    DeleteFileW(path.c_str());
}

class Open : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        // An 800 x 600 picture file of what the screen shows.
        ASSERT_TRUE(output::SavePicture(capture::GrabWindowArea(GetDesktopWindow(), 0, 0, 0, 800, 600),
                                        picture));
    }
    void TearDown() override {
        DeleteFileW(picture.c_str());
        ShownForm::TearDown();
    }
    // Runs the open command while the dialog is answered; whether it came up.
    bool OpenAs(const std::wstring& name, const std::wstring& title = L"") {
        FileDialogAnswer answer(title, name);
        form.mnuOpen_Click();
        return answer.seen();
    }
    SIZE Shown() const { return form.PicBmp.GetPicture().PixelSize(); }
    const std::wstring picture = TempPath(L"fotolark open.png");
};

TEST_F(Open, ShowsThePictureWithItsNameAndSizeInTwipsAndFitsTheViewer) {
    EXPECT_TRUE(OpenAs(picture));
    EXPECT_EQ(Shown().cx, 800);
    EXPECT_EQ(Shown().cy, 600);
    const auto twips = [](double pixels, double perPixel) {
        return toolkit::NumberText(float(pixels * perPixel));
    };
    EXPECT_EQ(WindowText(form.hwnd()), toolkit::ExeName() + L"\u2500[fotolark open.png(" +
                                        twips(800, toolkit::Screen::TwipsPerPixelX()) + L"x" +
                                        twips(600, toolkit::Screen::TwipsPerPixelY()) + L") ]");
    if (ExpectedDpi() == 96) EXPECT_EQ(WindowText(form.hwnd()).substr(WindowText(form.hwnd()).size() - 14), L"(12000x9000) ]");
    if (ExpectedDpi() == 120) EXPECT_EQ(WindowText(form.hwnd()).substr(WindowText(form.hwnd()).size() - 13), L"(9600x7200) ]");
    EXPECT_TRUE(form.HScroll1.Visible());  // wider than the viewport
    EXPECT_EQ(form.CaptureUnsaved, app::kFalse);
}

// Whether the open dialog that comes up (of that title, any when empty)
// shows its read-only box; it is cancelled.
bool OpenShowsReadOnlyBox(app::FrmMain& form, const std::wstring& title) {
    bool shown = false;
    DialogAnswer look(title, [&](HWND dialog) {
        const HWND box = GetDlgItem(dialog, chx1);
        shown = box && IsWindowVisible(box);
    }, IDCANCEL);
    form.mnuOpen_Click();
    EXPECT_TRUE(look.seen()) << "no open dialog";
    return shown;
}

TEST_F(Open, AfterASaveTheDialogCarriesTitleAndFlagsAndACancelChangesNothing) {
    EXPECT_TRUE(OpenShowsReadOnlyBox(form, L""));  // before any save
    form.mnuClient_Click();
    const std::wstring saved = TempPath(L"fotolark_open_saved.bmp");
    {
        FileDialogAnswer save(L"保存", saved);
        form.mnusave_Click();
    }
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    const std::wstring caption = WindowText(form.hwnd());
    EXPECT_FALSE(OpenShowsReadOnlyBox(form, L"保存"));  // found by the save's title
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_EQ(WindowText(form.hwnd()), caption);
    DeleteFileW(saved.c_str());
}

TEST_F(Open, AnUnsavedCaptureIsAskedAboutFirst) {
    const std::wstring saved = TempPath(L"fotolark_open_yes.bmp");
    for (int answer : {IDCANCEL, IDNO, IDYES}) {
        form.mnuClient_Click();
        const HBITMAP capture = form.PicBmp.GetPicture().Bitmap();
        ScriptedBoxes boxes({answer});
        // Yes saves first; the open dialog then carries the save's title.
        FileDialogAnswer dialogs(answer == IDYES ? L"保存" : L"",
                                 answer == IDYES ? std::vector<std::wstring>{saved, picture}
                                                 : std::vector<std::wstring>{picture});
        form.mnuOpen_Click();
        const bool dialog = dialogs.seen();
        ASSERT_EQ(boxes.asked.size(), 1u) << answer;
        EXPECT_EQ(boxes.asked[0].text, L"  文件还没有保存，您要保存吗?");
        EXPECT_EQ(boxes.asked[0].style, UINT(MB_YESNOCANCEL | MB_ICONINFORMATION));
        if (answer == IDCANCEL) {
            EXPECT_FALSE(dialog);
            EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), capture);
            EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
        } else {
            EXPECT_EQ(Shown().cx, 800) << answer;
            EXPECT_EQ(form.CaptureUnsaved, app::kFalse) << answer;
        }
    }
    EXPECT_NE(GetFileAttributesW(saved.c_str()), INVALID_FILE_ATTRIBUTES);  // Yes saved first
    DeleteFileW(saved.c_str());
}

TEST_F(Open, ABrokenFileIsNamedAndNothingChanges) {
    form.mnuClient_Click();
    const HBITMAP before = form.PicBmp.GetPicture().Bitmap();
    const std::wstring caption = WindowText(form.hwnd()), broken = TempPath(L"fotolark_broken.bmp");
    std::ofstream(broken.c_str(), std::ios::binary) << "not a picture at all";
    ScriptedBoxes boxes({IDNO, IDOK});
    EXPECT_TRUE(OpenAs(broken));
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_NE(boxes.asked[1].text.find(broken), std::wstring::npos);
    EXPECT_EQ(form.PicBmp.GetPicture().Bitmap(), before);
    EXPECT_EQ(WindowText(form.hwnd()), caption);
    EXPECT_EQ(form.CaptureUnsaved, app::kTrue);
    DeleteFileW(broken.c_str());
}

// A file dropped from the shell: a real HDROP, as the shell hands it over.
void Drop(HWND window, const std::wstring& path) {
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(files + 1), path.size());
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, WPARAM(memory), 0);  // the window lets it go
}

TEST_F(Open, ADroppedFileOpensAsTheCommandWouldAfterTheSameQuestion) {
    form.mnuClient_Click();
    ScriptedBoxes boxes({IDCANCEL, IDNO, IDOK});
    Drop(form.hwnd(), picture);  // Cancel keeps the capture
    EXPECT_NE(Shown().cx, 800);
    Drop(form.hwnd(), picture);  // No lets it go
    EXPECT_EQ(Shown().cx, 800);
    EXPECT_EQ(form.CaptureUnsaved, app::kFalse);
    EXPECT_NE(WindowText(form.hwnd()).find(L"fotolark open.png("), std::wstring::npos);
    const std::wstring broken = TempPath(L"fotolark_dropped.bmp");
    std::ofstream(broken.c_str(), std::ios::binary) << "not a picture";
    Drop(form.hwnd(), broken);
    ASSERT_EQ(boxes.asked.size(), 3u);
    EXPECT_NE(boxes.asked[2].text.find(broken), std::wstring::npos);
    EXPECT_EQ(Shown().cx, 800);
    DeleteFileW(broken.c_str());
}

}  // namespace
