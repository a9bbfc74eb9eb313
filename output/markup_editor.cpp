#include "output/markup_editor.h"

#include <algorithm>
#include <cmath>

#include "output/markup_geometry.h"

namespace output::markup {

namespace {

Box Grown(Box b, int32_t by) {
    return b.Empty() ? b : Box{b.left - by, b.top - by, b.right + by, b.bottom + by};
}

bool Inside(const Box& b, Point p) {
    return p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom;
}

}  // namespace

void Editor::Reset(Box picture) {
    picture_ = picture;
    history_ = History(picture);
    pending_.reset();
    crop_.reset();
    dragging_ = selectingText_ = nudging_ = false;
    handle_ = Handle::None;
    selected_ = editing_ = -1;
    typed_.clear();
}

void Editor::SetScale(double scale) {
    scale = std::clamp(scale, 1.0, 4.0);
    slack_ = int32_t(std::lround(4 * scale));
    handleReach_ = int32_t(std::lround(4 * scale));
    overlay_ = int32_t(std::lround(3 * scale));
}

void Editor::Restore(Box picture, Document doc) {
    Reset(picture);
    for (Mark& m : doc.marks) Measured(m);
    history_ = History(picture, std::move(doc));
}

Box Editor::Everything() const { return Union(picture_, Doc().crop); }

Box Editor::SelectionBox() const {
    if (selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    return Grown(Bounds(Doc().marks[selected_]), overlay_ + handleReach_ + 1);
}

Box Editor::Measured(Mark& m) const {
    if (m.kind == Kind::Text && measure.width) {
        const Point size = TextSize(m, measure);
        // Italic and anti-aliased edges reach a little past the advance.
        m.textSize = Point{size.x + 2 + TextHeight(m.width) / 6, size.y};
    }
    return Grown(Bounds(m), overlay_);
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

Rgb& Editor::ColorSlot(Kind kind) {
    if (kind == Kind::Highlighter) return highlighter_;
    if (kind == Kind::Redaction) return redaction_;
    return shared_;
}

Box Editor::Restyled(const Mark& after) {
    nudging_ = false;
    return history_.Do(ReplaceMark{size_t(selected_), {}, after, ++gesture_});
}

Box Editor::SetColor(Rgb color) {
    if (Typing()) {
        const Box before = Measured(*pending_);
        pending_->color = color;
        shared_ = color;
        return before;
    }
    if (selected_ >= 0 && size_t(selected_) < Doc().marks.size()) {
        Mark mark = Doc().marks[selected_];
        ColorSlot(mark.kind) = color;
        if (mark.color == color) return Box{};
        mark.color = color;
        return Grown(Restyled(mark), overlay_);
    }
    ColorSlot(KindOf(tool_)) = color;
    return Box{};
}

Box Editor::SetWidth(int32_t width) {
    width_ = std::clamp(width, kMinWidth, kMaxWidth);
    if (Typing()) {
        const Box before = Measured(*pending_);
        pending_->width = width_;
        return Union(before, Measured(*pending_));
    }
    if (selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    Mark mark = Doc().marks[selected_];
    if (mark.width == width_) return Box{};
    mark.width = width_;
    if (mark.kind == Kind::Text) Measured(mark);
    return Grown(Union(Restyled(mark), SelectionBox()), overlay_ + handleReach_ + 1);
}

Box Editor::ChangeWidth(int32_t delta) {
    const bool selected = !Typing() && selected_ >= 0 && size_t(selected_) < Doc().marks.size();
    return SetWidth((selected ? Doc().marks[selected_].width : width_) + delta);
}

Box Editor::SetTool(Tool tool) {
    nudging_ = false;
    Box changed = Commit();
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    dragging_ = false;
    handle_ = Handle::None;
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
    typed_.clear();
    Box changed = Measured(mark);
    const int edited = std::exchange(editing_, -1);
    if (edited >= 0 && size_t(edited) < Doc().marks.size()) {
        const Mark& was = Doc().marks[edited];
        changed = Union(changed, Grown(Bounds(was), overlay_));
        if (mark.text.empty()) {
            history_.Do(RemoveMark{size_t(edited), {}});
        } else if (mark.text != was.text || mark.wrap != was.wrap || mark.color != was.color ||
                   mark.width != was.width) {
            history_.Do(ReplaceMark{size_t(edited), {}, std::move(mark), ++gesture_});
            selected_ = edited;
        } else {
            selected_ = edited;
        }
        return Union(changed, SelectionBox());
    }
    if (IsWorthKeeping(mark)) history_.Do(AddMark{Doc().marks.size(), std::move(mark)});
    return changed;
}

Box Editor::EditMark(int index, Point p) {
    Box changed = Union(SelectionBox(), Grown(Bounds(Doc().marks[index]), overlay_));
    selected_ = -1;
    editing_ = index;
    pending_ = Doc().marks[index];
    typed_.clear();
    typingWord_ = false;
    const Point origin = pending_->points.front();
    caret_ = selAnchor_ = IndexAt(*pending_, measure, Point{p.x - origin.x, p.y - origin.y});
    return Union(changed, Measured(*pending_));
}

Box Editor::EditSelected() {
    if (Typing() || selected_ < 0 || size_t(selected_) >= Doc().marks.size() ||
        Doc().marks[selected_].kind != Kind::Text)
        return Box{};
    const int index = selected_;
    Box changed = EditMark(index, Point{});
    selAnchor_ = 0;  // all of it, as a text box entered by the keyboard
    caret_ = pending_->text.size();
    return changed;
}

Box Editor::Press(Point p, bool shift) {
    nudging_ = false;
    if (Typing()) {
        if (Inside(Grown(Bounds(*pending_), 2), p)) {
            // Inside the text: the caret goes there, and a drag selects.
            const Box before = Measured(*pending_);
            const Point origin = pending_->points.front();
            caret_ = IndexAt(*pending_, measure, Point{p.x - origin.x, p.y - origin.y});
            if (!shift) selAnchor_ = caret_;
            typingWord_ = false;
            dragging_ = selectingText_ = true;
            return before;
        }
        const bool endsText = !pending_->text.empty() || editing_ >= 0;
        Box changed = Commit();
        if (endsText) return changed;  // the click only ends the text
    }
    Box changed = Commit();
    anchor_ = last_ = p;
    dragging_ = true;
    handle_ = Handle::None;
    switch (tool_) {
        case Tool::Select: {
            if (selected_ >= 0 && size_t(selected_) < Doc().marks.size()) {
                const Handle h = HandleAt(Doc().marks[selected_], p, handleReach_);
                if (h != Handle::None) {
                    handle_ = h;
                    original_ = Doc().marks[selected_];
                    ++gesture_;
                    return changed;
                }
            }
            changed = Union(changed, SelectionBox());
            selected_ = TopmostAt(Doc().marks, p, slack_);
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
        case Tool::Text: {
            const int hit = TopmostAt(Doc().marks, p, 0);
            if (hit >= 0 && Doc().marks[hit].kind == Kind::Text) {
                dragging_ = false;
                return Union(changed, EditMark(hit, p));
            }
            break;
        }
        default:
            break;
    }
    Mark m;
    m.kind = KindOf(tool_);
    m.color = ColorOf(tool_);
    m.width = width_;
    m.points = {p};
    if (tool_ == Tool::Text) {
        // Lines wrap at the picture's edge, unless a box is dragged out.
        m.wrap = std::max<int32_t>(1, Doc().crop.right - p.x);
        caret_ = selAnchor_ = 0;
        typed_.clear();
        typingWord_ = false;
    } else if (tool_ != Tool::Pen && tool_ != Tool::Highlighter) {
        m.points.push_back(p);
    }
    pending_ = std::move(m);
    return Union(changed, Measured(*pending_));
}

Box Editor::Drag(Point p, bool shift) {
    if (!dragging_) return Box{};
    if (selectingText_) {
        if (!Typing()) return Box{};
        const Point origin = pending_->points.front();
        const size_t at = IndexAt(*pending_, measure, Point{p.x - origin.x, p.y - origin.y});
        if (at == caret_) return Box{};
        caret_ = at;
        return Measured(*pending_);
    }
    if (tool_ == Tool::Select) {
        if (selected_ < 0 || (p == last_)) return Box{};
        const Box before = SelectionBox();
        if (handle_ != Handle::None) {
            Mark after = Resized(original_, handle_, p, shift);
            if (after.kind == Kind::Text) Measured(after);
            history_.Do(ReplaceMark{size_t(selected_), {}, std::move(after), gesture_});
        } else {
            history_.Do(MoveMark{size_t(selected_), p.x - last_.x, p.y - last_.y, gesture_});
        }
        last_ = p;
        return Union(before, SelectionBox());
    }
    if (tool_ == Tool::Crop) {
        const Box before = crop_ ? *crop_ : Box{};
        crop_ = Intersect(Between(anchor_, p), Doc().crop);
        // The shade outside the frame changes only between its old and new
        // edges, once it covers the picture.
        return before.Empty() ? Everything() : Grown(Union(before, *crop_), overlay_);
    }
    if (!pending_) return Box{};
    const Box before = Measured(*pending_);
    if (tool_ == Tool::Text) {
        // A box dragged out to the right sets where the lines wrap.
        if (p.x - anchor_.x > slack_) pending_->wrap = p.x - anchor_.x;
    } else if (tool_ == Tool::Pen || tool_ == Tool::Highlighter) {
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
    handle_ = Handle::None;
    if (std::exchange(selectingText_, false)) return changed;
    if (tool_ == Tool::Select || tool_ == Tool::Crop || tool_ == Tool::Text) return changed;
    return Union(changed, Commit());
}

Box Editor::DoubleClick(Point p) {
    if (Typing()) {
        // A double click in the text selects all of it.
        if (!Inside(Grown(Bounds(*pending_), 2), p)) return Box{};
        dragging_ = selectingText_ = false;
        return SelectAll();
    }
    const int hit = TopmostAt(Doc().marks, p, slack_);
    if (hit < 0 || Doc().marks[hit].kind != Kind::Text) return Box{};
    dragging_ = false;
    handle_ = Handle::None;
    return EditMark(hit, p);
}

Box Editor::Nudge(int32_t dx, int32_t dy) {
    if (Typing() || selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    if (!nudging_) {
        nudging_ = true;
        ++gesture_;
    }
    const Box before = SelectionBox();
    history_.Do(MoveMark{size_t(selected_), dx, dy, gesture_});
    return Union(before, SelectionBox());
}

void Editor::Remember(bool typed) {
    if (!(typed && typingWord_)) typed_.push_back(TextState{pending_->text, caret_, selAnchor_});
    typingWord_ = typed;
}

Box Editor::TextChanged(const Box& before) { return Union(before, Measured(*pending_)); }

Box Editor::ReplaceSelection(std::wstring_view text) {
    const Box before = Measured(*pending_);
    const size_t from = std::min(caret_, selAnchor_), to = std::max(caret_, selAnchor_);
    pending_->text.replace(from, to - from, text);
    caret_ = selAnchor_ = from + text.size();
    return TextChanged(before);
}

Box Editor::Type(wchar_t c) {
    if (!Typing()) return Box{};
    // A word is undone at once; a space starts the next.
    Remember(c != L' ' && c != L'\n');
    return ReplaceSelection(std::wstring_view(&c, 1));
}

Box Editor::Insert(std::wstring_view text) {
    if (!Typing() || (text.empty() && caret_ == selAnchor_)) return Box{};
    Remember(false);
    typingWord_ = false;
    return ReplaceSelection(text);
}

Box Editor::Backspace() {
    if (!Typing()) return Box{};
    if (caret_ == selAnchor_) {
        if (caret_ == 0) return Box{};
        selAnchor_ = PreviousChar(pending_->text, caret_);
    }
    Remember(false);
    return ReplaceSelection({});
}

Box Editor::DeleteForward() {
    if (!Typing()) return Box{};
    if (caret_ == selAnchor_) {
        if (caret_ >= pending_->text.size()) return Box{};
        selAnchor_ = NextChar(pending_->text, caret_);
    }
    Remember(false);
    return ReplaceSelection({});
}

Box Editor::MoveCaret(CaretMove move, bool extend) {
    if (!Typing()) return Box{};
    const std::wstring& t = pending_->text;
    const std::vector<TextLine> lines = LayOut(*pending_, measure);
    const size_t line = LineOf(lines, caret_);
    const bool collapse = !extend && caret_ != selAnchor_;
    const size_t from = std::min(caret_, selAnchor_), to = std::max(caret_, selAnchor_);
    switch (move) {
        case CaretMove::Left:
            caret_ = collapse ? from : PreviousChar(t, caret_);
            break;
        case CaretMove::Right:
            caret_ = collapse ? to : NextChar(t, caret_);
            break;
        case CaretMove::Home:
            caret_ = lines[line].begin;
            break;
        case CaretMove::End:
            caret_ = lines[line].end;
            break;
        case CaretMove::Up:
        case CaretMove::Down: {
            const bool up = move == CaretMove::Up;
            if (up ? line == 0 : line + 1 >= lines.size()) {
                caret_ = up ? 0 : t.size();
                break;
            }
            const Point at = CaretAt(*pending_, measure, caret_);
            const int32_t height = measure.lineHeight(*pending_);
            caret_ = IndexAt(*pending_, measure, Point{at.x, at.y + (up ? -height : height)});
            break;
        }
    }
    if (!extend) selAnchor_ = caret_;
    typingWord_ = false;
    return Measured(*pending_);
}

Box Editor::SelectAll() {
    if (!Typing()) return Box{};
    selAnchor_ = 0;
    caret_ = pending_->text.size();
    typingWord_ = false;
    return Measured(*pending_);
}

std::wstring Editor::SelectedText() const {
    if (!Typing()) return {};
    const size_t from = std::min(caret_, selAnchor_), to = std::max(caret_, selAnchor_);
    return pending_->text.substr(from, to - from);
}

Box Editor::UndoTyping() {
    if (!Typing() || typed_.empty()) return Box{};
    const Box before = Measured(*pending_);
    pending_->text = std::move(typed_.back().text);
    caret_ = typed_.back().caret;
    selAnchor_ = typed_.back().anchor;
    typed_.pop_back();
    typingWord_ = false;
    return TextChanged(before);
}

Box Editor::CaretBox() const {
    if (!Typing()) return Box{};
    const Point origin = pending_->points.front();
    const Point at = CaretAt(*pending_, measure, caret_);
    const int32_t height = measure.lineHeight(*pending_);
    return Box{origin.x + at.x, origin.y + at.y, origin.x + at.x + std::max(1, overlay_ / 3),
               origin.y + at.y + height};
}

Box Editor::SelectionStartBox() const {
    if (!Typing()) return Box{};
    const Point origin = pending_->points.front();
    const Point at = CaretAt(*pending_, measure, std::min(caret_, selAnchor_));
    return Box{origin.x + at.x, origin.y + at.y, origin.x + at.x + 1,
               origin.y + at.y + measure.lineHeight(*pending_)};
}

Box Editor::Enter() {
    nudging_ = false;
    if (Typing()) return Commit();
    if (!crop_) return EditSelected();
    const Box area = *crop_;
    crop_.reset();
    Box changed = Everything();
    // A click without a drag spans nothing, and crops nothing.
    if (!area.Empty()) history_.Do(CropTo{area, {}});
    tool_ = Tool::Select;
    return changed;
}

Box Editor::Escape() {
    nudging_ = false;
    Box changed;
    if (pending_) changed = Measured(*pending_);
    const int edited = std::exchange(editing_, -1);
    if (edited >= 0 && size_t(edited) < Doc().marks.size())
        changed = Union(changed, Grown(Bounds(Doc().marks[edited]), overlay_));
    pending_.reset();
    typed_.clear();
    if (crop_) changed = Everything();
    crop_.reset();
    dragging_ = selectingText_ = false;
    handle_ = Handle::None;
    tool_ = Tool::Select;
    return changed;
}

Box Editor::DeleteSelected() {
    nudging_ = false;
    if (selected_ < 0 || size_t(selected_) >= Doc().marks.size()) return Box{};
    const Box changed = SelectionBox();
    history_.Do(RemoveMark{size_t(selected_), {}});
    selected_ = -1;
    dragging_ = false;
    return changed;
}

Box Editor::Undo() {
    nudging_ = false;
    Box changed = Union(Commit(), SelectionBox());
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    selected_ = -1;
    dragging_ = false;
    return Grown(Union(changed, history_.Undo()), overlay_);
}

Box Editor::Redo() {
    nudging_ = false;
    Box changed = Union(Commit(), SelectionBox());
    if (crop_) changed = Union(changed, Everything());
    crop_.reset();
    selected_ = -1;
    dragging_ = false;
    return Grown(Union(changed, history_.Redo()), overlay_);
}

}  // namespace output::markup
