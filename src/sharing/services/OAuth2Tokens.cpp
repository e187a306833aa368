#include "sharing/services/OAuth2Tokens.h"

#include <QDateTime>
#include <QJsonDocument>

namespace pimavo::sharing {

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
    const qint64 lifetime = answer.value("expires_in").toVariant().toLongLong();
    if (lifetime > 0) tokens.expiresAt = QDateTime::currentSecsSinceEpoch() + lifetime;
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
