// Flickr: OAuth 1.0a through the browser (request token, authorisation with write permission,
// verifier, access token), the account checked with flickr.test.login, and photos uploaded as
// multipart bodies signed without their photo part. Pictures go up at most 2048 pixels a side.
#pragma once

#include "sharing/services/OAuth1.h"
#include "sharing/services/WebPhotoService.h"

namespace pimavo::sharing {

class FlickrService : public WebPhotoService {
    Q_OBJECT
public:
    explicit FlickrService(QObject* parent = nullptr);

    QString displayName() const override { return QStringLiteral("Flickr"); }
    QString setupProblem() const override;
    bool isSignedIn() const override { return !token_.isEmpty(); }
    void signIn() override;
    void signOut() override;
    int maxPixelSide() const override { return 2048; }
    std::vector<std::pair<QString, QString>> visibilities() const override;
    void upload(const UploadRequest& request) override;

protected:
    void credentialsLoaded(const QJsonObject& stored) override;

private:
    static QUrl address(const QString& path);
    OAuth1Credentials credentials(const QString& token, const QString& secret) const;
    void requestAccessToken(const QString& requestToken, const QString& requestSecret,
                            const QString& verifier);
    // Asks who the token belongs to; `signingIn`: a failure ends the sign-in rather than the token.
    void testLogin(bool signingIn);

    QString token_, tokenSecret_, userId_;
};

} // namespace pimavo::sharing
