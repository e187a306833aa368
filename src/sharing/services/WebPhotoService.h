// What the services that upload through the program share: stored credentials read once at
// construction, one running request at a time that cancel() ends, the browser step of signing in,
// and the non-secret settings under "sharing/<service>/".
#pragma once

#include "sharing/services/PhotoService.h"

#include <QJsonObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class QNetworkReply;
class QUrlQuery;

namespace pimavo::sharing {

class BrowserSignIn;

class WebPhotoService : public PhotoService {
    Q_OBJECT
public:
    WebPhotoService(ServiceKind kind, QObject* parent);
    ~WebPhotoService() override;

    ServiceKind kind() const override { return kind_; }
    bool isReady() const override { return ready_; }
    QString accountName() const override { return account_; }
    bool credentialsAreTemporary() const override;
    bool isUploading() const override { return uploading_; }
    void cancel() override;

protected:
    // Reads the stored credentials, then calls credentialsLoaded and emits ready().
    void loadCredentials();
    // An empty object when nothing is stored.
    virtual void credentialsLoaded(const QJsonObject& stored) = 0;
    // The keyring entry the credentials are kept under; by default the service's key.
    virtual QString credentialName() const { return serviceKey(kind_); }
    void saveCredentials(const QJsonObject& credentials, std::function<void()> then);
    void forgetCredentials();

    QVariant setting(const QString& name) const;
    void setSetting(const QString& name, const QVariant& value);
    void removeSetting(const QString& name);

    // A request (or sign-in) may start only while no other runs; false after reporting why not.
    bool begin(bool upload);
    // An upload may start: signed in and nothing else running; false after reporting why not.
    bool beginUpload();
    // Starts a sign-in; one already waiting for the browser is dropped without a word (the user
    // asked again, perhaps after closing the first page).
    bool beginSignIn();
    // The operation ended; with an error, failed() is emitted.
    void finish(const ShareError& error = {});
    bool isBusy() const { return busy_; }
    ShareError error(ShareErrorKind kind, int httpStatus = 0) const;
    // NotConfigured, saying what setupProblem() says.
    ShareError notConfigured() const;
    // A failure found before anything started: reported from the event loop, as every result is,
    // never from inside the call that caused it.
    void failLater(const ShareError& error);

    // The reply of the running operation: cancel() aborts it, and `handler` runs when it ends
    // unless it was cancelled (then failed(Cancelled) follows). The reply is freed afterwards.
    void track(QNetworkReply* reply, std::function<void(QNetworkReply*)> handler);

    // Starts the loopback listener; its address is where the service sends the browser back. Null
    // after reporting the failure.
    BrowserSignIn* prepareBrowser(quint16 port = 0);
    // Opens `page`; `answered` gets the query the browser came back with. A time-out or a browser
    // that cannot be started ends the operation with SignInDenied.
    void openBrowser(const QUrl& page, std::function<void(const QUrlQuery&)> answered);

    QString account_;
    bool ready_ = false;

private:
    ServiceKind kind_;
    bool busy_ = false, uploading_ = false, cancelled_ = false;
    QPointer<QNetworkReply> reply_;
    QPointer<BrowserSignIn> browser_;
};

} // namespace pimavo::sharing
