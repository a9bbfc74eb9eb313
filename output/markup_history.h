// The marks over one picture and their editing history: each step is a small
// command that can be undone and redone; the picture itself is never copied,
// not even by a crop, which only narrows the part of it that is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "output/markup_mark.h"

namespace output::markup {

struct Document {
    std::vector<Mark> marks;  // bottom to top
    Box crop;                 // the part of the picture shown and handed on
};

struct AddMark {
    size_t index;
    Mark mark;
};
struct RemoveMark {
    size_t index;
    Mark mark;  // filled in when done
};
// Moves of one gesture (a drag) merge into one step.
struct MoveMark {
    size_t index;
    int32_t dx, dy;
    uint32_t gesture;
};
// A mark changed in place: resized, restyled or its text edited. Changes
// of one gesture (a handle's drag) merge into one step.
struct ReplaceMark {
    size_t index;
    Mark before, after;  // before: filled in when done
    uint32_t gesture;
};
struct CropTo {
    Box after;
    Box before;  // filled in when done
};
using Step = std::variant<AddMark, RemoveMark, MoveMark, CropTo, ReplaceMark>;

class History {
public:
    explicit History(Box picture = Box{});
    // Marks kept from before: where the history starts, clean.
    History(Box picture, Document doc);

    const Document& Doc() const { return doc_; }
    // Applies the step and keeps it for undo, dropping what could be redone.
    // Returns the part of the picture that changed (all of it after a crop);
    // a step that does not apply (a mark index out of range) changes nothing.
    Box Do(Step step);
    Box Undo();
    Box Redo();
    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    size_t StepCount() const { return steps_.size(); }
    // Counts every change of the document: done, undone or redone.
    uint64_t Revision() const { return revision_; }

    // The state saved last; unsaved is then a comparison with it.
    void MarkClean() { clean_ = index_; }
    bool IsClean() const { return clean_ && *clean_ == index_; }

private:
    Box Apply(Step& step, bool forward);
    Box Everything() const;

    Document doc_;
    Box picture_;
    std::vector<Step> steps_;
    size_t index_ = 0;  // steps_[0, index_) are done
    uint64_t revision_ = 0;
    std::optional<size_t> clean_ = 0;
};

}  // namespace output::markup
