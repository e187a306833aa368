#include "FakeServices.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace pimavo::sharing::testing {

namespace {

QByteArray formBody(const std::vector<std::pair<QString, QString>>& fields) {
    QByteArray body;
    for (const auto& [k, v] : fields) {
        if (!body.isEmpty()) body += '&';
        body += QUrl::toPercentEncoding(k) + '=' + QUrl::toPercentEncoding(v);
    }
    return body;
}

HttpResponse formAnswer(const std::vector<std::pair<QString, QString>>& fields) {
    return {200, "application/x-www-form-urlencoded", formBody(fields), {}};
}

QUrl withParameters(QUrl url, const std::vector<std::pair<QString, QString>>& fields) {
    url.setQuery(QString::fromLatin1(formBody(fields)));
    return url;
}

bool isLoopbackCallback(const QUrl& url) {
    return url.scheme() == QLatin1String("http") && url.host() == QLatin1String("127.0.0.1") &&
           url.path() == QLatin1String("/callback");
}

QString queryValue(const HttpRequest& request, const QString& name) {
    return request.query.queryItemValue(name, QUrl::FullyDecoded);
}

HttpResponse bad(QStringList& problems, const QString& problem, int status = 400) {
    problems << problem;
    return HttpResponse::json(status, QJsonDocument(QJsonObject{{"error", problem}}).toJson());
}

} // namespace

// ---------------------------------------------------------------------------------------- Flickr

FakeFlickr::FakeFlickr() {
    server.setHandler([this](const HttpRequest& r) { return handle(r); });
    server.listen();
}

HttpResponse FakeFlickr::handle(const HttpRequest& r) {
    QStringList& problems = server.problems;
    const auto oauthProblem = [&](const QString& why) {
        problems << r.path + ": " + why;
        return HttpResponse{401, "text/plain", "oauth_problem=signature_invalid", {}};
    };
    if (r.path == QLatin1String("/services/oauth/request_token")) {
        if (const QString why = checkOAuth1(r, kKey, kSecret, {}, {}); !why.isEmpty())
            return oauthProblem(why);
        const QUrl callback(oauthParameters(r).value("oauth_callback"));
        if (!isLoopbackCallback(callback))
            return oauthProblem("callback is not a loopback address: " + callback.toString());
        const QString token = QString("rt-%1").arg(++issued_);
        requestTokens_.insert(token, QString("rts-%1").arg(issued_));
        callbacks_.insert(token, callback.toString());
        return formAnswer({{"oauth_callback_confirmed", "true"},
                           {"oauth_token", token},
                           {"oauth_token_secret", requestTokens_.value(token)}});
    }
    if (r.path == QLatin1String("/services/oauth/authorize")) {
        const QString token = queryValue(r, "oauth_token");
        if (!callbacks_.contains(token))
            return bad(problems, "authorisation page for an unknown request token");
        if (queryValue(r, "perms") != QLatin1String("write"))
            problems << "authorisation asked without perms=write";
        if (!userApproves)
            return HttpResponse::redirect(
                withParameters(QUrl(callbacks_.value(token)), {{"oauth_token", token}}));
        const QString verifier = QString("verifier-%1").arg(token);
        verifiers_.insert(token, verifier);
        return HttpResponse::redirect(withParameters(QUrl(callbacks_.value(token)),
                                                     {{"oauth_token", token}, {"oauth_verifier", verifier}}));
    }
    if (r.path == QLatin1String("/services/oauth/access_token")) {
        const QHash<QString, QString> oauth = oauthParameters(r);
        const QString token = oauth.value("oauth_token");
        if (!requestTokens_.contains(token))
            return oauthProblem("access token asked with an unknown request token");
        if (const QString why = checkOAuth1(r, kKey, kSecret, requestTokens_.value(token), {});
            !why.isEmpty())
            return oauthProblem(why);
        if (oauth.value("oauth_verifier") != verifiers_.value(token)) return oauthProblem("wrong verifier");
        requestTokens_.remove(token);
        return formAnswer({{"fullname", "Test Painter"},
                           {"oauth_token", "at-1"},
                           {"oauth_token_secret", "ats-1"},
                           {"user_nsid", "12345@N01"},
                           {"username", "painter"}});
    }
    if (r.path == QLatin1String("/services/rest")) {
        if (const QString why = checkOAuth1(r, kKey, kSecret, "ats-1", {}); !why.isEmpty())
            return oauthProblem(why);
        if (queryValue(r, "method") != QLatin1String("flickr.test.login"))
            return bad(problems, "unexpected method " + queryValue(r, "method"));
        if (tokenRevoked)
            return HttpResponse::json(200, R"({"stat":"fail","code":98,"message":"Invalid auth token"})");
        return HttpResponse::json(
            200, R"({"user":{"id":"12345@N01","username":{"_content":"painter"}},"stat":"ok"})");
    }
    if (r.path == QLatin1String("/services/upload/")) {
        const std::vector<MultipartPart> parts = multipartParts(r);
        std::vector<std::pair<QString, QString>> signedFields;
        Upload upload;
        for (const MultipartPart& p : parts) {
            if (p.name == QLatin1String("photo")) {
                upload.photo = p.data;
                continue;
            }
            signedFields.emplace_back(p.name, QString::fromUtf8(p.data));
            upload.fields.insert(p.name, QString::fromUtf8(p.data));
        }
        // The photo part is not signed: a signature over it would not match here.
        if (const QString why = checkOAuth1(r, kKey, kSecret, "ats-1", signedFields); !why.isEmpty())
            return oauthProblem(why);
        if (!isJpeg(upload.photo)) problems << "the photo part is not a whole JPEG";
        for (const char* flag : {"is_public", "is_friend", "is_family"}) {
            const QString v = upload.fields.value(flag);
            if (v != QLatin1String("0") && v != QLatin1String("1"))
                problems << QString("%1 is \"%2\"").arg(flag, v);
        }
        if (tokenRevoked)
            return {200,
                    "text/xml",
                    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"fail\">\n"
                    "\t<err code=\"98\" msg=\"Invalid auth token\" />\n</rsp>\n",
                    {}};
        uploads.push_back(upload);
        return {200,
                "text/xml",
                "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"ok\">\n<photoid>" +
                    QByteArray::number(52000000000LL + qint64(uploads.size())) + "</photoid>\n</rsp>\n",
                {}};
    }
    return bad(problems, "unknown address " + r.path, 404);
}

// ------------------------------------------------------------------------------- OAuth 2.0 pieces

HttpResponse FakeOAuth2::authorize(const HttpRequest& r, const QString& clientId, QStringList& problems) {
    const QUrl redirect(queryValue(r, "redirect_uri"));
    if (queryValue(r, "client_id") != clientId)
        return bad(problems, "authorisation for an unknown client " + queryValue(r, "client_id"));
    if (!isLoopbackCallback(redirect))
        return bad(problems, "redirect address is not a loopback address: " + redirect.toString());
    if (queryValue(r, "response_type") != QLatin1String("code")) problems << "response_type is not code";
    if (queryValue(r, "code_challenge_method") != QLatin1String("S256") ||
        queryValue(r, "code_challenge").isEmpty())
        problems << "no S256 code challenge";
    const QString state = queryValue(r, "state");
    if (state.size() < 16) problems << "state missing or too short to be unguessable";
    const QString returnedState = tamperState ? QStringLiteral("forged") : state;
    if (!userApproves)
        return HttpResponse::redirect(
            withParameters(redirect, {{"error", "access_denied"}, {"state", returnedState}}));
    const QString code = QString("code-%1").arg(++issued_);
    codes_.insert(code, {queryValue(r, "code_challenge"), redirect.toString()});
    return HttpResponse::redirect(withParameters(redirect, {{"code", code}, {"state", returnedState}}));
}

bool FakeOAuth2::exchange(const HttpRequest& r, QStringList& problems) {
    const QString code = r.formValue("code");
    const auto it = codes_.constFind(code);
    if (it == codes_.cend()) {
        problems << "unknown or reused code";
        return false;
    }
    const Pending pending = *it;
    codes_.remove(code);
    if (r.formValue("redirect_uri") != pending.redirect) {
        problems << "redirect_uri differs from the authorisation request's";
        return false;
    }
    const QByteArray hash =
        QCryptographicHash::hash(r.formValue("code_verifier").toLatin1(), QCryptographicHash::Sha256);
    const QString challenge =
        QString::fromLatin1(hash.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    if (challenge != pending.challenge) {
        problems << "PKCE verifier does not match the challenge";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------- Tumblr

FakeTumblr::FakeTumblr() {
    server.setHandler([this](const HttpRequest& r) { return handle(r); });
    server.listen();
}

HttpResponse FakeTumblr::handle(const HttpRequest& r) {
    QStringList& problems = server.problems;
    const HttpResponse unauthorized = HttpResponse::json(
        401,
        R"({"meta":{"status":401,"msg":"Unauthorized"},"response":[],"errors":[{"title":"Unauthorized","code":0}]})");
    const auto issue = [this] {
        ++generation_;
        validAccess_ = QString("tumblr-access-%1").arg(generation_);
        validRefresh_ = QString("tumblr-refresh-%1").arg(generation_);
        return HttpResponse::json(200, QJsonDocument(QJsonObject{{"access_token", validAccess_},
                                                                 {"token_type", "bearer"},
                                                                 {"expires_in", 2520},
                                                                 {"scope", "basic write offline_access"},
                                                                 {"refresh_token", validRefresh_}})
                                           .toJson());
    };
    if (r.path == QLatin1String("/oauth2/authorize")) {
        const QStringList scopes = queryValue(r, "scope").split(' ');
        if (!scopes.contains("write") || !scopes.contains("offline_access"))
            problems << "scope lacks write or offline_access: " + queryValue(r, "scope");
        return oauth.authorize(r, kClientId, problems);
    }
    if (r.path == QLatin1String("/v2/oauth2/token")) {
        if (r.formValue("client_id") != kClientId || r.formValue("client_secret") != kClientSecret)
            return bad(problems, "wrong client credentials", 401);
        const QString grant = r.formValue("grant_type");
        if (grant == QLatin1String("authorization_code"))
            return oauth.exchange(r, problems) ? issue()
                                               : HttpResponse::json(400, R"({"error":"invalid_grant"})");
        if (grant == QLatin1String("refresh_token")) {
            if (validRefresh_.isEmpty() || r.formValue("refresh_token") != validRefresh_)
                return HttpResponse::json(400, R"({"error":"invalid_grant"})");
            ++refreshes;
            return issue();
        }
        return bad(problems, "unknown grant " + grant);
    }
    if (validAccess_.isEmpty() || r.bearer() != validAccess_) return unauthorized;
    if (r.path == QLatin1String("/v2/user/info"))
        return HttpResponse::json(200,
                                  R"({"meta":{"status":200,"msg":"OK"},"response":{"user":{"name":"painter",
            "blogs":[{"name":"sketches","title":"Sketches","primary":false},
                     {"name":"painter","title":"Painter's Blog","primary":true}]}}})");
    if (r.path.startsWith(QLatin1String("/v2/blog/")) && r.path.endsWith(QLatin1String("/posts"))) {
        Post post;
        post.blog = r.path.mid(9, r.path.size() - 9 - 6);
        if (post.blog != QLatin1String("painter") && post.blog != QLatin1String("sketches"))
            return bad(problems, "post to a blog that is not the user's: " + post.blog, 403);
        const std::vector<MultipartPart> parts = multipartParts(r);
        const MultipartPart* json = findPart(parts, "json");
        if (!json || !json->contentType.startsWith("application/json"))
            return bad(problems, "no json part of type application/json");
        post.json = QJsonDocument::fromJson(json->data).object();
        if (post.json.contains("state") && !QStringList{"published", "queue", "draft", "private"}.contains(
                                               post.json.value("state").toString()))
            return bad(problems, "unknown post state " + post.json.value("state").toString());
        bool image = false;
        for (const QJsonValue& block : post.json.value("content").toArray()) {
            const QJsonObject b = block.toObject();
            if (b.value("type") != QLatin1String("image")) continue;
            const QJsonObject media = b.value("media").toArray().at(0).toObject();
            const MultipartPart* file = findPart(parts, media.value("identifier").toString());
            if (!file) return bad(problems, "image block names a part that is not there");
            if (!isJpeg(file->data) || media.value("type") != QLatin1String("image/jpeg"))
                problems << "image part is not the JPEG the block says";
            post.photo = file->data;
            image = true;
        }
        if (!image) return bad(problems, "no image block in the post's content");
        posts.push_back(post);
        return HttpResponse::json(
            201, R"({"meta":{"status":201,"msg":"Created"},)"
                 R"("response":{"id":"7654321","id_string":"7654321","state":"published"}})");
    }
    return bad(problems, "unknown address " + r.path, 404);
}

// -------------------------------------------------------------------------------------- Mastodon

FakeMastodon::FakeMastodon() {
    server.setHandler([this](const HttpRequest& r) { return handle(r); });
    server.listen();
}

HttpResponse FakeMastodon::handle(const HttpRequest& r) {
    QStringList& problems = server.problems;
    const QString scopes = QStringLiteral("read:accounts write:media write:statuses");
    const HttpResponse unauthorized = HttpResponse::json(401, R"({"error":"The access token is invalid"})");
    const auto mediaJson = [this](const QString& id, bool processed) {
        QJsonObject m{{"id", id}, {"type", "image"}, {"description", mediaDescriptions.value(id)}};
        m.insert("url",
                 processed ? QJsonValue(server.base().toString() + "/media/" + id + ".jpg") : QJsonValue());
        return QJsonDocument(m).toJson();
    };
    if (r.path == QLatin1String("/api/v1/apps") && r.method == "POST") {
        if (r.formValue("client_name").isEmpty()) problems << "app registered without a name";
        if (!isLoopbackCallback(QUrl(r.formValue("redirect_uris"))))
            return bad(problems, "redirect_uris is not a loopback address", 422);
        if (r.formValue("scopes") != scopes) problems << "scopes are " + r.formValue("scopes");
        ++registrations;
        clientId_ = QString("mastodon-client-%1").arg(registrations);
        clientSecret_ = QString("mastodon-secret-%1").arg(registrations);
        return HttpResponse::json(200,
                                  QJsonDocument(QJsonObject{{"id", "1"},
                                                            {"name", r.formValue("client_name")},
                                                            {"redirect_uri", r.formValue("redirect_uris")},
                                                            {"client_id", clientId_},
                                                            {"client_secret", clientSecret_}})
                                      .toJson());
    }
    if (r.path == QLatin1String("/oauth/authorize")) {
        if (queryValue(r, "scope") != scopes)
            problems << "authorisation asks for scopes " + queryValue(r, "scope");
        return oauth.authorize(r, clientId_, problems);
    }
    if (r.path == QLatin1String("/oauth/token")) {
        if (r.formValue("client_id") != clientId_ || r.formValue("client_secret") != clientSecret_)
            return bad(problems, "wrong client credentials", 401);
        if (r.formValue("grant_type") != QLatin1String("authorization_code") || !oauth.exchange(r, problems))
            return HttpResponse::json(400, R"({"error":"invalid_grant"})");
        token_ = QString("mastodon-token-%1").arg(registrations);
        return HttpResponse::json(200, QJsonDocument(QJsonObject{{"access_token", token_},
                                                                 {"token_type", "Bearer"},
                                                                 {"scope", scopes},
                                                                 {"created_at", 1700000000}})
                                           .toJson());
    }
    const auto statusJson = [this](const Status& status) {
        QJsonArray attachments;
        for (const QString& id : status.mediaIds)
            attachments.append(QJsonObject{{"id", id}, {"type", "image"}});
        return QJsonObject{
            {"id", status.id},
            {"url", server.base().toString() + "/@painter/" + status.id},
            {"visibility", status.visibility.isEmpty() ? QStringLiteral("public") : status.visibility},
            {"media_attachments", attachments}};
    };
    if (r.path == QLatin1String("/api/v1/accounts/1/statuses") && r.method == "GET" && r.bearer().isEmpty()) {
        // Public: anyone may read an account's public and unlisted statuses.
    } else if (!authorised(r)) {
        return unauthorized;
    }
    if (r.path == QLatin1String("/api/v1/accounts/verify_credentials"))
        return HttpResponse::json(
            200, R"({"id":"1","username":"painter","acct":"painter","display_name":"Painter"})");
    if (r.path == QLatin1String("/api/v2/media") && r.method == "POST") {
        const std::vector<MultipartPart> parts = multipartParts(r);
        const MultipartPart* file = findPart(parts, "file");
        if (!file || !isJpeg(file->data))
            return bad(problems, "media upload without a whole JPEG in \"file\"", 422);
        const QString id = QString::number(109000000 + ++mediaCount_);
        media.insert(id, file->data);
        if (const MultipartPart* d = findPart(parts, "description"))
            mediaDescriptions.insert(id, QString::fromUtf8(d->data));
        polls_.insert(id, 0);
        return processingPolls > 0 ? HttpResponse::json(202, mediaJson(id, false))
                                   : HttpResponse::json(200, mediaJson(id, true));
    }
    if (r.path.startsWith(QLatin1String("/api/v1/media/")) && r.method == "GET") {
        const QString id = r.path.mid(14);
        if (!media.contains(id)) return bad(problems, "asked for unknown media " + id, 404);
        const bool processed = ++polls_[id] > processingPolls;
        return HttpResponse::json(processed ? 200 : 206, mediaJson(id, processed));
    }
    if (r.path == QLatin1String("/api/v1/statuses") && r.method == "POST") {
        Status status;
        for (const auto& [name, value] : r.form()) {
            if (name == QLatin1String("status"))
                status.text = value;
            else if (name == QLatin1String("media_ids[]"))
                status.mediaIds << value;
            else if (name == QLatin1String("visibility"))
                status.visibility = value;
        }
        for (const QString& id : status.mediaIds) {
            if (!media.contains(id)) return bad(problems, "status names unknown media " + id, 422);
            if (polls_.value(id) <= processingPolls && processingPolls > 0)
                return bad(problems, "status posted before its media was processed", 422);
        }
        if (!status.visibility.isEmpty() &&
            !QStringList{"public", "unlisted", "private", "direct"}.contains(status.visibility))
            return bad(problems, "unknown visibility " + status.visibility, 422);
        const QByteArray key = r.header("idempotency-key");
        if (key.isEmpty()) problems << "status posted without an Idempotency-Key";
        // As Mastodon does: a key seen before gets the status it made, and nothing is posted.
        if (const auto seen = idempotent_.constFind(key); !key.isEmpty() && seen != idempotent_.cend())
            return HttpResponse::json(200, QJsonDocument(statusJson(statuses[std::size_t(*seen)])).toJson());
        status.id = QString::number(110000000 + int(statuses.size()) + 1);
        statuses.push_back(status);
        idempotent_.insert(key, int(statuses.size()) - 1);
        return HttpResponse::json(200, QJsonDocument(statusJson(status)).toJson());
    }
    if (r.path == QLatin1String("/api/v1/accounts/1/statuses") && r.method == "GET") {
        // Newest first; without a token only what anyone may see.
        QJsonArray list;
        const int limit = queryValue(r, "limit").isEmpty() ? 20 : queryValue(r, "limit").toInt();
        for (auto it = statuses.rbegin(); it != statuses.rend() && list.size() < limit; ++it)
            if (authorised(r) || it->visibility.isEmpty() || it->visibility == "public" ||
                it->visibility == "unlisted")
                list.append(statusJson(*it));
        return HttpResponse::json(200, QJsonDocument(list).toJson());
    }
    return bad(problems, "unknown address " + r.path, 404);
}

} // namespace pimavo::sharing::testing
