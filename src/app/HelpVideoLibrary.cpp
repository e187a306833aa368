#include "HelpVideoLibrary.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

namespace pimavo {

namespace {

// A help video is short; a larger download is not what the list promised.
constexpr qint64 kMaxVideoBytes = 1LL << 30;
constexpr qint64 kMaxListBytes = 4 << 20;
constexpr int kTransferTimeoutMs = 20000;
// How long the server may take to say whether a kept video changed before the kept copy plays.
constexpr int kChangeQuestionMs = 3000;

} // namespace

HelpVideoLibrary::HelpVideoLibrary(const QUrl& listAddress, const QString& cacheFolder,
                                   QNetworkAccessManager* network, QObject* parent)
    : QObject(parent), listAddress_(listAddress), cacheFolder_(cacheFolder),
      network_(network ? network : new QNetworkAccessManager(this)) {}

HelpVideoLibrary::~HelpVideoLibrary() {
    // What is under way just stops: nothing is reported to a window that is going too.
    for (QNetworkReply* reply : {listReply_.data(), videoReply_.data()}) {
        if (!reply) continue;
        reply->disconnect(this);
        reply->abort();
    }
    delete videoFile_; // uncommitted: the partial download goes
}

const HelpVideo* HelpVideoLibrary::video(const QString& name) const {
    for (const HelpVideo& v : videos_)
        if (v.name == name) return &v;
    return nullptr;
}

QString HelpVideoLibrary::cachePath(const QUrl& address, const QString& kind) const {
    const QString hash =
        QCryptographicHash::hash(address.toEncoded(), QCryptographicHash::Sha1).toHex().left(20);
    QString suffix = QFileInfo(address.path()).suffix().toLower();
    if (suffix.size() > 5 || suffix.contains(QRegularExpression("[^a-z0-9]"))) suffix.clear();
    return cacheFolder_ + "/" + kind + "-" + hash + (suffix.isEmpty() ? "" : "." + suffix);
}

QNetworkReply* HelpVideoLibrary::get(const QUrl& address) {
    QNetworkRequest request(address);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pimavo"));
    QNetworkReply* reply = network_->get(request);
    // Freed once done, whoever was waiting for it (the manager may outlive this library).
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    return reply;
}

QString HelpVideoLibrary::problemOf(QNetworkReply* reply) {
    // The server's answer is no matter of the user's connection; anything else may well be.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) return tr("the help server answered HTTP %1").arg(QString::number(status));
    return tr("%1 — check your internet connection and try again").arg(reply->errorString());
}

void HelpVideoLibrary::reload() {
    if (QNetworkReply* old = listReply_) {
        listReply_ = nullptr; // its end is no answer any more
        old->abort();
    }
    QNetworkReply* reply = get(listAddress_);
    listReply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply != listReply_) return;
        const QString cached = cachePath(listAddress_, "list");
        QString problem;
        if (reply->error() == QNetworkReply::NoError) {
            const QByteArray body = reply->read(kMaxListBytes);
            if (auto list = parseHelpVideoList(body, listAddress_, &problem)) {
                videos_ = *list;
                QDir().mkpath(cacheFolder_);
                QSaveFile file(cached);
                if (file.open(QIODevice::WriteOnly)) {
                    file.write(body);
                    file.commit();
                }
                emit listReady(false, QString());
                return;
            }
        } else {
            problem = problemOf(reply);
        }
        QFile file(cached);
        if (file.open(QIODevice::ReadOnly)) {
            if (auto list = parseHelpVideoList(file.read(kMaxListBytes), listAddress_)) {
                videos_ = *list;
                emit listReady(true, problem);
                return;
            }
        }
        emit listFailed(problem);
    });
}

void HelpVideoLibrary::fetchThumbnail(const HelpVideo& video) {
    if (video.thumbnail.isEmpty()) return;
    const QString cached = cachePath(video.thumbnail, "thumb");
    const QString name = video.name;
    QImage image(cached);
    if (!image.isNull()) {
        emit thumbnailReady(name, image);
        return;
    }
    QNetworkReply* reply = get(video.thumbnail);
    connect(reply, &QNetworkReply::finished, this, [this, reply, cached, name] {
        if (reply->error() != QNetworkReply::NoError) return; // the row keeps its plain look
        const QByteArray body = reply->read(kMaxListBytes);
        QImage thumbnail;
        if (!thumbnail.loadFromData(body)) return;
        QDir().mkpath(cacheFolder_);
        QSaveFile file(cached);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(body);
            file.commit();
        }
        emit thumbnailReady(name, thumbnail);
    });
}

QString HelpVideoLibrary::cachedVideoPath(const HelpVideo& video) const {
    if (video.video.isLocalFile()) return video.video.toLocalFile();
    const QString path = cachePath(video.video, "video");
    return QFileInfo(path).size() > 0 ? path : QString();
}

void HelpVideoLibrary::forgetVideo(const HelpVideo& video) {
    if (video.video.isLocalFile()) return;
    const QString path = cachePath(video.video, "video");
    QFile::remove(path);
    QFile::remove(validatorsPath(path));
}

QString HelpVideoLibrary::validatorsPath(const QString& videoPath) {
    const QFileInfo info(videoPath);
    // Not "video-…": the cache's trimming counts and removes only the videos.
    return info.absolutePath() + "/check-" + info.fileName().mid(6);
}

void HelpVideoLibrary::fetchVideo(const HelpVideo& video) {
    if (videoReply_) {
        QNetworkReply* old = videoReply_;
        videoReply_ = nullptr;
        old->abort();
    }
    delete videoFile_;
    videoFile_ = nullptr;
    const QString name = video.name;
    if (QString cached = cachedVideoPath(video); !cached.isEmpty()) {
        if (!QFileInfo::exists(cached)) {
            emit videoFailed(name, tr("the file is not there"));
            return;
        }
        if (!video.video.isLocalFile() && QFileInfo::exists(validatorsPath(cached))) {
            download(video, cached);
            return;
        }
        // Watched again: the last to go when the cache is trimmed.
        QFile file(cached);
        if (!video.video.isLocalFile() && file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
        emit videoReady(name, cached);
        return;
    }
    download(video, QString());
}

void HelpVideoLibrary::download(const HelpVideo& video, const QString& kept) {
    const QString name = video.name;
    QDir().mkpath(cacheFolder_);
    // Written beside its place and moved there only when complete: a broken download is never
    // taken for the video.
    videoFile_ = new QSaveFile(cachePath(video.video, "video"));
    if (!videoFile_->open(QIODevice::WriteOnly)) {
        const QString problem = videoFile_->errorString();
        delete videoFile_;
        videoFile_ = nullptr;
        if (!kept.isEmpty())
            emit videoReady(name, kept);
        else
            emit videoFailed(name, problem);
        return;
    }
    QNetworkRequest request(video.video);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pimavo"));
    // The network's own cache would answer for the server; the question is for the server.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!kept.isEmpty()) {
        QFile noted(validatorsPath(kept));
        if (noted.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> lines = noted.readAll().split('\n');
            if (!lines.value(0).isEmpty()) request.setRawHeader("If-None-Match", lines.value(0));
            if (!lines.value(1).isEmpty()) request.setRawHeader("If-Modified-Since", lines.value(1));
        }
    }
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    videoReply_ = reply;
    videoName_ = name;
    const auto status = [reply] {
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    };
    if (!kept.isEmpty()) {
        // A question, not a download: a server slow to answer it does not keep the video waiting.
        QTimer::singleShot(kChangeQuestionMs, reply, [reply, status] {
            if (status() == 0) reply->abort();
        });
    }
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, status] {
        if (reply != videoReply_ || !videoFile_ || status() != 200) return;
        videoFile_->write(reply->readAll());
        if (videoFile_->size() > kMaxVideoBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply, status](qint64 received, qint64 total) {
                if (reply == videoReply_ && status() == 200) emit videoProgress(videoName_, received, total);
            });
    connect(reply, &QNetworkReply::finished, this, [this, reply, kept, status] {
        if (reply != videoReply_) return; // replaced by another video
        videoReply_ = nullptr;
        QSaveFile* file = videoFile_;
        videoFile_ = nullptr;
        const QString videoName = videoName_;
        const bool changed = reply->error() == QNetworkReply::NoError && status() == 200;
        if (!kept.isEmpty() && !changed) {
            // Not changed, or the server cannot say now: the kept copy is the video.
            delete file;
            QFile touched(kept);
            if (touched.open(QIODevice::ReadWrite))
                touched.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
            emit videoReady(videoName, kept);
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            delete file;
            emit videoFailed(videoName, problemOf(reply));
            return;
        }
        file->write(reply->readAll());
        const QString path = file->fileName();
        const bool empty = file->size() == 0;
        if (empty || !file->commit()) {
            const QString problem = empty ? QStringLiteral("empty file") : file->errorString();
            delete file;
            emit videoFailed(videoName, problem);
            return;
        }
        delete file;
        // What the server knows this copy by, to ask it next time whether it changed.
        const QByteArray etag = reply->rawHeader("ETag"), modified = reply->rawHeader("Last-Modified");
        QSaveFile noted(validatorsPath(path));
        if (!etag.isEmpty() || !modified.isEmpty()) {
            if (noted.open(QIODevice::WriteOnly)) {
                noted.write(etag + '\n' + modified + '\n');
                noted.commit();
            }
        } else {
            QFile::remove(validatorsPath(path));
        }
        trimVideoCache(path);
        emit videoReady(videoName, path);
    });
}

void HelpVideoLibrary::trimVideoCache(const QString& keep) const {
    QFileInfoList videos =
        QDir(cacheFolder_).entryInfoList({"video-*"}, QDir::Files, QDir::Time | QDir::Reversed);
    qint64 total = 0;
    for (const QFileInfo& f : videos) total += f.size();
    for (const QFileInfo& f : videos) {
        if (total <= cacheLimit_) break;
        if (f.absoluteFilePath() == QFileInfo(keep).absoluteFilePath()) continue;
        if (!QFile::remove(f.absoluteFilePath())) continue;
        total -= f.size();
        QFile::remove(validatorsPath(f.absoluteFilePath()));
    }
}

} // namespace pimavo
