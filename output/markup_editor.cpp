#include "output/markup_editor.h"

#include <algorithm>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

// How far from a thin mark a click still selects it.
constexpr int32_t kSlack = 4;
// The selection frame and the caret reach a little beyond the mark.
constexpr int32_t kOverlay = 3;

Box Grown(Box b, int32_t by) {
    return b.Empty() ? b : Box{b.left - by, b.top - by, b.right + by, b.bottom + by};
}

}  // namespace

void Editor::Reset(Box picture) {
    picture_ = picture;
    history_ = History(picture);
    pending_.reset();
    crop_.reset();
    dragging_ = false;
    selected_ = -1;
}

void Editor::Restore(Box picture, Document doc) {
    Reset(picture);
    for (Mark& m : doc.marks) Measured(m);
    history_ = History(picture, std::move(doc));
}

Box Editor::Everything() const { return Union(picture_, Doc().crop); }

Box Editor::SelectionBox() const {
    if (selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    return Grown(Bounds(Doc().marks[selected_]), kOverlay);
}

Box Editor::Measured(Mark& m) const {
    if (m.kind == Kind::Text && measureText) m.textSize = measureText(m);
    return Grown(Bounds(m), kOverlay);
}

Kind Editor::KindOf(Tool tool) const {
    switch (tool) {
        case Tool::Ellipse:
            return Kind::Ellipse;
        case Tool::Line:
            return Kind::Line;
        case Tool::Arrow:
            return Kind::Arrow;
        case Tool::Pen:
            return Kind::Pen;
        case Tool::Highlighter:
            return Kind::Highlighter;
        case Tool::Text:
            return Kind::Text;
        case Tool::Step:
            return Kind::Step;
        case Tool::Redaction:
            return Kind::Redaction;
        case Tool::Pixelate:
            return Kind::Pixelate;
        default:
            return Kind::Rectangle;
    }
}

Rgb Editor::ColorOf(Tool tool) const {
    if (tool == Tool::Highlighter) return highlighter_;
    if (tool == Tool::Redaction) return redaction_;
    return shared_;
}

void Editor::SetColor(Rgb color) {
    if (tool_ == Tool::Highlighter)
        highlighter_ = color;
    else if (tool_ == Tool::Redaction)
        redaction_ = color;
    else
        shared_ = color;
}

void Editor::SetWidth(int32_t width) { width_ = std::clamp(width, kMinWidth, kMaxWidth); }

Box Editor::SetTool(Tool tool) {
    Box changed = Commit();
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    dragging_ = false;
    if (tool != Tool::Select) {
        changed = Union(changed, SelectionBox());
        selected_ = -1;
    }
    tool_ = tool;
    return changed;
}

Point Editor::Constrained(Point anchor, Point p, bool shift) const {
    if (!shift) return p;
    switch (tool_) {
        case Tool::Line:
        case Tool::Arrow:
            return At45Degrees(anchor, p);
        case Tool::Rectangle:
        case Tool::Ellipse:
        case Tool::Redaction:
        case Tool::Pixelate:
            return SquareCorner(anchor, p);
        default:
            return p;
    }
}

Box Editor::Commit() {
    if (!pending_) return Box{};
    Mark mark = std::move(*pending_);
    pending_.reset();
    Box changed = Measured(mark);
    if (IsWorthKeeping(mark)) history_.Do(AddMark{Doc().marks.size(), std::move(mark)});
    return changed;
}

Box Editor::Press(Point p, bool) {
    const bool endsText = Typing() && !pending_->text.empty();
    Box changed = Commit();
    if (endsText) return changed;  // the click only ends the text
    anchor_ = last_ = p;
    dragging_ = true;
    switch (tool_) {
        case Tool::Select: {
            changed = Union(changed, SelectionBox());
            selected_ = TopmostAt(Doc().marks, p, kSlack);
            ++gesture_;
            return Union(changed, SelectionBox());
        }
        case Tool::Crop:
            if (crop_) changed = Union(changed, Everything());
            crop_ = Box{};
            return changed;
        case Tool::Step: {
            dragging_ = false;
            Mark m;
            m.kind = Kind::Step;
            m.color = shared_;
            m.width = width_;
            m.points = {p};
            m.number = NextStepNumber(Doc().marks);
            changed = Union(changed, Measured(m));
            history_.Do(AddMark{Doc().marks.size(), std::move(m)});
            return changed;
        }
        default: {
            Mark m;
            m.kind = KindOf(tool_);
            m.color = ColorOf(tool_);
            m.width = width_;
            m.points = {p};
            if (tool_ == Tool::Text) {
                dragging_ = false;
            } else if (tool_ != Tool::Pen && tool_ != Tool::Highlighter) {
                m.points.push_back(p);
            }
            pending_ = std::move(m);
            return Union(changed, Measured(*pending_));
        }
    }
}

Box Editor::Drag(Point p, bool shift) {
    if (!dragging_) return Box{};
    if (tool_ == Tool::Select) {
        if (selected_ < 0 || (p == last_)) return Box{};
        const Box before = SelectionBox();
        history_.Do(MoveMark{size_t(selected_), p.x - last_.x, p.y - last_.y, gesture_});
        last_ = p;
        return Union(before, SelectionBox());
    }
    if (tool_ == Tool::Crop) {
        const Box before = crop_ ? *crop_ : Box{};
        crop_ = Intersect(Spanned(anchor_, p), Doc().crop);
        // The shade outside the frame changes only between its old and new
        // edges, once it covers the picture.
        return before.Empty() ? Everything() : Grown(Union(before, *crop_), kOverlay);
    }
    if (!pending_) return Box{};
    const Box before = Measured(*pending_);
    if (tool_ == Tool::Pen || tool_ == Tool::Highlighter) {
        if (!(pending_->points.back() == p)) pending_->points.push_back(p);
    } else {
        pending_->points.back() = Constrained(anchor_, p, shift);
    }
    last_ = p;
    return Union(before, Measured(*pending_));
}

Box Editor::Release(Point p, bool shift) {
    if (!dragging_) return Box{};
    Box changed = Drag(p, shift);
    dragging_ = false;
    if (tool_ == Tool::Select || tool_ == Tool::Crop) return changed;
    return Union(changed, Commit());
}

Box Editor::Type(wchar_t c) {
    if (!Typing()) return Box{};
    const Box before = Measured(*pending_);
    pending_->text.push_back(c);
    return Union(before, Measured(*pending_));
}

Box Editor::Backspace() {
    if (!Typing() || pending_->text.empty()) return Box{};
    const Box before = Measured(*pending_);
    pending_->text.pop_back();
    return Union(before, Measured(*pending_));
}

Box Editor::Enter() {
    if (Typing()) return Commit();
    if (!crop_) return Box{};
    const Box area = *crop_;
    crop_.reset();
    Box changed = Everything();
    if (!area.Empty()) history_.Do(CropTo{area, {}});
    tool_ = Tool::Select;
    return changed;
}

Box Editor::Escape() {
    Box changed;
    if (pending_) changed = Measured(*pending_);
    pending_.reset();
    if (crop_) changed = Everything();
    crop_.reset();
    dragging_ = false;
    tool_ = Tool::Select;
    return changed;
}

Box Editor::DeleteSelected() {
    if (selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    const Box changed = SelectionBox();
    history_.Do(RemoveMark{size_t(selected_), {}});
    selected_ = -1;
    dragging_ = false;
    return changed;
}

Box Editor::Undo() {
    Box changed = Union(Commit(), SelectionBox());
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    selected_ = -1;
    dragging_ = false;
    return Grown(Union(changed, history_.Undo()), kOverlay);
}

Box Editor::Redo() {
    Box changed = Union(Commit(), SelectionBox());
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    selected_ = -1;
    dragging_ = false;
    return Grown(Union(changed, history_.Redo()), kOverlay);
}

}  // namespace output::markup
