// Installing a photo as the window's picture, with a fresh history, and the drops on the window.
#include "EditorWindow.h"
#include "SaveFlow.h"
#include "StartScreen.h"
#include "WindowCompare.h"
#include "WindowImport.h"
#include "WindowOpening.h"
#include "WindowPicker.h"
#include "WindowReview.h"
#include "WindowSaving.h"
#include "WindowSharing.h"
#include "WindowStart.h"
#include "core/Dispatch.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>

namespace pimavo {

namespace {} // namespace

void EditorWindow::representFile(const QString& path) {
    photo_.file = QFileInfo(path).absoluteFilePath();
    setWindowTitle(QFileInfo(path).fileName() + "[*]");
    setWindowFilePath(photo_.file);
}

// Replaces the picture and starts a fresh history: nothing of the previous photo can be undone into
// the new one.
void EditorWindow::installPhoto(BitmapRef photo) {
    sharing_->forgetDrafts();
    photo_.incomplete = false;
    if (hasPhoto()) {
        setTool(NoTool);
        setImage(nullptr);
        setEdited(false);
    }
    session_->resetPictureSettings(startingPictureSettings());
    setImage(photo);
    session_->clear();
    setEdited(false); // the photo as opened is what a save would keep
    validateUndoRedoButtonsState();
}

void EditorWindow::continueOpenImage(BitmapRef photo) {
    if (painterView_) painterView_->model().forgetLooks();
    if (photo != photo_.original) photo_.original = photo;
    photo_.originalIsApplied = false;
    removeCurrentDialog();
    if (!photo) return;
    installPhoto(photo);
    if (!photo_.pendingWarning.isEmpty()) {
        photo_.incomplete = true;
        const QString warning = std::exchange(photo_.pendingWarning, QString());
        QPointer<EditorWindow> self(this);
        Dispatch::after(0, [self, warning] {
            if (self) self->showAlert(tr("Part of this photo could not be read."), warning);
        });
    }
}

void EditorWindow::closeInWindowDialogs() {
    // The sharing window, the review prompt, the picker and the comparison belong to the photo
    // being replaced; left up, they would keep the window's commands blocked over the new one.
    sharing_->closeAll();
    if (review_->isShown()) review_->finish(false);
    picker_->cancel();
    compare_->exit();
}

void EditorWindow::openNewImage(BitmapRef photo, const QString& title) {
    closeInWindowDialogs();
    opening_->forgetPending();
    photo_.savedSinceOpening = false;
    photo_.suggestedName.clear();
    photo_.properties.reset();
    photo_.mimeType.clear();
    photo_.originalBytes.reset();
    photo_.originalName.clear();
    start_->hide();
    removeCurrentDialog();
    if (!photo) return;
    installPhoto(photo);
    photo_.file.clear();
    setWindowFilePath(QString());
    setWindowTitle(title + "[*]");
    if (photo != photo_.original) photo_.original = photo;
    photo_.originalIsApplied = false;
}

void EditorWindow::setImage(BitmapRef photo) {
    if (photo == photo_.image) return;
    photo_.image = photo;
    removeCurrentDialog();
    validateUndoRedoButtonsState();
    setTool(NoTool);
    if (photo_.image) setTool(Painting);
    validateResizableButtons();
    validateMenus();
}

void EditorWindow::removeCurrentDialog() {
    if (!currentDialog_) return;
    currentDialog_->hideDialogWithoutAnimation();
    currentDialog_.reset();
}

// Files dropped anywhere on the window.
void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!isDisabledInteraction_ && opening_->canOpen(event->mimeData())) event->acceptProposedAction();
}

void EditorWindow::dropEvent(QDropEvent* event) {
    if (isDisabledInteraction_ || !opening_->canOpen(event->mimeData())) return;
    event->acceptProposedAction();
    opening_->openFrom(event->mimeData());
}

} // namespace pimavo
