// The history of the picture: every change is a step to undo and redo, named in the Edit menu.
// Painting, colour picks and the mask commands register their own steps on the canvas; the tool
// panel's picture settings (adjustments, treatment, look, vignette) are kept here, one step per
// gesture, so that a slider dragged across a hundred values is undone at once.
#include "EditorWindow.h"
#include "core/Strings.h"
#include "core/UndoManager.h"
#include "picker/RegionPicker.h"
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

} // namespace

void EditorWindow::panelChanged(const char* step) {
    if (enteringPainter_ || restoringPanel_ || !drawingToolbar_ || !painterView_) return;
    const QString name = Strings::shared().localized(QString::fromLatin1(step));
    if (panelEdit_) {
        // The gesture under way goes on; one that changes several settings (a reset) is named
        // for all of them.
        if (panelEdit_->name != name) panelEdit_->name = Strings::shared().localized("Adjustments");
        return;
    }
    panelEdit_ = PanelEdit{panelSettled_.value_or(drawingToolbar_->settings()), name};
    validateEdited();
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->closePanelEdit(false);
    });
}

void EditorWindow::closePanelEdit(bool now) {
    if (!panelEdit_) return;
    if (!now && QApplication::mouseButtons() != Qt::NoButton) {
        // A slider still held: the step is the whole drag, made when it is let go.
        Dispatch::after(0.05, [self = QPointer(this)] {
            if (self) self->closePanelEdit(false);
        });
        return;
    }
    const PanelEdit edit = std::move(*panelEdit_);
    panelEdit_.reset();
    if (!drawingToolbar_) return;
    const ToolPanel::Settings after = drawingToolbar_->settings();
    panelSettled_ = after;
    if (samePicture(edit.before, after)) {
        validateEdited(); // dragged and put back: nothing to undo
        return;
    }
    undo_->closeEventGroup(); // a step of its own, whatever else this event did
    registerPanelUndo(edit.before);
    undo_->setActionName(edit.name);
    undo_->closeEventGroup();
}

void EditorWindow::registerPanelUndo(const ToolPanel::Settings& to) {
    undo_->registerUndo(this, [this, to] { restorePanel(to); });
}

void EditorWindow::restorePanel(ToolPanel::Settings to) {
    if (!drawingToolbar_) return;
    const ToolPanel::Settings current = drawingToolbar_->settings();
    registerPanelUndo(current); // the way back, as a redo or an undo
    to.brush = current.brush;
    restoringPanel_ = true;
    drawingToolbar_->restoreSettings(to, true);
    restoringPanel_ = false;
    panelSettled_ = drawingToolbar_->settings();
    redrawCanvas();
}

void EditorWindow::panelSettled() {
    panelEdit_.reset();
    panelSettled_ = drawingToolbar_ ? std::optional(drawingToolbar_->settings()) : std::nullopt;
}

void EditorWindow::nameUndoRedoCommands() {
    // While the picker is up, Undo and Redo take its own steps, not the one the editor would name.
    auto* picker = isColorPickerShowed_ ? qobject_cast<RegionPicker*>(colorPickerView_.data()) : nullptr;
    const QString undoName = picker ? picker->undoStepName() : undo_->undoActionName();
    const QString redoName = picker ? picker->redoStepName() : undo_->redoActionName();
    auto named = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + ' ' + step;
    };
    if (QAction* a = actions_.value("edit_undo")) a->setText(named(text("kMenuUndo"), undoName));
    if (QAction* a = actions_.value("edit_redo")) a->setText(named(text("kMenuRedo"), redoName));
    undoButton_->setToolTip(Strings::titleFromMenuText(named(text("kMenuUndo"), undoName)));
    redoButton_->setToolTip(Strings::titleFromMenuText(named(text("kMenuRedo"), redoName)));
}

} // namespace pimavo
