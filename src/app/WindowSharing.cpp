#include "WindowSharing.h"

#include "EditorWindow.h"
#include "core/Dispatch.h"
#include "sharing/ExportedImage.h"
#include "widgets/ImageButton.h"

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkInformation>

namespace pimavo {

namespace {

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

WindowSharing::WindowSharing(EditorWindow* window) : QObject(window), window_(window) {}

// The window closes what is up before it goes.
WindowSharing::~WindowSharing() = default;

void WindowSharing::buildMenu() {
    //: A menu of the menu bar: to share the picture
    QMenu* share = window_->menuBar()->addMenu(tr("S&hare"));
    for (sharing::SharingRoute route : sharing::SharingPane::routes()) {
        if (route == sharing::SharingRoute::Print) continue; // the File menu has it
        //: A command of the Share menu; %1 is a service, such as Flickr
        QString title = tr("%1…").arg(sharing::SharingPane::routeTitle(route));
        if (route == sharing::SharingRoute::Mail) title = tr("Mail…");
        const QString name = "file_share/" + sharing::SharingPane::routeTitle(route);
        // On the next pass: the menu is still closing while the item runs.
        window_->addCommand(share, name, title, QKeySequence(), [this, route] {
            Dispatch::after(0, [self = QPointer(this), route] {
                if (self) self->shareRoute(route);
            });
        });
    }
    share->addSeparator();
    window_->buildExportMenu(share);
}

bool WindowSharing::connectedToNetwork() {
    const auto& reachable = window_->services.networkReachable;
    return reachable ? reachable() : reachableForSharing();
}

void WindowSharing::buttonClicked() {
    ImageButton* button = window_->shareButton();
    // The button flips itself on a click; what it shows is the pane's state.
    auto settle = [this, button] { button->setState(isPaneShown() ? 1 : 0); };
    if (!window_->hasPhoto() || window_->tool() != EditorWindow::Painting || shareWindow_ ||
        window_->isDisabledInteraction()) {
        settle();
        return;
    }
    if (!connectedToNetwork()) {
        settle();
        window_->showAlert(tr("You are not connected to the internet. Check your connection and try again."),
                           QString());
        return;
    }
    togglePane();
    settle();
}

void WindowSharing::togglePane() {
    if (isPaneShown()) {
        pane_->close();
        return;
    }
    ImageButton* button = window_->shareButton();
    QWidget* content = window_->contentView();
    const QRect anchor(button->mapTo(content, QPoint(0, 0)), button->size());
    pane_ = std::make_unique<sharing::SharingPane>(content, anchor);
    pane_->onRoute = [this](sharing::SharingRoute route) { shareRoute(route); };
    pane_->onClose = [button] { button->setState(0); };
    pane_->show();
    button->setState(1);
}

void WindowSharing::shareRoute(sharing::SharingRoute route) {
    if (isPaneShown()) pane_->close();
    window_->shareButton()->setState(0);
    if (!window_->hasPhoto() || shareWindow_) return;
    switch (route) {
    case sharing::SharingRoute::Mail:
        mailPicture();
        break;
    case sharing::SharingRoute::Print:
        window_->print();
        break;
    default:
        showShareWindow(sharingTypeOf(route));
        break;
    }
}

void WindowSharing::mailPicture() {
    BitmapRef picture = window_->resultImage();
    if (!picture) return;
    const QString& folder = window_->services.sharingExportFolder;
    const auto result = sharing::ShareDialog::sendEmailImage(
        *picture, sharedImageProperties(), folder.isEmpty() ? sharing::sharingExportFolder() : folder);
    if (!result.ok) window_->showAlert(result.error, result.detail);
}

void WindowSharing::showShareWindow(int type) {
    if (!window_->hasPhoto() || shareWindow_) return;
    // The web services' tabs need the network; saying so before the window opens spares an empty one.
    if (type != sharing::ShareDialog::Mail && !connectedToNetwork()) {
        window_->showAlert(tr("You are not connected to the internet. Check your connection and try again."),
                           QString());
        return;
    }
    if (isPaneShown()) pane_->close();
    window_->shareButton()->setState(0);
    // The picture as Save writes it, at full resolution; the window scales its copies from it.
    BitmapRef picture = window_->resultImage();
    if (!picture) return;
    if (CanvasView* canvas = window_->painterView()) canvas->setEnabled(false);
    auto* shared = new sharing::ShareDialog(type, picture, this, window_->settings_);
    if (!window_->services.sharingExportFolder.isEmpty())
        shared->exportFolder = window_->services.sharingExportFolder;
    shareWindow_ = shared;
    dialog_ = std::make_unique<OverlayDialog>(OverlayDialog::WithCloseButton);
    connect(dialog_.get(), &OverlayDialog::closeRequested, this, &WindowSharing::closeShareWindowLater);
    QWidget* content = window_->contentView();
    const QSize size = sharing::ShareDialog::sizeInView(content->size());
    dialog_->setDialogSize(QSizeF(size));
    dialog_->addSubview(shared);
    shared->setGeometry(QRect(QPoint(0, 0), size));
    shared->lower(); // under the dialog's close button
    dialog_->showInView(content, tr("Sharing"));
    shared->start();
    window_->validateMenus();
}

void WindowSharing::layOutDialog() {
    if (!dialog_ || !shareWindow_) return;
    const QSize size = sharing::ShareDialog::sizeInView(window_->contentView()->size());
    dialog_->setDialogSize(QSizeF(size));
    shareWindow_->resize(size);
    dialog_->layOutInParent();
}

void WindowSharing::closeShareWindowLater() {
    // Not from inside the close button's own click, nor while a key is on its way through the
    // window's fields.
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->closeShareWindow();
    });
}

void WindowSharing::sharingWindowWantsClose(sharing::ShareDialog* window) {
    if (window == shareWindow_) closeShareWindowLater();
}

void WindowSharing::closeShareWindow() {
    if (!dialog_) return;
    std::unique_ptr<OverlayDialog> dialog = std::move(dialog_);
    disconnect(dialog.get(), nullptr, this, nullptr);
    // The window takes its copies with it.
    delete shareWindow_.data();
    dialog->hideDialogWithoutAnimation();
    dialog.reset();
    if (CanvasView* canvas = window_->painterView()) canvas->setEnabled(true);
    window_->validateMenus();
}

bool WindowSharing::takeEscape() {
    // One thing at a time, the one on top first.
    if (isPaneShown()) {
        pane_->close();
        return true;
    }
    if (!dialog_) return false;
    // The list open over the window goes first; an upload under way is not dropped unasked.
    if (!(shareWindow_ && shareWindow_->takeEscape())) closeShareWindowLater();
    return true;
}

void WindowSharing::closeAll() {
    if (isPaneShown()) pane_->close();
    closeShareWindow();
}

const ImageProperties* WindowSharing::sharedImageProperties() {
    const auto& properties = window_->imageProperties();
    return properties ? &*properties : nullptr;
}

QWidget* WindowSharing::sharingContentView() {
    return window_->contentView();
}

void WindowSharing::showSharingAlert(const QString& message, const QString& informativeText) {
    window_->showAlert(message, informativeText);
}

void WindowSharing::showSharingNotice(const QString& message, const QString& informativeText) {
    if (window_->services.alertShown) {
        window_->services.alertShown(message, informativeText);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Pimavo"), message, QMessageBox::Ok, window_);
    box.setInformativeText(informativeText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

bool WindowSharing::isSharingInFullScreen() {
    return window_->isFullScreen();
}

void WindowSharing::leaveFullScreenForSharing() {
    if (window_->isFullScreen()) window_->toggleFullScreen();
}

} // namespace pimavo
