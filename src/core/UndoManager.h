// Undo and redo of user actions.
//
// Actions are registered with a target (whoever owns what they restore) and grouped: one group is
// one undo step. Explicit groups nest (inner groups merge into the outermost); registrations
// outside any explicit group are grouped by event, as a user expects — everything registered while
// one input event is handled becomes one step, closed when control returns to the event loop.
// Undoing runs a group's actions newest first; whatever they register meanwhile becomes the redo
// step, and the other way round. A new registration outside undo and redo forgets the redo steps.
// At most `levelsOfUndo` steps are kept (20), the oldest dropped first. Main thread only.
//
// `position()` names the state the history has brought the document to, so that a caller can
// remember where it was saved: undoing back to that state gives the same position again (a step
// keeps its identity through undo and redo), and any other state — a new step, one undone past
// it, or a step dropped off the bottom that can no longer be undone — gives another.
#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace pimavo {

class UndoManager : public QObject {
    Q_OBJECT
public:
    explicit UndoManager(QObject* parent = nullptr);
    ~UndoManager() override;

    // Registers `action` to undo what just happened; `target` identifies its owner for removal.
    void registerUndo(const void* target, std::function<void()> action);

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const { return explicitLevel_; }
    // Names the step being built ("Apply Drawing").
    void setActionName(const QString& name);

    bool canUndo() const;
    bool canRedo() const;
    bool isUndoing() const { return undoing_; }
    bool isRedoing() const { return redoing_; }
    QString undoActionName() const;
    QString redoActionName() const;

    void undo();
    void redo();

    void removeAllActions();
    void removeAllActionsWithTarget(const void* target);

    int levelsOfUndo() const { return levels_; }
    void setLevelsOfUndo(int levels);

    // Closes a step grouped by event now rather than at the next pass of the event loop.
    void closeEventGroup();

    // The state reached: equal positions mean the same steps are in effect.
    quint64 position() const;

signals:
    // After every change of what can be undone or redone.
    void stackChanged();

private:
    struct Action {
        const void* target;
        std::function<void()> run;
    };
    struct Group {
        std::vector<Action> actions;
        QString name;
        quint64 id = 0; // the step's identity, kept while it moves between undo and redo
    };

    Group& openGroup();
    void closeGroup();
    void trim();

    std::deque<Group> undoStack_, redoStack_;
    Group current_;
    bool open_ = false;
    int explicitLevel_ = 0;
    bool eventGroupPending_ = false;
    bool undoing_ = false, redoing_ = false;
    int levels_ = 20;
    quint64 nextId_ = 1;
    quint64 baseId_ = 0; // the state below the oldest step kept
};

} // namespace pimavo
