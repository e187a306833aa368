#include "sharing/services/FlickrService.h"

#include "sharing/services/ApplicationKeys.h"
#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/Multipart.h"
#include "sharing/services/NetworkClient.h"
#include "sharing/services/ServiceAnswers.h"

#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

namespace pimavo::sharing {

namespace {

// Flickr's API error codes that say the token is no longer good (98: invalid auth token) or
// lacks the right (99: insufficient permissions), and the upload codes for size.
constexpr int kInvalidToken = 98;
constexpr int kNoPermission = 99;
constexpr int kUploadLimit = 6;

} // namespace

FlickrService::FlickrService(QObject* parent) : WebPhotoService(ServiceKind::Flickr, parent) {
    loadCredentials();
}

QUrl FlickrService::address(const QString& path) {
    const bool upload = path.startsWith(QLatin1String("/services/upload"));
    return serviceAddress("PIMAVO_FLICKR_URL", QUrl((upload ? QStringLiteral("https://up.flickr.com")
                                                            : QStringLiteral("https://www.flickr.com")) +
                                                    path));
}

QString FlickrService::setupProblem() const {
    return applicationKey(ServiceKind::Flickr).isComplete() ? QString()
                                                            : missingKeyAdvice(kind(), displayName());
}

std::vector<std::pair<QString, QString>> FlickrService::visibilities() const {
    //: Who can see the photo
    return {{QStringLiteral("private"), tr("Only Me")},
            {QStringLiteral("friends"), tr("Me & Friends")},
            {QStringLiteral("family"), tr("Me & Family")},
            {QStringLiteral("public"), tr("Anyone")}};
}

OAuth1Credentials FlickrService::credentials(const QString& token, const QString& secret) const {
    const ApplicationKey app = applicationKey(ServiceKind::Flickr);
    return {app.key, app.secret, token, secret};
}

void FlickrService::credentialsLoaded(const QJsonObject& stored) {
    token_ = stored.value("token").toString();
    tokenSecret_ = stored.value("secret").toString();
    if (token_.isEmpty() || tokenSecret_.isEmpty()) {
        token_.clear();
        tokenSecret_.clear();
        return;
    }
    account_ = setting("account").toString();
    userId_ = setting("userId").toString();
    // A stored sign-in is checked once; one Flickr no longer accepts is dropped.
    if (!setupProblem().isEmpty()) return;
    testLogin(false);
}

void FlickrService::signIn() {
    if (!setupProblem().isEmpty()) {
        failLater(notConfigured());
        return;
    }
    if (!beginSignIn()) return;
    BrowserSignIn* browser = prepareBrowser();
    if (!browser) return;
    const QUrl url = address("/services/oauth/request_token");
    QMultiMap<QString, QVariant> extras;
    extras.insert(QStringLiteral("oauth_callback"), browser->redirectUri().toString());
    QNetworkRequest request = makeRequest(url);
    request.setRawHeader("Authorization",
                         oauth1AuthorizationHeader("GET", url, {}, credentials({}, {}), extras));
    track(networkManager().get(request), [this](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName())) {
            finish(e);
            return;
        }
        const FlickrTokenAnswer answer = readFlickrTokenAnswer(reply->readAll());
        const QString requestToken = answer.token;
        const QString requestSecret = answer.secret;
        if (requestToken.isEmpty() || requestSecret.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        const QUrl page = withQuery(address("/services/oauth/authorize"),
                                    {{"oauth_token", requestToken}, {"perms", "write"}});
        openBrowser(page, [this, requestToken, requestSecret](const QUrlQuery& back) {
            const QString token = back.queryItemValue("oauth_token", QUrl::FullyDecoded);
            const QString verifier = back.queryItemValue("oauth_verifier", QUrl::FullyDecoded);
            // The token ties the answer to this sign-in, as `state` does in OAuth 2.0.
            if (token != requestToken || verifier.isEmpty()) {
                ShareError e = error(ShareErrorKind::SignInDenied);
                e.message = tr("Signing in to Flickr failed. Please try again.");
                finish(e);
                return;
            }
            requestAccessToken(requestToken, requestSecret, verifier);
        });
    });
}

void FlickrService::requestAccessToken(const QString& requestToken, const QString& requestSecret,
                                       const QString& verifier) {
    const QUrl url = address("/services/oauth/access_token");
    QMultiMap<QString, QVariant> extras;
    extras.insert(QStringLiteral("oauth_verifier"), verifier);
    QNetworkRequest request = makeRequest(url);
    request.setRawHeader(
        "Authorization",
        oauth1AuthorizationHeader("GET", url, {}, credentials(requestToken, requestSecret), extras));
    track(networkManager().get(request), [this](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName())) {
            // A refused verifier is a refused sign-in, not a matter of permissions.
            if (e.kind == ShareErrorKind::Forbidden || e.kind == ShareErrorKind::TokenExpired)
                e = error(ShareErrorKind::SignInDenied, e.httpStatus);
            finish(e);
            return;
        }
        const FlickrTokenAnswer answer = readFlickrTokenAnswer(reply->readAll());
        const QString token = answer.token;
        const QString secret = answer.secret;
        if (token.isEmpty() || secret.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        token_ = token;
        tokenSecret_ = secret;
        userId_ = answer.userId;
        account_ = answer.userName;
        setSetting("userId", userId_);
        saveCredentials(QJsonObject{{"token", token_}, {"secret", tokenSecret_}},
                        [this] { testLogin(true); });
    });
}

void FlickrService::testLogin(bool signingIn) {
    const QUrl url =
        withQuery(address("/services/rest"),
                  {{"method", "flickr.test.login"}, {"format", "json"}, {"nojsoncallback", "1"}});
    QNetworkRequest request = makeRequest(url);
    request.setRawHeader("Authorization",
                         oauth1AuthorizationHeader("GET", url, {}, credentials(token_, tokenSecret_)));
    QNetworkReply* pending = networkManager().get(request);
    const auto handle = [this, signingIn](QNetworkReply* reply) {
        ShareError e = errorFromReply(reply, displayName());
        const FlickrLoginAnswer answer = readFlickrLoginAnswer(reply->readAll());
        if (!e && !answer.ok) {
            e = error(answer.code == kInvalidToken || answer.code == kNoPermission
                          ? ShareErrorKind::TokenExpired
                          : ShareErrorKind::Protocol);
        }
        if (e.kind == ShareErrorKind::Forbidden) e = error(ShareErrorKind::TokenExpired, e.httpStatus);
        if (e.kind == ShareErrorKind::TokenExpired) {
            token_.clear();
            tokenSecret_.clear();
            account_.clear();
            forgetCredentials();
            removeSetting("account");
        } else if (!e) {
            if (!answer.userName.isEmpty()) account_ = answer.userName;
            if (!answer.userId.isEmpty()) userId_ = answer.userId;
            setSetting("account", account_);
            setSetting("userId", userId_);
        }
        if (signingIn) {
            finish(e);
            if (!e) emit signedInChanged();
        } else if (e.kind == ShareErrorKind::TokenExpired) {
            emit signedInChanged();
        }
    };
    if (signingIn) {
        track(pending, handle);
    } else {
        // The check of a stored sign-in runs beside whatever the window starts.
        connect(pending, &QNetworkReply::finished, this, [pending, handle] {
            pending->deleteLater();
            handle(pending);
        });
    }
}

void FlickrService::signOut() {
    cancel();
    token_.clear();
    tokenSecret_.clear();
    account_.clear();
    userId_.clear();
    forgetCredentials();
    removeSetting("account");
    removeSetting("userId");
    emit signedInChanged();
}

void FlickrService::upload(const UploadRequest& request) {
    if (!beginUpload()) return;
    const QString visibility = request.visibility.isEmpty() ? QStringLiteral("private") : request.visibility;
    QStringList tags;
    for (const QString& tag : request.tags) {
        const QString t = tag.trimmed().remove('"');
        if (!t.isEmpty()) tags << (t.contains(' ') ? '"' + t + '"' : t);
    }
    QString description = request.description;
    if (!request.altText.isEmpty() && description.isEmpty()) description = request.altText;
    const FormFields fields{
        {"title", request.title},
        {"description", description},
        {"tags", tags.join(' ')},
        {"is_public", visibility == QLatin1String("public") ? "1" : "0"},
        {"is_friend", visibility == QLatin1String("friends") ? "1" : "0"},
        {"is_family", visibility == QLatin1String("family") ? "1" : "0"},
    };
    QHttpMultiPart* body = multipartWithFile({}, fields, "photo", request.filePath);
    if (!body) {
        finish(error(ShareErrorKind::Protocol));
        return;
    }
    const QUrl url = address("/services/upload/");
    QMultiMap<QString, QVariant> signedFields;
    for (const auto& [name, value] : fields) signedFields.insert(name, value);
    QNetworkRequest http = makeRequest(url);
    http.setRawHeader("Authorization", oauth1AuthorizationHeader("POST", url, signedFields,
                                                                 credentials(token_, tokenSecret_)));
    QNetworkReply* pending = networkManager().post(http, body);
    body->setParent(pending);
    track(pending, [this](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName())) {
            finish(e);
            return;
        }
        const FlickrUploadAnswer answer = readFlickrUploadAnswer(reply->readAll());
        if (!answer.ok) {
            ShareErrorKind kind = ShareErrorKind::Protocol;
            if (answer.code == kInvalidToken)
                kind = ShareErrorKind::TokenExpired;
            else if (answer.code == kNoPermission)
                kind = ShareErrorKind::Forbidden;
            else if (answer.code == kUploadLimit)
                kind = ShareErrorKind::TooLarge;
            finish(error(kind));
            if (kind == ShareErrorKind::TokenExpired) signOut();
            return;
        }
        QUrl where =
            address("/photos/" + (userId_.isEmpty() ? QStringLiteral("me") : userId_) + "/" + answer.photoId);
        finish();
        emit uploadFinished(where);
    });
}

} // namespace pimavo::sharing
