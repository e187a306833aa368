// Importing: the media browser beside the window and the camera and scanner import window.
#include "BrimwellViewController.h"
#include "core/Strings.h"
#include "import/MediaBrowserPanel.h"

#include <QFileInfo>
#include <QPointer>
#include <utility>

namespace pimavo {

namespace {
QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}
} // namespace

void BrimwellViewController::importFromIMediaMenuItemClick() {
    if (mediaBrowser_ && mediaBrowser_->isVisible()) {
        mediaBrowser_->hide();
        return;
    }
    if (!mediaBrowser_) {
        mediaBrowser_ = new MediaBrowserPanel(this);
        mediaBrowser_->onOpen = [this](const QString& path) {
            if (path.isEmpty() || !QFileInfo(path).isFile()) {
                showAlert(text("Cannot open this image"), QString());
                return;
            }
            // Opened as the file it is: its name in the title, its metadata kept on saving, and
            // Save writes back where it came from, as with any other file the user opens.
            mediaBrowser_->hide();
            openWithSavingCurrentImageURL(path);
        };
    }
    // Looked through at every showing: photos arrive between visits.
    mediaBrowser_->reload(librarySources ? librarySources() : defaultLibrarySources());
    mediaBrowser_->placeBeside(this);
    mediaBrowser_->show();
    mediaBrowser_->raise();
}

void BrimwellViewController::importItemClick() {
    if (importWindowController_) {
        importWindowController_->raise();
        return;
    }
    auto* window = new ZDImportWindowController(this);
    importWindowController_ = window;
    window->setDelegate(this);
    if (!importFolder.isEmpty()) window->setDownloadsFolder(importFolder);
    importedPath_.clear();
    window->exec();
    // The photo it brought opens once the window is gone, asking first about unsaved work.
    const QString chosen = std::exchange(importedPath_, QString());
    importWindowController_ = nullptr;
    delete window;
    if (!chosen.isEmpty()) openWithSavingCurrentImageURL(chosen);
}

void BrimwellViewController::openImageWithUrl(const QString& path, ZDImportWindowController* sender) {
    if (sender != importWindowController_ || !sender) return;
    importedPath_ = path;
    sender->accept();
}

} // namespace pimavo
