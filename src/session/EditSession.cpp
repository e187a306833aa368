#include "EditSession.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QUndoStack>
#include <vector>

namespace pimavo {

// ---- commands ----------------------------------------------------------------------------------

EditCommand::EditCommand(EditSession* session, const QString& name, QUndoCommand* parent)
    : QUndoCommand(name, parent), session_(session) {}

void EditCommand::undo() {
    made_ = false;
    if (session_->rebuilding_) return;
    ++session_->replaying_;
    revert();
    --session_->replaying_;
}

void EditCommand::redo() {
    if (std::exchange(made_, false) || session_->rebuilding_) return;
    ++session_->replaying_;
    reapply();
    --session_->replaying_;
}

FunctionCommand::FunctionCommand(EditSession* session, const QString& name, std::function<void()> undo,
                                 std::function<void()> redo, qint64 bytes, QUndoCommand* parent)
    : EditCommand(session, name, parent), undo_(std::move(undo)), redo_(std::move(redo)), bytes_(bytes) {}

EditCommand* FunctionCommand::clone(QUndoCommand* parent) const {
    return new FunctionCommand(session(), text(), undo_, redo_, bytes_, parent);
}

// The painting before and after a change. Masks are copy-on-write values: keeping them costs only
// the tiles the change rewrote, which is what `bytes` says.
class LayersCommand : public EditCommand {
public:
    struct Layers {
        Image mask, colorLayer;
    };
    LayersCommand(EditSession* session, const QString& name, Layers before, Layers after, qint64 bytes,
                  QUndoCommand* parent = nullptr)
        : EditCommand(session, name, parent), before_(std::move(before)), after_(std::move(after)),
          bytes_(bytes) {}
    qint64 bytes() const override { return bytes_; }
    EditCommand* clone(QUndoCommand* parent) const override {
        return new LayersCommand(session(), text(), before_, after_, bytes_, parent);
    }

protected:
    void revert() override { session()->restoreLayers(before_.mask, before_.colorLayer); }
    void reapply() override { session()->restoreLayers(after_.mask, after_.colorLayer); }

private:
    Layers before_, after_;
    qint64 bytes_;
};

// The picture settings before and after a change. The changes of one gesture merge into one step,
// named for the setting changed, or for all of them when a gesture changed several.
class SettingsCommand : public EditCommand {
public:
    SettingsCommand(EditSession* session, const QString& name, PictureSettings before, PictureSettings after,
                    int gesture, QUndoCommand* parent = nullptr)
        : EditCommand(session, name, parent), before_(before), after_(after), gesture_(gesture) {}

    int id() const override { return 0x53455454; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const SettingsCommand*>(other);
        if (next->gesture_ != gesture_) return false;
        after_ = next->after_;
        if (next->text() != text()) setText(UndoStep::tr("Adjustments"));
        setObsolete(before_ == after_);
        return true;
    }
    EditCommand* clone(QUndoCommand* parent) const override {
        return new SettingsCommand(session(), text(), before_, after_, gesture_, parent);
    }

protected:
    void revert() override { session()->restoreSettings(before_); }
    void reapply() override { session()->restoreSettings(after_); }

private:
    PictureSettings before_, after_;
    int gesture_;
};

namespace {

qint64 bytesOf(const QUndoCommand* command) {
    qint64 bytes = 0;
    if (const auto* edit = dynamic_cast<const EditCommand*>(command)) bytes = edit->bytes();
    for (int i = 0; i < command->childCount(); ++i) bytes += bytesOf(command->child(i));
    return bytes;
}

// A step and its parts, anew: a group of steps (a macro) is a plain command with children.
QUndoCommand* cloneOf(const QUndoCommand* command, QUndoCommand* parent = nullptr) {
    QUndoCommand* copy = nullptr;
    if (const auto* edit = dynamic_cast<const EditCommand*>(command))
        copy = edit->clone(parent);
    else
        copy = new QUndoCommand(command->text(), parent);
    for (int i = 0; i < command->childCount(); ++i) cloneOf(command->child(i), copy);
    return copy;
}

} // namespace

// ---- the session -------------------------------------------------------------------------------

EditSession::EditSession(QObject* parent) : QObject(parent), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoSteps);
    auto relay = [this] {
        if (!rebuilding_) changed();
    };
    connect(stack_, &QUndoStack::indexChanged, this, relay);
    connect(stack_, &QUndoStack::cleanChanged, this, relay);
    connect(stack_, &QUndoStack::undoTextChanged, this, relay);
    connect(stack_, &QUndoStack::redoTextChanged, this, relay);
}

EditSession::~EditSession() {
    // The commands may call back into the session while the stack deletes them.
    rebuilding_ = true;
    stack_->clear();
}

void EditSession::push(EditCommand* command) {
    if (isReplaying()) {
        // What an undo or redo changes is that step's own doing, not a new one.
        delete command;
        return;
    }
    stack_->push(command);
    if (stepDepth_ == 0) trimToBudget();
}

void EditSession::push(const QString& name, std::function<void()> undo, std::function<void()> redo,
                       qint64 bytes) {
    push(new FunctionCommand(this, name, std::move(undo), std::move(redo), bytes));
}

void EditSession::beginStep(const QString& name) {
    if (isReplaying()) return;
    ++stepDepth_;
    stack_->beginMacro(name);
}

void EditSession::endStep() {
    if (isReplaying() || stepDepth_ == 0) return;
    --stepDepth_;
    stack_->endMacro();
    const int index = stack_->index();
    // A group in which nothing changed is no step: undone as obsolete, the stack drops it.
    if (stepDepth_ == 0 && index > 0) {
        if (auto* last = const_cast<QUndoCommand*>(stack_->command(index - 1));
            last && last->childCount() == 0) {
            const bool clean = stack_->isClean();
            rebuilding_ = true;
            last->setObsolete(true);
            stack_->undo();
            if (clean) stack_->setClean();
            rebuilding_ = false;
            changed();
        }
    }
    if (stepDepth_ == 0) trimToBudget();
}

void EditSession::setPictureSettings(const PictureSettings& settings, const QString& name) {
    if (settings == settings_ || isReplaying()) return;
    if (!gestureOpen_) {
        ++gesture_;
        gestureOpen_ = true;
        // The gesture ends once the events that made it are handled and no button is held.
        QTimer::singleShot(0, this, &EditSession::endGestureWhenReleased);
    }
    const PictureSettings before = std::exchange(settings_, settings);
    push(new SettingsCommand(this, name, before, settings, gesture_));
    emit pictureSettingsChanged(settings_);
}

void EditSession::endGestureWhenReleased() {
    if (!gestureOpen_) return;
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        // A slider still held: the step is the whole drag, ended when it is let go.
        QTimer::singleShot(50, this, &EditSession::endGestureWhenReleased);
        return;
    }
    gestureOpen_ = false;
}

void EditSession::resetPictureSettings(const PictureSettings& settings) {
    gestureOpen_ = false;
    if (settings == settings_) return;
    settings_ = settings;
    emit pictureSettingsChanged(settings_);
}

void EditSession::restoreSettings(const PictureSettings& settings) {
    gestureOpen_ = false;
    settings_ = settings;
    emit pictureSettingsChanged(settings_);
}

void EditSession::changeLayers(const QString& name, const Image& mask, const Image& colorLayer,
                               qint64 bytes) {
    if (!isReplaying()) push(new LayersCommand(this, name, {mask_, colorLayer_}, {mask, colorLayer}, bytes));
    mask_ = mask;
    colorLayer_ = colorLayer;
}

void EditSession::resetLayers(const Image& mask, const Image& colorLayer) {
    mask_ = mask;
    colorLayer_ = colorLayer;
}

void EditSession::restoreLayers(const Image& mask, const Image& colorLayer) {
    mask_ = mask;
    colorLayer_ = colorLayer;
    emit layersRestored(mask, colorLayer);
}

bool EditSession::canUndo() const {
    return stepDepth_ == 0 && stack_->canUndo();
}
bool EditSession::canRedo() const {
    return stepDepth_ == 0 && stack_->canRedo();
}
QString EditSession::undoText() const {
    return stack_->undoText();
}
QString EditSession::redoText() const {
    return stack_->redoText();
}

void EditSession::undo() {
    gestureOpen_ = false; // a change after an undo is a step of its own
    if (canUndo()) stack_->undo();
}

void EditSession::redo() {
    gestureOpen_ = false;
    if (canRedo()) stack_->redo();
}

void EditSession::clear() {
    if (stepDepth_ > 0) return;
    stack_->clear();
    // The steps are gone, not what they changed: clean again only once saved.
    stack_->resetClean();
}

int EditSession::stepCount() const {
    return stack_->count();
}
int EditSession::undoLimit() const {
    return stack_->undoLimit();
}

void EditSession::setMemoryBudget(qint64 bytes) {
    budget_ = bytes;
    trimToBudget();
}

qint64 EditSession::memoryUsed() const {
    qint64 bytes = 0;
    for (int i = 0; i < stack_->index(); ++i) bytes += bytesOf(stack_->command(i));
    return bytes;
}

bool EditSession::isClean() const {
    return !editedOutside_ && stack_->isClean();
}

void EditSession::setClean() {
    editedOutside_ = false;
    stack_->setClean();
    changed();
}

void EditSession::setEditedOutsideHistory() {
    editedOutside_ = true;
    changed();
}

void EditSession::changed() {
    ++revision_;
    emit historyChanged();
}

void EditSession::trimToBudget() {
    if (budget_ <= 0 || stepDepth_ > 0) return;
    const int index = stack_->index();
    std::vector<qint64> bytes(static_cast<std::size_t>(index));
    qint64 used = 0;
    for (int i = 0; i < index; ++i) used += bytes[std::size_t(i)] = bytesOf(stack_->command(i));
    int drop = 0;
    while (used > budget_ && drop < index - 1) used -= bytes[std::size_t(drop++)];
    if (drop == 0) return;

    // QUndoStack only ever drops its oldest steps for a count: the history is rebuilt from copies
    // of the steps kept, which change nothing as they are pushed and moved back to where it was.
    std::vector<QUndoCommand*> kept;
    for (int i = drop; i < stack_->count(); ++i) kept.push_back(cloneOf(stack_->command(i)));
    const int clean = stack_->cleanIndex();
    rebuilding_ = true;
    stack_->clear();
    for (QUndoCommand* command : kept) stack_->push(command);
    if (clean >= drop) {
        stack_->setIndex(clean - drop);
        stack_->setClean();
    } else {
        // The saved state can no longer be undone back to.
        stack_->resetClean();
    }
    stack_->setIndex(index - drop);
    rebuilding_ = false;
    changed();
}

} // namespace pimavo
