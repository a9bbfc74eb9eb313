// Drawing marks with the pointer and the keys: the tool in use, its colour
// and width, the mark being drawn, the selection, a crop not yet applied and
// a text being typed, over the history of one picture. Knows nothing of the
// window: it takes points in the picture's pixels and answers with the part
// of the picture to draw again.
#pragma once

#include <functional>
#include <optional>

#include "output/markup_geometry.h"
#include "output/markup_history.h"
#include "output/markup_text.h"

namespace output::markup {

enum class Tool {
    Select,
    Rectangle,
    Ellipse,
    Line,
    Arrow,
    Pen,
    Highlighter,
    Text,
    Step,
    Redaction,
    Pixelate,
    Crop
};

constexpr int32_t kMinWidth = 1, kMaxWidth = 20;
constexpr Rgb kPalette[8] = {0xFF0000, 0xFFA500, 0xFFFF00, 0x00C000,
                             0x0000FF, 0x800080, 0x000000, 0xFFFFFF};

// Where the caret goes on a key.
enum class CaretMove { Left, Right, Home, End, Up, Down };

class Editor {
public:
    explicit Editor(Box picture = Box{}) { Reset(picture); }

    // A new picture: the history of the last one ends here.
    void Reset(Box picture);
    // A picture with the marks it had: they are editable, not undoable.
    void Restore(Box picture, Document doc);
    const History& Steps() const { return history_; }
    const Document& Doc() const { return history_.Doc(); }
    Box Picture() const { return picture_; }
    void MarkClean() { history_.MarkClean(); }

    // How texts measure in their font; without a font, roughly.
    TextMeasure measure = PlainMeasure();
    // The display's pixels per pixel at 96 dpi: the reach of a click and of
    // the handles grows with it.
    void SetScale(double scale);
    int32_t HandleReach() const { return handleReach_; }

    Tool CurrentTool() const { return tool_; }
    // Ends what the last tool had started (a text is kept, a crop dropped).
    Box SetTool(Tool tool);
    // Highlighter and redaction keep colours of their own (yellow, black);
    // the other tools share one (red).
    Rgb ColorOf(Tool tool) const;
    // The tool's colour and width; a selected mark takes them too, one step
    // each, and the tool is then the selected mark's.
    Box SetColor(Rgb color);
    int32_t Width() const { return width_; }
    Box SetWidth(int32_t width);
    // One wider or narrower: the selected mark from its own width.
    Box ChangeWidth(int32_t delta);

    // The pointer, in the picture's pixels. A press on a handle of the
    // selected mark drags that handle; a double click on a text edits it.
    Box Press(Point p, bool shift);
    Box Drag(Point p, bool shift);
    Box Release(Point p, bool shift);
    Box DoubleClick(Point p);
    bool Dragging() const { return dragging_; }
    // The handle being dragged, None for none.
    Handle DraggedHandle() const { return handle_; }
    // Moves the selected mark; a run of nudges is one step.
    Box Nudge(int32_t dx, int32_t dy);

    // A text being typed, new or edited again: the caret, the selection
    // (from the anchor to the caret) and the typing's own undo.
    Box Type(wchar_t c);
    Box Insert(std::wstring_view text);
    Box Backspace();
    Box DeleteForward();
    Box MoveCaret(CaretMove move, bool extend);
    Box SelectAll();
    std::wstring SelectedText() const;
    Box UndoTyping();
    size_t Caret() const { return caret_; }
    size_t Anchor() const { return selAnchor_; }
    // The caret's box in the picture's pixels, and the selection's first line.
    Box CaretBox() const;
    Box SelectionStartBox() const;
    // The mark edited again, hidden while its copy is typed; -1 for none.
    int EditedIndex() const { return editing_; }
    // Starts editing the selected text mark.
    Box EditSelected();

    // Ends the text being typed, applies the crop, or edits a selected text.
    Box Enter();
    // Drops the text or the crop and returns to the select tool; a text
    // edited again stays as it was.
    Box Escape();
    Box DeleteSelected();
    Box Undo();
    Box Redo();

    // What is drawn over the marks: the mark being drawn or typed, the
    // selected mark, the crop being dragged out.
    const std::optional<Mark>& Pending() const { return pending_; }
    int Selected() const { return selected_; }
    const std::optional<Box>& PendingCrop() const { return crop_; }
    bool Typing() const { return pending_ && pending_->kind == Kind::Text; }
    // Whether the picture shown differs from the plain picture.
    bool Marked() const { return !Doc().marks.empty() || !(Doc().crop == picture_); }
    // What the selection frame and handles of a mark cover.
    Box SelectionBox() const;

private:
    struct TextState {
        std::wstring text;
        size_t caret, anchor;
    };
    Box Everything() const;
    Box Commit();  // the pending mark into the history, when worth keeping
    Box Measured(Mark& mark) const;
    Kind KindOf(Tool tool) const;
    Point Constrained(Point anchor, Point p, bool shift) const;
    Box Restyled(const Mark& after);
    Box EditMark(int index, Point p);
    // Before a change of the typed text; typed characters of one word are one step.
    void Remember(bool typed);
    Box TextChanged(const Box& before);
    Box ReplaceSelection(std::wstring_view text);
    Rgb& ColorSlot(Kind kind);

    History history_;
    Box picture_;
    Tool tool_ = Tool::Select;
    Rgb shared_ = 0xFF0000, highlighter_ = 0xFFFF00, redaction_ = 0x000000;
    int32_t width_ = 3;
    std::optional<Mark> pending_;
    std::optional<Box> crop_;
    Point anchor_, last_;
    bool dragging_ = false;
    bool selectingText_ = false;
    bool nudging_ = false;
    Handle handle_ = Handle::None;
    Mark original_;  // the mark as its handle's drag began
    int selected_ = -1;
    int editing_ = -1;
    uint32_t gesture_ = 0;
    int32_t slack_ = 4, overlay_ = 3, handleReach_ = 4;
    size_t caret_ = 0, selAnchor_ = 0;
    std::vector<TextState> typed_;
    bool typingWord_ = false;
};

}  // namespace output::markup
