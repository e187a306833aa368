// The history of the picture: every change is a step to undo and redo, named in the Edit menu.
// Painting, colour picks and the mask commands are recorded by the canvas; the tool panel's
// picture settings (adjustments, treatment, look, vignette) are recorded here, one step per
// gesture, so that a slider dragged across a hundred values is undone at once.
#include "EditorWindow.h"
#include "core/Strings.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "widgets/ImageButton.h"

#include <QApplication>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

// Whether two panel states give the same picture: the brush is a tool, not part of the picture.
bool samePicture(const ToolPanel::Settings& a, const ToolPanel::Settings& b) {
    return a.picture == b.picture && a.treatment == b.treatment && a.look == b.look;
}

// A change of the panel's picture settings. The changes of one gesture merge into one step; a
// gesture that ends where it began leaves none.
class PanelCommand : public EditCommand {
public:
    using Restore = std::function<void(const ToolPanel::Settings&)>;
    PanelCommand(EditSession* session, const QString& name, Restore restore, ToolPanel::Settings before,
                 ToolPanel::Settings after, int gesture, QUndoCommand* parent = nullptr)
        : EditCommand(session, name, parent), restore_(std::move(restore)), before_(std::move(before)),
          after_(std::move(after)), gesture_(gesture) {}

    int id() const override { return 0x50414e; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const PanelCommand*>(other);
        if (next->gesture_ != gesture_) return false;
        after_ = next->after_;
        // A gesture that changes several settings (a reset) is named for all of them.
        if (next->text() != text()) setText(Strings::shared().localized("Adjustments"));
        setObsolete(samePicture(before_, after_));
        return true;
    }
    EditCommand* clone(QUndoCommand* parent) const override {
        return new PanelCommand(session(), text(), restore_, before_, after_, gesture_, parent);
    }

protected:
    void revert() override { restore_(before_); }
    void reapply() override { restore_(after_); }

private:
    Restore restore_;
    ToolPanel::Settings before_, after_;
    int gesture_;
};

} // namespace

void EditorWindow::panelChanged(const char* step) {
    if (enteringPainter_ || restoringPanel_ || !drawingToolbar_ || !painterView_) return;
    const ToolPanel::Settings now = drawingToolbar_->settings();
    const ToolPanel::Settings before = panelSettled_.value_or(now);
    panelSettled_ = now;
    if (!panelGestureOpen_) {
        if (samePicture(before, now)) return;
        ++panelGesture_;
        panelGestureOpen_ = true;
        Dispatch::after(0, [self = QPointer(this)] {
            if (self) self->endPanelGesture(false);
        });
    }
    const QString name = Strings::shared().localized(QString::fromLatin1(step));
    session_->push(new PanelCommand(
        session_, name, [this](const ToolPanel::Settings& to) { restorePanel(to); }, before, now, panelGesture_));
    validateEdited();
}

void EditorWindow::endPanelGesture(bool now) {
    if (!panelGestureOpen_) return;
    if (!now && QApplication::mouseButtons() != Qt::NoButton) {
        // A slider still held: the step is the whole drag, ended when it is let go.
        Dispatch::after(0.05, [self = QPointer(this)] {
            if (self) self->endPanelGesture(false);
        });
        return;
    }
    panelGestureOpen_ = false;
}

void EditorWindow::restorePanel(ToolPanel::Settings to) {
    if (!drawingToolbar_) return;
    const ToolPanel::Settings current = drawingToolbar_->settings();
    to.brush = current.brush;
    restoringPanel_ = true;
    drawingToolbar_->restoreSettings(to, true);
    restoringPanel_ = false;
    panelSettled_ = drawingToolbar_->settings();
    redrawCanvas();
}

void EditorWindow::panelSettled() {
    panelGestureOpen_ = false;
    panelSettled_ = drawingToolbar_ ? std::optional(drawingToolbar_->settings()) : std::nullopt;
}

void EditorWindow::nameUndoRedoCommands() {
    // While the picker is up, Undo and Redo take its own steps, not the one the editor would name.
    auto* picker = isColorPickerShowed_ ? qobject_cast<RegionPicker*>(colorPickerView_.data()) : nullptr;
    const QString undoName = picker ? picker->undoStepName() : session_->undoText();
    const QString redoName = picker ? picker->redoStepName() : session_->redoText();
    auto named = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + ' ' + step;
    };
    if (QAction* a = actions_.value("edit_undo")) a->setText(named(text("kMenuUndo"), undoName));
    if (QAction* a = actions_.value("edit_redo")) a->setText(named(text("kMenuRedo"), redoName));
    undoButton_->setToolTip(Strings::titleFromMenuText(named(text("kMenuUndo"), undoName)));
    redoButton_->setToolTip(Strings::titleFromMenuText(named(text("kMenuRedo"), redoName)));
}

} // namespace pimavo
