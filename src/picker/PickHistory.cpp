#include "PickHistory.h"

#include "engine/Operation.h"

namespace pimavo {

Image mergedColorMask(const Image& before, const Image& region, int type) {
    if (!before || type == 0) return region;
    auto merge = Operation::filterWithName(type == 1 ? "MergeMasks" : "MergeMasksSubtract");
    if (!merge) return region;
    merge->setValue("inputImage", before);
    merge->setValue("inputImageSecond", region);
    return merge->outputImage();
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
