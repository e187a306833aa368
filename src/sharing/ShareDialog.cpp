#include "sharing/ShareDialog.h"

#include "core/Dispatch.h"
#include "core/Settings.h"
#include "sharing/ChoicePopup.h"
#include "sharing/MailPage.h"
#include "sharing/ServicePage.h"
#include "widgets/ImageButton.h"
#include "widgets/OverlayDialog.h"
#include "widgets/WidgetStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkInformation>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace pimavo::sharing {

namespace {

ImageButton* textButton(QWidget* parent, const QString& title) {
    auto* b = new ImageButton(parent);
    b->setImage("button");
    b->setAlternateImage("button_pressed");
    b->setDisabledImage("button_dis");
    b->setStretchCorner(4);
    b->setFont(style::uiFont(12));
    b->setText(title);
    return b;
}

struct Tab {
    int type;
    const char* image; // "<image>_on" and "<image>_off"
    ServiceKind kind;  // for the web services
};
constexpr Tab kTabs[] = {{ShareDialog::Mail, "email", ServiceKind::Flickr},
                         {ShareDialog::Flickr, "flickr", ServiceKind::Flickr},
                         {ShareDialog::Tumblr, "tumblr", ServiceKind::Tumblr},
                         {ShareDialog::Mastodon, "mastodon", ServiceKind::Mastodon},
                         {ShareDialog::Facebook, "facebook", ServiceKind::Facebook}};

} // namespace

// ---- progress ---------------------------------------------------------------------------------

UploadProgressPanel::UploadProgressPanel(QWidget* parent) : QWidget(parent) {
    resize(320, 130);
    title_ = new QLabel(this);
    title_->setFont(style::uiFont(13, true));
    title_->setStyleSheet("color: rgb(235,235,238);");
    title_->setAlignment(Qt::AlignCenter);
    title_->setGeometry(20, 16, 280, 20);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    bar_->setGeometry(24, 48, 210, 10);
    bar_->setStyleSheet("QProgressBar { background: rgb(30,30,32); border: 1px solid rgb(20,20,22); "
                        "border-radius: 4px; } QProgressBar::chunk { background: rgb(255,186,31); "
                        "border-radius: 3px; }");
    percent_ = new QLabel(this);
    percent_->setFont(style::uiFont(12));
    percent_->setStyleSheet("color: rgb(174,174,180);");
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    percent_->setGeometry(238, 42, 58, 22);
    cancelButton_ = textButton(this, tr("Cancel"));
    cancelButton_->setGeometry(115, 84, 90, 28);
    cancelButton_->setAction([this](ImageButton* b) {
        b->setEnabled(false);
        if (onFinish) onFinish(true);
    });
    updateProgress(0);
}

void UploadProgressPanel::setTitle(const QString& title) {
    title_->setText(title);
}

void UploadProgressPanel::updateProgress(int percents) {
    percents = std::clamp(percents, 0, 100);
    if (percents == 100 && !waitingTitle_.isEmpty()) {
        // Handed over is not received: what the network still holds, the server's processing and
        // its answer take a time nobody can tell, so the bar no longer pretends to.
        bar_->setRange(0, 0);
        percent_->clear();
        title_->setText(waitingTitle_);
        return;
    }
    bar_->setRange(0, 100);
    bar_->setValue(percents);
    percent_->setText(QString::asprintf("%i %%", percents));
}

QString UploadProgressPanel::percentText() const {
    return percent_->text();
}

void UploadProgressPanel::processFinish() {
    cancelButton_->setEnabled(false);
    if (onFinish) onFinish(false);
}

// ---- the window -------------------------------------------------------------------------------

ShareDialog::ServiceFactory& ShareDialog::serviceFactory() {
    static ServiceFactory factory = [](ServiceKind kind) { return createPhotoService(kind); };
    return factory;
}

ShareDialog::ShareDialog(int sharingType, BitmapRef sharingImage, ShareDialogOwner* delegate,
                         Settings* settings, QWidget* parent)
    : QWidget(parent), exportFolder(sharingExportFolder()), sharingType_(sharingType),
      sharingImage_(std::move(sharingImage)), delegate_(delegate),
      settings_(settings ? settings : &Settings::standard()) {
    resize(kWidth, kHeight);
    setCursor(Qt::ArrowCursor);

    sharingTitleLabel_ = new QLabel(this);
    sharingTitleLabel_->setFont(style::uiFont(14, true));
    sharingTitleLabel_->setStyleSheet("color: rgb(235,235,238);");
    sharingTitleLabel_->setAlignment(Qt::AlignCenter);

    auto tab = [this](const Tab& t) {
        auto* b = new ImageButton(this);
        b->resize(36, 36);
        b->setToolTip(t.type == Mail ? tr("Mail") : ServicePage::serviceName(t.kind));
        const int type = t.type;
        b->setAction([this, type](ImageButton*) { openPanel(type); });
        return b;
    };
    buttonMail_ = tab(kTabs[0]);
    buttonFlickr_ = tab(kTabs[1]);
    buttonTumblr_ = tab(kTabs[2]);
    buttonMastodon_ = tab(kTabs[3]);
    buttonFacebook_ = tab(kTabs[4]);
    turnOffButtons();

    infoTextField_ = new QLabel(tr("Choose where the picture goes."), this);
    infoTextField_->setFont(style::uiFont(13));
    infoTextField_->setStyleSheet("color: rgb(174,174,180);");
    infoTextField_->setAlignment(Qt::AlignCenter);
    infoTextField_->setWordWrap(true);

    //: The size, in pixels, of the picture to share
    resolutionLabel_ = new QLabel(tr("Size"), this);
    resolutionLabel_->setFont(style::uiFont(12));
    resolutionLabel_->setStyleSheet("color: rgb(174,174,180);");
    // Every window starts at the picture's own size.
    resolution_ = new ChoicePopup(this, settings_, std::nullopt, 20);
    resolution_->button()->setObjectName("resolutionComboBox");
    // No upload while the size is being chosen.
    connect(resolution_, &ChoicePopup::listShown, this, [this] { updateControls(); });
    connect(resolution_, &ChoicePopup::listHidden, this, [this] { updateControls(); });

    locationCheckBox_ = new QCheckBox(tr("Include where the photo was taken"), this);
    locationCheckBox_->setObjectName("includeLocation");
    locationCheckBox_->setFont(style::uiFont(12));
    locationCheckBox_->setStyleSheet("color: rgb(174,174,180);");
    locationCheckBox_->setChecked(settings_->shareIncludesLocation());
    connect(locationCheckBox_, &QCheckBox::toggled, this,
            [this](bool on) { settings_->setShareIncludesLocation(on); });
    {
        const ImageProperties* properties = delegate_ ? delegate_->sharedImageProperties() : nullptr;
        locationCheckBox_->setVisible(properties && properties->hasLocation());
    }

    buttonUpload_ = textButton(this, tr("Upload"));
    buttonUpload_->setAction([this](ImageButton*) { buttonUploadClick(); });
    buttonLogOut_ = textButton(this, tr("Sign Out"));
    buttonLogOut_->setAction([this](ImageButton*) { buttonLogOutClick(); });
    buttonCancel_ = textButton(this, tr("Cancel"));
    buttonCancel_->setAction([this](ImageButton*) { buttonCancelClick(); });

    if (sharingImage_)
        possibleResolutions_ =
            sharing::possibleResolutions(QSize(sharingImage_->width(), sharingImage_->height()));
    QStringList rows;
    for (QSize s : possibleResolutions_) rows << resolutionTitle(s);
    resolution_->setRows(rows);
    layOut();
    updateControls();
}

ShareDialog::~ShareDialog() {
    hideProgress();
    if (currentPage_) {
        // Going with the window: no release callback into a half-destroyed window.
        SharePage* panel = currentPage_;
        currentPage_ = nullptr;
        panel->cancelRequest();
        delete panel;
    }
    clearExportFolder(exportFolder);
}

QSize ShareDialog::sizeInView(QSize room) {
    // Never smaller than the fields of the tallest panel need.
    return QSize(std::clamp(room.width() - 20, 420, int(kWidth)),
                 std::clamp(room.height() - 20, 380, int(kHeight)));
}

void ShareDialog::resizeEvent(QResizeEvent*) {
    layOut();
}

void ShareDialog::layOut() {
    const int W = width(), H = height();
    sharingTitleLabel_->setGeometry(40, 12, W - 80, 22);
    const int tabsWidth = 5 * 36 + 4 * 12;
    int x = (W - tabsWidth) / 2;
    for (ImageButton* b : {buttonMail_, buttonFlickr_, buttonTumblr_, buttonMastodon_, buttonFacebook_})
        b->move(x, 42), x += 48;
    infoTextField_->setGeometry(40, 90, W - 80, H - 160);
    const int y = H - 46;
    resolutionLabel_->setGeometry(20, y, 34, 28);
    resolution_->button()->setGeometry(56, y, 128, 28);
    locationCheckBox_->setGeometry(20, y - 30, W - 40, 24);
    buttonCancel_->setGeometry(W - 20 - 90, y, 90, 28);
    buttonUpload_->setGeometry(W - 20 - 90 - 8 - 90, y, 90, 28);
    buttonLogOut_->setGeometry(W - 20 - 3 * 90 - 2 * 8, y, 90, 28);
    const int below = locationCheckBox_->isHidden() ? 58 : 58 + 30;
    if (currentPage_) currentPage_->setGeometry(20, 88, W - 40, H - 88 - below);
}

void ShareDialog::start() {
    openPanel(sharingType_);
}

ImageButton* ShareDialog::tabButton(int type) const {
    switch (type) {
    case Facebook:
        return buttonFacebook_;
    case Mastodon:
        return buttonMastodon_;
    case Tumblr:
        return buttonTumblr_;
    case Flickr:
        return buttonFlickr_;
    case Mail:
        return buttonMail_;
    default:
        return nullptr;
    }
}

void ShareDialog::buttonFacebookClick() {
    openPanel(Facebook);
}
void ShareDialog::buttonMastodonClick() {
    openPanel(Mastodon);
}
void ShareDialog::buttonTumblrClick() {
    openPanel(Tumblr);
}
void ShareDialog::buttonFlickrClick() {
    openPanel(Flickr);
}
void ShareDialog::buttonEmailClick() {
    openPanel(Mail);
}

bool ShareDialog::openPanel(int type) {
    const Tab* tab =
        std::find_if(std::begin(kTabs), std::end(kTabs), [type](const Tab& t) { return t.type == type; });
    if (tab == std::end(kTabs)) return false;
    // Mail needs no network: the message waits in the mail client.
    if (type != Mail && !connectedToNetwork()) {
        showSharingAlert(tr("You are not connected to the internet. Check your connection and try again."),
                         QString());
        return false;
    }
    if (currentPage_ && currentPage_->sharingType() == type) return false;
    closePage();
    turnOffButtons();
    ImageButton* button = tabButton(type);
    button->setImage(QString::fromLatin1(tab->image) + "_on");
    button->setAlternateImage(QString::fromLatin1(tab->image) + "_on");

    // What the panel asks of the window.
    SharePageContext context{[this](int side) { return exportImageForSharing(side); },
                             [this] { return connectedToNetwork(); }, settings_,
                             [this] { return delegate_ ? delegate_->sharingDrafts() : nullptr; }};
    SharePage* panel = nullptr;
    if (type == Mail) {
        panel = new MailPage(context, this);
    } else {
        auto service = serviceFactory() ? serviceFactory()(tab->kind) : nullptr;
        switch (type) {
        case Flickr:
            panel = new FlickrPage(std::move(service), context, this);
            break;
        case Tumblr:
            panel = new TumblrPage(std::move(service), context, this);
            break;
        case Mastodon:
            panel = new MastodonPage(std::move(service), context, this);
            break;
        default:
            panel = new FacebookPage(std::move(service), context, this);
            break;
        }
    }
    connectPage(panel);
    currentPage_ = panel;
    sharingTitleLabel_->setText(panel->sharingTitle());
    infoTextField_->hide();
    layOut();
    panel->show();
    updateControls();
    return true;
}

void ShareDialog::connectPage(SharePage* panel) {
    connect(panel, &SharePage::alertRequested, this, &ShareDialog::showSharingAlert);
    connect(panel, &SharePage::noticeRequested, this, &ShareDialog::showSharingNotice);
    connect(panel, &SharePage::uploadStarted, this, &ShareDialog::pageStartedUploading);
    connect(panel, &SharePage::uploadProgress, this, &ShareDialog::showUploadPercent);
    connect(panel, &SharePage::uploadEnded, this, &ShareDialog::pageFinishedUploading);
    // Signed in or out, ready or not: what the buttons offer may have changed.
    connect(panel, &SharePage::stateChanged, this, &ShareDialog::updateControls);
    connect(panel, &SharePage::releaseRequested, this, [this, panel] { releasePage(panel); });
    connect(panel, &SharePage::mailSent, this, &ShareDialog::pageSentMail);
}

void ShareDialog::turnOffButtons() {
    for (const Tab& t : kTabs) {
        ImageButton* b = tabButton(t.type);
        b->setImage(QString::fromLatin1(t.image) + "_off");
        b->setAlternateImage(QString::fromLatin1(t.image) + "_on");
    }
}

void ShareDialog::closePage() {
    if (currentPage_) currentPage_->quit();
    currentPage_ = nullptr;
    updateControls();
    infoTextField_->hide();
}

void ShareDialog::updateControls() {
    SharePage* panel = currentPage_;
    const bool upload = panel && panel->showsUploadButton();
    buttonUpload_->setVisible(upload);
    if (upload) {
        buttonUpload_->setText(panel->uploadTitle());
        buttonUpload_->setEnabled(panel->canUpload() && !panel->isUploading() && !resolution_->list());
    }
    buttonLogOut_->setVisible(panel && panel->canLogOut());
    buttonLogOut_->setEnabled(panel && !panel->isUploading());
    // The size of what is being sent stays as it is until it has gone.
    resolution_->button()->setEnabled(possibleResolutions_.size() > 1 && !(panel && panel->isUploading()));
}

void ShareDialog::buttonUploadClick() {
    if (!currentPage_ || !currentPage_->canUpload()) return;
    buttonUpload_->setEnabled(false);
    currentPage_->performOperation();
}

void ShareDialog::buttonLogOutClick() {
    if (!currentPage_ || !currentPage_->canLogOut()) return;
    currentPage_->logOut();
    updateControls();
    if (delegate_) delegate_->sharingWindowWantsClose(this);
}

void ShareDialog::buttonCancelClick() {
    if (currentPage_ && currentPage_->isUploading()) currentPage_->cancelRequest();
    if (delegate_) delegate_->sharingWindowWantsClose(this);
}

QSize ShareDialog::chosenResolution() const {
    if (possibleResolutions_.empty()) return {};
    return possibleResolutions_[std::size_t(resolution_->selectedIndex())];
}

ExportedImage ShareDialog::exportImageForSharing(int maxPixelSide) {
    if (!sharingImage_) return {QString(), tr("There is no picture to share."), {}};
    // Sizes are pixels of the written file, whatever the screen's scale: the list promises what
    // the receiver gets.
    const QSize chosen = chosenResolution();
    int side = std::max(chosen.width(), chosen.height());
    if (maxPixelSide > 0) side = std::min(side, maxPixelSide);
    return exportImage(*sharingImage_, delegate_ ? delegate_->sharedImageProperties() : nullptr, side,
                       exportFolder, locationCheckBox_->isChecked());
}

bool ShareDialog::connectedToNetwork() {
    if (delegate_) return delegate_->connectedToNetwork();
    return true;
}

void ShareDialog::showSharingAlert(const QString& message, const QString& informativeText) {
    if (delegate_) delegate_->showSharingAlert(message, informativeText);
}

void ShareDialog::showSharingNotice(const QString& message, const QString& informativeText) {
    if (delegate_) delegate_->showSharingNotice(message, informativeText);
}

// ---- progress ---------------------------------------------------------------------------------

void ShareDialog::pageStartedUploading() {
    showUploadProgress();
    updateControls();
}

void ShareDialog::showUploadPercent(int percent) {
    if (uploadProgress_) uploadProgress_->updateProgress(percent);
}

void ShareDialog::pageFinishedUploading() {
    if (uploadProgress_) uploadProgress_->processFinish();
    updateControls();
}

void ShareDialog::showUploadProgress() {
    hideProgress();
    auto* progress = new UploadProgressPanel();
    QString title = tr("Uploading…");
    if (auto* panel = qobject_cast<ServicePage*>(currentPage_.data()))
        title = tr("Uploading to %1…").arg(ServicePage::serviceName(panel->kind()));
    progress->setTitle(title);
    if (auto* panel = qobject_cast<ServicePage*>(currentPage_.data()))
        progress->setWaitingTitle(
            tr("Waiting for %1 to answer…").arg(ServicePage::serviceName(panel->kind())));
    progress->onFinish = [this](bool cancelled) { uploadProgressFinished(cancelled); };
    uploadProgress_ = progress;
    currentDialog_ = std::make_unique<OverlayDialog>(OverlayDialog::Bare);
    currentDialog_->setDialogSize(QSizeF(progress->size()));
    currentDialog_->addSubview(progress);
    QWidget* where = delegate_ ? delegate_->sharingContentView() : nullptr;
    currentDialog_->showInView(where ? where : window());
}

ShareDialog::StopQuestion& ShareDialog::stopQuestion() {
    static StopQuestion ask = [](const QString& service) {
        QMessageBox box(QMessageBox::Question, tr("Stop posting to %1?").arg(service),
                        tr("Stop posting to %1?").arg(service), QMessageBox::NoButton,
                        QApplication::activeWindow());
        box.setInformativeText(tr("The picture is still on its way. If you stop now, it may not be posted."));
        QPushButton* stop = box.addButton(tr("Stop Posting"), QMessageBox::DestructiveRole);
        box.setDefaultButton(box.addButton(tr("Keep Posting"), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == stop;
    };
    return ask;
}

bool ShareDialog::takeEscape() {
    for (ChoicePopup* choice : findChildren<ChoicePopup*>())
        if (choice->list()) {
            choice->hideList();
            return true;
        }
    if (!currentPage_ || !currentPage_->isUploading()) return false;
    QString service = currentPage_->sharingTitle();
    if (auto* panel = qobject_cast<ServicePage*>(currentPage_.data()))
        service = ServicePage::serviceName(panel->kind());
    // A key pressed by habit must not throw away an upload that has run for minutes.
    if (!stopQuestion()(service)) return true;
    if (currentPage_ && currentPage_->isUploading()) currentPage_->cancelRequest();
    return false;
}

void ShareDialog::uploadProgressFinished(bool cancelled) {
    if (cancelled && currentPage_) currentPage_->cancelRequest();
    // Dismissed on the next pass: this is called from the progress panel's own button.
    Dispatch::after(0, [self = QPointer(this)] {
        if (!self) return;
        self->hideProgress();
        self->updateControls();
    });
}

void ShareDialog::hideProgress() {
    if (!currentDialog_) return;
    currentDialog_->hideDialogWithoutAnimation();
    currentDialog_.reset();
    uploadProgress_ = nullptr;
}

// ---- panels going -----------------------------------------------------------------------------

void ShareDialog::releasePage(SharePage* panel) {
    turnOffButtons();
    panel->hide();
    panel->deleteLater();
    if (currentPage_ == panel) currentPage_ = nullptr;
    sharingTitleLabel_->clear();
    updateControls();
    infoTextField_->show();
}

void ShareDialog::pageSentMail() {
    // The mail client cannot come forward over a full-screen window. The window itself stays: the
    // message holds a copy that goes with it.
    if (delegate_ && delegate_->isSharingInFullScreen()) delegate_->leaveFullScreenForSharing();
}

MailResult ShareDialog::sendEmailImage(const Bitmap& image, const ImageProperties* properties,
                                       const QString& folder) {
    const ExportedImage exported = exportImage(image, properties, 0, folder);
    if (exported.path.isEmpty()) return {false, exported.error, {}, {}};
    return MailPage::send(exported.path);
}

} // namespace pimavo::sharing
