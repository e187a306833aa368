#include "sharing/services/ServiceAnswers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <QVariant>
#include <QXmlStreamReader>

namespace pimavo::sharing {

namespace {

QJsonObject objectOf(const QByteArray& body) {
    return QJsonDocument::fromJson(body).object();
}

// Ids come as strings from some servers and as numbers from others.
QString idOf(const QJsonValue& value) {
    return value.toVariant().toString();
}

} // namespace

FlickrTokenAnswer readFlickrTokenAnswer(const QByteArray& body) {
    const QUrlQuery form(QString::fromUtf8(body));
    return {form.queryItemValue("oauth_token", QUrl::FullyDecoded),
            form.queryItemValue("oauth_token_secret", QUrl::FullyDecoded),
            form.queryItemValue("user_nsid", QUrl::FullyDecoded),
            form.queryItemValue("username", QUrl::FullyDecoded)};
}

FlickrLoginAnswer readFlickrLoginAnswer(const QByteArray& body) {
    const QJsonObject answer = objectOf(body);
    FlickrLoginAnswer out;
    out.ok = answer.value("stat").toString() == QLatin1String("ok");
    if (!out.ok) out.code = answer.value("code").toInt();
    const QJsonObject user = answer.value("user").toObject();
    out.userName = user.value("username").toObject().value("_content").toString();
    out.userId = user.value("id").toString();
    return out;
}

FlickrUploadAnswer readFlickrUploadAnswer(const QByteArray& body) {
    FlickrUploadAnswer answer;
    QXmlStreamReader xml(body);
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("rsp")) {
            answer.ok = xml.attributes().value("stat") == QLatin1String("ok");
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("photoid"))
                    answer.photoId = xml.readElementText();
                else if (xml.name() == QLatin1String("err")) {
                    answer.code = xml.attributes().value("code").toInt();
                    xml.skipCurrentElement();
                } else
                    xml.skipCurrentElement();
            }
        } else
            xml.skipCurrentElement();
    }
    if (answer.photoId.isEmpty()) answer.ok = false;
    return answer;
}

MastodonApp readMastodonApp(const QByteArray& body) {
    const QJsonObject app = objectOf(body);
    return {app.value("client_id").toString(), app.value("client_secret").toString()};
}

MastodonAccount readMastodonAccount(const QByteArray& body) {
    const QJsonObject me = objectOf(body);
    return {me.value("username").toString(), idOf(me.value("id"))};
}

MastodonMedia readMastodonMedia(const QByteArray& body) {
    const QJsonObject media = objectOf(body);
    return {idOf(media.value("id")), !media.value("url").isNull()};
}

QUrl readMastodonStatusAddress(const QByteArray& body) {
    return QUrl(objectOf(body).value("url").toString());
}

std::optional<std::optional<QUrl>> findMastodonStatusWithMedia(const QByteArray& body,
                                                               const QString& mediaId) {
    const QJsonDocument answer = QJsonDocument::fromJson(body);
    if (!answer.isArray()) return std::nullopt;
    for (const QJsonValue& status : answer.array())
        for (const QJsonValue& media : status.toObject().value("media_attachments").toArray())
            if (idOf(media.toObject().value("id")) == mediaId)
                return std::optional<QUrl>(QUrl(status.toObject().value("url").toString()));
    return std::optional<QUrl>();
}

std::optional<TumblrUser> readTumblrUser(const QByteArray& body) {
    const QJsonObject user = objectOf(body).value("response").toObject().value("user").toObject();
    if (user.isEmpty()) return std::nullopt;
    TumblrUser out;
    out.name = user.value("name").toString();
    const QJsonArray blogs = user.value("blogs").toArray();
    for (int pass = 0; pass < 2; ++pass) {
        for (const QJsonValue& value : blogs) {
            const QJsonObject blog = value.toObject();
            if (blog.value("primary").toBool() != (pass == 0)) continue;
            const QString name = blog.value("name").toString();
            if (name.isEmpty()) continue;
            QString title = blog.value("title").toString();
            if (title.isEmpty()) title = name;
            out.blogs.push_back({name, title});
        }
    }
    return out;
}

QString readTumblrPostId(const QByteArray& body) {
    const QJsonObject response = objectOf(body).value("response").toObject();
    QString id = response.value("id_string").toString();
    if (id.isEmpty()) id = idOf(response.value("id"));
    return id;
}

} // namespace pimavo::sharing
