// The steps taken in the colour region picker, for its own undo and redo: each click (replace, add,
// take away) and each change of tolerance. A step keeps the selection it made and the selection as
// it was before the click it stems from, so that a new tolerance re-runs that click on the selection
// it was made on, not on what the click already changed.
#pragma once

#include "engine/Image.h"

#include <QColor>
#include <optional>
#include <vector>

namespace pimavo {

// One click: where (photo pixels, rows from the top), the colour there, and how it merges.
struct PickClick {
    float x = 0, y = 0;
    QColor color;
    int type = 0; // 0 replace, 1 add, 2 take away
};

struct PickStep {
    // What the step did, for the Undo and Redo commands to say.
    enum class Kind { Start, Pick, Add, TakeAway, Tolerance };
    Image mask;       // the selection after the step; none: nothing selected
    Image maskBefore; // the selection before the click the step stems from
    std::optional<PickClick> click;
    double tolerance = 0;
    Kind kind = Kind::Start;
};

// The kind of a click of the given merge type (0 replace, 1 add, 2 take away).
PickStep::Kind pickKindOfType(int type);

// The selection a click makes: its region merged into the selection before it (a region alone
// when there was none, or for a plain click).
Image mergedColorMask(const Image& before, const Image& region, int type);

class PickHistory {
public:
    explicit PickHistory(PickStep start) : steps_{std::move(start)} {}

    const PickStep& current() const { return steps_[at_]; }
    // A new step; the steps undone before it can no longer be redone.
    void push(PickStep step);
    bool canUndo() const { return at_ > 0; }
    bool canRedo() const { return at_ + 1 < steps_.size(); }
    bool undo();
    bool redo();
    // What Undo would take back and Redo would take again; Start when there is nothing.
    PickStep::Kind undoKind() const { return canUndo() ? steps_[at_].kind : PickStep::Kind::Start; }
    PickStep::Kind redoKind() const { return canRedo() ? steps_[at_ + 1].kind : PickStep::Kind::Start; }

private:
    std::vector<PickStep> steps_;
    std::size_t at_ = 0;
};

} // namespace pimavo
