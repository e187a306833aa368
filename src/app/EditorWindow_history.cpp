// The history of the picture in the Edit menu: every change is a step of the edit session, named
// for what it did. Painting, colour picks and the mask commands are recorded by the canvas, the
// picture settings by the session as the tool panel edits them; Apply and Revert by the window.
#include "EditorWindow.h"
#include "WindowPicker.h"
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

} // namespace

void EditorWindow::nameUndoRedoCommands() {
    // While the picker is up, Undo and Redo take its own steps, not the one the editor would name.
    RegionPicker* picker = picker_->shownPicker();
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
