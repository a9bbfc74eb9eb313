// Saving and opening through the real file dialogs, answered as a person
// would.
#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "tests/support/answers.h"
#include "tests/support/input.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/shown_form.h"
#include "toolkit/common_dialog.h"
#include "toolkit/units.h"

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
    EXPECT_FALSE(form.CaptureUnsaved);

    // The dialog keeps the name for next time; a cancel must not write it.
    DeleteFileW(written.c_str());
    form.CaptureUnsaved = true;
    SaveAs(L"");
    EXPECT_FALSE(FileExists(written));
    EXPECT_TRUE(form.CaptureUnsaved);
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
    form.CaptureUnsaved = true;
    answer.clear();
    form.mnusave_Click();
    toolkit::SetFileDialogHandler(previous);
    EXPECT_FALSE(FileExists(named));
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_TRUE(form.CaptureUnsaved);
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
    EXPECT_TRUE(form.CaptureUnsaved);
    DeleteFileW(path.c_str());
}

class Open : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        // An 800 x 600 picture file of what the screen shows.
        ASSERT_TRUE(output::SavePicture(
            capture::GrabWindowArea(GetDesktopWindow(), capture::WindowArea::Whole, 0, 0, 800, 600),
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
    if (ExpectedDpi() == 96)
        EXPECT_EQ(WindowText(form.hwnd()).substr(WindowText(form.hwnd()).size() - 14),
                  L"(12000x9000) ]");
    if (ExpectedDpi() == 120)
        EXPECT_EQ(WindowText(form.hwnd()).substr(WindowText(form.hwnd()).size() - 13),
                  L"(9600x7200) ]");
    EXPECT_TRUE(form.HScroll1.Visible());  // wider than the viewport
    EXPECT_FALSE(form.CaptureUnsaved);
}

// Whether the open dialog that comes up (of that title, any when empty)
// shows its read-only box; it is cancelled.
bool OpenShowsReadOnlyBox(app::FrmMain& form, const std::wstring& title) {
    bool shown = false;
    DialogAnswer look(
        title,
        [&](HWND dialog) {
            const HWND box = GetDlgItem(dialog, chx1);
            shown = box && IsWindowVisible(box);
        },
        IDCANCEL);
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
            EXPECT_TRUE(form.CaptureUnsaved);
        } else {
            EXPECT_EQ(Shown().cx, 800) << answer;
            EXPECT_FALSE(form.CaptureUnsaved) << answer;
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
    EXPECT_TRUE(form.CaptureUnsaved);
    DeleteFileW(broken.c_str());
}

TEST_F(Open, ADroppedFileOpensAsTheCommandWouldAfterTheSameQuestion) {
    form.mnuClient_Click();
    ScriptedBoxes boxes({IDCANCEL, IDNO, IDOK});
    Drop(form.hwnd(), picture);  // Cancel keeps the capture
    EXPECT_NE(Shown().cx, 800);
    Drop(form.hwnd(), picture);  // No lets it go
    EXPECT_EQ(Shown().cx, 800);
    EXPECT_FALSE(form.CaptureUnsaved);
    EXPECT_NE(WindowText(form.hwnd()).find(L"fotolark open.png("), std::wstring::npos);
    const std::wstring broken = TempPath(L"fotolark_dropped.bmp");
    std::ofstream(broken.c_str(), std::ios::binary) << "not a picture";
    Drop(form.hwnd(), broken);
    ASSERT_EQ(boxes.asked.size(), 3u);
    EXPECT_NE(boxes.asked[2].text.find(broken), std::wstring::npos);
    EXPECT_EQ(Shown().cx, 800);
    DeleteFileW(broken.c_str());
}

// The dialog's file-type list: its entries, and the one selected.
std::vector<std::wstring> FileTypes(HWND dialog, int* selected) {
    const HWND types = GetDlgItem(dialog, 0x470);  // cmb1
    std::vector<std::wstring> entries;
    for (int i = 0; i < int(SendMessageW(types, CB_GETCOUNT, 0, 0)); ++i) {
        wchar_t text[128] = L"";
        SendMessageW(types, CB_GETLBTEXT, i, LPARAM(text));
        entries.push_back(text);
    }
    *selected = int(SendMessageW(types, CB_GETCURSEL, 0, 0));
    return entries;
}

// Picks an entry of the list and types a name, as a person would.
void ChooseTypeAndName(HWND dialog, int entry, const std::wstring& name) {
    const HWND types = GetDlgItem(dialog, 0x470);
    SendMessageW(types, CB_SETCURSEL, entry, 0);
    for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})  // what the list tells when a person picks
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, code), LPARAM(types));
    HWND edit = GetDlgItem(dialog, 0x47c);
    if (!edit) edit = GetDlgItem(dialog, 0x480);
    if (HWND inner = FindWindowExW(edit, nullptr, L"Edit", nullptr)) edit = inner;
    SendMessageW(edit, WM_SETTEXT, 0, LPARAM(name.c_str()));
}

TEST_F(Open, TheDialogsListEveryKindAndOpenOnAllPictures) {
    std::vector<std::wstring> kinds;
    int selected = -1;
    {
        DialogAnswer look(
            L"", [&](HWND dialog) { kinds = FileTypes(dialog, &selected); }, IDCANCEL);
        form.mnuOpen_Click();
    }
    const std::vector<std::wstring> expected = {L"Bmp (*.bmp)", L"JPGE(*.jpg)",  L"PNG (*.png)",
                                                L"GIF (*.gif)", L"图标 (*.ico)", L"所有图片"};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(selected, 5);

    // A name typed without an extension in the save dialog takes the chosen entry's.
    form.mnuClient_Click();
    const std::wstring typed = TempPath(L"fotolark typed"), png = typed + L".png";
    DeleteFileW(png.c_str());
    {
        DialogAnswer save(L"保存", [&](HWND dialog) {
            kinds = FileTypes(dialog, &selected);
            ChooseTypeAndName(dialog, 2, typed);
        });
        form.mnusave_Click();
    }
    EXPECT_EQ(kinds, std::vector<std::wstring>(expected.begin(), expected.begin() + 3));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(FileContents(png).substr(0, 4), "\x89PNG");
    DeleteFileW(png.c_str());
}

// The address space a 32-bit process has free after a while, on any build.
class AddressSpaceOf32Bits {
public:
    AddressSpaceOf32Bits() {
        previous_ = output::SetAddressSpaceProbe([] {
            return output::FreeAddressSpace{uint64_t(700) << 20, uint64_t(1500) << 20};
        });
    }
    ~AddressSpaceOf32Bits() { output::SetAddressSpaceProbe(previous_); }

private:
    output::AddressSpaceProbe previous_;
};

TEST_F(Open, APictureTooLargeForMemoryIsRefusedWithItsSizeAndOneThatFitsOpens) {
    const std::wstring huge = TempPath(L"fotolark huge.jpg");
    const Bytes shell =
        MakeJpegShell(15000, 15000, 15000 * 15000 / 1024);  // enough scan for its size
    std::ofstream(huge.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(shell.data()), std::streamsize(shell.size()));
    ScriptedBoxes boxes({IDOK});
    {
        AddressSpaceOf32Bits space;
        form.OpenFile(huge);
        form.OpenFile(picture);
    }
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"图片太大，内存放不下（15000 x 15000 像素）：" + huge);
    EXPECT_EQ(Shown().cx, 800);
    DeleteFileW(huge.c_str());
}

}  // namespace
