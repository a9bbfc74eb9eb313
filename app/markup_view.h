// The mark-up as a view over the viewer: it owns the marks' editor, the
// viewer's subclass that turns the pointer into marks, the painting of the
// picture with its marks, the mark-up keys and right-click menu, and the
// picture as it leaves with its marks merged. The window keeps its layout,
// menus and lifecycle and tells the view when a new picture arrives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/markup_editor.h"
#include "toolkit/picture.h"

namespace app {

class FrmMain;

class MarkupView {
public:
    explicit MarkupView(FrmMain& form) : form_(form) {}
    MarkupView(const MarkupView&) = delete;
    MarkupView& operator=(const MarkupView&) = delete;

    // Takes over the viewer's pointer and painting; once, after it exists.
    void Attach();

    // What other parts of the program read.
    const output::markup::Editor& Editor() const { return editor_; }
    const output::markup::Document& Doc() const { return editor_.Doc(); }
    const output::markup::History& Steps() const { return editor_.Steps(); }
    // The picture as it leaves: cropped, with every mark in its pixels; a
    // text being typed is ended first.
    toolkit::Picture MarkedPicture();
    // Called after every change of the marks or the crop (a step done, undone
    // or redone, or a new picture).
    std::function<void()> MarksChanged;
    // Called as a new picture replaces the marked one, before the marks end:
    // they still belong to the picture that leaves.
    std::function<void(const std::wstring& openedName)> PictureArriving;

    // A new picture in the viewer: the marks and their history end.
    void Reset(const std::wstring& openedName = L"");
    // Ends a text or crop under way and hides the selection, so the window
    // shows only the picture and its marks.
    void Settle();
    // The marked picture was saved as it is now.
    void Saved();
    // Marks kept from an earlier run, over the picture just reset.
    void Restore(output::markup::Box picture, output::markup::Document doc);
    // Ends a text being typed, keeping it as typed.
    void EndTyping();
    // A status message that outlasts the tool hint in panel 1.
    void ShowStatus(const std::wstring& text);

    // Keys that reach the main window; false for the ones the view leaves.
    bool OnKey(WPARAM key);
    bool OnChar(wchar_t c);
    // An accelerator's command while a text is edited; true when the text
    // took its key instead (Ctrl+C copies the text's selection there).
    bool TakesShortcut(UINT command);
    // Shift+F10 or the Menu key (at -1, -1) or a right click elsewhere: the
    // mark-up menu at the caret or the selection. False where it has none.
    bool OnContextMenu(LPARAM screenPoint);

private:
    static LRESULT CALLBACK ViewerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    bool OnViewerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Paints the viewer's update region, rectangle by rectangle where it is
    // a few thin ones.
    void PaintUpdate();
    void Paint(HDC dc, const RECT& dirty);
    // A box whose drag changes only what lies near its edges: a crop, or a
    // rectangle or redaction drawn or resized by a handle, with how far from
    // its edges it is drawn and the handles it shows.
    struct DraggedBox {
        output::markup::Box box;
        int32_t reach = 0;
        std::vector<output::markup::Point> handles;
    };
    std::optional<DraggedBox> Dragged() const;
    void DragTo(output::markup::Point p, bool shift);
    void ShowMenu(POINT screen);
    void SetTool(output::markup::Tool tool);
    // Resets the marks when the picture changed behind their back.
    void FollowPicture();
    // Repaints what changed and follows the marks' state elsewhere: the
    // viewer's size after a crop, the caption, unsaved, status panel 1.
    void Changed(output::markup::Box changed);
    output::markup::Point PicturePoint(LPARAM clientPoint) const;
    HWND Viewer() const;
    RECT ClientBox(const output::markup::Box& box) const;
    // The text's keys while it is typed.
    bool OnTextKey(WPARAM key, bool ctrl, bool shift);
    void CopyText(bool cut);
    void PasteText();
    // The system caret and the input method's windows where the text's caret
    // is, the focus on the viewer while a text is typed, and the caret in sight.
    void FollowCaret();
    void ScrollIntoView(const output::markup::Box& box);
    // The tool's hint in status panel 1; empty while none is shown.
    void ShowHint(const std::wstring& hint);
    void OnComposition(LPARAM parts, LRESULT& result);

    FrmMain& form_;
    output::markup::Editor editor_;
    std::wstring openedName_;
    uint64_t pictureGeneration_ = 0;  // of the picture the marks belong to
    uint64_t revision_ = 0;           // of the marks last reported
    bool madeUnsaved_ = false;
    std::optional<std::wstring> panelBeforeTool_;
    static constexpr UINT_PTR kHintTimer = 1;
    std::wstring heldHint_;
    ULONGLONG hintShownAt_ = 0;
    bool hintTimer_ = false;
    bool caretMade_ = false;
    int frameWidth_ = 1;  // of the selection's and the crop's frames, in pixels
    // The last press, for a double click: the viewer's class takes none.
    LONG pressTime_ = 0;
    POINT pressAt_{};
};

}  // namespace app
