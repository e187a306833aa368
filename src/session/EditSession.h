// The editing of one picture: how it looks (its PictureSettings), what is painted on it (the mask
// and the solid-colour layer), its history of steps to undo and redo, and the point where it was
// last saved. The tool panel edits it, the canvas renders it, projects and autosave store it.
//
// Every change the user makes is a command on the session's QUndoStack, named for the Edit menu.
// Changes are made first and recorded after (a stroke is painted before it is a step), so a
// command's first redo does nothing; later undos and redos restore the values it keeps. Commands
// that make one step together are grouped with beginStep/endStep, which nest.
//
// The history is bounded twice, the oldest steps going first: by a number of steps and by the
// memory the steps keep (what each declared: the masks it holds that the current state no longer
// shares). The newest step is always kept. Once the saved state's step has been dropped, undoing
// can never bring the picture back to what was saved, so the picture stays edited until saved
// again. Main thread only.
#pragma once

#include "document/PictureSettings.h"
#include "engine/Image.h"
#include "session/UndoStep.h"

#include <QObject>
#include <QUndoCommand>
#include <functional>
#include <memory>

class QUndoStack;

namespace pimavo {

class EditSession;

// A step already made when recorded: its first redo does nothing.
class EditCommand : public QUndoCommand {
public:
    EditCommand(EditSession* session, const QString& name, QUndoCommand* parent = nullptr);

    void undo() final;
    void redo() final;
    // The memory the step keeps alive, in bytes.
    virtual qint64 bytes() const { return 0; }
    // The same step, for a history rebuilt without its oldest steps.
    virtual EditCommand* clone(QUndoCommand* parent) const = 0;

protected:
    virtual void revert() = 0;
    virtual void reapply() = 0;
    EditSession* session() const { return session_; }

private:
    EditSession* session_;
    bool made_ = true; // the change is in effect already; the next redo has nothing to do
};

// A step undone and redone by two functions of whoever made it.
class FunctionCommand : public EditCommand {
public:
    FunctionCommand(EditSession* session, const QString& name, std::function<void()> undo,
                    std::function<void()> redo, qint64 bytes = 0, QUndoCommand* parent = nullptr);
    qint64 bytes() const override { return bytes_; }
    EditCommand* clone(QUndoCommand* parent) const override;

protected:
    void revert() override { undo_(); }
    void reapply() override { redo_(); }

private:
    std::function<void()> undo_, redo_;
    qint64 bytes_;
};

class EditSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoSteps = 1000;
    static constexpr qint64 kMemoryBudget = qint64(512) << 20;

    explicit EditSession(QObject* parent = nullptr);
    ~EditSession() override;

    QUndoStack* undoStack() const { return stack_; }

    // Records `command`, a change already made, as a step (or as part of the step being built).
    void push(EditCommand* command);
    // Records a change already made that `undo` takes back and `redo` makes again.
    void push(const QString& name, std::function<void()> undo, std::function<void()> redo, qint64 bytes = 0);
    // The commands recorded until the matching endStep are one step named `name` (the outermost
    // name wins when they nest).
    void beginStep(const QString& name);
    void endStep();

    // ---- how the picture looks ----
    const PictureSettings& pictureSettings() const { return settings_; }
    // Changes the settings as a step named `name`. The changes of one gesture (a slider dragged,
    // held until the mouse button is let go) make one step; a gesture that ends where it began
    // leaves none. Nothing happens for settings equal to the current ones.
    void setPictureSettings(const PictureSettings& settings, const QString& name);
    // The settings a picture starts with (a new photo, a project): no step of their own.
    void resetPictureSettings(const PictureSettings& settings);
    // Whether a gesture's changes are still being merged into one step.
    bool isGestureOpen() const { return gestureOpen_; }

    // ---- the painting ----
    // The mask (black where the treated background shows, white where the photo's colour comes
    // back; none when nothing is painted) and the solid-colour layer (white where nothing is
    // recoloured; none when nothing is).
    const Image& mask() const { return mask_; }
    const Image& colorLayer() const { return colorLayer_; }
    // Records that the painting became `mask` and `colorLayer`, as a step named `name` that keeps
    // `bytes` of memory the step before it does not share.
    void changeLayers(const QString& name, const Image& mask, const Image& colorLayer, qint64 bytes);
    // The painting a canvas starts with (a new photo, a project, a step that swaps the photo): no
    // step of its own.
    void resetLayers(const Image& mask, const Image& colorLayer);

    // ---- undo and redo ----
    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();
    // Whether an undo or redo is running (what it changes is no new step).
    bool isReplaying() const { return replaying_ > 0; }
    // Forgets every step: a new photo starts a fresh history.
    void clear();
    int stepCount() const;

    int undoLimit() const;
    qint64 memoryBudget() const { return budget_; }
    // 0 for no limit.
    void setMemoryBudget(qint64 bytes);
    qint64 memoryUsed() const;

    // ---- the saved point ----
    // Whether the picture is what was last saved or opened: undoing back to it is clean again; a
    // change the history does not hold counts as an edit until the next save.
    bool isClean() const;
    void setClean();
    void setEditedOutsideHistory();
    // Changes whenever the history does: equal revisions mean nothing was done, undone or saved
    // in between.
    quint64 revision() const { return revision_; }

signals:
    // The settings changed: edited, reset, undone or redone.
    void pictureSettingsChanged(const PictureSettings& settings);
    // An undo or redo brought the painting back to these values.
    void layersRestored(const Image& mask, const Image& colorLayer);
    // Steps were made, undone, redone or dropped, or the saved point moved.
    void historyChanged();

private:
    friend class EditCommand;
    friend class LayersCommand;
    friend class SettingsCommand;
    void restoreSettings(const PictureSettings& settings);
    void endGestureWhenReleased();
    void restoreLayers(const Image& mask, const Image& colorLayer);
    void trimToBudget();
    void changed();

    QUndoStack* stack_;
    Image mask_, colorLayer_;
    PictureSettings settings_;
    int gesture_ = 0;
    bool gestureOpen_ = false;
    int replaying_ = 0; // undo, redo or a rebuild under way
    bool rebuilding_ = false;
    int stepDepth_ = 0;
    qint64 budget_ = kMemoryBudget;
    bool editedOutside_ = false;
    quint64 revision_ = 0;
};

} // namespace pimavo
