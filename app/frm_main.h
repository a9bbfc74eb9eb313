// The main window: its state, its controls and the handlers of its events
// and commands. The window procedure only dispatches; the handlers live in
// the files of the behaviour they belong to.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/language_lines.h"
#include "app/texts.h"
#include "capture/region_rect.h"
#include "output/markup_editor.h"

#include "toolkit/common_dialog.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/picture_box.h"
#include "toolkit/runtime.h"
#include "toolkit/scroll_bar.h"

namespace app {

// The program's title (App.Title): the settings' application name and the
// title of its own boxes.
constexpr wchar_t kAppTitle[] = L"Fotolark";

class FrmMain : public toolkit::Form {
public:
    FrmMain() { Form_Initialize(); }
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;
    ~FrmMain() override;

    // Creates the window and its controls and runs Form_Load; the window is
    // still hidden afterwards.
    bool Load();
    void Show();
    // Runs the message loop until the window has closed.
    static int Run(HWND accelTarget, HACCEL accelerators);
    HACCEL Accelerators() const { return accelerators_.get(); }

    // Window state shared with the commands.
    bool CaptureUnsaved = false;
    bool RegionArmed = false;
    // The lines of the last language file loaded.
    std::array<std::wstring, kLanguageLineCount> LanguageLines;
    // Messages, prompts, titles and tooltips, in the language last loaded.
    Texts UiTexts;

    // Controls.
    toolkit::Control Toolbar1;
    toolkit::Control StatusBar1;
    toolkit::PictureBox picScroll;
    toolkit::PictureBox PicBmp;
    toolkit::ScrollBar HScroll1;
    toolkit::ScrollBar VScroll1;
    toolkit::CommonDialog CDopen;

    // Lifecycle and layout.
    void Form_Initialize();
    void Form_Load();
    void Form_Resize();
    void Form_Unload(bool& Cancel);
    void mnuExit_Click();

    // Viewer.
    void FitViewer();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();
    void mnuClear_Click();

    // Capture commands.
    void mnuScreen_Click();
    void mnuTitleBar_Click();
    void mnuClient_Click();
    void mnuAtiveWindow_Click();
    void mnuDistrict_Click();
    // Several displays.
    void mnuAllMonitors_Click();
    void mnuPointerMonitor_Click();
    void mnuPickWindow_Click();
    // Scrolling capture: Shift held when choosing follows the user's own scrolling.
    void mnuScrollCapture_Click();
    void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void Form_MouseUp(int16_t Button, int16_t Shift, float X, float Y);

    // Output, language and help commands.
    void mnuOpen_Click();
    void mnusave_Click();
    void mnuWallpaper_Click();
    void mnuClearWall_Click();
    void mnuMspaint_Click();
    void mnuprint_Click();
    void mnuChinese_Click();
    void mnuEnglish_Click();
    // The language chosen last, at start.
    void LoadChosenLanguage();
    // The path is the folder immediately followed by the file name. A file
    // that cannot be read changes nothing.
    // Returns whether the file was read.
    bool LoadLanguageFile(const std::wstring& folder, const std::wstring& fileName);
    void mnuHowto_Click();
    void mnuAbout_Click();

    void Toolbar1_ButtonClick(int16_t Index);
    // The open command without its dialog: a dropped file, the command line.
    void OpenFile(const std::wstring& path);

    // Marks over the picture, and the picture as it leaves the program: with
    // its marks merged into its pixels and cropped.
    output::markup::Editor Markup;
    toolkit::Picture MarkedPicture();
    void mnuCopyMarked_Click();

    // Status panels, numbered from 1.
    void SetPanelText(int panel, const std::wstring& text);
    std::wstring PanelText(int panel) const;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    bool CreateToolbar();
    bool CreateStatusBar();
    void AlignBars();
    void SizePanels(int barWidth);
    // Puts a new capture into the viewer and marks it unsaved.
    void ShowCapture(toolkit::Picture picture);
    // Takes the window out of the screen's picture for a capture of the screen.
    void CaptureOutOfSight(toolkit::Picture (*grab)());
    LRESULT OnNotify(const NMHDR* header);
    void OnScrollBar(HWND bar, int code);
    void OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnRegionPress(LPARAM screenPoint);
    void OnPickDone();
    void OnScrollPickDone();
    // The scrolling capture of what was picked; the progress shows meanwhile.
    void ScrollAndCapture(HWND window, const capture::Rect32& area, bool manual);
    bool scrollPick_ = false, scrollManual_ = false;  // the pick armed is for a scrolling capture
    // Brings the window to the front, restored if minimized: after a global key.
    void ComeForward();
    void OnDropFiles(HDROP drop);
    void OnMouseWheel(int delta, bool horizontal);
    bool OnScrollKey(WPARAM key);
    // Moves a bar to a new value through its Change handler; false when it did not move.
    bool MoveBar(bool horizontal, int64_t target);
    // While a box or dialog of the window is up, or a capture is under way,
    // keys from outside and dropped files would start another on top of it.
    bool BusyWithOwnUi() const;
    void RegisterGlobalKeys();
    void UnregisterGlobalKeys();
    void OnGlobalKey(int id);
    // Shows a picture file with its name in the caption, or says why not.
    bool OpenPicture(const std::wstring& path);
    std::wstring OpenFilter() const;
    // Opens the file after the question about an unsaved capture.
    void OpenInPlaceOf(const std::wstring& path, bool wasUnsaved);
    static int16_t MouseButtonOf(UINT message);
    bool SaveWindowPlacement();
    // Asks before an unsaved capture is lost; false when the user keeps it.
    bool MayDropCapture();
    void ShowMessage(const std::wstring& text);
    void OnCommand(UINT id);
    bool UnloadCancelled();

    // Mark-up on the viewer.
    void HookViewer();
    static LRESULT CALLBACK ViewerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    bool OnViewerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void PaintViewer(HDC dc, const RECT& dirty);
    void ShowMarkupMenu(POINT screen);
    bool OnMarkupKey(WPARAM key);
    bool OnMarkupChar(wchar_t c);
    void SetMarkupTool(output::markup::Tool tool);
    // A new picture in the viewer: the marks and their history end.
    void MarkupReset(const std::wstring& openedName = L"");
    // Ends a text or crop under way and hides the selection, so the window
    // shows only the picture and its marks.
    void MarkupSettle();
    // Resets the marks when the picture changed behind their back.
    void MarkupFollowPicture();
    // Repaints what changed and follows the marks' state elsewhere: the
    // viewer's size after a crop, the caption, unsaved, status panel 1.
    void MarkupChanged(output::markup::Box changed);
    output::markup::Point PicturePoint(LPARAM clientPoint) const;

    std::wstring markupOpenedName_;
    HBITMAP markupBitmap_ = nullptr;  // of the picture the marks belong to
    bool markupMadeUnsaved_ = false;
    std::optional<std::wstring> panelBeforeTool_;

    // The menu belongs to the window once attached; the window destroys it.
    toolkit::UniqueAccelerators accelerators_;
    toolkit::UniqueImageList ImageList1;
    // A capture under way; and when the last one ended, for keys pressed meanwhile.
    int capturing_ = 0;
    DWORD capturedAt_ = 0;
    int wheelRest_ = 0;  // wheel movement short of a notch
    friend class CaptureUnderWay;
};

// Marks a capture under way for its scope.
class CaptureUnderWay {
public:
    explicit CaptureUnderWay(FrmMain& form) : form_(form) { ++form_.capturing_; }
    CaptureUnderWay(const CaptureUnderWay&) = delete;
    CaptureUnderWay& operator=(const CaptureUnderWay&) = delete;
    ~CaptureUnderWay() {
        --form_.capturing_;
        form_.capturedAt_ = GetTickCount();
    }

private:
    FrmMain& form_;
};

// Program-wide: the Notepad the help command started last. Its process is
// held, so its id names no other process for as long.
extern toolkit::Process HelpTask;
inline int32_t HelpTaskId() { return int32_t(HelpTask.Id()); }

}  // namespace app
