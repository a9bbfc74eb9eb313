// The texts the user sees besides the 25 captions of a language file:
// messages, prompts, dialog titles, tooltips, About and the newer commands.
// A language file gives them in the lines after its 25th, in the order of
// TextId; a file that stops sooner leaves the rest as they are.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

namespace app {

enum class TextId : int {
    UnsavedPrompt,
    DelayedPrompt,
    AboutTitle,
    AboutStudio,
    AboutQqLabel,
    AboutMailLabel,
    NoNotepad,
    SaveTitle,
    NothingToSave,
    SaveFailed,
    CannotRead,
    NotAPicture,
    TooLarge,
    NoMemory,
    ClipboardFailed,
    NoWallpaperPicture,
    WallpaperNotWritten,
    WallpaperNotAccepted,
    PaintNotWritten,
    PaintNotStarted,
    TipOpen,
    TipSave,
    TipScreen,
    TipRegion,
    TipDelayed,
    TipWindow,
    TipClient,
    TipPaint,
    TipWallpaper,
    TipPrint,
    TipHelp,
    TipAbout,
    FilterIcons,
    FilterAllPictures,
    LanguageMenu,
    LanguageChinese,
    LanguageEnglish,
    // The capture menu's further commands.
    AllMonitors,
    MonitorUnderPointer,
    PickWindow,
    // The mark-up tools: names (menu), hints (status panel 1), colours, the rest of the menu.
    MarkupSelectTool,
    MarkupRectangleTool,
    MarkupEllipseTool,
    MarkupLineTool,
    MarkupArrowTool,
    MarkupPenTool,
    MarkupHighlighterTool,
    MarkupTextTool,
    MarkupStepTool,
    MarkupRedactionTool,
    MarkupPixelateTool,
    MarkupCropTool,
    MarkupSelectHint,
    MarkupRectangleHint,
    MarkupEllipseHint,
    MarkupLineHint,
    MarkupArrowHint,
    MarkupPenHint,
    MarkupHighlighterHint,
    MarkupTextHint,
    MarkupStepHint,
    MarkupRedactionHint,
    MarkupPixelateHint,
    MarkupCropHint,
    MarkupRed,
    MarkupOrange,
    MarkupYellow,
    MarkupGreen,
    MarkupBlue,
    MarkupPurple,
    MarkupBlack,
    MarkupWhite,
    MarkupColorMenu,
    MarkupWidthMenu,
    MarkupWidthItem,
    MarkupUndo,
    MarkupRedo,
    MarkupDelete,
    MarkupCopy,
    MarkupCopyFailed,
    MergeNoMemory,
    // The capture history: the Recent submenu, its questions and what the status bar says.
    RecentMenu,
    RecentNone,
    HistoryOn,
    HistoryClear,
    HistoryFolder,
    HistoryClearPrompt,
    HistoryUnreadable,
    SourceCapture,
    SourceScreen,
    SourceRegion,
    SourceDelayed,
    SourceClient,
    SourceWindow,
    SourceAllMonitors,
    SourceMonitor,
    SourcePick,
    SourceOpened,
    HistoryReplaced,
    HistoryRestored,
    HistoryCrashReport,
    PinToScreen,
    PinClipboard,
    PinsHide,
    PinsShow,
    PinCopy,
    PinSaveAs,
    PinToViewer,
    PinActualSize,
    PinOpacity,
    PinClose,
    PinCloseAll,
    PinNothing,
    PinClipboardEmpty,
    KeyTakenMessage,
    KeyTakenStatus,
    KeyOwnerWindows,
    KeyOwnerOwnCopy,
    KeyOwnerOther,
    KeyScreenLabel,
    KeyWindowLabel,
    KeyRegionLabel,
    KeyPickLabel,
    OptionsMenu,
    OptionsTitle,
    PageKeys,
    PageAfter,
    PageNames,
    PageHistory,
    PageGeneral,
    KeysIntro,
    KeyWorks,
    KeyNone,
    KeyKept,
    AfterShow,
    AfterCopy,
    AfterSave,
    AfterPin,
    AfterOpenFolder,
    Browse,
    NamesPattern,
    NamesTokens,
    NamesPreview,
    HistoryKeep,
    PinsRestoreText,
    GeneralLanguage,
    RunAtStartText,
    FolderPrompt,
    TrayIconText,
    TrayShow,
    // The pin key's name on the Keys page.
    KeyPinClipboardLabel,
    PickHookLost,
    // Why a save failed, before the file's path.
    SaveNoPermission,
    SaveDiskFull,
    SaveFolderGone,
    SaveNameNotAllowed,
    SaveFileInUse,
    ScrollCapture,
    ScrollHeight,
    ScrollAutoHint,
    ScrollManualHint,
    Count
};

constexpr int kTextCount = int(TextId::Count);

// What the program shows until a language file says otherwise.
const wchar_t* ChineseText(TextId id);

class Texts {
public:
    Texts();
    const std::wstring& operator[](TextId id) const { return texts_[size_t(id)]; }
    // An empty line keeps the text: a message is never blank.
    void Replace(int index, const std::wstring& text);

private:
    std::array<std::wstring, kTextCount> texts_;
};

// The text with "%1", "%2"... replaced by the values in order.
std::wstring Formatted(std::wstring text, std::initializer_list<std::wstring> values);

}  // namespace app
