// The wallpaper commands and the print dialog, on the test prefix's own
// desktop setting and a printer of the test's own.
#include <windows.h>
#include <shlobj.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "capture/capture_core.h"
#include "output/picture_file.h"
#include "output/wallpaper.h"
#include "tests/support/answers.h"
#include "tests/support/shown_form.h"
#include "tests/support/test_window.h"
#include "toolkit/refused_writes.h"

using namespace testing_support;

namespace {

const std::wstring kWindowsFile = L"c:\\windows\\wallpaper.bmp";

std::wstring UserFile() {
    wchar_t* folder = nullptr;
    SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
    const toolkit::UniqueTaskString owned(folder);
    return std::wstring(folder ? folder : L"") + L"\\Fotolark\\wallpaper.bmp";
}

class Wallpaper : public ShownForm {
protected:
    void SetUp() override {
        ShownForm::SetUp();
        before = DeskWallpaper();
    }
    void TearDown() override {
        SetDeskWallpaper(before);
        for (const auto& path : {kWindowsFile, UserFile()}) {
            DeleteFileW(path.c_str());
            RemoveDirectoryW(path.c_str());
        }
        ShownForm::TearDown();
    }
    // The setting names the file, and the file holds the viewer's picture.
    void ExpectShown(const std::wstring& path) {
        EXPECT_EQ(_wcsicmp(DeskWallpaper().c_str(), path.c_str()), 0) << DeskWallpaper();
        EXPECT_EQ(ReadPicture(output::LoadPicture(path).picture).data,
                  ReadPicture(form.PicBmp.GetPicture()).data);
    }
    void ShowOtherPicture() {
        form.PicBmp.SetPicture(capture::GrabWindowArea(GetDesktopWindow(),
                                                       capture::WindowArea::Whole, 0, 0, 300, 200));
    }
    // Any message box is recorded and answered, so a fault fails the test, not hangs it.
    ScriptedBoxes boxes{std::vector<int>{}};
    std::wstring before;
};

TEST_F(Wallpaper, NamesTheFileOfTheLastPictureAndClearingLeavesTheFile) {
    form.mnuClient_Click();
    form.mnuWallpaper_Click();
    ExpectShown(kWindowsFile);
    ShowOtherPicture();
    form.mnuWallpaper_Click();
    ExpectShown(kWindowsFile);

    form.mnuClearWall_Click();
    EXPECT_EQ(DeskWallpaper(), L"");
    EXPECT_TRUE(FileExists(kWindowsFile));
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(Wallpaper, AnUnwritableWindowsFileFallsBackToTheUsersFolderAndNoFileChangesNothing) {
    // A folder of the file's name: no rights to the file would do the same.
    ASSERT_TRUE(CreateDirectoryW(kWindowsFile.c_str(), nullptr));
    form.mnuClient_Click();
    form.mnuWallpaper_Click();
    ExpectShown(UserFile());
    EXPECT_TRUE(boxes.asked.empty());

    ASSERT_TRUE(DeleteFileW(UserFile().c_str()));
    ASSERT_TRUE(CreateDirectoryW(UserFile().c_str(), nullptr));
    ShowOtherPicture();
    form.mnuWallpaper_Click();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"无法写入墙纸文件，墙纸没有改变。");
    EXPECT_EQ(_wcsicmp(DeskWallpaper().c_str(), UserFile().c_str()), 0);
}

// A user who is not an administrator may not write the Windows folder: the
// desktop must still be pointed at a file that holds the picture.
TEST_F(Wallpaper, AReadOnlyWindowsFolderSetsTheUsersCopy) {
    const auto previous = toolkit::SetWriteRefusal(
        [](const std::wstring& into) { return _wcsicmp(into.c_str(), L"c:\\windows\\") == 0; });
    form.mnuClient_Click();
    form.mnuWallpaper_Click();
    toolkit::SetWriteRefusal(previous);
    ExpectShown(UserFile());
    EXPECT_FALSE(FileExists(kWindowsFile));
    EXPECT_TRUE(boxes.asked.empty());
}

// Where the system refuses the setting, the user is told, with the file written.
TEST_F(Wallpaper, ARefusalIsReportedNotTakenForSuccess) {
    const auto previous =
        output::SetDeskWallpaperHandler([](const std::wstring&) { return false; });
    form.mnuClient_Click();
    form.mnuWallpaper_Click();
    output::SetDeskWallpaperHandler(previous);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"系统没有接受新的墙纸：" + kWindowsFile);
    EXPECT_EQ(DeskWallpaper(), before);
}

TEST_F(Wallpaper, AnEmptyViewerSaysSoAndChangesNothing) {
    SetDeskWallpaper(L"");
    form.mnuClear_Click();
    form.mnuWallpaper_Click();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, L"没有可设置为墙纸的图片。");
    EXPECT_EQ(DeskWallpaper(), L"");
    EXPECT_FALSE(FileExists(kWindowsFile));
}

// A printer of the test prefix's own, printing to a file: Wine has none of
// its own here. Its description is Wine's generic PostScript one; its port is
// a file, which every job sent to it writes.
class TestPrinter {
public:
    TestPrinter() {
        wchar_t folder[MAX_PATH];
        DWORD size = 0;
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                   sizeof folder, &size);
        description_ = std::wstring(folder) + L"\\3\\fotolark_test.ppd";
        const HMODULE spooler = GetModuleHandleW(L"winspool.drv");
        const HRSRC resource = FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE");
        {
            const toolkit::UniqueFile file(CreateFileW(description_.c_str(), GENERIC_WRITE, 0,
                                                       nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            WriteFile(file.get(), LockResource(LoadResource(spooler, resource)),
                      SizeofResource(spooler, resource), &written, nullptr);
        }
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(kDriver);
        driver.pDriverPath = driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
        driver.pDataFile = description_.data();
        driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
        AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES);
        PRINTER_INFO_2W printer{};
        printer.pPrinterName = const_cast<wchar_t*>(kName);
        DeleteFileW(output_.c_str());
        printer.pPortName = output_.data();
        printer.pDriverName = const_cast<wchar_t*>(kDriver);
        printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        printer.pDatatype = const_cast<wchar_t*>(L"RAW");
        if (HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer)))
            ClosePrinter(added);
        SetDefaultPrinterW(kName);
    }
    ~TestPrinter() {
        HANDLE printer = nullptr;
        if (OpenPrinterW(const_cast<wchar_t*>(kName), &printer, nullptr)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(kDriver));
        DeleteFileW(description_.c_str());
        DeleteFileW(output_.c_str());
    }
    const std::wstring& output() const { return output_; }
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

private:
    static constexpr const wchar_t* kName = L"Fotolark Test Printer";
    static constexpr const wchar_t* kDriver = L"Wine PostScript Driver";
    std::wstring description_;
    std::wstring output_ = TempPath(L"fotolark_printed.prn");
};

// The print dialog's choices of what to print (dlgs.h: rad1, rad2, rad3).
constexpr int kAll = 0x420, kSelection = 0x421, kPages = 0x422;

struct PrintChoices {
    bool found = false, owned = false, all = false, pages = false, selectionEnabled = false;
};

class Print : public ShownForm {
protected:
    // Runs the print command while its dialog is read and confirmed.
    PrintChoices PrintAndConfirm() {
        PrintChoices seen;
        {
            DialogAnswer answer(L"", [&](HWND dialog) {
                seen.owned = GetWindow(dialog, GW_OWNER) == form.hwnd();
                seen.all = IsDlgButtonChecked(dialog, kAll) == BST_CHECKED;
                seen.pages = IsDlgButtonChecked(dialog, kPages) == BST_CHECKED;
                seen.selectionEnabled = IsWindowEnabled(GetDlgItem(dialog, kSelection));
            });
            form.mnuprint_Click();
            seen.found = answer.seen();
        }
        return seen;
    }
};

TEST_F(Print, WithoutAPrinterTheSystemSaysSoAndTheCommandReturns) {
    bool choices = true;
    DialogAnswer notice(L"", [&](HWND box) { choices = GetDlgItem(box, kAll) != nullptr; });
    form.mnuprint_Click();
    EXPECT_TRUE(notice.seen());
    EXPECT_FALSE(choices);  // Wine's notice that a printer must be installed first
}

TEST_F(Print, TheDialogCarriesTheSavesFlags) {
    TestPrinter printer;
    form.mnuClient_Click();
    PrintChoices first = PrintAndConfirm();
    EXPECT_TRUE(first.found);
    EXPECT_TRUE(first.owned);
    EXPECT_TRUE(first.all);
    EXPECT_TRUE(first.selectionEnabled);

    const std::wstring saved = TempPath(L"fotolark_print_saved.bmp");
    {
        FileDialogAnswer save(L"保存", saved);
        form.mnusave_Click();
    }
    DeleteFileW(saved.c_str());
    PrintChoices afterSave = PrintAndConfirm();
    EXPECT_TRUE(afterSave.found);
    EXPECT_TRUE(afterSave.pages);
    EXPECT_FALSE(afterSave.selectionEnabled);
}

// Nothing is printed: a job would have written the printer's port file.
TEST_F(Print, ConfirmingTheDialogPrintsNothing) {
    TestPrinter printer;
    form.mnuClient_Click();
    ASSERT_TRUE(PrintAndConfirm().found);
    EXPECT_FALSE(FileExists(printer.output()));
}

}  // namespace
