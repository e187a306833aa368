// Projects: the session as a project document and back, opening and saving .pimavo files.
#include "EditorWindow.h"
#include "SaveFlow.h"
#include "WindowCompare.h"
#include "WindowOpening.h"
#include "WindowPicker.h"
#include "WindowSaving.h"
#include "WindowStart.h"
#include "canvas/CanvasProject.h"
#include "core/Dispatch.h"
#include "core/FailureTranslation.h"
#include "core/Settings.h"
#include "session/EditSession.h"

#include <QFile>
#include <QFileInfo>

namespace pimavo {

namespace {} // namespace

ProjectDocument EditorWindow::projectSnapshot() {
    ProjectDocument p;
    p.originalName = photo_.originalName.toStdString();
    p.originalBytes = photo_.originalBytes;
    // A picture that is no longer the photo as opened (after Apply) is kept whole.
    if (!photo_.originalBytes || photo_.image != photo_.original || photo_.originalIsApplied)
        p.photo = photo_.image;
    if (painterView_) {
        takeCanvasState(painterView_->model(), p);
    } else if (photo_.image) {
        const SizeF work =
            CanvasModel::workingSize(SizeF{double(photo_.image->width()), double(photo_.image->height())});
        p.workingWidth = int(work.width);
        p.workingHeight = int(work.height);
    }
    p.settings = session_->pictureSettings();
    if (drawingToolbar_) p.brush = drawingToolbar_->brush();
    return p;
}

bool EditorWindow::restoreFromProject(const ProjectDocument& project, QString* error) {
    DecodeResult decoded = decodeProjectPhoto(project, project.originalName);
    if (!decoded.image) {
        if (error) *error = QString::fromStdString(decoded.reason);
        return false;
    }
    // A photo above the canvas's limit is painted on a copy reduced as when it was first opened, so
    // that the painting fits it again (canvasPhotoFor).
    const BitmapRef photo = decoded.image->bitmap;
    if (!photo) {
        if (error) *error = tr("The file may be damaged, or it is not a photo in a format Pimavo can read.");
        return false;
    }
    picker_->cancel();
    compare_->exit();
    start_->hide();
    photo_.properties = std::move(decoded.image->properties);
    photo_.mimeType = QString::fromStdString(decoded.image->mimeType);
    photo_.originalBytes = project.originalBytes;
    photo_.originalName = QString::fromStdString(project.originalName);
    continueOpenImage(photo);
    photo_.originalIsApplied = project.photo && project.originalBytes;
    // Settings the session starts with, not changes to it.
    session_->resetPictureSettings(project.settings);
    if (painterView_ && drawingToolbar_) {
        if (project.brush.size() == drawingToolbar_->brush().size())
            drawingToolbar_->restoreBrush(project.brush);
        restoreProjectPainting(painterView_->model(), project);
        redrawCanvas();
    }
    session_->clear();
    setEdited(false);
    validateUndoRedoButtonsState();
    return true;
}

void EditorWindow::openProjectURL(const QString& path) {
    const ProjectReadResult read = readProjectFile(path.toStdString());
    QString why = QString::fromStdString(read.reason);
    if (read.project) {
        const QString previousType = photo_.mimeType;
        if (restoreFromProject(*read.project, &why)) {
            photo_.savedSinceOpening = true; // the file holds the work, not the photo as opened
            photo_.mimeType = QString::fromLatin1(ProjectDocument::kMimeType);
            representFile(path);
            opening_->addRecent(photo_.file);
            return;
        }
        photo_.mimeType = previousType;
    }
    // Nothing of the window changed: the title names the file, the text says why.
    if (!why.isEmpty()) why = failureSentence(why);
    showAlert(tr("The file “%1” could not be opened.").arg(QFileInfo(path).fileName()),
              why.isEmpty() ? tr("The file may be damaged, or it is not a photo in a format Pimavo can read.")
                            : why);
    if (!hasPhoto()) Dispatch::after(0, [this] { start_->show(); });
}

bool EditorWindow::saveProjectTo(const QString& path) {
    if (!hasPhoto()) return false;
    // Encoded and written away from the window, which goes on meanwhile; a project's writer cannot
    // stop short of replacing its file, so this save has no Cancel.
    auto work = [project = projectSnapshot(), file = QFile::encodeName(path).toStdString()](
                    SaveTicket&, std::string& error) { return writeProjectFile(project, file, &error); };
    const SaveFlow::Result result = saving_->flow()->run(QFileInfo(path).fileName(), std::move(work), false);
    if (result.outcome == SaveFlow::Outcome::Saved) return true;
    showAlert(tr("The project cannot be saved."), result.error);
    return false;
}

} // namespace pimavo
