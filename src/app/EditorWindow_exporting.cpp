// Handing the picture to other applications: libraries get a JPEG copy, editors the saved file.
#include "EditorWindow.h"
#include "ExportController.h"
#include "Question.h"
#include "Version.h"
#include "WindowSaving.h"
#include "core/Dispatch.h"
#include "sharing/ExportedImage.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace pimavo {

void EditorWindow::buildExportMenu(QMenu* file) {
    QMenu* menu = file->addMenu(tr("E&xport To"));
    for (const ExportTarget& target : exportTargets()) {
        QAction* a = menu->addAction(target.title);
        a->setObjectName("file_export_to/");
        actions_.insert("file_export_to/" + target.title, a);
        connect(a, &QAction::triggered, this, [this, target] { exportToApplication(target); });
    }
    menu->addSeparator();
    QAction* other = menu->addAction(tr("Open With…"));
    actions_.insert("file_export_to/other", other);
    connect(other, &QAction::triggered, this, [this] {
        exportToApplication(ExportTarget{tr("another application"), {}, false});
    });
}

void EditorWindow::exportToApplication(const ExportTarget& target) {
    if (!hasPhoto()) return;
    const bool chooser = target.desktopIds.isEmpty();
    const QString desktopFile = chooser ? QString() : ExportController::installedDesktopFile(target);
    if (!chooser && desktopFile.isEmpty()) {
        showAlert(tr("%1 is not installed.").arg(target.title),
                  tr("Install it from your distribution’s software centre, or choose Export To ▸ Open With… "
                     "to use another application."));
        return;
    }
    QString error;
    // A project is no picture another program opens: it gets a copy of the picture too.
    if (target.takesCopy || isProjectDocument()) {
        // Named after the photo: the receiving program shows the name, and keeps the copy.
        const QString photoName = !photo_.file.isEmpty()            ? QFileInfo(photo_.file).fileName()
                                  : !photo_.suggestedName.isEmpty() ? photo_.suggestedName
                                                                    : documentName();
        ExportController exporter(resultImage(), photo_.properties ? &*photo_.properties : nullptr,
                                  photoName);
        const auto path = exporter.preparedImagePathToExport(&error, services.exportFolder.isEmpty()
                                                                         ? ExportController::exportFolder()
                                                                         : services.exportFolder);
        const bool ok =
            path && (chooser ? ExportController::openWithChooser(*path, &error)
                             : ExportController::exportFileToApplication(*path, desktopFile, &error));
        if (!ok && !error.isEmpty()) showAlert(error, QString());
        return;
    }
    // Editors open the file itself: it must hold what is on screen.
    auto handOver = [this, desktopFile, chooser] {
        QString why;
        const bool ok = chooser ? ExportController::openWithChooser(photo_.file, &why)
                                : ExportController::exportFileToApplication(photo_.file, desktopFile, &why);
        if (!ok && !why.isEmpty()) showAlert(why, QString());
    };
    if (!needSaveDocument() && !photo_.file.isEmpty()) {
        handOver();
        return;
    }
    bool save = true;
    const QString message = tr("%1 needs to save the picture before it can open it in %2.")
                                .arg(QString(PIMAVO_NAME), target.title);
    if (!services.saveQuestion) {
        //: A button: save the picture
        const QString saveButton = tr("Save");
        save = askQuestion(this, QMessageBox::Question, message, {}, {{saveButton}}) == 0;
    } else {
        save = services.saveQuestion(message) == WindowServices::Answer::Save;
    }
    if (!save) return;
    Dispatch::after(0, [this, handOver] { saving_->saveAs({}, handOver); });
}

void EditorWindow::removeExportFolder() {
    // The copies handed to other applications stay theirs: they are in the Pictures folder.
    // The copies mailed from the sharing pane: the mail client had until now to read them.
    sharing::clearExportFolder(services.sharingExportFolder.isEmpty() ? sharing::sharingExportFolder()
                                                                      : services.sharingExportFolder);
}

} // namespace pimavo
