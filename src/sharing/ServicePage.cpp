#include "sharing/ServicePage.h"

#include "core/Settings.h"
#include "sharing/ChoicePopup.h"
#include "sharing/ShareDialog.h"
#include "widgets/ImageButton.h"
#include "widgets/WidgetStyle.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QUrl>
#include <QVBoxLayout>

namespace pimavo::sharing {

namespace {

QLabel* inkLabel(const QString& title, QWidget* parent, bool dim = false) {
    auto* l = new QLabel(title, parent);
    l->setFont(style::uiFont(12));
    l->setStyleSheet(dim ? "color: rgb(174,174,180);" : "color: rgb(235,235,238);");
    l->setWordWrap(true);
    return l;
}

} // namespace

QString ServicePage::serviceName(ServiceKind kind) {
    switch (kind) {
    case ServiceKind::Flickr:
        return QStringLiteral("Flickr");
    case ServiceKind::Tumblr:
        return QStringLiteral("Tumblr");
    case ServiceKind::Mastodon:
        return QStringLiteral("Mastodon");
    case ServiceKind::Facebook:
        return QStringLiteral("Facebook");
    }
    return {};
}

QString ServicePage::messageForError(const ShareError& error, ServiceKind kind) {
    const QString name = serviceName(kind);
    // The sentences the network client words its errors with (its context), translated once.
    auto said = [&name](const char* key) {
        return QCoreApplication::translate("pimavo::sharing::ShareError", key).arg(name);
    };
    switch (error.kind) {
    case ShareErrorKind::None:
        return {};
    case ShareErrorKind::Offline:
        // The service knows better: its own server may be what cannot be reached.
        return error.message.isEmpty()
                   ? tr("You are not connected to the internet. Check your connection and try again.")
                   : error.message;
    case ShareErrorKind::NotConfigured:
        return said(
            QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "%1 cannot be used from this copy of Pimavo."));
    case ShareErrorKind::NotSignedIn:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "Sign in to %1 first."));
    case ShareErrorKind::SignInDenied:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                                      "Signing in to %1 did not complete. Please try again."));
    case ShareErrorKind::TokenExpired:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                                      "%1 no longer accepts your sign-in. Please sign in again."));
    case ShareErrorKind::Forbidden:
        return said(
            QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                              "%1 refused the request. Your account may not be allowed to post this."));
    case ShareErrorKind::TooLarge:
        return said(
            QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                              "The picture is too large for %1. Choose a smaller size and try again."));
    case ShareErrorKind::RateLimited: {
        const int s = error.retryAfterSeconds;
        if (s <= 0)
            return said(QT_TRANSLATE_NOOP(
                "pimavo::sharing::ShareError",
                "%1 is receiving too many requests from you. Please wait a while and try again."));
        if (s < 120)
            return QCoreApplication::translate(
                       "pimavo::sharing::ShareError",
                       "%1 is receiving too many requests from you. Please try again in %n seconds.", nullptr,
                       s)
                .arg(name);
        return QCoreApplication::translate(
                   "pimavo::sharing::ShareError",
                   "%1 is receiving too many requests from you. Please try again in %n minutes.", nullptr,
                   (s + 59) / 60)
            .arg(name);
    }
    case ShareErrorKind::Server:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                                      "%1 has a problem of its own right now. Please try again later."));
    case ShareErrorKind::Connection:
        // The service may have looked whether the post went through; its sentence says what it found.
        return error.message.isEmpty()
                   ? said(QT_TRANSLATE_NOOP(
                         "pimavo::sharing::ShareError",
                         "The connection to %1 was lost before the picture was posted. Please try again."))
                   : error.message;
    case ShareErrorKind::Protocol:
        return said(QT_TRANSLATE_NOOP(
            "pimavo::sharing::ShareError",
            "%1 gave an answer Pimavo does not understand. The picture may not have been posted."));
    case ShareErrorKind::Rejected:
        return error.reason.isEmpty()
                   ? said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "%1 did not accept the request."))
                   : said(
                         QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "%1 did not accept the request.")) +
                         ' ' +
                         QCoreApplication::translate("pimavo::sharing::ShareError", "It said: “%1”.")
                             .arg(error.reason);
    case ShareErrorKind::MaybePosted:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                                      "%1 did not answer in time, and the picture may have been posted. Look "
                                      "at your account before posting it again."));
    case ShareErrorKind::Cancelled:
        return said(QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "Posting to %1 was cancelled."));
    }
    return said(QT_TRANSLATE_NOOP(
        "pimavo::sharing::ShareError",
        "%1 gave an answer Pimavo does not understand. The picture may not have been posted."));
}

ServicePage::ServicePage(ServiceKind kind, std::unique_ptr<PhotoService> service, Fields fields,
                         SharePageContext context, QWidget* parent)
    : SharePage(std::move(context), parent), kind_(kind), service_(std::move(service)),
      fields_(std::move(fields)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    layout->setSpacing(8);
    statusLabel_ = inkLabel(QString(), this);
    statusLabel_->setObjectName("statusLabel");
    statusLabel_->setFont(style::uiFont(13));
    layout->addWidget(statusLabel_);
    noteLabel_ = inkLabel(QString(), this, true);
    noteLabel_->setObjectName("noteLabel");
    layout->addWidget(noteLabel_);

    serverField_ = new QLineEdit(this);
    serverField_->setPlaceholderText(tr("Your server, e.g. mastodon.social"));
    //: The field of the user's server, as a screen reader names it
    serverField_->setAccessibleName(tr("Server address"));
    serverField_->setPalette(style::darkPalette());
    serverField_->hide();
    layout->addWidget(serverField_);
    signInButton_ = new ImageButton(this);
    signInButton_->setImage("button");
    signInButton_->setAlternateImage("button_pressed");
    signInButton_->setDisabledImage("button_dis");
    signInButton_->setStretchCorner(4);
    signInButton_->setFont(style::uiFont(12));
    signInButton_->setFixedSize(160, 28);
    signInButton_->setAction([this](ImageButton*) { signIn(); });
    layout->addWidget(signInButton_, 0, Qt::AlignLeft);

    form_ = new QWidget(this);
    form_->setPalette(style::darkPalette());
    auto* grid = new QFormLayout(form_);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setLabelAlignment(Qt::AlignRight);
    if (fields_.title) {
        titleField_ = new QLineEdit(form_);
        grid->addRow(inkLabel(tr("Title"), form_, true), titleField_);
    }
    if (fields_.description) {
        descriptionField_ = new QPlainTextEdit(form_);
        descriptionField_->setPlainText(fields_.descriptionDefault);
        descriptionField_->setFixedHeight(64);
        grid->addRow(
            inkLabel(fields_.descriptionLabel.isEmpty() ? tr("Description") : fields_.descriptionLabel, form_,
                     true),
            descriptionField_);
    }
    if (fields_.altText) {
        altTextField_ = new QLineEdit(form_);
        altTextField_->setPlaceholderText(tr("The picture, for people who cannot see it"));
        grid->addRow(inkLabel(tr("Alt text"), form_, true), altTextField_);
    }
    if (fields_.tags) {
        tagsField_ = new QLineEdit(form_);
        tagsField_->setPlaceholderText(tr("Separated by commas"));
        grid->addRow(inkLabel(tr("Tags"), form_, true), tagsField_);
    }
    Settings* settings = context_.settings;
    if (fields_.visibility) {
        visibilityButton_ = new ChoicePopup(form_, settings, fields_.visibilityKept, 26);
        visibilityButton_->button()->setFixedSize(180, 26);
        grid->addRow(inkLabel(tr("Visible to"), form_, true), visibilityButton_->button());
    }
    if (fields_.destinations) {
        destinationButton_ = new ChoicePopup(form_, settings, fields_.destinationKept, 26);
        destinationButton_->button()->setFixedSize(220, 26);
        grid->addRow(inkLabel(fields_.destinationLabel, form_, true), destinationButton_->button());
    }
    layout->addWidget(form_);
    layout->addStretch(1);
    keepDrafts();

    if (service_) {
        PhotoService* s = service_.get();
        connect(s, &PhotoService::ready, this, [this] { refresh(); });
        connect(s, &PhotoService::signedInChanged, this, [this] {
            signingIn_ = false;
            if (service_->isSignedIn() && fields_.destinations) service_->fetchDestinations();
            refresh();
        });
        connect(s, &PhotoService::destinationsChanged, this, [this] { refresh(); });
        connect(s, &PhotoService::uploadProgress, this, [this](qint64 sent, qint64 total) {
            if (!uploading_ || total <= 0) return;
            emit uploadProgress(int(std::clamp<qint64>(sent * 100 / total, 0, 100)));
        });
        connect(s, &PhotoService::uploadFinished, this, [this](const QUrl& where) { uploadFinished(where); });
        connect(s, &PhotoService::failed, this, [this](const ShareError& error) { failed(error); });
        if (service_->isReady() && service_->isSignedIn() && fields_.destinations)
            service_->fetchDestinations();
    }
    refresh();
}

void ServicePage::keepDrafts() {
    ShareDrafts* drafts = this->drafts();
    if (!drafts) return;
    const int type = sharingType();
    const auto keep = [drafts, type](const QString& field, const QString& typed) {
        drafts->fields[type].insert(field, typed);
    };
    const QHash<QString, QString> kept = drafts->fields.value(type);
    // Named, not bound: clang before 16 cannot capture a structured binding.
    for (const auto& entry : {std::pair{titleField_, QStringLiteral("title")},
                              std::pair{altTextField_, QStringLiteral("altText")},
                              std::pair{tagsField_, QStringLiteral("tags")}}) {
        QLineEdit* const field = entry.first;
        const QString& name = entry.second;
        if (!field) continue;
        if (kept.contains(name)) field->setText(kept.value(name));
        connect(field, &QLineEdit::textChanged, this, [keep, name](const QString& t) { keep(name, t); });
    }
    if (descriptionField_) {
        if (kept.contains("description")) descriptionField_->setPlainText(kept.value("description"));
        connect(descriptionField_, &QPlainTextEdit::textChanged, this,
                [this, keep] { keep("description", descriptionField_->toPlainText()); });
    }
}

ServicePage::~ServicePage() {
    if (!service_) return;
    // What the service says while it goes is no longer this panel's business.
    service_->disconnect(this);
    if (service_->isUploading()) service_->cancel();
}

int ServicePage::sharingType() const {
    switch (kind_) {
    case ServiceKind::Flickr:
        return ShareDialog::Flickr;
    case ServiceKind::Tumblr:
        return ShareDialog::Tumblr;
    case ServiceKind::Mastodon:
        return ShareDialog::Mastodon;
    case ServiceKind::Facebook:
        return ShareDialog::Facebook;
    }
    return 0;
}

QString ServicePage::sharingTitle() const {
    return tr("Share to %1").arg(serviceName(kind_));
}

QString ServicePage::statusText() const {
    return statusLabel_->text();
}

bool ServicePage::canUpload() const {
    // A service the picture is handed over to needs no sign-in of ours.
    return service_ && service_->setupProblem().isEmpty() && service_->isReady() &&
           (service_->isSignedIn() || !service_->uploadsDirectly()) && !uploading_;
}

QString ServicePage::uploadTitle() const {
    return service_ && !service_->uploadsDirectly() ? tr("Export") : tr("Upload");
}

bool ServicePage::canLogOut() const {
    return service_ && service_->uploadsDirectly() && service_->setupProblem().isEmpty() &&
           service_->isReady() && service_->isSignedIn();
}

void ServicePage::logOut() {
    if (!service_) return;
    service_->signOut();
    refresh();
}

void ServicePage::refresh() {
    const QString name = serviceName(kind_);
    QString status, note;
    bool signInShown = false, formShown = false, serverShown = false;
    if (!service_) {
        status = tr("%1 is not available in this build of Pimavo.").arg(name);
    } else if (const QString problem = service_->setupProblem(); !problem.isEmpty()) {
        status = problem;
    } else if (!service_->isReady()) {
        status = tr("Checking the sign-in…");
    } else if (!service_->uploadsDirectly()) {
        status = tr("Post the picture on %1 from its own page.").arg(name);
        note = service_->handOverNote();
    } else if (!service_->isSignedIn()) {
        status = tr("You are not signed in to %1.").arg(name);
        signInShown = true;
        serverShown = service_->needsServer();
        if (signingIn_) note = tr("Sign in on the page your web browser shows, then come back here.");
    } else {
        const QString account = service_->accountName();
        status = account.isEmpty() ? tr("You are signed in") : tr("You are signed in as %1").arg(account);
        formShown = true;
        QStringList notes;
        if (!service_->uploadsDirectly() && !service_->handOverNote().isEmpty())
            notes << service_->handOverNote();
        if (service_->credentialsAreTemporary())
            notes << tr("The sign-in could not be kept in a keyring: you stay signed in until Pimavo quits.");
        note = notes.join("\n");
    }
    statusLabel_->setText(status);
    noteLabel_->setText(note);
    noteLabel_->setVisible(!note.isEmpty());
    signInButton_->setText(signingIn_ ? tr("Waiting…") : tr("Sign In…"));
    signInButton_->setEnabled(!signingIn_);
    signInButton_->setVisible(signInShown);
    serverField_->setVisible(serverShown);
    if (serverShown && serverField_->text().isEmpty() && service_->server().isValid()) {
        // The host alone reads best; a port or plain HTTP (a server on this machine) must stay.
        const QUrl server = service_->server();
        serverField_->setText(server.scheme() == "https" && server.port() < 0 ? server.host()
                                                                              : server.toString());
    }
    form_->setVisible(formShown);
    if (formShown && visibilityButton_) {
        QStringList rows;
        for (const auto& v : service_->visibilities()) rows << v.second;
        visibilityButton_->setRows(rows);
        visibilityButton_->button()->setVisible(!rows.isEmpty());
    }
    if (formShown && destinationButton_) {
        QStringList rows;
        for (const ShareDestination& d : service_->destinations()) rows << d.title;
        destinationButton_->setRows(rows);
    }
    emit stateChanged();
}

void ServicePage::signIn() {
    if (!service_ || signingIn_) return;
    if (!connectedToNetwork()) {
        emit alertRequested(tr("You are not connected to the internet. Check your connection and try again."),
                            QString());
        return;
    }
    if (service_->needsServer()) {
        QString address = serverField_->text().trimmed();
        if (address.isEmpty()) {
            emit alertRequested(tr("Enter the address of the server your account is on."), QString());
            return;
        }
        if (!address.contains("://")) address.prepend("https://");
        const QUrl url(address, QUrl::StrictMode);
        // Plain HTTP only to this machine (a server under test): anywhere else the sign-in would
        // cross the network readable by all.
        const QString host = url.host().toLower();
        const bool local = host == "127.0.0.1" || host == "localhost" || host == "::1";
        const bool secure = url.scheme() == "https" || (url.scheme() == "http" && local);
        if (!url.isValid() || host.isEmpty() || !secure) {
            emit alertRequested(tr("That is not the address of a server."), address);
            return;
        }
        service_->setServer(url);
        if (service_->server().isEmpty()) {
            emit alertRequested(tr("That is not the address of a server."), address);
            return;
        }
    }
    signingIn_ = true;
    refresh();
    service_->signIn();
}

UploadRequest ServicePage::request(const QString& filePath) const {
    UploadRequest r;
    r.filePath = filePath;
    if (titleField_) r.title = titleField_->text().trimmed();
    if (descriptionField_) r.description = descriptionField_->toPlainText().trimmed();
    if (altTextField_) r.altText = altTextField_->text().trimmed();
    if (tagsField_) {
        // Tags are words or "quoted phrases", separated by commas or spaces.
        static const QRegularExpression tag(QStringLiteral("\"([^\"]+)\"|([^,\\s\"]+)"));
        for (auto it = tag.globalMatch(tagsField_->text()); it.hasNext();) {
            const auto m = it.next();
            const QString t = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).trimmed();
            if (!t.isEmpty() && !r.tags.contains(t)) r.tags << t;
        }
    }
    if (visibilityButton_) {
        const auto choices = service_->visibilities();
        const int i = visibilityButton_->selectedIndex();
        if (i >= 0 && std::size_t(i) < choices.size()) r.visibility = choices[std::size_t(i)].first;
    }
    if (destinationButton_) {
        const auto places = service_->destinations();
        const int i = destinationButton_->selectedIndex();
        if (i >= 0 && std::size_t(i) < places.size()) r.destination = places[std::size_t(i)].id;
    }
    return r;
}

void ServicePage::performOperation() {
    if (!canUpload() || !context_.exportImage) return;
    if (!connectedToNetwork() && service_->uploadsDirectly()) {
        emit alertRequested(tr("You are not connected to the internet. Check your connection and try again."),
                            QString());
        emit stateChanged();
        return;
    }
    const ExportedImage exported = context_.exportImage(service_->maxPixelSide());
    if (exported.path.isEmpty()) {
        emit alertRequested(tr("The picture could not be prepared for sharing."), exported.error);
        emit stateChanged();
        return;
    }
    if (!service_->uploadsDirectly()) {
        handOver(exported);
        emit stateChanged();
        return;
    }
    uploading_ = true;
    emit uploadStarted();
    service_->upload(request(exported.path));
}

ServicePage::Opener& ServicePage::opener() {
    static Opener open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return open;
}

void ServicePage::handOver(const ExportedImage& image) {
    // The user posts the picture whenever they get to the service's page, perhaps after the sharing
    // window (and the copies it made) is gone: so the copy handed over is kept among their pictures.
    QString why;
    const QString kept = keepHandOverCopy(image.path, serviceName(kind_), &why);
    if (kept.isEmpty()) {
        emit alertRequested(tr("The picture could not be prepared for sharing."), why);
        return;
    }
    // The file manager shows the copy selected, ready to be dragged into the service's page.
    QDBusInterface manager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", QDBusConnection::sessionBus());
    bool shown = false;
    if (manager.isValid()) {
        const QDBusMessage reply =
            manager.call("ShowItems", QStringList{QUrl::fromLocalFile(kept).toString()}, QString());
        shown = reply.type() == QDBusMessage::ReplyMessage;
    }
    if (!shown) opener()(QUrl::fromLocalFile(QFileInfo(kept).absolutePath()));
    const QUrl page = service_->server();
    const bool pageOpened = !page.isValid() || opener()(page);
    QString where =
        tr("It is kept at %1 for you to post from the service’s page.").arg(QDir::toNativeSeparators(kept));
    if (!pageOpened)
        where +=
            "\n\n" + tr("No web browser could be opened: open %1 yourself and post the picture from there.")
                         .arg(page.toString());
    emit noticeRequested(tr("The picture is ready for %1.").arg(serviceName(kind_)), where);
}

void ServicePage::uploadFinished(const QUrl& where) {
    if (!uploading_) return;
    uploading_ = false;
    // Posted: the next post of this picture starts afresh.
    if (ShareDrafts* drafts = this->drafts()) drafts->fields.remove(sharingType());
    emit uploadEnded();
    emit noticeRequested(tr("The picture was posted."), where.isValid() ? where.toString() : QString());
    refresh();
}

void ServicePage::failed(const ShareError& error) {
    const bool wasUploading = uploading_;
    uploading_ = false;
    signingIn_ = false;
    if (wasUploading) emit uploadEnded();
    // A request the user cancelled ends quietly.
    if (error.kind != ShareErrorKind::Cancelled) {
        const QString message = messageForError(error, kind_);
        QString info = error.message.trimmed();
        if (info == message) info.clear();
        if (error.httpStatus > 0 && info.isEmpty()) info = QStringLiteral("HTTP %1").arg(error.httpStatus);
        emit alertRequested(wasUploading ? tr("The picture was not posted to %1.").arg(serviceName(kind_)) +
                                               ' ' + message
                                         : message,
                            info);
    }
    refresh();
}

void ServicePage::cancelRequest() {
    if (service_ && uploading_) service_->cancel();
}

void ServicePage::quit() {
    // Going away ends what the panel started.
    cancelRequest();
    SharePage::quit();
}

} // namespace pimavo::sharing
