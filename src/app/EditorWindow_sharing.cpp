// Sharing: the share button and its pane, the Share menu, the sharing window in its dialog, and
// the picture mailed whole from the pane.
#include "EditorWindow.h"
#include "core/Strings.h"
#include "core/Settings.h"
#include "sharing/ExportedImage.h"
#include "widgets/ImageButton.h"

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkInformation>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

// Where the system cannot tell, sharing is tried: a wrong "offline" would block the user for
// nothing, while a wrong "online" ends in the service's own connection error.
bool reachableForSharing() {
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) return true;
    const auto* info = QNetworkInformation::instance();
    if (!info) return true;
    const auto r = info->reachability();
    return r != QNetworkInformation::Reachability::Disconnected &&
           r != QNetworkInformation::Reachability::Local;
}

int sharingTypeOf(sharing::SharingRoute route) {
    using sharing::SharingRoute;
    using W = sharing::ShareDialog;
    switch (route) {
    case SharingRoute::Flickr:
        return W::Flickr;
    case SharingRoute::Tumblr:
        return W::Tumblr;
    case SharingRoute::Mastodon:
        return W::Mastodon;
    case SharingRoute::Facebook:
        return W::Facebook;
    case SharingRoute::Mail:
        return W::Mail;
    case SharingRoute::Print:
        return 0;
    }
    return 0;
}

} // namespace

void EditorWindow::buildShareMenu() {
    QMenu* share = menuBar()->addMenu(text("kMenuShare"));
    for (sharing::SharingRoute route : sharing::SharingPane::routes()) {
        if (route == sharing::SharingRoute::Print) continue; // the File menu has it
        const QString title =
            route == sharing::SharingRoute::Mail
                ? text("kMenuShareMail")
                : Strings::format(text("kMenuShareService"), {sharing::SharingPane::routeTitle(route)});
        const QString name = "file_share/" + sharing::SharingPane::routeTitle(route);
        // On the next pass: the menu is still closing while the item runs.
        addCommand(share, name, title, QKeySequence(), [this, route] {
            Dispatch::after(0, [self = QPointer(this), route] {
                if (self) self->shareRoute(route);
            });
        });
    }
    share->addSeparator();
    buildExportMenu(share);
}

bool EditorWindow::connectedToNetwork() {
    return services.networkReachable ? services.networkReachable() : reachableForSharing();
}

void EditorWindow::buttonShareClick() {
    // The button flips itself on a click; what it shows is the pane's state.
    auto settle = [this] { shareButton_->setState(isSharingPaneShown() ? 1 : 0); };
    if (!hasPhoto() || tool_ != Painting || sharingWindow_ || isDisabledInteraction_) {
        settle();
        return;
    }
    if (!connectedToNetwork()) {
        settle();
        showAlert(text("kStringNoInternetConnectionAlertText"), QString());
        return;
    }
    showSharingPane();
    settle();
}

void EditorWindow::showSharingPane() {
    if (isSharingPaneShown()) {
        sharingPane_->close();
        return;
    }
    const QRect anchor(shareButton_->mapTo(contentView_, QPoint(0, 0)), shareButton_->size());
    sharingPane_ = std::make_unique<sharing::SharingPane>(contentView_, anchor);
    sharingPane_->onRoute = [this](sharing::SharingRoute route) { shareRoute(route); };
    sharingPane_->onClose = [this] { shareButton_->setState(0); };
    sharingPane_->show();
    shareButton_->setState(1);
}

void EditorWindow::shareRoute(sharing::SharingRoute route) {
    if (isSharingPaneShown()) sharingPane_->close();
    shareButton_->setState(0);
    if (!hasPhoto() || sharingWindow_) return;
    switch (route) {
    case sharing::SharingRoute::Mail:
        shareToMailClick();
        break;
    case sharing::SharingRoute::Print:
        print();
        break;
    default:
        showSharingWindowService(sharingTypeOf(route));
        break;
    }
}

void EditorWindow::shareToMailClick() {
    BitmapRef picture = resultImage();
    if (!picture) return;
    const auto result = sharing::ShareDialog::sendEmailImage(*picture, sharedImageProperties(),
                                                             services.sharingExportFolder.isEmpty()
                                                                 ? sharing::sharingExportFolder()
                                                                 : services.sharingExportFolder);
    if (!result.ok) showAlert(result.error, result.detail);
}

void EditorWindow::showSharingWindowService(int type) {
    if (!hasPhoto() || sharingWindow_) return;
    // The web services' tabs need the network; saying so before the window opens spares an empty one.
    if (type != sharing::ShareDialog::Mail && !connectedToNetwork()) {
        showAlert(text("kStringNoInternetConnectionAlertText"), QString());
        return;
    }
    if (isSharingPaneShown()) sharingPane_->close();
    shareButton_->setState(0);
    // The picture as Save writes it, at full resolution; the window scales its copies from it.
    BitmapRef picture = resultImage();
    if (!picture) return;
    if (painterView_) painterView_->setEnabled(false);
    auto* window = new sharing::ShareDialog(type, picture, this, settings_);
    if (!services.sharingExportFolder.isEmpty()) window->exportFolder = services.sharingExportFolder;
    sharingWindow_ = window;
    sharingDialog_ = std::make_unique<OverlayDialog>(OverlayDialog::WithCloseButton);
    connect(sharingDialog_.get(), &OverlayDialog::closeRequested, this, &EditorWindow::sharingDialogCloseClicked);
    const QSize size = sharing::ShareDialog::sizeInView(contentView_->size());
    sharingDialog_->setDialogSize(QSizeF(size));
    sharingDialog_->addSubview(window);
    window->setGeometry(QRect(QPoint(0, 0), size));
    window->lower(); // under the dialog's close button
    sharingDialog_->showInView(contentView_, text("kSharingTitle"));
    window->start();
    validateMenus();
}

void EditorWindow::layOutSharingDialog() {
    if (!sharingDialog_ || !sharingWindow_) return;
    const QSize size = sharing::ShareDialog::sizeInView(contentView_->size());
    sharingDialog_->setDialogSize(QSizeF(size));
    sharingWindow_->resize(size);
    sharingDialog_->layOutInParent();
}

void EditorWindow::sharingDialogCloseClicked() {
    // Not from inside the close button's own click.
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->closeSharingWindow();
    });
}

void EditorWindow::sharingWindowWantsClose(sharing::ShareDialog* window) {
    if (window != sharingWindow_) return;
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->closeSharingWindow();
    });
}

void EditorWindow::closeSharingWindow() {
    if (!sharingDialog_) return;
    std::unique_ptr<OverlayDialog> dialog = std::move(sharingDialog_);
    disconnect(dialog.get(), nullptr, this, nullptr);
    // The window takes its copies with it.
    delete sharingWindow_.data();
    dialog->hideDialogWithoutAnimation();
    dialog.reset();
    if (painterView_) painterView_->setEnabled(true);
    validateMenus();
}

const ImageProperties* EditorWindow::sharedImageProperties() {
    return imageProperties_ ? &*imageProperties_ : nullptr;
}

void EditorWindow::showSharingAlert(const QString& message, const QString& informativeText) {
    showAlert(message, informativeText);
}

void EditorWindow::showSharingNotice(const QString& message, const QString& informativeText) {
    if (services.alertShown) {
        services.alertShown(message, informativeText);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Pimavo"), message, QMessageBox::Ok, this);
    box.setInformativeText(informativeText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

void EditorWindow::leaveFullScreenForSharing() {
    if (isFullScreen()) toggleFullScreen();
}

} // namespace pimavo
