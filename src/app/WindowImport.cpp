#include "WindowImport.h"

#include "EditorWindow.h"
#include "WindowOpening.h"
#include "import/MediaBrowserPanel.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QPointer>
#include <utility>

namespace pimavo {

namespace {} // namespace

WindowImport::WindowImport(EditorWindow* window) : QObject(window), window_(window) {}

void WindowImport::toggleMediaBrowser() {
    // Docked in the window beside the picture, which makes room for it: a window of its own ends up
    // over the editor whenever the screen has no room beside it.
    auto* dock = mediaBrowser_ ? qobject_cast<QDockWidget*>(mediaBrowser_->parentWidget()) : nullptr;
    if (dock && dock->isVisible()) {
        dock->hide();
        return;
    }
    if (!dock) {
        dock = new QDockWidget(tr("Photos"), window_);
        dock->setObjectName("mediaBrowserDock");
        dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
        dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
        mediaBrowser_ = new MediaBrowserPanel(dock);
        dock->setWidget(mediaBrowser_);
        window_->addDockWidget(Qt::RightDockWidgetArea, dock);
        mediaBrowser_->onOpen = [this, dock](const QString& path) {
            if (path.isEmpty() || !QFileInfo(path).isFile()) {
                window_->showAlert(tr("Cannot open this image."), QString());
                return;
            }
            // Opened as the file it is: its name in the title, its metadata kept on saving, and
            // Save writes back where it came from, as with any other file the user opens.
            dock->hide();
            window_->opening()->open(path);
        };
    }
    // Looked through at every showing: photos arrive between visits.
    const auto& sources = window_->services.librarySources;
    mediaBrowser_->reload(sources ? sources() : defaultLibrarySources());
    dock->show();
    // Two columns, or what the window can spare while the picture keeps most of it.
    window_->resizeDocks({dock}, {std::min(MediaBrowserPanel::preferredWidth(), window_->width() / 3)},
                         Qt::Horizontal);
}

void WindowImport::runImportWindow() {
    if (importWindow_) {
        importWindow_->raise();
        return;
    }
    auto* window = new ImportDialog(window_);
    importWindow_ = window;
    connect(window, &ImportDialog::photoImported, this, &WindowImport::photoImported);
    if (!window_->services.importFolder.isEmpty()) window->setDownloadsFolder(window_->services.importFolder);
    importedPath_.clear();
    window->exec();
    // The photo it brought opens once the window is gone, asking first about unsaved work.
    const QString chosen = std::exchange(importedPath_, QString());
    importWindow_ = nullptr;
    delete window;
    if (!chosen.isEmpty()) window_->opening()->open(chosen);
}

void WindowImport::photoImported(const QString& path) {
    if (!importWindow_) return;
    importedPath_ = path;
    importWindow_->accept();
}

} // namespace pimavo
