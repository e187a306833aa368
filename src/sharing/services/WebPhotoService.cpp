#include "sharing/services/WebPhotoService.h"

#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/CredentialStore.h"
#include "sharing/services/NetworkClient.h"

#include <QJsonDocument>
#include <QNetworkReply>
#include <QSettings>

namespace pimavo::sharing {

namespace {
QSettings programSettings() {
    return QSettings(QStringLiteral("Pimavo"), QStringLiteral("Pimavo"));
}
} // namespace

WebPhotoService::WebPhotoService(ServiceKind kind, QObject* parent) : PhotoService(parent), kind_(kind) {}

WebPhotoService::~WebPhotoService() {
    // What runs just stops: nothing is reported to a window that is going too.
    if (QNetworkReply* reply = reply_) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

bool WebPhotoService::credentialsAreTemporary() const {
    return CredentialStore::shared().isTemporary();
}

void WebPhotoService::loadCredentials() {
    CredentialStore::shared().read(credentialName(), this, [this](std::optional<QByteArray> value) {
        const QJsonObject stored = value ? QJsonDocument::fromJson(*value).object() : QJsonObject();
        credentialsLoaded(stored);
        ready_ = true;
        emit ready();
    });
}

void WebPhotoService::saveCredentials(const QJsonObject& credentials, std::function<void()> then) {
    CredentialStore::shared().write(
        credentialName(), QJsonDocument(credentials).toJson(QJsonDocument::Compact), this, std::move(then));
}

void WebPhotoService::forgetCredentials() {
    CredentialStore::shared().remove(credentialName());
}

QVariant WebPhotoService::setting(const QString& name) const {
    return programSettings().value("sharing/" + serviceKey(kind_) + "/" + name);
}

void WebPhotoService::setSetting(const QString& name, const QVariant& value) {
    programSettings().setValue("sharing/" + serviceKey(kind_) + "/" + name, value);
}

void WebPhotoService::removeSetting(const QString& name) {
    programSettings().remove("sharing/" + serviceKey(kind_) + "/" + name);
}

ShareError WebPhotoService::error(ShareErrorKind kind, int httpStatus) const {
    return makeError(kind, displayName(), httpStatus);
}

ShareError WebPhotoService::notConfigured() const {
    ShareError e = error(ShareErrorKind::NotConfigured);
    if (const QString problem = setupProblem(); !problem.isEmpty()) e.message = problem;
    return e;
}

void WebPhotoService::failLater(const ShareError& failure) {
    QMetaObject::invokeMethod(
        this, [this, failure] { emit failed(failure); }, Qt::QueuedConnection);
}

bool WebPhotoService::begin(bool upload) {
    if (busy_) {
        // One thing at a time; the window never asks for two, so this is a programming slip.
        failLater(makeError(ShareErrorKind::Protocol, displayName()));
        return false;
    }
    busy_ = true;
    uploading_ = upload;
    cancelled_ = false;
    return true;
}

bool WebPhotoService::beginSignIn() {
    if (busy_ && !uploading_) {
        if (QNetworkReply* reply = reply_) {
            reply_ = nullptr;
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
        finish();
    }
    return begin(false);
}

void WebPhotoService::finish(const ShareError& failure) {
    busy_ = false;
    uploading_ = false;
    cancelled_ = false;
    if (browser_) browser_->deleteLater();
    browser_ = nullptr;
    if (failure) emit failed(failure);
}

void WebPhotoService::cancel() {
    if (!busy_) return;
    if (QNetworkReply* reply = reply_) {
        cancelled_ = true;
        reply->abort(); // its end reports the cancellation
        return;
    }
    finish(error(ShareErrorKind::Cancelled));
}

void WebPhotoService::track(QNetworkReply* reply, std::function<void(QNetworkReply*)> handler) {
    reply_ = reply;
    connect(reply, &QNetworkReply::uploadProgress, this, [this, reply](qint64 sent, qint64 total) {
        if (reply == reply_ && uploading_ && total > 0) emit uploadProgress(sent, total);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, handler = std::move(handler)] {
        reply->deleteLater();
        if (reply != reply_) return;
        reply_ = nullptr;
        if (cancelled_) {
            finish(error(ShareErrorKind::Cancelled));
            return;
        }
        handler(reply);
    });
}

bool WebPhotoService::beginUpload() {
    if (!isSignedIn()) {
        failLater(error(ShareErrorKind::NotSignedIn));
        return false;
    }
    return begin(true);
}

BrowserSignIn* WebPhotoService::prepareBrowser(quint16 port) {
    if (browser_) browser_->deleteLater();
    browser_ = new BrowserSignIn(this);
    if (!browser_->listen(port)) {
        finish(error(ShareErrorKind::SignInDenied));
        return nullptr;
    }
    return browser_;
}

void WebPhotoService::openBrowser(const QUrl& page, std::function<void(const QUrlQuery&)> answered) {
    BrowserSignIn* browser = browser_;
    if (!browser) {
        finish(error(ShareErrorKind::SignInDenied));
        return;
    }
    connect(browser, &BrowserSignIn::answered, this, [this, browser, answered](const QUrlQuery& query) {
        if (browser == browser_) answered(query);
    });
    connect(browser, &BrowserSignIn::timedOut, this, [this, browser] {
        if (browser == browser_) finish(error(ShareErrorKind::SignInDenied));
    });
    if (!browser->open(page)) finish(error(ShareErrorKind::SignInDenied));
}

} // namespace pimavo::sharing
