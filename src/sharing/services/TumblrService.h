// Tumblr: OAuth 2.0 authorisation code (with PKCE) through the browser, tokens refreshed when they
// expire or are refused, the user's blogs as destinations, and photo posts in the Neue Post Format:
// a multipart body whose "json" part holds an image block naming the uploaded part, then the
// caption as a text block.
#pragma once

#include "sharing/services/OAuth2Tokens.h"
#include "sharing/services/WebPhotoService.h"

#include <functional>

namespace pimavo::sharing {

class TumblrService : public WebPhotoService {
    Q_OBJECT
public:
    explicit TumblrService(QObject* parent = nullptr);

    QString displayName() const override { return QStringLiteral("Tumblr"); }
    QString setupProblem() const override;
    bool isSignedIn() const override { return !tokens_.isEmpty(); }
    void signIn() override;
    void signOut() override;
    void fetchDestinations() override;
    std::vector<ShareDestination> destinations() const override { return blogs_; }
    std::vector<std::pair<QString, QString>> visibilities() const override;
    void upload(const UploadRequest& request) override;

protected:
    void credentialsLoaded(const QJsonObject& stored) override;

private:
    static QUrl address(const QString& path, bool api = true);
    void exchangeCode(const QString& code, const QString& verifier, const QUrl& redirect);
    // Sends the request `send` makes with the current token; refreshes the token first when it has
    // expired, and once more when Tumblr answers 401.
    void authorized(std::function<QNetworkReply*(const QString& token)> send,
                    std::function<void(QNetworkReply*)> handler, bool retried = false);
    void refresh(std::function<void()> then);
    void fetchUserInfo(std::function<void()> then);
    void dropSignIn();

    OAuth2Tokens tokens_;
    std::vector<ShareDestination> blogs_;
};

} // namespace pimavo::sharing
