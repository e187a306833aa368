#include "sharing/services/OAuth2Tokens.h"

#include <QDateTime>
#include <QJsonDocument>
#include <algorithm>

namespace pimavo::sharing {

namespace {

// A century: longer than any service keeps a token, short enough to add to any time.
constexpr qint64 kLongestLifetime = qint64(100) * 366 * 24 * 3600;

} // namespace

bool OAuth2Tokens::isExpired() const {
    return expiresAt > 0 && QDateTime::currentSecsSinceEpoch() >= expiresAt - 60;
}

OAuth2Tokens OAuth2Tokens::fromAnswer(const QByteArray& json) {
    return fromAnswer(json, OAuth2Tokens());
}

OAuth2Tokens OAuth2Tokens::fromAnswer(const QByteArray& json, const OAuth2Tokens& previous) {
    const QJsonObject answer = QJsonDocument::fromJson(json).object();
    OAuth2Tokens tokens;
    tokens.access = answer.value("access_token").toString();
    tokens.refresh = answer.value("refresh_token").toString(previous.refresh);
    // The lifetime is the server's number: one past any token's life must not overflow the time.
    const qint64 lifetime = answer.value("expires_in").toVariant().toLongLong();
    if (lifetime > 0)
        tokens.expiresAt = QDateTime::currentSecsSinceEpoch() + std::min(lifetime, kLongestLifetime);
    return tokens;
}

OAuth2Tokens OAuth2Tokens::fromStored(const QJsonObject& stored) {
    OAuth2Tokens tokens;
    tokens.access = stored.value("access").toString();
    tokens.refresh = stored.value("refresh").toString();
    tokens.expiresAt = stored.value("expires").toVariant().toLongLong();
    return tokens;
}

QJsonObject OAuth2Tokens::toStored() const {
    QJsonObject stored{{"access", access}};
    if (!refresh.isEmpty()) stored.insert("refresh", refresh);
    if (expiresAt > 0) stored.insert("expires", QString::number(expiresAt));
    return stored;
}

} // namespace pimavo::sharing
