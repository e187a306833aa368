#include "sharing/TQSharingWindowController.h"

#include "core/Dispatch.h"
#include "core/Strings.h"
#include "core/UserDefaults.h"
#include "sharing/TQChoiceViewController.h"
#include "sharing/TQMailViewController.h"
#include "sharing/TQPhotoServiceViewController.h"
#include "widgets/TQButton.h"
#include "widgets/WidgetStyle.h"
#include "widgets/ZDDialog.h"

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

constexpr const char* kResolutionKey = "kResolutionsPopoverSelectedCellKey";
constexpr const char* kLocationKey = "sharing/includeLocation";

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

TQButton* textButton(QWidget* parent, const QString& title) {
    auto* b = new TQButton(parent);
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
constexpr Tab kTabs[] = {{TQSharingWindowController::Mail, "email", ServiceKind::Flickr},
                         {TQSharingWindowController::Flickr, "flickr", ServiceKind::Flickr},
                         {TQSharingWindowController::Tumblr, "tumblr", ServiceKind::Tumblr},
                         {TQSharingWindowController::Mastodon, "mastodon", ServiceKind::Mastodon},
                         {TQSharingWindowController::Facebook, "facebook", ServiceKind::Facebook}};

} // namespace

// ---- progress ---------------------------------------------------------------------------------

ProgressViewController::ProgressViewController(QWidget* parent) : QWidget(parent) {
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
    cancelButton_ = textButton(this, text("kShareCancel"));
    cancelButton_->setGeometry(115, 84, 90, 28);
    cancelButton_->setAction([this](TQButton* b) {
        b->setEnabled(false);
        if (onFinish) onFinish(true);
    });
    updateProgress(0);
}

void ProgressViewController::setTitle(const QString& title) {
    title_->setText(title);
}

void ProgressViewController::updateProgress(int percents) {
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

QString ProgressViewController::percentText() const {
    return percent_->text();
}

void ProgressViewController::processFinish() {
    cancelButton_->setEnabled(false);
    if (onFinish) onFinish(false);
}

// ---- the window -------------------------------------------------------------------------------

TQSharingWindowController::ServiceFactory& TQSharingWindowController::serviceFactory() {
    static ServiceFactory factory = [](ServiceKind kind) { return createPhotoService(kind); };
    return factory;
}

TQSharingWindowController::TQSharingWindowController(int sharingType, BitmapRef sharingImage,
                                                     TQWindowControllerDelegate* delegate,
                                                     UserDefaults* defaults, QWidget* parent)
    : QWidget(parent), exportFolder(sharingExportFolder()), sharingType_(sharingType),
      sharingImage_(std::move(sharingImage)), delegate_(delegate),
      defaults_(defaults ? defaults : &UserDefaults::standardUserDefaults()) {
    resize(kWidth, kHeight);
    setCursor(Qt::ArrowCursor);

    sharingTitleLabel_ = new QLabel(this);
    sharingTitleLabel_->setFont(style::uiFont(14, true));
    sharingTitleLabel_->setStyleSheet("color: rgb(235,235,238);");
    sharingTitleLabel_->setAlignment(Qt::AlignCenter);

    auto tab = [this](const Tab& t) {
        auto* b = new TQButton(this);
        b->resize(36, 36);
        b->setToolTip(t.type == Mail ? text("Mail") : TQPhotoServiceViewController::serviceName(t.kind));
        const int type = t.type;
        b->setAction([this, type](TQButton*) { openPanel(type); });
        return b;
    };
    buttonMail_ = tab(kTabs[0]);
    buttonFlickr_ = tab(kTabs[1]);
    buttonTumblr_ = tab(kTabs[2]);
    buttonMastodon_ = tab(kTabs[3]);
    buttonFacebook_ = tab(kTabs[4]);
    turnOffButtons();

    infoTextField_ = new QLabel(text("kShareChooseService"), this);
    infoTextField_->setFont(style::uiFont(13));
    infoTextField_->setStyleSheet("color: rgb(174,174,180);");
    infoTextField_->setAlignment(Qt::AlignCenter);
    infoTextField_->setWordWrap(true);

    resolutionLabel_ = new QLabel(text("kShareSize"), this);
    resolutionLabel_->setFont(style::uiFont(12));
    resolutionLabel_->setStyleSheet("color: rgb(174,174,180);");
    resolution_ = new TQChoiceViewController(this, defaults_, kResolutionKey, 20);
    resolution_->button()->setObjectName("resolutionComboBox");
    // No upload while the size is being chosen.
    connect(resolution_, &TQChoiceViewController::listShown, this, [this] { updateControls(); });
    connect(resolution_, &TQChoiceViewController::listHidden, this, [this] { updateControls(); });

    locationCheckBox_ = new QCheckBox(text("kShareIncludeLocation"), this);
    locationCheckBox_->setObjectName("includeLocation");
    locationCheckBox_->setFont(style::uiFont(12));
    locationCheckBox_->setStyleSheet("color: rgb(174,174,180);");
    locationCheckBox_->setChecked(defaults_ && defaults_->boolForKey(kLocationKey));
    connect(locationCheckBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (!defaults_) return;
        defaults_->setBool(kLocationKey, on);
        defaults_->synchronize();
    });
    {
        const ImageProperties* properties = delegate_ ? delegate_->sharedImageProperties() : nullptr;
        locationCheckBox_->setVisible(properties && properties->hasLocation());
    }

    buttonUpload_ = textButton(this, text("kShareUpload"));
    buttonUpload_->setAction([this](TQButton*) { buttonUploadClick(); });
    buttonLogOut_ = textButton(this, text("kShareLogOut"));
    buttonLogOut_->setAction([this](TQButton*) { buttonLogOutClick(); });
    buttonCancel_ = textButton(this, text("kShareCancel"));
    buttonCancel_->setAction([this](TQButton*) { buttonCancelClick(); });

    // Every window starts at the picture's own size.
    if (sharingImage_)
        possibleResolutions_ =
            sharing::possibleResolutions(QSize(sharingImage_->width(), sharingImage_->height()));
    defaults_->removeObjectForKey(kResolutionKey);
    QStringList rows;
    for (QSize s : possibleResolutions_) rows << resolutionTitle(s);
    resolution_->setRows(rows);
    layOut();
    updateControls();
}

TQSharingWindowController::~TQSharingWindowController() {
    hideProgress();
    if (currentViewController_) {
        // Going with the window: no release callback into a half-destroyed window.
        TQSharingViewController* panel = currentViewController_;
        currentViewController_ = nullptr;
        panel->cancelRequest();
        delete panel;
    }
    clearExportFolder(exportFolder);
}

QSize TQSharingWindowController::sizeInView(QSize room) {
    // Never smaller than the fields of the tallest panel need.
    return QSize(std::clamp(room.width() - 20, 420, int(kWidth)),
                 std::clamp(room.height() - 20, 380, int(kHeight)));
}

void TQSharingWindowController::resizeEvent(QResizeEvent*) {
    layOut();
}

void TQSharingWindowController::layOut() {
    const int W = width(), H = height();
    sharingTitleLabel_->setGeometry(40, 12, W - 80, 22);
    const int tabsWidth = 5 * 36 + 4 * 12;
    int x = (W - tabsWidth) / 2;
    for (TQButton* b : {buttonMail_, buttonFlickr_, buttonTumblr_, buttonMastodon_, buttonFacebook_})
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
    if (currentViewController_) currentViewController_->setGeometry(20, 88, W - 40, H - 88 - below);
}

void TQSharingWindowController::start() {
    openPanel(sharingType_);
}

TQButton* TQSharingWindowController::tabButton(int type) const {
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

void TQSharingWindowController::buttonFacebookClick() {
    openPanel(Facebook);
}
void TQSharingWindowController::buttonMastodonClick() {
    openPanel(Mastodon);
}
void TQSharingWindowController::buttonTumblrClick() {
    openPanel(Tumblr);
}
void TQSharingWindowController::buttonFlickrClick() {
    openPanel(Flickr);
}
void TQSharingWindowController::buttonEmailClick() {
    openPanel(Mail);
}

bool TQSharingWindowController::openPanel(int type) {
    const Tab* tab =
        std::find_if(std::begin(kTabs), std::end(kTabs), [type](const Tab& t) { return t.type == type; });
    if (tab == std::end(kTabs)) return false;
    // Mail needs no network: the message waits in the mail client.
    if (type != Mail && !connectedToNetwork()) {
        showSharingAlert(text("kStringNoInternetConnectionAlertText"), QString());
        return false;
    }
    if (currentViewController_ && currentViewController_->sharingType() == type) return false;
    dismissViewControllers();
    turnOffButtons();
    TQButton* button = tabButton(type);
    button->setImage(QString::fromLatin1(tab->image) + "_on");
    button->setAlternateImage(QString::fromLatin1(tab->image) + "_on");

    TQSharingViewController* panel = nullptr;
    if (type == Mail) {
        panel = new TQMailViewController(this, this);
    } else {
        auto service = serviceFactory() ? serviceFactory()(tab->kind) : nullptr;
        switch (type) {
        case Flickr:
            panel = new TQFlickrViewController(std::move(service), this, this);
            break;
        case Tumblr:
            panel = new TQTumblrViewController(std::move(service), this, this);
            break;
        case Mastodon:
            panel = new TQMastodonViewController(std::move(service), this, this);
            break;
        default:
            panel = new TQFacebookViewController(std::move(service), this, this);
            break;
        }
    }
    currentViewController_ = panel;
    sharingTitleLabel_->setText(panel->sharingTitle());
    infoTextField_->hide();
    layOut();
    panel->show();
    updateControls();
    return true;
}

void TQSharingWindowController::turnOffButtons() {
    for (const Tab& t : kTabs) {
        TQButton* b = tabButton(t.type);
        b->setImage(QString::fromLatin1(t.image) + "_off");
        b->setAlternateImage(QString::fromLatin1(t.image) + "_on");
    }
}

void TQSharingWindowController::dismissViewControllers() {
    if (currentViewController_) currentViewController_->quitController();
    currentViewController_ = nullptr;
    updateControls();
    infoTextField_->hide();
}

void TQSharingWindowController::updateControls() {
    TQSharingViewController* panel = currentViewController_;
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

void TQSharingWindowController::buttonUploadClick() {
    if (!currentViewController_ || !currentViewController_->canUpload()) return;
    buttonUpload_->setEnabled(false);
    currentViewController_->performOperation();
}

void TQSharingWindowController::buttonLogOutClick() {
    if (!currentViewController_ || !currentViewController_->canLogOut()) return;
    currentViewController_->logOut();
    updateControls();
    if (delegate_) delegate_->sharingWindowWantsClose(this);
}

void TQSharingWindowController::buttonCancelClick() {
    if (currentViewController_ && currentViewController_->isUploading())
        currentViewController_->cancelRequest();
    if (delegate_) delegate_->sharingWindowWantsClose(this);
}

QSize TQSharingWindowController::chosenResolution() const {
    if (possibleResolutions_.empty()) return {};
    return possibleResolutions_[std::size_t(resolution_->selectedIndex())];
}

ExportedImage TQSharingWindowController::exportImageForSharing(int maxPixelSide) {
    if (!sharingImage_) return {QString(), text("kShareNoPicture"), {}};
    // Sizes are pixels of the written file, whatever the screen's scale: the list promises what
    // the receiver gets.
    const QSize chosen = chosenResolution();
    int side = std::max(chosen.width(), chosen.height());
    if (maxPixelSide > 0) side = std::min(side, maxPixelSide);
    return exportImage(*sharingImage_, delegate_ ? delegate_->sharedImageProperties() : nullptr, side,
                       exportFolder, locationCheckBox_->isChecked());
}

bool TQSharingWindowController::connectedToNetwork() {
    if (delegate_) return delegate_->connectedToNetwork();
    return true;
}

void TQSharingWindowController::showSharingAlert(const QString& message, const QString& informativeText) {
    if (delegate_) delegate_->showSharingAlert(message, informativeText);
}

void TQSharingWindowController::showSharingNotice(const QString& message, const QString& informativeText) {
    if (delegate_) delegate_->showSharingNotice(message, informativeText);
}

// ---- progress ---------------------------------------------------------------------------------

void TQSharingWindowController::sharingViewControllerDidStartUploading(TQSharingViewController*) {
    showUploadProgress();
    updateControls();
}

void TQSharingWindowController::sharingViewControllerUploadPercents(TQSharingViewController*, int percents) {
    if (uploadProgressViewController_) uploadProgressViewController_->updateProgress(percents);
}

void TQSharingWindowController::sharingViewControllerDidFinishUploading(TQSharingViewController*) {
    if (uploadProgressViewController_) uploadProgressViewController_->processFinish();
    updateControls();
}

void TQSharingWindowController::sharingViewControllerDidChangeState(TQSharingViewController*) {
    updateControls();
}

void TQSharingWindowController::showUploadProgress() {
    hideProgress();
    auto* progress = new ProgressViewController();
    QString title = text("kShareUploadingTitle");
    if (auto* panel = qobject_cast<TQPhotoServiceViewController*>(currentViewController_.data()))
        title = Strings::format(title, {TQPhotoServiceViewController::serviceName(panel->kind())});
    progress->setTitle(title);
    if (auto* panel = qobject_cast<TQPhotoServiceViewController*>(currentViewController_.data()))
        progress->setWaitingTitle(Strings::format(
            text("kShareWaitingForService"), {TQPhotoServiceViewController::serviceName(panel->kind())}));
    progress->onFinish = [this](bool cancelled) { modalViewControllerDidFinish(cancelled); };
    uploadProgressViewController_ = progress;
    currentDialog_ = std::make_unique<ZDDialog>(ZDDialog::Bare);
    currentDialog_->setDialogSize(QSizeF(progress->size()));
    currentDialog_->addSubview(progress);
    QWidget* where = delegate_ ? delegate_->sharingContentView() : nullptr;
    currentDialog_->showInView(where ? where : window());
}

TQSharingWindowController::StopQuestion& TQSharingWindowController::stopQuestion() {
    static StopQuestion ask = [](const QString& service) {
        QMessageBox box(QMessageBox::Question, Strings::format(text("kShareStopQuestion"), {service}),
                        Strings::format(text("kShareStopQuestion"), {service}), QMessageBox::NoButton,
                        QApplication::activeWindow());
        box.setInformativeText(text("kShareStopInfo"));
        QPushButton* stop = box.addButton(text("kShareStop"), QMessageBox::DestructiveRole);
        box.setDefaultButton(box.addButton(text("kShareKeepPosting"), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == stop;
    };
    return ask;
}

bool TQSharingWindowController::takeEscape() {
    for (TQChoiceViewController* choice : findChildren<TQChoiceViewController*>())
        if (choice->list()) {
            choice->hideList();
            return true;
        }
    if (!currentViewController_ || !currentViewController_->isUploading()) return false;
    QString service = currentViewController_->sharingTitle();
    if (auto* panel = qobject_cast<TQPhotoServiceViewController*>(currentViewController_.data()))
        service = TQPhotoServiceViewController::serviceName(panel->kind());
    // A key pressed by habit must not throw away an upload that has run for minutes.
    if (!stopQuestion()(service)) return true;
    if (currentViewController_ && currentViewController_->isUploading())
        currentViewController_->cancelRequest();
    return false;
}

void TQSharingWindowController::modalViewControllerDidFinish(bool cancelled) {
    if (cancelled && currentViewController_) currentViewController_->cancelRequest();
    // Dismissed on the next pass: this is called from the progress panel's own button.
    Dispatch::after(0, [self = QPointer(this)] {
        if (!self) return;
        self->hideProgress();
        self->updateControls();
    });
}

void TQSharingWindowController::hideProgress() {
    if (!currentDialog_) return;
    currentDialog_->hideDialogWithoutAnimation();
    currentDialog_.reset();
    uploadProgressViewController_ = nullptr;
}

// ---- panels going -----------------------------------------------------------------------------

void TQSharingWindowController::sharingViewControllerWantsRelease(TQSharingViewController* panel) {
    turnOffButtons();
    panel->hide();
    panel->deleteLater();
    if (currentViewController_ == panel) currentViewController_ = nullptr;
    sharingTitleLabel_->clear();
    updateControls();
    infoTextField_->show();
}

void TQSharingWindowController::sharingViewControllerDidSendMail(TQSharingViewController*) {
    // The mail client cannot come forward over a full-screen window. The window itself stays: the
    // message holds a copy that goes with it.
    if (delegate_ && delegate_->isSharingInFullScreen()) delegate_->leaveFullScreenForSharing();
}

MailResult TQSharingWindowController::sendEmailImage(const Bitmap& image, const ImageProperties* properties,
                                                     const QString& folder) {
    const ExportedImage exported = exportImage(image, properties, 0, folder);
    if (exported.path.isEmpty()) return {false, exported.error, {}, {}};
    return TQMailViewController::send(exported.path);
}

} // namespace pimavo::sharing
