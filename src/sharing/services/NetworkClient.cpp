#include "sharing/services/NetworkClient.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QThreadStorage>
#include <algorithm>
#include <limits>

namespace pimavo::sharing {

namespace {

// Long enough for a slow server to start answering a large upload, short enough that a dead
// connection does not leave the progress bar standing for minutes.
constexpr int kTransferTimeoutMs = 60000;
int transferTimeoutMs = kTransferTimeoutMs;
constexpr qint64 kDiskCacheBytes = 50LL << 20;

QNetworkAccessManager* createManager() {
    auto* manager = new QNetworkAccessManager;
    auto* cache = new QNetworkDiskCache(manager);
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/pimavo/network";
    QDir().mkpath(folder);
    cache->setCacheDirectory(folder);
    cache->setMaximumCacheSize(kDiskCacheBytes);
    manager->setCache(cache);
    manager->setAutoDeleteReplies(false);
    return manager;
}

// The sentences of the errors, shared with the share window's pages.
struct ErrorText {
    Q_DECLARE_TR_FUNCTIONS(pimavo::sharing::ShareError)
};

struct KindText {
    ShareErrorKind kind;
    const char* key;
};
constexpr KindText kErrorKeys[] = {
    {ShareErrorKind::Offline,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 cannot be reached. Check your internet connection and try again.")},
    {ShareErrorKind::NotConfigured,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "%1 cannot be used from this copy of Pimavo.")},
    {ShareErrorKind::NotSignedIn, QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "Sign in to %1 first.")},
    {ShareErrorKind::SignInDenied, QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                                                     "Signing in to %1 did not complete. Please try again.")},
    {ShareErrorKind::TokenExpired,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 no longer accepts your sign-in. Please sign in again.")},
    {ShareErrorKind::Forbidden,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 refused the request. Your account may not be allowed to post this.")},
    {ShareErrorKind::TooLarge,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "The picture is too large for %1. Choose a smaller size and try again.")},
    {ShareErrorKind::RateLimited,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 is receiving too many requests from you. Please wait a while and try again.")},
    {ShareErrorKind::Server,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 has a problem of its own right now. Please try again later.")},
    {ShareErrorKind::Connection,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "The connection to %1 was lost before the picture was posted. Please try again.")},
    {ShareErrorKind::Protocol,
     QT_TRANSLATE_NOOP(
         "pimavo::sharing::ShareError",
         "%1 gave an answer Pimavo does not understand. The picture may not have been posted.")},
    {ShareErrorKind::Rejected,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "%1 did not accept the request.")},
    {ShareErrorKind::MaybePosted,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError",
                       "%1 did not answer in time, and the picture may have been posted. Look at your "
                       "account before posting it again.")},
    {ShareErrorKind::Cancelled,
     QT_TRANSLATE_NOOP("pimavo::sharing::ShareError", "Posting to %1 was cancelled.")},
};

} // namespace

QNetworkAccessManager& networkManager() {
    // One per thread: a manager may only be used on the thread it was made on.
    static QThreadStorage<QNetworkAccessManager*> managers;
    if (!managers.hasLocalData()) managers.setLocalData(createManager());
    return *managers.localData();
}

bool isNetworkReachable() {
    static const bool loaded =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr;
    if (!info) return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

QNetworkRequest makeRequest(const QUrl& url) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pimavo"));
    request.setTransferTimeout(transferTimeoutMs);
    // Answers of the services' interfaces are the account's own and never worth keeping.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    return request;
}

void setTransferTimeout(std::chrono::milliseconds timeout) {
    transferTimeoutMs = timeout.count() > 0 ? int(timeout.count()) : kTransferTimeoutMs;
}

QString reasonFromAnswer(const QByteArray& body) {
    const QJsonObject answer = QJsonDocument::fromJson(body).object();
    // Mastodon: {"error": "Validation failed: ..."}; OAuth: error_description; Tumblr: errors[].detail
    // or meta.msg; Flickr: message.
    for (const char* field : {"error_description", "error", "message"})
        if (const QString said = answer.value(QLatin1String(field)).toString().trimmed(); !said.isEmpty())
            return said;
    const QJsonArray errors = answer.value("errors").toArray();
    if (!errors.isEmpty())
        if (const QString said = errors.first().toObject().value("detail").toString().trimmed();
            !said.isEmpty())
            return said;
    return answer.value("meta").toObject().value("msg").toString().trimmed();
}

QByteArray formEncoded(const FormFields& fields) {
    QByteArray body;
    for (const auto& [name, value] : fields) {
        if (!body.isEmpty()) body += '&';
        body += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}

QUrl withQuery(QUrl url, const FormFields& fields) {
    url.setQuery(QString::fromLatin1(formEncoded(fields)), QUrl::StrictMode);
    return url;
}

QNetworkReply* postForm(const QUrl& url, const FormFields& fields, const QString& bearer) {
    QNetworkRequest request = makeRequest(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    if (!bearer.isEmpty()) request.setRawHeader("Authorization", "Bearer " + bearer.toUtf8());
    return networkManager().post(request, formEncoded(fields));
}

QUrl serviceAddress(const char* variable, const QUrl& standard) {
    const QUrl local = QUrl(qEnvironmentVariable(variable), QUrl::StrictMode);
    if (!local.isValid() || local.isRelative() || local.host().isEmpty()) return standard;
    QUrl address = standard;
    address.setScheme(local.scheme());
    address.setHost(local.host());
    address.setPort(local.port());
    address.setPath(local.path(QUrl::FullyDecoded).chopped(local.path().endsWith('/') ? 1 : 0) +
                    standard.path(QUrl::FullyDecoded));
    return address;
}

bool isAcceptableServer(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty()) return false;
    if (url.scheme() == QLatin1String("https")) return true;
    if (url.scheme() != QLatin1String("http")) return false;
    const QString host = url.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

int retryAfterSeconds(const QByteArray& header) {
    const QByteArray text = header.trimmed();
    if (text.isEmpty()) return 0;
    bool ok = false;
    const int seconds = text.toInt(&ok);
    if (ok) return std::max(0, seconds);
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(text), Qt::RFC2822Date);
    if (!when.isValid()) return 0;
    // A date decades ahead is as good as never, but must not wrap round to a wait in the past.
    return int(
        std::clamp<qint64>(QDateTime::currentDateTimeUtc().secsTo(when), 0, std::numeric_limits<int>::max()));
}

ShareError makeError(ShareErrorKind kind, const QString& service, int httpStatus, int retryAfter) {
    ShareError error;
    error.kind = kind;
    error.httpStatus = httpStatus;
    error.retryAfterSeconds = kind == ShareErrorKind::RateLimited ? retryAfter : 0;
    if (kind == ShareErrorKind::None) return error;
    if (kind == ShareErrorKind::RateLimited && retryAfter > 0) {
        const int minutes = (retryAfter + 59) / 60;
        error.message =
            retryAfter < 120
                ? ErrorText::tr("%1 is receiving too many requests from you. Please try again in %n seconds.",
                                nullptr, retryAfter)
                      .arg(service)
                : ErrorText::tr("%1 is receiving too many requests from you. Please try again in %n minutes.",
                                nullptr, minutes)
                      .arg(service);
        return error;
    }
    for (const KindText& k : kErrorKeys)
        if (k.kind == kind) error.message = ErrorText::tr(k.key).arg(service);
    if (kind == ShareErrorKind::Server && httpStatus > 0)
        error.message += ' ' + ErrorText::tr("(The server answered %1.)").arg(httpStatus);
    return error;
}

ShareError errorFromReply(QNetworkReply* reply, const QString& service, bool tokenProblem) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0) {
        switch (reply->error()) {
        case QNetworkReply::NoError:
            return {};
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
            return makeError(ShareErrorKind::Offline, service);
        default:
            // Closed, reset or timed out part way: whatever was sent, the request did not happen.
            return makeError(ShareErrorKind::Connection, service);
        }
    }
    const QByteArray challenge = reply->rawHeader("WWW-Authenticate");
    if (challenge.contains("invalid_token")) tokenProblem = true;
    if (status >= 200 && status < 300) {
        // An answer that began well but whose body was cut off is still a failed request.
        if (reply->error() != QNetworkReply::NoError)
            return makeError(ShareErrorKind::Connection, service, status);
        return {};
    }
    if (status == 401)
        return makeError(tokenProblem ? ShareErrorKind::TokenExpired : ShareErrorKind::Forbidden, service,
                         status);
    if (status == 403) return makeError(ShareErrorKind::Forbidden, service, status);
    if (status == 413) return makeError(ShareErrorKind::TooLarge, service, status);
    if (status == 429)
        return makeError(ShareErrorKind::RateLimited, service, status,
                         retryAfterSeconds(reply->rawHeader("Retry-After")));
    if (status >= 500) return makeError(ShareErrorKind::Server, service, status);
    if (status == 400 || status == 422) {
        ShareError e = makeError(ShareErrorKind::Rejected, service, status);
        e.reason = reasonFromAnswer(reply->isOpen() ? reply->peek(16384) : QByteArray());
        if (!e.reason.isEmpty()) e.message += ' ' + ErrorText::tr("It said: “%1”.").arg(e.reason);
        return e;
    }
    return makeError(ShareErrorKind::Protocol, service, status);
}

} // namespace pimavo::sharing
