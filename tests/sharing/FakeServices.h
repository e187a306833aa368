// Fake Flickr, Tumblr and Mastodon servers on 127.0.0.1, each answering the requests the program
// makes as the service documents them, and checking them as the service would: OAuth 1.0a
// signatures recomputed from the request (without Flickr's photo part), PKCE verifiers against
// their challenges, state carried through the browser, the multipart fields and the post's JSON.
// Anything wrong goes to `server.problems` and gets an error answer.
#pragma once

#include "MockHttpServer.h"

#include <QJsonObject>
#include <QSet>

namespace pimavo::sharing::testing {

struct FakeFlickr {
    static constexpr const char* kKey = "0123456789abcdef0123456789abcdef";
    static constexpr const char* kSecret = "fedcba9876543210";

    FakeFlickr();
    MockHttpServer server;

    // What the user does on the authorisation page.
    bool userApproves = true;
    // The access token Flickr no longer accepts (flickr.test.login and uploads answer code 98).
    bool tokenRevoked = false;

    struct Upload {
        QHash<QString, QString> fields;
        QByteArray photo;
    };
    std::vector<Upload> uploads;

private:
    HttpResponse handle(const HttpRequest& request);
    QHash<QString, QString> requestTokens_; // token → secret
    QHash<QString, QString> callbacks_;     // token → callback
    QHash<QString, QString> verifiers_;     // token → verifier
    int issued_ = 0;
};

struct FakeOAuth2 {
    // Checks an authorisation request and answers with the redirect back to the program.
    HttpResponse authorize(const HttpRequest& request, const QString& clientId, QStringList& problems);
    // Checks a code exchange; true when the code, redirect address and PKCE verifier agree.
    bool exchange(const HttpRequest& request, QStringList& problems);

    bool userApproves = true;
    // The browser comes back with another state than it was sent with.
    bool tamperState = false;

private:
    struct Pending {
        QString challenge, redirect;
    };
    QHash<QString, Pending> codes_;
    int issued_ = 0;
};

struct FakeTumblr {
    static constexpr const char* kClientId = "tumblr-client-id-0123456789";
    static constexpr const char* kClientSecret = "tumblr-client-secret-0123456789";

    FakeTumblr();
    MockHttpServer server;
    FakeOAuth2 oauth;

    // Makes the current access token expire: requests with it get 401 until refreshed.
    void expireAccessToken() { validAccess_.clear(); }
    // The refresh token is refused too.
    void revokeRefreshToken() { validRefresh_.clear(); }
    int refreshes = 0;

    struct Post {
        QString blog;
        QJsonObject json;
        QByteArray photo;
    };
    std::vector<Post> posts;

private:
    HttpResponse handle(const HttpRequest& request);
    QString validAccess_, validRefresh_;
    int generation_ = 0;
};

struct FakeMastodon {
    FakeMastodon();
    MockHttpServer server;
    FakeOAuth2 oauth;

    // How many times GET /api/v1/media/:id answers 206 before the media is processed.
    int processingPolls = 1;
    int registrations = 0;
    void revokeToken() { token_.clear(); }

    struct Status {
        QString text, visibility;
        QStringList mediaIds;
        QString id;
    };
    std::vector<Status> statuses;
    QHash<QString, QString> mediaDescriptions; // id → description
    QHash<QString, QByteArray> media;          // id → bytes

private:
    HttpResponse handle(const HttpRequest& request);
    bool authorised(const HttpRequest& request) const {
        return !token_.isEmpty() && request.bearer() == token_;
    }
    QString clientId_, clientSecret_, token_;
    QHash<QString, int> polls_;
    QHash<QByteArray, int> idempotent_; // Idempotency-Key → index in statuses
    int mediaCount_ = 0;
};

} // namespace pimavo::sharing::testing
