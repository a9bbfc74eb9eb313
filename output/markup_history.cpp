#include "output/markup_history.h"

#include <utility>

namespace output::markup {

History::History(Box picture) : picture_(picture) { doc_.crop = picture; }

History::History(Box picture, Document doc) : doc_(std::move(doc)), picture_(picture) {}

Box History::Everything() const { return Union(picture_, doc_.crop); }

Box History::Do(Step step) {
    if (auto* move = std::get_if<MoveMark>(&step);
        move && index_ > 0 && clean_ != index_ && index_ == steps_.size()) {
        if (auto* last = std::get_if<MoveMark>(&steps_[index_ - 1]);
            last && last->index == move->index && last->gesture == move->gesture) {
            MoveMark more = *move;
            Step applied = more;
            const Box changed = Apply(applied, true);
            last->dx += more.dx;
            last->dy += more.dy;
            return changed;
        }
    }
    if (auto* replace = std::get_if<ReplaceMark>(&step)) {
        if (replace->index >= doc_.marks.size()) return Box{};
        if (index_ > 0 && clean_ != index_ && index_ == steps_.size())
            if (auto* last = std::get_if<ReplaceMark>(&steps_[index_ - 1]);
                last && last->index == replace->index && last->gesture == replace->gesture) {
                Mark& mark = doc_.marks[replace->index];
                const Box changed = Union(Bounds(mark), Bounds(replace->after));
                mark = replace->after;
                last->after = std::move(replace->after);
                ++revision_;
                return changed;
            }
    }
    if (std::holds_alternative<MoveMark>(step) &&
        std::get<MoveMark>(step).index >= doc_.marks.size())
        return Box{};
    if (auto* remove = std::get_if<RemoveMark>(&step); remove && remove->index >= doc_.marks.size())
        return Box{};
    if (auto* add = std::get_if<AddMark>(&step); add && add->index > doc_.marks.size())
        return Box{};
    const Box changed = Apply(step, true);
    steps_.resize(index_);
    if (clean_ && *clean_ > index_) clean_.reset();  // the saved state can no longer come back
    steps_.push_back(std::move(step));
    ++index_;
    return changed;
}

Box History::Undo() {
    if (!CanUndo()) return Box{};
    return Apply(steps_[--index_], false);
}

Box History::Redo() {
    if (!CanRedo()) return Box{};
    return Apply(steps_[index_++], true);
}

Box History::Apply(Step& step, bool forward) {
    ++revision_;
    auto& marks = doc_.marks;
    if (auto* add = std::get_if<AddMark>(&step)) {
        if (forward) {
            marks.insert(marks.begin() + add->index, add->mark);
        } else {
            marks.erase(marks.begin() + add->index);
        }
        return Bounds(add->mark);
    }
    if (auto* remove = std::get_if<RemoveMark>(&step)) {
        if (forward) {
            remove->mark = std::move(marks[remove->index]);
            marks.erase(marks.begin() + remove->index);
        } else {
            marks.insert(marks.begin() + remove->index, remove->mark);
        }
        return Bounds(remove->mark);
    }
    if (auto* move = std::get_if<MoveMark>(&step)) {
        Mark& mark = marks[move->index];
        const Box before = Bounds(mark);
        const int32_t sign = forward ? 1 : -1;
        Offset(mark, sign * move->dx, sign * move->dy);
        return Union(before, Bounds(mark));
    }
    if (auto* replace = std::get_if<ReplaceMark>(&step)) {
        Mark& mark = marks[replace->index];
        const Box before = Bounds(mark);
        if (forward) replace->before = mark;
        mark = forward ? replace->after : replace->before;
        return Union(before, Bounds(mark));
    }
    auto& crop = std::get<CropTo>(step);
    if (forward) {
        crop.before = doc_.crop;
        doc_.crop = crop.after;
    } else {
        doc_.crop = crop.before;
    }
    return Everything();
}

}  // namespace output::markup
