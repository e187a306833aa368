// What the photo services answer, each kind of answer read from the bytes of its body into a value,
// apart from the requests that bring it. A server may send anything at all: a reader answers an
// empty value (no id, no name, not ok) for an answer that does not say what it should, and the
// service takes that for a protocol error. Nothing here touches the network.
#pragma once

#include "sharing/services/PhotoService.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

namespace pimavo::sharing {

// Flickr's OAuth 1.0a token answers, forms: "oauth_token=…&oauth_token_secret=…[&user_nsid=…&username=…]".
struct FlickrTokenAnswer {
    QString token, secret, userId, userName;
};
FlickrTokenAnswer readFlickrTokenAnswer(const QByteArray& body);

// flickr.test.login: {"stat": "ok", "user": {"id": "…", "username": {"_content": "…"}}}, or
// {"stat": "fail", "code": 98, "message": "…"}.
struct FlickrLoginAnswer {
    bool ok = false;
    int code = 0; // Flickr's error code when not ok
    QString userName, userId;
};
FlickrLoginAnswer readFlickrLoginAnswer(const QByteArray& body);

// An upload's answer, XML: <rsp stat="ok"><photoid>…</photoid></rsp> or <rsp stat="fail"><err
// code="…"/></rsp>. Not ok without a photo id, whatever it says.
struct FlickrUploadAnswer {
    bool ok = false;
    QString photoId;
    int code = 0;
};
FlickrUploadAnswer readFlickrUploadAnswer(const QByteArray& body);

// Mastodon's registration of the program with a server (POST /api/v1/apps).
struct MastodonApp {
    QString clientId, clientSecret;
};
MastodonApp readMastodonApp(const QByteArray& body);

// The signed-in account (verify_credentials).
struct MastodonAccount {
    QString userName, id;
};
MastodonAccount readMastodonAccount(const QByteArray& body);

// An uploaded media attachment: its id, and whether the server is done with it (an answer whose
// address is null is still being processed).
struct MastodonMedia {
    QString id;
    bool processed = false;
};
MastodonMedia readMastodonMedia(const QByteArray& body);

// A posted status's address; empty when it gave none.
QUrl readMastodonStatusAddress(const QByteArray& body);

// Among an account's latest statuses (a JSON array), the address of the one that carries the media
// `mediaId`: nullopt when the answer is no list, an empty optional inside when none carries it.
std::optional<std::optional<QUrl>> findMastodonStatusWithMedia(const QByteArray& body,
                                                               const QString& mediaId);

// Tumblr's user info: the account's name and its blogs, the primary blog first (it is where a post
// goes unless the user picks another); nullopt when the answer holds no user.
struct TumblrUser {
    QString name;
    std::vector<ShareDestination> blogs; // id: the blog's name; title: its title, or its name
};
std::optional<TumblrUser> readTumblrUser(const QByteArray& body);

// A created post's id; empty when it gave none.
QString readTumblrPostId(const QByteArray& body);

} // namespace pimavo::sharing
