#include "sharing/services/MastodonService.h"

#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/CredentialStore.h"
#include "sharing/services/Multipart.h"
#include "sharing/services/NetworkClient.h"
#include "sharing/services/ServiceAnswers.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>
#include <QUuid>

namespace pimavo::sharing {

namespace {

const QString kScopes = QStringLiteral("read:accounts write:media write:statuses");
// The redirect address registered with the server: loopback addresses match whatever port the
// listener gets (RFC 8252, section 7.3).
const QString kRegisteredRedirect = QStringLiteral("http://127.0.0.1/callback");
// Processing of a large picture takes seconds; the waits grow so that a slow server is not
// asked too often, and the whole wait stays under two minutes.
constexpr int kPollDelaysMs[] = {250, 500, 1000, 2000, 3000, 5000};
constexpr int kMaxPolls = 30;

int statusOf(QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

MastodonService::MastodonService(QObject* parent) : WebPhotoService(ServiceKind::Mastodon, parent) {
    poll_.setSingleShot(true);
    server_ = normalisedServer(setting("server").toUrl());
    loadCredentials();
}

QUrl MastodonService::normalisedServer(const QUrl& given) {
    QUrl url = given;
    // "mastodon.social" as typed: a host without a scheme.
    if (url.scheme().isEmpty() && !given.toString().isEmpty())
        url = QUrl(QStringLiteral("https://") + given.toString());
    if (!isAcceptableServer(url)) return {};
    QUrl origin;
    origin.setScheme(url.scheme());
    origin.setHost(url.host().toLower());
    origin.setPort(url.port());
    return origin;
}

QUrl MastodonService::address(const QString& path) const {
    QUrl url = server_;
    url.setPath(path);
    return url;
}

QString MastodonService::clientEntry() const {
    return QStringLiteral("mastodon-client ") + server_.toString();
}

void MastodonService::credentialsLoaded(const QJsonObject& stored) {
    const QUrl storedServer = normalisedServer(QUrl(stored.value("server").toString()));
    if (storedServer.isEmpty() || storedServer != server_) return;
    tokens_ = OAuth2Tokens::fromStored(stored);
    if (!tokens_.isEmpty()) account_ = setting("account").toString();
}

void MastodonService::setServer(const QUrl& server) {
    const QUrl normalised = normalisedServer(server);
    if (normalised == server_) return;
    const bool wasSignedIn = isSignedIn();
    if (wasSignedIn) cancel();
    tokens_ = {};
    account_.clear();
    server_ = normalised;
    // The stored account stays the user's until a sign-in on the new server succeeds: a mistyped
    // server or a refused sign-in loses nothing. Back on the stored server, its sign-in is found again.
    if (!server_.isEmpty() && server_ == storedServer()) {
        ready_ = false;
        loadCredentials();
    }
    if (wasSignedIn) emit signedInChanged();
}

QUrl MastodonService::storedServer() const {
    return normalisedServer(setting("server").toUrl());
}

std::vector<std::pair<QString, QString>> MastodonService::visibilities() const {
    //: Who can see the post
    return {{QStringLiteral("public"), tr("Public")},
            {QStringLiteral("unlisted"), tr("Unlisted")},
            {QStringLiteral("private"), tr("Followers only")},
            {QStringLiteral("direct"), tr("Mentioned people only")}};
}

ShareError MastodonService::failure(QNetworkReply* reply) {
    // Mastodon says {"error": "The access token is invalid"} (or "expired", "revoked") with a 401.
    const QByteArray body = reply->isOpen() ? reply->peek(4096) : QByteArray();
    const bool tokenProblem = statusOf(reply) == 401 && body.contains("access token");
    ShareError e = errorFromReply(reply, displayName(), tokenProblem);
    if (e.kind == ShareErrorKind::TokenExpired) {
        tokens_ = {};
        account_.clear();
        // A token refused on another server than the stored account's is only the one in hand.
        if (server_ == storedServer()) {
            forgetCredentials();
            removeSetting("account");
        }
        emit signedInChanged();
    }
    return e;
}

void MastodonService::signIn() {
    if (server_.isEmpty()) {
        ShareError e = error(ShareErrorKind::NotConfigured);
        e.message = tr("Enter the address of your server first, such as https://mastodon.social. Only secure "
                       "(https) addresses are accepted.");
        failLater(e);
        return;
    }
    if (!beginSignIn()) return;
    BrowserSignIn* browser = prepareBrowser();
    if (!browser) return;
    const QString clientId =
        setting("clients/" + server_.host() + QString::number(server_.port(0)) + "/id").toString();
    const auto registerThen = [this, redirect = browser->redirectUri()] {
        registerApp(redirect, [this](const QString& id, const QString& secret) { authorize(id, secret); });
    };
    if (clientId.isEmpty()) {
        registerThen();
        return;
    }
    CredentialStore::shared().read(clientEntry(), this,
                                   [this, clientId, registerThen](std::optional<QByteArray> secret) {
                                       if (!secret || secret->isEmpty())
                                           registerThen();
                                       else
                                           authorize(clientId, QString::fromUtf8(*secret));
                                   });
}

void MastodonService::registerApp(const QUrl&, std::function<void(QString, QString)> then) {
    QNetworkReply* pending = postForm(address("/api/v1/apps"), {{"client_name", "Pimavo"},
                                                                {"redirect_uris", kRegisteredRedirect},
                                                                {"scopes", kScopes},
                                                                {"website", "https://pimavo.org"}});
    track(pending, [this, then](QNetworkReply* reply) {
        if (ShareError e = errorFromReply(reply, displayName())) {
            finish(e);
            return;
        }
        const MastodonApp app = readMastodonApp(reply->readAll());
        const QString id = app.clientId;
        const QString secret = app.clientSecret;
        if (id.isEmpty() || secret.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        setSetting("clients/" + server_.host() + QString::number(server_.port(0)) + "/id", id);
        CredentialStore::shared().write(clientEntry(), secret.toUtf8(), this,
                                        [then, id, secret] { then(id, secret); });
    });
}

void MastodonService::authorize(const QString& clientId, const QString& clientSecret) {
    BrowserSignIn* browser = prepareBrowser();
    if (!browser) return;
    const QString state = randomToken(16);
    const QString verifier = randomToken(48);
    const QUrl redirect = browser->redirectUri();
    const QUrl page = withQuery(address("/oauth/authorize"), {{"response_type", "code"},
                                                              {"client_id", clientId},
                                                              {"redirect_uri", redirect.toString()},
                                                              {"scope", kScopes},
                                                              {"state", state},
                                                              {"code_challenge", pkceChallenge(verifier)},
                                                              {"code_challenge_method", "S256"}});
    openBrowser(page, [this, state, verifier, redirect, clientId, clientSecret](const QUrlQuery& back) {
        const QString code = back.queryItemValue("code", QUrl::FullyDecoded);
        if (back.queryItemValue("state", QUrl::FullyDecoded) != state || code.isEmpty()) {
            finish(error(ShareErrorKind::SignInDenied));
            return;
        }
        QNetworkReply* pending = postForm(address("/oauth/token"), {{"grant_type", "authorization_code"},
                                                                    {"code", code},
                                                                    {"client_id", clientId},
                                                                    {"client_secret", clientSecret},
                                                                    {"redirect_uri", redirect.toString()},
                                                                    {"code_verifier", verifier},
                                                                    {"scope", kScopes}});
        track(pending, [this](QNetworkReply* reply) {
            if (ShareError e = errorFromReply(reply, displayName())) {
                finish(e.kind == ShareErrorKind::Protocol || e.kind == ShareErrorKind::Rejected ||
                               e.kind == ShareErrorKind::Forbidden
                           ? error(ShareErrorKind::SignInDenied, e.httpStatus)
                           : e);
                return;
            }
            tokens_ = OAuth2Tokens::fromAnswer(reply->readAll());
            if (tokens_.isEmpty()) {
                finish(error(ShareErrorKind::Protocol));
                return;
            }
            verifyCredentials();
        });
    });
}

void MastodonService::verifyCredentials() {
    QNetworkRequest request = makeRequest(address("/api/v1/accounts/verify_credentials"));
    request.setRawHeader("Authorization", "Bearer " + tokens_.access.toUtf8());
    track(networkManager().get(request), [this](QNetworkReply* reply) {
        if (ShareError e = failure(reply)) {
            finish(e);
            return;
        }
        const QString name = readMastodonAccount(reply->readAll()).userName;
        if (name.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        // Only now does the new account replace the one stored: the sign-in is known to work.
        account_ = '@' + name + '@' + server_.host();
        QJsonObject stored = tokens_.toStored();
        stored.insert("server", server_.toString());
        saveCredentials(stored, [this] {
            setSetting("server", server_);
            setSetting("account", account_);
            finish();
            emit signedInChanged();
        });
    });
}

void MastodonService::signOut() {
    cancel();
    tokens_ = {};
    account_.clear();
    if (server_ == storedServer()) {
        forgetCredentials();
        removeSetting("account");
    }
    emit signedInChanged();
}

void MastodonService::cancel() {
    if (poll_.isActive()) {
        poll_.stop();
        finish(error(ShareErrorKind::Cancelled));
        return;
    }
    WebPhotoService::cancel();
}

void MastodonService::upload(const UploadRequest& request) {
    if (!beginUpload()) return;
    pending_ = request;
    choosePostKey();
    FormFields fields;
    if (!request.altText.isEmpty()) fields.push_back({"description", request.altText});
    QHttpMultiPart* body = multipartWithFile({}, fields, "file", request.filePath);
    if (!body) {
        finish(error(ShareErrorKind::Protocol));
        return;
    }
    QNetworkRequest http = makeRequest(address("/api/v2/media"));
    http.setRawHeader("Authorization", "Bearer " + tokens_.access.toUtf8());
    QNetworkReply* pending = networkManager().post(http, body);
    body->setParent(pending);
    track(pending, [this](QNetworkReply* reply) {
        if (ShareError e = failure(reply)) {
            finish(e);
            return;
        }
        const MastodonMedia media = readMastodonMedia(reply->readAll());
        const QString id = media.id;
        if (id.isEmpty()) {
            finish(error(ShareErrorKind::Protocol));
            return;
        }
        // 202: accepted, the server still works on it and has no address for it yet.
        if (statusOf(reply) == 202 || !media.processed)
            waitForMedia(id, 0);
        else
            postStatus(id);
    });
}

void MastodonService::waitForMedia(const QString& mediaId, int attempt) {
    if (attempt >= kMaxPolls) {
        finish(error(ShareErrorKind::Server));
        return;
    }
    const int delay = kPollDelaysMs[std::min<std::size_t>(attempt, std::size(kPollDelaysMs) - 1)];
    poll_.disconnect(this);
    connect(&poll_, &QTimer::timeout, this, [this, mediaId, attempt] {
        QNetworkRequest request = makeRequest(address("/api/v1/media/" + mediaId));
        request.setRawHeader("Authorization", "Bearer " + tokens_.access.toUtf8());
        track(networkManager().get(request), [this, mediaId, attempt](QNetworkReply* reply) {
            if (ShareError e = failure(reply)) {
                finish(e);
                return;
            }
            const MastodonMedia media = readMastodonMedia(reply->readAll());
            if (statusOf(reply) == 206 || !media.processed)
                waitForMedia(mediaId, attempt + 1);
            else
                postStatus(mediaId);
        });
    });
    poll_.start(delay);
}

void MastodonService::postStatus(const QString& mediaId) {
    QString text = pending_.description;
    if (text.isEmpty()) text = pending_.title;
    QStringList hashtags;
    for (const QString& tag : pending_.tags) {
        QString t = tag.trimmed();
        t.remove(' ').remove('#');
        if (!t.isEmpty()) hashtags << '#' + t;
    }
    if (!hashtags.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + hashtags.join(' ');
    postedMedia_ = mediaId;
    FormFields fields{{"status", text}, {"media_ids[]", mediaId}};
    if (!pending_.visibility.isEmpty()) fields.push_back({"visibility", pending_.visibility});
    QNetworkRequest request = makeRequest(address("/api/v1/statuses"));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("Authorization", "Bearer " + tokens_.access.toUtf8());
    // The same post sent again, after an answer that never came, is posted once: the server keeps
    // what it did under this key, and a retry asks with the same key.
    request.setRawHeader("Idempotency-Key", postKey_.toUtf8());
    setSetting("unsettledPost/digest", postDigest_);
    setSetting("unsettledPost/key", postKey_);
    track(networkManager().post(request, formEncoded(fields)), [this](QNetworkReply* reply) {
        ShareError e = failure(reply);
        if (e.kind == ShareErrorKind::Connection) {
            // The request went out; the server may have posted it and the answer got lost.
            lookForPost();
            return;
        }
        // An answer settles the post either way, except a server error that may come after posting.
        if (e.kind != ShareErrorKind::Server) removeSetting("unsettledPost");
        if (e) {
            finish(e);
            return;
        }
        const QUrl where = readMastodonStatusAddress(reply->readAll());
        finish();
        emit uploadFinished(where);
    });
}

void MastodonService::choosePostKey() {
    QCryptographicHash digest(QCryptographicHash::Sha256);
    for (const QString& part : {server_.toString(), account_, pending_.title, pending_.description,
                                pending_.altText, pending_.tags.join('\n'), pending_.visibility})
        digest.addData((part + QChar(0)).toUtf8());
    QFile picture(pending_.filePath);
    if (picture.open(QIODevice::ReadOnly)) digest.addData(&picture);
    postDigest_ = QString::fromLatin1(digest.result().toHex());
    // The same picture and words as a post whose fate is unknown: the same post, tried again.
    const QString unsettled = setting("unsettledPost/key").toString();
    postKey_ = !unsettled.isEmpty() && setting("unsettledPost/digest").toString() == postDigest_
                   ? unsettled
                   : QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void MastodonService::lookForPost() {
    // The account's latest statuses, as anyone may read them: the token's scopes do not cover
    // reading statuses, and a public or unlisted post shows there either way.
    QNetworkRequest me = makeRequest(address("/api/v1/accounts/verify_credentials"));
    me.setRawHeader("Authorization", "Bearer " + tokens_.access.toUtf8());
    const auto unknown = [this] { finish(error(ShareErrorKind::MaybePosted)); };
    track(networkManager().get(me), [this, unknown](QNetworkReply* reply) {
        const QString id = readMastodonAccount(reply->readAll()).id;
        if (errorFromReply(reply, displayName()) || id.isEmpty()) {
            unknown();
            return;
        }
        const QUrl latest = withQuery(address("/api/v1/accounts/" + id + "/statuses"), {{"limit", "10"}});
        track(networkManager().get(makeRequest(latest)), [this, unknown](QNetworkReply* statuses) {
            const auto found = findMastodonStatusWithMedia(statuses->readAll(), postedMedia_);
            if (errorFromReply(statuses, displayName()) || !found) {
                unknown();
                return;
            }
            if (*found) {
                removeSetting("unsettledPost");
                finish();
                emit uploadFinished(**found);
                return;
            }
            // Followers-only and direct posts do not show to anyone: not seeing it proves nothing.
            if (pending_.visibility == QLatin1String("private") ||
                pending_.visibility == QLatin1String("direct")) {
                unknown();
                return;
            }
            ShareError e = error(ShareErrorKind::Connection);
            e.message = tr("The connection to %1 was lost, and the post is not on your account. Trying again "
                           "will not post it twice.")
                            .arg(displayName());
            finish(e);
        });
    });
}

} // namespace pimavo::sharing
