#include "UndoManager.h"

#include <QMetaObject>
#include <algorithm>

namespace pimavo {

UndoManager::UndoManager(QObject* parent) : QObject(parent) {}
UndoManager::~UndoManager() = default;

UndoManager::Group& UndoManager::openGroup() {
    if (!open_) {
        current_ = Group{};
        current_.id = nextId_++;
        open_ = true;
    }
    return current_;
}

void UndoManager::closeGroup() {
    if (!open_) return;
    open_ = false;
    eventGroupPending_ = false;
    if (current_.actions.empty()) return;
    // What undo registers is the redo step; everything else is an undo step.
    if (undoing_) {
        redoStack_.push_back(std::move(current_));
    } else {
        used_ += current_.bytes;
        undoStack_.push_back(std::move(current_));
        trim();
    }
    current_ = Group{};
    emit stackChanged();
}

void UndoManager::trim() {
    const auto over = [this] {
        return (levels_ > 0 && int(undoStack_.size()) > levels_) ||
               (budget_ > 0 && used_ > budget_ && undoStack_.size() > 1);
    };
    while (!undoStack_.empty() && over()) {
        // Its change stays in effect for good: the state below the stack is no longer the first one.
        baseId_ = undoStack_.front().id;
        used_ -= undoStack_.front().bytes;
        undoStack_.pop_front();
    }
}

quint64 UndoManager::position() const {
    // A step still being built counts as made: its change is already on screen.
    if (open_ && !undoing_ && !redoing_ && !current_.actions.empty()) return current_.id;
    return undoStack_.empty() ? baseId_ : undoStack_.back().id;
}

void UndoManager::registerUndo(const void* target, std::function<void()> action, qint64 bytes) {
    if (!action) return;
    if (!undoing_ && !redoing_ && !redoStack_.empty()) {
        redoStack_.clear();
        emit stackChanged();
    }
    const bool wasOpen = open_;
    const bool firstOfStep = !undoing_ && !redoing_ && (!open_ || current_.actions.empty());
    Group& group = openGroup();
    group.actions.push_back({target, std::move(action)});
    group.bytes += std::max<qint64>(bytes, 0);
    // Outside explicit groups (and outside undo and redo, which close their own group), the step
    // lasts until the event being handled is done.
    if (!wasOpen && explicitLevel_ == 0 && !undoing_ && !redoing_ && !eventGroupPending_) {
        eventGroupPending_ = true;
        QMetaObject::invokeMethod(
            this, [this] { closeEventGroup(); }, Qt::QueuedConnection);
    }
    // Whoever shows what can be undone, or whether the document changed, learns of the step at once.
    if (firstOfStep) emit stackChanged();
}

void UndoManager::addStepMemory(qint64 bytes) {
    if (bytes <= 0) return;
    if (open_ && !current_.actions.empty()) {
        current_.bytes += bytes;
    } else if (!undoStack_.empty()) {
        undoStack_.back().bytes += bytes;
        used_ += bytes;
        trim();
    }
}

void UndoManager::closeEventGroup() {
    if (explicitLevel_ == 0 && !undoing_ && !redoing_) closeGroup();
}

void UndoManager::beginUndoGrouping() {
    // An explicit group starts a step of its own, unless it nests in another.
    if (explicitLevel_ == 0 && open_ && !undoing_ && !redoing_) closeGroup();
    ++explicitLevel_;
    openGroup();
}

void UndoManager::endUndoGrouping() {
    if (explicitLevel_ == 0) return;
    if (--explicitLevel_ == 0) closeGroup();
}

void UndoManager::setActionName(const QString& name) {
    openGroup().name = name;
}

bool UndoManager::canUndo() const {
    return !undoStack_.empty() || (open_ && !current_.actions.empty() && !undoing_);
}
bool UndoManager::canRedo() const {
    return !redoStack_.empty();
}

QString UndoManager::undoActionName() const {
    return undoStack_.empty() ? QString() : undoStack_.back().name;
}
QString UndoManager::redoActionName() const {
    return redoStack_.empty() ? QString() : redoStack_.back().name;
}

void UndoManager::undo() {
    if (undoing_ || redoing_) return;
    if (explicitLevel_ == 0) closeGroup();
    if (undoStack_.empty()) return;
    Group step = std::move(undoStack_.back());
    undoStack_.pop_back();
    used_ -= step.bytes;
    undoing_ = true;
    open_ = true;
    current_ = Group{{}, step.name, step.id};
    for (auto it = step.actions.rbegin(); it != step.actions.rend(); ++it) it->run();
    closeGroup();
    undoing_ = false;
    emit stackChanged();
}

void UndoManager::redo() {
    if (undoing_ || redoing_ || redoStack_.empty()) return;
    if (explicitLevel_ == 0) closeGroup();
    Group step = std::move(redoStack_.back());
    redoStack_.pop_back();
    redoing_ = true;
    open_ = true;
    current_ = Group{{}, step.name, step.id};
    for (auto it = step.actions.rbegin(); it != step.actions.rend(); ++it) it->run();
    closeGroup();
    redoing_ = false;
    emit stackChanged();
}

void UndoManager::removeAllActions() {
    // What the steps did stays done: a state of its own, which no earlier position names.
    baseId_ = nextId_++;
    undoStack_.clear();
    used_ = 0;
    redoStack_.clear();
    current_ = Group{};
    open_ = explicitLevel_ > 0;
    emit stackChanged();
}

void UndoManager::removeAllActionsWithTarget(const void* target) {
    auto strip = [target](std::deque<Group>& stack) {
        for (Group& g : stack)
            std::erase_if(g.actions, [target](const Action& a) { return a.target == target; });
        std::erase_if(stack, [](const Group& g) { return g.actions.empty(); });
    };
    strip(undoStack_);
    strip(redoStack_);
    used_ = 0;
    for (const Group& g : undoStack_) used_ += g.bytes;
    std::erase_if(current_.actions, [target](const Action& a) { return a.target == target; });
    emit stackChanged();
}

void UndoManager::setLevelsOfUndo(int levels) {
    levels_ = levels;
    trim();
}

void UndoManager::setMemoryBudget(qint64 bytes) {
    budget_ = bytes;
    trim();
}

} // namespace pimavo
