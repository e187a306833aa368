#include "WindowAutosave.h"

#include "EditorWindow.h"
#include "core/FailureTranslation.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace pimavo {

namespace {

// Seconds between looks at the session; a change is on disk within about this long.
int autosaveInterval() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("PIMAVO_AUTOSAVE_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 10;
}

} // namespace

WindowAutosave::WindowAutosave(EditorWindow* window)
    : QObject(window), window_(window), autosave_(std::make_unique<Autosave>(Autosave::defaultFolder())) {
    auto* timer = new QTimer(this);
    timer->setInterval(autosaveInterval() * 1000);
    connect(timer, &QTimer::timeout, this, &WindowAutosave::writeNow);
    timer->start();
}

QString WindowAutosave::path() const {
    return autosave_->path();
}

WindowAutosave::State WindowAutosave::now() const {
    State s;
    s.revision = window_->session_->revision();
    if (CanvasView* canvas = window_->painterView()) s.changes = canvas->model().changeCount();
    s.picture = window_->session_->pictureSettings();
    return s;
}

void WindowAutosave::writeNow() {
    if (!window_->isEdited()) {
        discard();
        return;
    }
    // A stroke or a drag under way is written once it ends, from a state that is whole.
    if (QApplication::mouseButtons() != Qt::NoButton || window_->session_->isGestureOpen()) return;
    const State state = now();
    if (written_ && *written_ == state) return;
    ProjectDocument session = window_->projectSnapshot();
    // Where the work was last saved, if anywhere: restored after a crash, it saves there again
    // instead of over the photo it started from.
    if (window_->photo_.savedSinceOpening && !window_->photo_.file.isEmpty()) {
        session.savedPath = QFile::encodeName(window_->photo_.file).toStdString();
        session.savedType = window_->photo_.mimeType.toStdString();
    }
    if (autosave_->write(std::move(session))) written_ = state;
}

void WindowAutosave::discard() {
    if (!written_) return;
    autosave_->remove();
    written_.reset();
}

void WindowAutosave::offerRecovery() {
    const std::vector<Autosave::Session> sessions = Autosave::leftBehind(QFileInfo(path()).path());
    if (sessions.empty()) return;
    int chosen = -1;
    if (window_->services.recoveryChooser) {
        chosen = window_->services.recoveryChooser(sessions);
    } else {
        QDialog dialog(window_);
        dialog.setWindowTitle(tr("Recover Unsaved Work"));
        auto* layout = new QVBoxLayout(&dialog);
        auto* message = new QLabel(tr("Pimavo closed before these pictures were saved. Restore one to go on "
                                      "where you left off; the others wait until the next start."));
        message->setWordWrap(true);
        layout->addWidget(message);
        auto* list = new QListWidget;
        list->setIconSize(QSize(160, 160));
        list->setMinimumWidth(460);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        for (const Autosave::Session& s : sessions) {
            const QString name = s.name.isEmpty() ? tr("Untitled") : s.name;
            // The picture as it is, selected or not: a tinted thumbnail would show another treatment.
            const QPixmap picture = QPixmap::fromImage(Autosave::thumbnail(s.path, 160));
            QIcon icon;
            icon.addPixmap(picture, QIcon::Normal);
            icon.addPixmap(picture, QIcon::Selected);
            auto* item = new QListWidgetItem(
                icon,
                name + "\n" + tr("Last changed %1").arg(QLocale().toString(s.changed, QLocale::ShortFormat)));
            list->addItem(item);
        }
        QApplication::restoreOverrideCursor();
        list->setCurrentRow(0);
        layout->addWidget(list);
        auto* buttons = new QDialogButtonBox;
        QPushButton* restore = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
        QPushButton* remove = buttons->addButton(tr("Delete"), QDialogButtonBox::DestructiveRole);
        buttons->addButton(tr("Not Now"), QDialogButtonBox::RejectRole);
        restore->setDefault(true);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        std::vector<Autosave::Session> shown = sessions;
        connect(remove, &QPushButton::clicked, &dialog, [&] {
            const int row = list->currentRow();
            if (row < 0) return;
            QMessageBox ask(QMessageBox::Warning, tr("Recover Unsaved Work"),
                            tr("Delete the unsaved work on “%1”? It cannot be brought back.")
                                .arg(shown[std::size_t(row)].name.isEmpty() ? tr("Untitled")
                                                                            : shown[std::size_t(row)].name),
                            QMessageBox::Cancel, &dialog);
            QPushButton* yes = ask.addButton(tr("Delete"), QMessageBox::DestructiveRole);
            ask.exec();
            if (ask.clickedButton() != yes) return;
            QFile::remove(shown[std::size_t(row)].path);
            shown.erase(shown.begin() + row);
            delete list->takeItem(row);
            if (shown.empty()) dialog.reject();
        });
        if (dialog.exec() == QDialog::Accepted && list->currentRow() >= 0) {
            const QString path = shown[std::size_t(list->currentRow())].path;
            for (std::size_t i = 0; i < sessions.size(); ++i)
                if (sessions[i].path == path) chosen = int(i);
        }
        // The prompt comes up before the window has ever had the keyboard: without asking for it
        // back, a window manager may leave it with no window, and the shortcuts dead.
        window_->activateWindow();
    }
    if (chosen >= 0 && chosen < int(sessions.size())) restore(sessions[std::size_t(chosen)]);
}

bool WindowAutosave::restore(const Autosave::Session& session) {
    EditorWindow& w = *window_;
    const ProjectReadResult read = readProjectFile(session.path.toStdString());
    QString why = QString::fromStdString(read.reason);
    if (!read.project || !w.restoreFromProject(*read.project, &why)) {
        if (!why.isEmpty()) why = failureSentence(why);
        w.showAlert(tr("The unsaved work could not be restored."), why);
        return false;
    }
    // Kept by this editor from now on, until the picture is saved or closed without saving; written
    // again at the next look, from the window as it now stands.
    if (autosave_->adopt(session.path)) written_ = State{};
    const QString savedPath = QFile::decodeName(read.project->savedPath.c_str());
    if (!savedPath.isEmpty() && QFileInfo(savedPath).isFile()) {
        // Saved before the editor ended: the file it was saved to is the work's, and Save goes there.
        w.photo_.file = savedPath;
        w.photo_.mimeType = QString::fromStdString(read.project->savedType);
        w.photo_.savedSinceOpening = true;
        w.photo_.suggestedName.clear();
        w.setWindowFilePath(w.photo_.file);
        w.setWindowTitle(tr("%1 (recovered)").arg(QFileInfo(savedPath).fileName()) + "[*]");
    } else {
        w.photo_.file.clear();
        w.photo_.suggestedName = session.name;
        w.setWindowFilePath(QString());
        const QString name = session.name.isEmpty() ? tr("Untitled") : session.name;
        w.setWindowTitle(tr("%1 (recovered)").arg(name) + "[*]");
    }
    // Nowhere saved but in the state folder: the user still has it to save.
    w.session_->setEditedOutsideHistory();
    w.validateEdited();
    return true;
}

} // namespace pimavo
