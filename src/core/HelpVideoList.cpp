#include "HelpVideoList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pimavo {

std::optional<QList<HelpVideo>> parseHelpVideoList(const QByteArray& json, const QUrl& base, QString* error) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    auto fail = [error](const QString& why) -> std::optional<QList<HelpVideo>> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (parse.error != QJsonParseError::NoError) return fail(parse.errorString());
    QJsonArray entries;
    if (doc.isArray())
        entries = doc.array();
    else if (doc.isObject() && doc.object().value("videos").isArray())
        entries = doc.object().value("videos").toArray();
    else
        return fail(QStringLiteral("no \"videos\" array"));

    // Only web addresses, and local files for a local list: a list from the network must not make
    // the player open anything else on the user's machine.
    const bool localList = base.isLocalFile();
    auto address = [&base, localList](const QJsonValue& v) {
        const QString text = v.toString().trimmed();
        if (text.isEmpty()) return QUrl();
        const QUrl url = base.resolved(QUrl(text));
        const QString scheme = url.scheme().toLower();
        return scheme == "http" || scheme == "https" || (scheme == "file" && localList) ? url : QUrl();
    };
    QList<HelpVideo> videos;
    for (const QJsonValue& value : entries) {
        const QJsonObject o = value.toObject();
        HelpVideo v;
        v.name = o.value("name").toString().trimmed();
        v.title = o.value("title").toString().trimmed();
        v.video = address(o.value("url"));
        v.thumbnail = address(o.value("thumbnail"));
        const double seconds = o.value("duration").toDouble();
        v.seconds = seconds > 0 && seconds < 24 * 3600 ? int(seconds + 0.5) : 0;
        if (v.name.isEmpty() || v.title.isEmpty() || !v.video.isValid() || v.video.isEmpty()) continue;
        videos << v;
    }
    return videos;
}

QString formatVideoDuration(int seconds) {
    if (seconds <= 0) return {};
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0) return QString("%1:%2:%3").arg(h).arg(m, 2, 10, QChar('0')).arg(s, 2, 10, QChar('0'));
    return QString("%1:%2").arg(m).arg(s, 2, 10, QChar('0'));
}

} // namespace pimavo
