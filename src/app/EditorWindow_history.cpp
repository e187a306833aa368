// The history of the picture in the Edit menu: every change is a step of the edit session, named
// for what it did. Painting, colour picks and the mask commands are recorded by the canvas, the
// picture settings by the session as the tool panel edits them; Apply and Revert by the window.
#include "EditorWindow.h"
#include "WindowPicker.h"
#include "core/MenuText.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "widgets/ImageButton.h"

#include <QApplication>

namespace pimavo {

void EditorWindow::nameUndoRedoCommands() {
    // While the picker is up, Undo and Redo take its own steps, not the one the editor would name.
    RegionPicker* picker = picker_->shownPicker();
    const QString undoName = picker ? picker->undoStepName() : session_->undoText();
    const QString redoName = picker ? picker->redoStepName() : session_->redoText();
    //: %1 is the step it takes back, such as "Invert Mask"
    const QString undo = undoName.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undoName);
    //: %1 is the step it makes again, such as "Invert Mask"
    const QString redo = redoName.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redoName);
    if (QAction* a = actions_.value("edit_undo")) a->setText(undo);
    if (QAction* a = actions_.value("edit_redo")) a->setText(redo);
    undoButton_->setToolTip(titleFromMenuText(undo));
    redoButton_->setToolTip(titleFromMenuText(redo));
}

} // namespace pimavo
