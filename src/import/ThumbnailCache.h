// Thumbnails shared with the desktop: the freedesktop thumbnail cache.
//
// A thumbnail lives in <cache>/thumbnails/normal (128 px) or large (256 px), named after the MD5 of
// the file's URI, as a PNG whose "Thumb::URI" and "Thumb::MTime" text chunks say which file, as it
// was when, the picture shows. One whose URI or time does not match the file is stale and made
// again. Files are written under a temporary name and renamed into place, so a reader (ours or a
// file manager's) never sees half a thumbnail. Files that cannot be thumbnailed are remembered in
// fail/pimavo so that they are not decoded again at every visit.
//
// Every function may run on any thread; two threads making the same thumbnail both write a whole
// file and the last rename wins.
#pragma once

#include <QImage>
#include <QString>

namespace pimavo {

enum class ThumbnailSize { Normal = 128, Large = 256 };

class ThumbnailCache {
public:
    // `root` is the "thumbnails" folder; by default $XDG_CACHE_HOME/thumbnails.
    explicit ThumbnailCache(QString root = defaultRoot());
    static QString defaultRoot();

    // The file's URI as the desktop spells it (file:// and the path, escaped as GLib escapes it):
    // the thumbnail's name is the MD5 of exactly these bytes.
    static QByteArray fileUri(const QString& path);
    QString thumbnailPath(const QString& path, ThumbnailSize size) const;
    QString failurePath(const QString& path) const;

    // The stored thumbnail when it is there and up to date, else a null image.
    QImage cached(const QString& path, ThumbnailSize size) const;
    // The stored thumbnail, or one made now and stored. A null image when the file is not a
    // picture that can be read; `made` says whether the picture had to be decoded.
    QImage thumbnail(const QString& path, ThumbnailSize size, bool* made = nullptr) const;
    // Whether an earlier attempt found the file, as it is now, unreadable.
    bool knownToFail(const QString& path) const;

private:
    bool store(const QImage& thumb, const QString& target, const QString& path, qint64 mtime) const;
    QString root_;
};

// The picture at most `maxSide` pixels on its long side, upright. JPEGs are decoded at a reduced
// size straight from their DCT coefficients, which is what makes thumbnails of camera files cheap.
QImage decodeReduced(const QString& path, int maxSide);

} // namespace pimavo
