// Mastodon and the servers that speak its interface (Pixelfed and others): the account's own
// server, the program registered there once per server, OAuth 2.0 with PKCE through the browser,
// the picture uploaded as media with its description, waited for while the server processes it,
// then posted in a status with the chosen visibility.
#pragma once

#include "sharing/services/OAuth2Tokens.h"
#include "sharing/services/WebPhotoService.h"

#include <QTimer>
#include <QUrl>

namespace pimavo::sharing {

class MastodonService : public WebPhotoService {
    Q_OBJECT
public:
    explicit MastodonService(QObject* parent = nullptr);

    QString displayName() const override { return QStringLiteral("Mastodon"); }
    bool needsServer() const override { return true; }
    QUrl server() const override { return server_; }
    // A server other than the signed-in account's signs out.
    void setServer(const QUrl& server) override;
    bool isSignedIn() const override { return !tokens_.isEmpty(); }
    void signIn() override;
    void signOut() override;
    std::vector<std::pair<QString, QString>> visibilities() const override;
    void upload(const UploadRequest& request) override;
    void cancel() override;

    // The origin ("https://host[:port]") a server address is reduced to; empty when unusable.
    static QUrl normalisedServer(const QUrl& url);

protected:
    void credentialsLoaded(const QJsonObject& stored) override;

private:
    QUrl address(const QString& path) const;
    QString clientEntry() const;
    void registerApp(const QUrl& redirect, std::function<void(QString, QString)> then);
    void authorize(const QString& clientId, const QString& clientSecret);
    void verifyCredentials();
    void waitForMedia(const QString& mediaId, int attempt);
    void postStatus(const QString& mediaId);
    // The Idempotency-Key of the post about to be made: the one of an earlier post of the same
    // picture and words whose answer never came, else a new one.
    void choosePostKey();
    // After a post whose answer never came: whether the account's latest statuses hold it.
    void lookForPost();
    QUrl storedServer() const;
    ShareError failure(QNetworkReply* reply);

    QUrl server_;
    OAuth2Tokens tokens_;
    UploadRequest pending_;
    QString postKey_, postDigest_, postedMedia_;
    QTimer poll_;
};

} // namespace pimavo::sharing
