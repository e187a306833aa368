#include "RecentDocuments.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace pimavo {

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

QString now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

// The first child element with a (prefixed) tag name, made when missing.
QDomElement child(QDomDocument& doc, QDomElement parent, const QString& tag) {
    QDomElement e = parent.firstChildElement(tag);
    if (e.isNull()) {
        e = doc.createElement(tag);
        parent.appendChild(e);
    }
    return e;
}

} // namespace

QString recentlyUsedBookmarkFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/recently-used.xbel";
}

bool noteRecentDocument(const QString& path, const QString& mimeType, const QString& bookmarkFile,
                        const QString& applicationName, const QString& exec) {
    QDir().mkpath(QFileInfo(bookmarkFile).absolutePath());
    QLockFile lock(bookmarkFile + ".lock");
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000)) return false;

    QDomDocument doc;
    QFile in(bookmarkFile);
    bool parsed = false;
    if (in.open(QIODevice::ReadOnly)) {
        parsed = bool(doc.setContent(&in));
        in.close();
        // A file we cannot read is someone's data: leave it alone rather than replace it.
        if (!parsed && in.size() > 0) return false;
    }
    if (!parsed || doc.documentElement().tagName() != "xbel") {
        doc = QDomDocument();
        doc.appendChild(doc.createProcessingInstruction("xml", "version=\"1.0\" encoding=\"UTF-8\""));
        QDomElement root = doc.createElement("xbel");
        root.setAttribute("version", "1.0");
        root.setAttribute("xmlns:bookmark", kBookmarkNs);
        root.setAttribute("xmlns:mime", kMimeNs);
        doc.appendChild(root);
    }
    QDomElement root = doc.documentElement();
    const QString href = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    const QString stamp = now();

    QDomElement bookmark;
    for (QDomElement b = root.firstChildElement("bookmark"); !b.isNull();
         b = b.nextSiblingElement("bookmark"))
        if (b.attribute("href") == href) {
            bookmark = b;
            break;
        }
    if (bookmark.isNull()) {
        bookmark = doc.createElement("bookmark");
        bookmark.setAttribute("href", href);
        bookmark.setAttribute("added", stamp);
        root.appendChild(bookmark);
    }
    bookmark.setAttribute("modified", stamp);
    bookmark.setAttribute("visited", stamp);
    QDomElement metadata;
    QDomElement info = child(doc, bookmark, "info");
    for (QDomElement m = info.firstChildElement("metadata"); !m.isNull();
         m = m.nextSiblingElement("metadata"))
        if (m.attribute("owner") == "http://freedesktop.org") metadata = m;
    if (metadata.isNull()) {
        metadata = doc.createElement("metadata");
        metadata.setAttribute("owner", "http://freedesktop.org");
        info.appendChild(metadata);
    }
    child(doc, metadata, "mime:mime-type").setAttribute("type", mimeType);
    QDomElement apps = child(doc, metadata, "bookmark:applications");
    QDomElement app;
    for (QDomElement a = apps.firstChildElement("bookmark:application"); !a.isNull();
         a = a.nextSiblingElement("bookmark:application"))
        if (a.attribute("name") == applicationName) app = a;
    if (app.isNull()) {
        app = doc.createElement("bookmark:application");
        app.setAttribute("name", applicationName);
        app.setAttribute("count", 0);
        apps.appendChild(app);
    }
    app.setAttribute("exec", exec);
    app.setAttribute("modified", stamp);
    app.setAttribute("count", app.attribute("count").toInt() + 1);

    QSaveFile out(bookmarkFile);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(doc.toByteArray(2));
    return out.commit();
}

} // namespace pimavo
