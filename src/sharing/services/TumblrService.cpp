#include "sharing/services/TumblrService.h"

#include "sharing/services/ApplicationKeys.h"
#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/Multipart.h"
#include "sharing/services/NetworkClient.h"
#include "sharing/services/ServiceAnswers.h"

#include <QFile>
#include <QHttpMultiPart>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

namespace pimavo::sharing {

namespace {

int statusOf(QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

TumblrService::TumblrService(QObject* parent) : WebPhotoService(ServiceKind::Tumblr, parent) {
    loadCredentials();
}

QUrl TumblrService::address(const QString& path, bool api) {
    return serviceAddress("PIMAVO_TUMBLR_URL", QUrl((api ? QStringLiteral("https://api.tumblr.com")
                                                         : QStringLiteral("https://www.tumblr.com")) +
                                                    path));
}

QString TumblrService::setupProblem() const {
    return applicationKey(ServiceKind::Tumblr).isComplete() ? QString()
                                                            : missingKeyAdvice(kind(), displayName());
}

std::vector<std::pair<QString, QString>> TumblrService::visibilities() const {
    //: Who can see the post
    return {{QStringLiteral("public"), tr("Everyone")},
            {QStringLiteral("private"), tr("Only Me (private post)")}};
}

void TumblrService::credentialsLoaded(const QJsonObject& stored) {
    tokens_ = OAuth2Tokens::fromStored(stored);
    if (tokens_.isEmpty()) return;
    account_ = setting("account").toString();
    for (const QVariant& blog : setting("blogs").toList()) {
        const QStringList pair = blog.toStringList();
        if (pair.size() == 2) blogs_.push_back({pair[0], pair[1]});
    }
}

void TumblrService::signIn() {
    if (!setupProblem().isEmpty()) {
        failLater(notConfigured());
        return;
    }
    if (!beginSignIn()) return;
    // Tumblr sends the browser back only to the address registered for the program, port and
    // all: a fixed port, unless one is asked for (0: any free port).
    quint16 port = 53682;
    bool given = false;
    const int asked = qEnvironmentVariableIntValue("PIMAVO_TUMBLR_REDIRECT_PORT", &given);
    if (given && asked >= 0 && asked <= 65535) port = quint16(asked);
    BrowserSignIn* browser = prepareBrowser(port);
    if (!browser) return;
    const QString state = randomToken(16);
    const QString verifier = randomToken(48);
    const QUrl redirect = browser->redirectUri();
    const QUrl page = withQuery(address("/oauth2/authorize", false),
                                {{"client_id", applicationKey(ServiceKind::Tumblr).key},
                                 {"response_type", "code"},
                                 {"scope", "basic write offline_access"},
                                 {"state", state},
                                 {"redirect_uri", redirect.toString()},
                                 {"code_challenge", pkceChallenge(verifier)},
                                 {"code_challenge_method", "S256"}});
    openBrowser(page, [this, state, verifier, redirect](const QUrlQuery& back) {
        const QString code = back.queryItemValue("code", QUrl::FullyDecoded);
        if (back.queryItemValue("state", QUrl::FullyDecoded) != state || code.isEmpty()) {
            finish(error(ShareErrorKind::SignInDenied));
            return;
        }
        exchangeCode(code, verifier, redirect);
    });
}

void TumblrService::exchangeCode(const QString& code, const QString& verifier, const QUrl& redirect) {
    const ApplicationKey app = applicationKey(ServiceKind::Tumblr);
    QNetworkReply* pending = postForm(address("/v2/oauth2/token"), {{"grant_type", "authorization_code"},
                                                                    {"code", code},
                                                                    {"client_id", app.key},
                                                                    {"client_secret", app.secret},
                                                                    {"redirect_uri", redirect.toString()},
                                                                    {"code_verifier", verifier}});
    track(pending, [this](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName())) {
            finish(e.kind == ShareErrorKind::Protocol || e.kind == ShareErrorKind::Rejected ||
                           e.kind == ShareErrorKind::Forbidden
                       ? error(ShareErrorKind::SignInDenied, e.httpStatus)
                       : e);
            return;
        }
        const OAuth2Tokens tokens = OAuth2Tokens::fromAnswer(reply->readAll());
        if (tokens.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        tokens_ = tokens;
        saveCredentials(tokens_.toStored(), [this] {
            fetchUserInfo([this] {
                finish();
                emit signedInChanged();
                emit destinationsChanged();
            });
        });
    });
}

void TumblrService::refresh(std::function<void()> then) {
    const ApplicationKey app = applicationKey(ServiceKind::Tumblr);
    QNetworkReply* pending = postForm(address("/v2/oauth2/token"), {{"grant_type", "refresh_token"},
                                                                    {"refresh_token", tokens_.refresh},
                                                                    {"client_id", app.key},
                                                                    {"client_secret", app.secret}});
    track(pending, [this, then](QNetworkReply* reply) {
        ShareError e = errorFromReply(reply, displayName());
        const int status = statusOf(reply);
        if (e && (status == 400 || status == 401)) {
            // The refresh token is refused too: only signing in again helps.
            dropSignIn();
            finish(error(ShareErrorKind::TokenExpired, status));
            emit signedInChanged();
            return;
        }
        const OAuth2Tokens tokens = e ? OAuth2Tokens() : OAuth2Tokens::fromAnswer(reply->readAll(), tokens_);
        if (e || tokens.isEmpty()) {
            finish(e ? e : error(ShareErrorKind::Protocol));
            return;
        }
        tokens_ = tokens;
        saveCredentials(tokens_.toStored(), then);
    });
}

void TumblrService::authorized(std::function<QNetworkReply*(const QString&)> send,
                               std::function<void(QNetworkReply*)> handler, bool retried) {
    const bool canRefresh = !tokens_.refresh.isEmpty();
    if (!retried && canRefresh && tokens_.isExpired()) {
        refresh([this, send, handler] { authorized(send, handler, true); });
        return;
    }
    track(send(tokens_.access), [this, send, handler, retried, canRefresh](QNetworkReply* reply) {
        if (statusOf(reply) == 401 && !retried && canRefresh) {
            refresh([this, send, handler] { authorized(send, handler, true); });
            return;
        }
        handler(reply);
    });
}

void TumblrService::fetchUserInfo(std::function<void()> then) {
    const auto send = [](const QString& token) {
        QNetworkRequest request = makeRequest(address("/v2/user/info"));
        request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
        return networkManager().get(request);
    };
    authorized(send, [this, then](QNetworkReply* reply) {
        // Without a refresh token, a refused token can only mean it has run out.
        if (ShareError e = errorFromReply(reply, displayName(), tokens_.refresh.isEmpty())) {
            if (e.kind == ShareErrorKind::TokenExpired) {
                dropSignIn();
                emit signedInChanged();
            }
            finish(e);
            return;
        }
        const std::optional<TumblrUser> user = readTumblrUser(reply->readAll());
        if (!user) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        account_ = user->name;
        blogs_ = user->blogs;
        QVariantList kept;
        for (const ShareDestination& blog : blogs_) kept << QVariant(QStringList{blog.id, blog.title});
        setSetting("account", account_);
        setSetting("blogs", kept);
        then();
    });
}

void TumblrService::fetchDestinations() {
    if (!isSignedIn() || isBusy()) {
        emit destinationsChanged();
        return;
    }
    if (!begin(false)) return;
    fetchUserInfo([this] {
        finish();
        emit destinationsChanged();
    });
}

void TumblrService::dropSignIn() {
    tokens_ = {};
    account_.clear();
    blogs_.clear();
    forgetCredentials();
    removeSetting("account");
    removeSetting("blogs");
}

void TumblrService::signOut() {
    cancel();
    dropSignIn();
    emit signedInChanged();
    emit destinationsChanged();
}

void TumblrService::upload(const UploadRequest& request) {
    if (!beginUpload()) return;
    QString blog = request.destination;
    if (blog.isEmpty()) blog = setting("blog").toString();
    if (blog.isEmpty() && !blogs_.empty()) blog = blogs_.front().id;
    if (blog.isEmpty()) blog = account_;
    setSetting("blog", blog);

    QJsonObject image{{"type", "image"},
                      {"media", QJsonArray{QJsonObject{{"type", "image/jpeg"}, {"identifier", "photo"}}}}};
    if (!request.altText.isEmpty()) image.insert("alt_text", request.altText);
    QJsonArray content;
    if (!request.title.isEmpty())
        content.append(QJsonObject{{"type", "text"}, {"subtype", "heading1"}, {"text", request.title}});
    content.append(image);
    if (!request.description.isEmpty())
        content.append(QJsonObject{{"type", "text"}, {"text", request.description}});
    QJsonObject post{{"content", content}};
    if (!request.tags.isEmpty()) post.insert("tags", request.tags.join(','));
    if (request.visibility == QLatin1String("private")) post.insert("state", "private");
    const QByteArray json = QJsonDocument(post).toJson(QJsonDocument::Compact);
    const QString filePath = request.filePath;
    const QUrl url = address("/v2/blog/" + blog + "/posts");

    // A missing export is said before anything is sent.
    if (!QFile::exists(filePath)) {
        finish(error(ShareErrorKind::Protocol));
        return;
    }
    // Made anew for each try: a refused token is refreshed and the post sent again.
    const auto send = [url, json, filePath](const QString& token) -> QNetworkReply* {
        QNetworkRequest http = makeRequest(url);
        http.setRawHeader("Authorization", "Bearer " + token.toUtf8());
        QHttpMultiPart* body = multipartWithFile({{"json", "application/json", json}}, {}, "photo", filePath);
        if (!body) return networkManager().post(http, QByteArray()); // refused by the service as empty
        QNetworkReply* reply = networkManager().post(http, body);
        body->setParent(reply);
        return reply;
    };
    authorized(send, [this, blog](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName(), tokens_.refresh.isEmpty())) {
            finish(e);
            return;
        }
        const QString id = readTumblrPostId(reply->readAll());
        if (id.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        finish();
        emit uploadFinished(address("/" + blog + "/" + id, false));
    });
}

} // namespace pimavo::sharing
