// Drawing marks with the pointer and the keys: the tool in use, its colour
// and width, the mark being drawn, the selection, a crop not yet applied and
// a text being typed, over the history of one picture. Knows nothing of the
// window: it takes points in the picture's pixels and answers with the part
// of the picture to draw again.
#pragma once

#include <functional>
#include <optional>

#include "output/markup_history.h"

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

    // Measures a text mark in pixels; without it texts are as tall as their font.
    std::function<Point(const Mark&)> measureText;

    Tool CurrentTool() const { return tool_; }
    // Ends what the last tool had started (a text is kept, a crop dropped).
    Box SetTool(Tool tool);
    // Highlighter and redaction keep colours of their own (yellow, black);
    // the other tools share one (red).
    Rgb ColorOf(Tool tool) const;
    void SetColor(Rgb color);
    int32_t Width() const { return width_; }
    void SetWidth(int32_t width);

    // The pointer, in the picture's pixels.
    Box Press(Point p, bool shift);
    Box Drag(Point p, bool shift);
    Box Release(Point p, bool shift);
    bool Dragging() const { return dragging_; }

    Box Type(wchar_t c);
    Box Backspace();
    // Ends the text being typed, or applies the crop.
    Box Enter();
    // Drops the text or the crop and returns to the select tool.
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

private:
    Box Everything() const;
    Box Commit();  // the pending mark into the history, when worth keeping
    Box Measured(Mark& mark) const;
    Box SelectionBox() const;
    Kind KindOf(Tool tool) const;
    Point Constrained(Point anchor, Point p, bool shift) const;

    History history_;
    Box picture_;
    Tool tool_ = Tool::Select;
    Rgb shared_ = 0xFF0000, highlighter_ = 0xFFFF00, redaction_ = 0x000000;
    int32_t width_ = 3;
    std::optional<Mark> pending_;
    std::optional<Box> crop_;
    Point anchor_, last_;
    bool dragging_ = false;
    int selected_ = -1;
    uint32_t gesture_ = 0;
};

}  // namespace output::markup
