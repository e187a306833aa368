#include "PickHistory.h"

#include "filters/Effects.h"

namespace pimavo {

Image mergedColorMask(const Image& before, const Image& region, int type) {
    if (!before || type == 0) return region;
    return type == 1 ? effects::mergeMasks(before, region) : effects::mergeMasksSubtract(before, region);
}

PickStep::Kind pickKindOfType(int type) {
    return type == 1 ? PickStep::Kind::Add : type == 2 ? PickStep::Kind::TakeAway : PickStep::Kind::Pick;
}

void PickHistory::push(PickStep step) {
    steps_.resize(at_ + 1);
    steps_.push_back(std::move(step));
    ++at_;
}

bool PickHistory::undo() {
    if (!canUndo()) return false;
    --at_;
    return true;
}

bool PickHistory::redo() {
    if (!canRedo()) return false;
    ++at_;
    return true;
}

} // namespace pimavo
