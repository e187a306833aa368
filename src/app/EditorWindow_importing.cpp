// Importing: the media browser docked beside the picture and the camera and scanner import window.
#include "EditorWindow.h"
#include "core/Strings.h"
#include "import/MediaBrowserPanel.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QPointer>
#include <utility>

namespace pimavo {

namespace {
QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}
} // namespace

void EditorWindow::importFromIMediaMenuItemClick() {
    // Docked in the window beside the picture, which makes room for it: a window of its own ends up
    // over the editor whenever the screen has no room beside it.
    auto* dock = mediaBrowser_ ? qobject_cast<QDockWidget*>(mediaBrowser_->parentWidget()) : nullptr;
    if (dock && dock->isVisible()) {
        dock->hide();
        return;
    }
    if (!dock) {
        dock = new QDockWidget(text("kMediaBrowserTitle"), this);
        dock->setObjectName("mediaBrowserDock");
        dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
        dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
        mediaBrowser_ = new MediaBrowserPanel(dock);
        dock->setWidget(mediaBrowser_);
        addDockWidget(Qt::RightDockWidgetArea, dock);
        mediaBrowser_->onOpen = [this, dock](const QString& path) {
            if (path.isEmpty() || !QFileInfo(path).isFile()) {
                showAlert(text("Cannot open this image"), QString());
                return;
            }
            // Opened as the file it is: its name in the title, its metadata kept on saving, and
            // Save writes back where it came from, as with any other file the user opens.
            dock->hide();
            openWithSavingCurrentImageURL(path);
        };
    }
    // Looked through at every showing: photos arrive between visits.
    mediaBrowser_->reload(services.librarySources ? services.librarySources() : defaultLibrarySources());
    dock->show();
    // Two columns, or what the window can spare while the picture keeps most of it.
    resizeDocks({dock}, {std::min(MediaBrowserPanel::preferredWidth(), width() / 3)}, Qt::Horizontal);
}

void EditorWindow::importItemClick() {
    if (importWindowController_) {
        importWindowController_->raise();
        return;
    }
    auto* window = new ImportDialog(this);
    importWindowController_ = window;
    connect(window, &ImportDialog::photoImported, this, &EditorWindow::openImageWithUrl);
    if (!services.importFolder.isEmpty()) window->setDownloadsFolder(services.importFolder);
    importedPath_.clear();
    window->exec();
    // The photo it brought opens once the window is gone, asking first about unsaved work.
    const QString chosen = std::exchange(importedPath_, QString());
    importWindowController_ = nullptr;
    delete window;
    if (!chosen.isEmpty()) openWithSavingCurrentImageURL(chosen);
}

void EditorWindow::openImageWithUrl(const QString& path) {
    if (!importWindowController_) return;
    importedPath_ = path;
    importWindowController_->accept();
}

} // namespace pimavo
