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
#include "toolkit/file_write.h"
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

// Saves to the path as a person who chose it in the dialog, answering every box.
void SaveTo(app::FrmMain& form, const std::wstring& path) {
    const auto previous = toolkit::SetFileDialogHandler([&](OPENFILENAMEW& dialog, bool) {
        path.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
        dialog.lpstrFile[path.size()] = L'\0';
        return true;
    });
    form.mnusave_Click();
    toolkit::SetFileDialogHandler(previous);
}

// A capture of a window with its icon: what the screen read leaves in the
// fourth byte must not become a see-through file.
TEST_F(Save, AWindowWithItsIconIsSavedOpaque) {
    form.mnuTitleBar_Click();
    const std::wstring path = TempPath(L"fotolark_icon.bmp");
    ScriptedBoxes boxes({});
    SaveTo(form, path);
    const std::string file = FileContents(path);
    ASSERT_GT(file.size(), 54u);
    EXPECT_TRUE(DibIsOpaque(reinterpret_cast<const uint8_t*>(file.data()) + 14, file.size() - 14));
    EXPECT_TRUE(boxes.asked.empty());
    DeleteFileW(path.c_str());
}

// Each refusal in its own words, the old file kept. Wine as root is refused
// nothing: the toolkit's file steps fail with the system's error instead.
TEST_F(Save, AFailedSaveSaysWhyAndKeepsTheOldFile) {
    const std::wstring path = TempPath(L"fotolark_refused.bmp");
    WriteFileBytes(path, "old");
    struct Case {
        toolkit::FileStep step;
        DWORD error;
        std::wstring target, said;
    };
    const std::wstring gone = TempPath(L"fotolark no folder\\shot.bmp");
    const Case cases[] = {
        {toolkit::FileStep::Create, ERROR_ACCESS_DENIED, path,
         L"无法保存文件，没有在这里写入的权限："},
        {toolkit::FileStep::Write, ERROR_DISK_FULL, path, L"无法保存文件，磁盘空间不足："},
        {toolkit::FileStep::Write, 0, gone, L"无法保存文件，文件夹已不存在："},
    };
    for (const Case& c : cases) {
        ScriptedBoxes boxes({IDOK});
        toolkit::SetFileFailure(c.step, c.error);
        SaveTo(form, c.target);
        toolkit::SetFileFailure(c.step, 0);
        ASSERT_EQ(boxes.asked.size(), 1u) << c.error;
        EXPECT_EQ(boxes.asked[0].text, c.said + c.target);
        EXPECT_EQ(FileContents(path), "old");
        EXPECT_TRUE(form.CaptureUnsaved);
    }
    {
        // Another program has the file open and shares nothing.
        toolkit::UniqueFile holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ScriptedBoxes boxes({IDOK});
        SaveTo(form, path);
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0].text, L"无法保存文件，另一个程序正在使用它：" + path);
    }
    EXPECT_EQ(FileContents(path), "old");
    DeleteFileW(path.c_str());
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

// The free blocks of a 32-bit process's address space a while after start,
// on any build: without the large-address flag, and with it on 64-bit Windows
// (nearly 2 GB above the 2 GB line, 1.3 GB below the system's libraries).
constexpr uint64_t kMB = 1 << 20;
const std::vector<uint64_t> kTwoGigabytes{700 * kMB, 420 * kMB, 250 * kMB, 130 * kMB};
const std::vector<uint64_t> kLargeAddressAware{2030 * kMB, 1290 * kMB, 180 * kMB, 60 * kMB};

class AddressSpaceOf32Bits {
public:
    explicit AddressSpaceOf32Bits(std::vector<uint64_t> blocks = kTwoGigabytes) {
        previous_ =
            output::SetAddressSpaceProbe([blocks] { return output::FreeAddressSpace{blocks}; });
    }
    ~AddressSpaceOf32Bits() { output::SetAddressSpaceProbe(previous_); }

private:
    output::AddressSpaceProbe previous_;
};

// What a large-address-aware 32-bit build can capture it opens: an 8K
// screen's picture and one of 10000 x 10000.
TEST_F(Open, TheLargestCapturesOpenInA32BitAddressSpace) {
    ScriptedBoxes boxes({});
    AddressSpaceOf32Bits space(kLargeAddressAware);
    for (const SIZE size : {SIZE{7680, 4320}, SIZE{10000, 10000}}) {
        const std::wstring path = TempPath(L"fotolark large.png");
        const Bytes png = MakeBlackPng(size.cx, size.cy);
        std::ofstream(path.c_str(), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        form.OpenFile(path);
        EXPECT_EQ(Shown().cx, size.cx);
        EXPECT_EQ(Shown().cy, size.cy);
        form.mnuClear_Click();  // its memory back before the next
        DeleteFileW(path.c_str());
    }
    EXPECT_TRUE(boxes.asked.empty()) << boxes.asked[0].text;
}

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
