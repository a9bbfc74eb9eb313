// The main window: its state, its controls and the handlers of its events
// and commands. The window procedure only dispatches; the handlers live in
// the files of the behaviour they belong to.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/language_lines.h"
#include "app/markup_view.h"
#include "app/options.h"
#include "app/texts.h"
#include "capture/region_rect.h"
#include "pin/pin_board.h"

#include "toolkit/common_dialog.h"
#include "toolkit/form.h"
#include "toolkit/global_key.h"
#include "toolkit/handles.h"
#include "toolkit/picture_box.h"
#include "toolkit/runtime.h"
#include "toolkit/scroll_bar.h"

namespace output {
struct LoadedPicture;
}
namespace output::history {
struct Entry;
struct Leftover;
}  // namespace output::history

namespace app {

struct HistoryKeeping;
struct HistoryKeepingEnd {
    void operator()(HistoryKeeping* keeping) const;
};

// The program's title (App.Title): the settings' application name and the
// title of its own boxes.
constexpr wchar_t kAppTitle[] = L"Fotolark";
// Its main window's class: how another copy of the program is recognised.
constexpr wchar_t kMainWindowClass[] = L"FotolarkMain";
// Posted when a global key could not be registered, to say so once the window shows.
constexpr UINT kKeysTakenMessage = WM_APP + 0x220;
// What the notification-area icon reports: the mouse message in lParam.
constexpr UINT kTrayMessage = WM_APP + 0x221;

class FrmMain : public toolkit::Form, private pin::Owner {
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

    // The global keys' own handlers (the others run menu commands).
    void keyScreen_Press();
    void keyWindow_Press();
    // The global keys as registered, in the order of their table, and how each one fared.
    const std::vector<toolkit::KeyChord>& GlobalKeys() const { return globalKeys_; }
    const std::vector<toolkit::KeyState>& GlobalKeyStates() const { return keyStates_; }
    // A key's state as the user reads it, naming the key where it is taken.
    std::wstring KeyStateText(toolkit::KeyChord key, toolkit::KeyState state) const;
    // Registers and stores the keys wanted, a row each; returns how each
    // wanted key fared. A taken key leaves its row's old key in place.
    std::vector<toolkit::KeyState> ApplyGlobalKeys(const std::vector<toolkit::KeyChord>& wanted);

    // The options as stored now.
    static Options StoredOptions();
    void mnuOptions_Click();
    // The notification-area icon, shown while the option asks for it.
    void UpdateTrayIcon();
    bool TrayIconShown() const { return trayShown_; }
    void mnuTrayShow_Click();

    void Toolbar1_ButtonClick(int16_t Index);
    // The open command without its dialog: a dropped file, the command line.
    void OpenFile(const std::wstring& path);

    // Marks over the picture, and the picture as it leaves the program: with
    // its marks merged into its pixels and cropped.
    MarkupView Markup{*this};
    toolkit::Picture MarkedPicture() { return Markup.MarkedPicture(); }
    // The picture as it leaves, or empty once the user was told why it cannot.
    toolkit::Picture PictureToHandOn();
    void mnuCopyMarked_Click();
    void CopyMarkedToClipboard(const toolkit::Picture& marked);
    // Where the clipboard still holds our own copy of this picture without the
    // redaction just drawn, the marked picture takes its place.
    void KeepSecretsOffClipboard();
    // Our copy of the viewer's picture that the clipboard holds, unredacted.
    void RememberClipboardCopy();

    // The capture history: the Recent submenu's pictures (0 the newest) and commands.
    void mnuRecent_Click(int index);
    void mnuHistoryOn_Click();
    void mnuHistoryClear_Click();
    void mnuHistoryFolder_Click();

    // Pins: pictures that float above every window.
    pin::Board Pins;
    void mnuPin_Click();
    void mnuPinClipboard_Click();
    void mnuPinsHide_Click();
    void mnuPinsShow_Click();
    // Brings back the pins of the last run, unless the setting says not to; once.
    void RestorePins();

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
    // Puts a new capture into the viewer and marks it unsaved; then what the
    // options ask for after a capture. `source` is the window captured, if one was.
    void ShowCapture(toolkit::Picture picture, HWND source = nullptr);
    void AfterCapture(HWND source);
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
    void OnKeysTaken();
    void OnTrayMessage(UINT mouseMessage);
    void RemoveTrayIcon();
    // Sent to every top-level window when Explorer starts again, without the icons.
    static UINT TaskbarCreatedMessage();
    // With the icon on, a close that loses nothing hides the window instead.
    bool HidesOnClose();
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

    // The capture history: each picture kept as it arrives, its marks as they
    // change, and what the last run left behind. HistoryOpen comes first, so
    // that what the last run left is decoded while the window is made.
    void HistoryOpen();
    void HistoryStart();
    // Starts keeping pictures; returns what the last run left behind.
    output::history::Leftover OpenHistory();
    void HistoryFinish();
    void NoteCommand(UINT id);
    void KeepInHistory(const std::wstring& openedName);
    void HistoryMarksChanged();
    bool OnHistoryTimer(WPARAM timer);
    // Queues the picture's record, with the editor's marks, when it changed.
    void FlushHistory();
    void NoteSession();
    bool ShowEntry(const output::history::Entry& entry, output::LoadedPicture loaded);
    void OnInitMenuPopup(HMENU menu);
    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception);
    static void OnTerminate();
    void HistoryCrashed(EXCEPTION_POINTERS* exception);
    std::unique_ptr<HistoryKeeping, HistoryKeepingEnd> history_;
    // What leaves a pin.
    void PinCopy(const toolkit::Picture& picture) override;
    void PinSaveAs(const toolkit::Picture& picture) override;
    void PinToViewer(const toolkit::Picture& picture) override;
    pin::MenuTexts PinMenuTexts() override;
    // The picture on the clipboard (with the formats that keep a secret out
    // of clipboard history when asked); false once the user was told why not.
    bool CopyToClipboard(const toolkit::Picture& picture, bool keepPrivate = false);

    // The picture whose unredacted copy we put on the clipboard (its picture
    // box generation, 0 for none), and the clipboard's sequence number just after.
    uint64_t clipboardPicture_ = 0;
    DWORD clipboardSequence_ = 0;

    // The menu belongs to the window once attached; the window destroys it.
    toolkit::UniqueAccelerators accelerators_;
    toolkit::UniqueImageList ImageList1;
    // A capture under way; and when the last one ended, for keys pressed meanwhile.
    int capturing_ = 0;
    DWORD capturedAt_ = 0;
    int wheelRest_ = 0;  // wheel movement short of a notch
    std::vector<toolkit::KeyChord> globalKeys_;
    std::vector<toolkit::KeyState> keyStates_;
    bool keysTold_ = false;  // the message about taken keys, once a start
    int menuLoops_ = 0;      // menus of the window open now
    bool trayShown_ = false;
    friend class CaptureUnderWay;
    friend class MarkupView;
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
