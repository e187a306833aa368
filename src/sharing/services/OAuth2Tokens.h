// The tokens of an OAuth 2.0 authorisation-code grant, as the token endpoint gives them and as
// they are kept in the keyring.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace pimavo::sharing {

struct OAuth2Tokens {
    QString access, refresh;
    qint64 expiresAt = 0; // seconds since the epoch; 0 when the service did not say

    bool isEmpty() const { return access.isEmpty(); }
    // Expired, or about to be within a minute.
    bool isExpired() const;

    // From a token endpoint's JSON answer; a refresh answer that has no new refresh token keeps
    // `previous`'s.
    static OAuth2Tokens fromAnswer(const QByteArray& json);
    static OAuth2Tokens fromAnswer(const QByteArray& json, const OAuth2Tokens& previous);
    static OAuth2Tokens fromStored(const QJsonObject& stored);
    QJsonObject toStored() const;
};

} // namespace pimavo::sharing
