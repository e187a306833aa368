// OAuth 1.0a request signing (RFC 5849, HMAC-SHA1) as the services that still use it expect it:
// the Authorization header of a request whose query and form parameters take part in the
// signature. Parts of a multipart body never do; the caller passes only the form fields the
// service signs.
#pragma once

#include <QByteArray>
#include <QMultiMap>
#include <QString>
#include <QUrl>
#include <QVariant>

namespace pimavo::sharing {

struct OAuth1Credentials {
    QString consumerKey, consumerSecret;
    QString token, tokenSecret; // empty while asking for a request token
};

// `url` may carry a query; its items are signed. `parameters`: the form fields that are signed
// besides. `oauthExtras`: oauth_callback, oauth_verifier and the like, sent in the header.
QByteArray oauth1AuthorizationHeader(const QByteArray& method, const QUrl& url,
                                     const QMultiMap<QString, QVariant>& parameters,
                                     const OAuth1Credentials& credentials,
                                     const QMultiMap<QString, QVariant>& oauthExtras = {});

} // namespace pimavo::sharing
