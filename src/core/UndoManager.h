// Undo and redo of user actions.
//
// Actions are registered with a target (whoever owns what they restore) and grouped: one group is
// one undo step. Explicit groups nest (inner groups merge into the outermost); registrations
// outside any explicit group are grouped by event, as a user expects — everything registered while
// one input event is handled becomes one step, closed when control returns to the event loop.
// Undoing runs a group's actions newest first; whatever they register meanwhile becomes the redo
// step, and the other way round. A new registration outside undo and redo forgets the redo steps.
// The history is bounded twice, the oldest steps dropped first: by a number of steps
// (`levelsOfUndo`, 0 for no limit) and by the memory the steps keep (`memoryBudget` bytes, 0 for
// no limit). A step's memory is what its registrations declared: the pictures it restores that the
// current state no longer shares. The newest step is always kept. Main thread only.
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

    // Registers `action` to undo what just happened; `target` identifies its owner for removal;
    // `bytes` is the memory the action keeps alive.
    void registerUndo(const void* target, std::function<void()> action, qint64 bytes = 0);
    // Adds to the memory the newest step keeps (a stroke knows what it covered once it ends).
    void addStepMemory(qint64 bytes);

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
    qint64 memoryBudget() const { return budget_; }
    void setMemoryBudget(qint64 bytes);
    // The memory the undo steps keep now.
    qint64 memoryUsed() const { return used_; }
    int undoCount() const { return int(undoStack_.size()); }

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
        qint64 bytes = 0;
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
    int levels_ = 0;
    qint64 budget_ = 0;
    qint64 used_ = 0; // of the undo steps
    quint64 nextId_ = 1;
    quint64 baseId_ = 0; // the state below the oldest step kept
};

} // namespace pimavo
