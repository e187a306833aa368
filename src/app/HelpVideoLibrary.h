// Fetches the help videos' list, their thumbnails and the videos themselves through one network
// manager, and keeps each in a cache folder, so that what was fetched once is there offline: the
// list from the last visit, thumbnails, and every video already watched.
#pragma once

#include "core/HelpVideoList.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

namespace pimavo {

class HelpVideoLibrary : public QObject {
    Q_OBJECT
public:
    // `network`: the program's one network manager (none: a manager of the library's own).
    HelpVideoLibrary(const QUrl& listAddress, const QString& cacheFolder,
                     QNetworkAccessManager* network = nullptr, QObject* parent = nullptr);
    ~HelpVideoLibrary() override;

    const QList<HelpVideo>& videos() const { return videos_; }
    const HelpVideo* video(const QString& name) const;
    // Asks the network for the list; the cached list stands in while it cannot be had.
    void reload();
    void fetchThumbnail(const HelpVideo& video);
    // The video as a local file: at once when it was fetched before and the server gave no way to
    // tell a change, after asking the server whether it changed when it did (a short question;
    // without an answer the kept copy plays), otherwise once downloaded. A new request ends the
    // download of the previous video.
    void fetchVideo(const HelpVideo& video);
    QString cachedVideoPath(const HelpVideo& video) const;
    // Drops the kept copy of a video that would not play: the next fetch downloads it again.
    void forgetVideo(const HelpVideo& video);
    // How much room the videos kept for offline use may take; those watched longest ago go first.
    void setCacheLimit(qint64 bytes) { cacheLimit_ = bytes; }

signals:
    // `fromCache`: the network's list could not be had, for the reason in `problem`.
    void listReady(bool fromCache, const QString& problem);
    // Neither the network nor the cache has a list.
    void listFailed(const QString& problem);
    void thumbnailReady(const QString& name, const QImage& image);
    void videoProgress(const QString& name, qint64 received, qint64 total);
    void videoReady(const QString& name, const QString& path);
    void videoFailed(const QString& name, const QString& problem);

private:
    QString cachePath(const QUrl& address, const QString& kind) const;
    QNetworkReply* get(const QUrl& address);
    static QString problemOf(QNetworkReply* reply);
    // Removes the videos watched longest ago while the kept ones take too much room.
    void trimVideoCache(const QString& keep) const;
    // Where the server's ETag and Last-Modified of a kept video are noted, to ask whether it changed.
    static QString validatorsPath(const QString& videoPath);
    // Downloads the video into its place; with `kept`, only when the server says it changed
    // since, and the kept copy stands when the server cannot be asked.
    void download(const HelpVideo& video, const QString& kept);

    QUrl listAddress_;
    QString cacheFolder_;
    QNetworkAccessManager* network_;
    QList<HelpVideo> videos_;
    QPointer<QNetworkReply> listReply_, videoReply_;
    QSaveFile* videoFile_ = nullptr;
    QString videoName_;
    qint64 cacheLimit_ = 512LL << 20;
};

} // namespace pimavo
