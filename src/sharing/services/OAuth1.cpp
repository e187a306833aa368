#include "sharing/services/OAuth1.h"

#include <QDateTime>
#include <QOAuth1Signature>
#include <QRandomGenerator>

namespace pimavo::sharing {

namespace {

QByteArray nonce() {
    QByteArray bytes(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes.toHex();
}

QOAuth1Signature::HttpRequestMethod methodOf(const QByteArray& method) {
    if (method == "POST") return QOAuth1Signature::HttpRequestMethod::Post;
    if (method == "PUT") return QOAuth1Signature::HttpRequestMethod::Put;
    if (method == "DELETE") return QOAuth1Signature::HttpRequestMethod::Delete;
    return QOAuth1Signature::HttpRequestMethod::Get;
}

} // namespace

QByteArray oauth1AuthorizationHeader(const QByteArray& method, const QUrl& url,
                                     const QMultiMap<QString, QVariant>& parameters,
                                     const OAuth1Credentials& credentials,
                                     const QMultiMap<QString, QVariant>& oauthExtras) {
    QMultiMap<QString, QVariant> oauth = oauthExtras;
    oauth.insert(QStringLiteral("oauth_consumer_key"), credentials.consumerKey);
    oauth.insert(QStringLiteral("oauth_nonce"), QString::fromLatin1(nonce()));
    oauth.insert(QStringLiteral("oauth_signature_method"), QStringLiteral("HMAC-SHA1"));
    oauth.insert(QStringLiteral("oauth_timestamp"), QString::number(QDateTime::currentSecsSinceEpoch()));
    oauth.insert(QStringLiteral("oauth_version"), QStringLiteral("1.0"));
    if (!credentials.token.isEmpty()) oauth.insert(QStringLiteral("oauth_token"), credentials.token);

    QMultiMap<QString, QVariant> all = parameters;
    for (auto it = oauth.cbegin(); it != oauth.cend(); ++it) all.insert(it.key(), it.value());
    QOAuth1Signature signature(url, credentials.consumerSecret, credentials.tokenSecret, methodOf(method),
                               all);
    oauth.insert(QStringLiteral("oauth_signature"), QString::fromLatin1(signature.hmacSha1().toBase64()));

    QByteArray header = "OAuth ";
    bool first = true;
    for (auto it = oauth.cbegin(); it != oauth.cend(); ++it) {
        if (!first) header += ", ";
        first = false;
        header +=
            QUrl::toPercentEncoding(it.key()) + "=\"" + QUrl::toPercentEncoding(it.value().toString()) + '"';
    }
    return header;
}

} // namespace pimavo::sharing
