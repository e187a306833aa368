#include "MediaBrowserModel.h"

#include "imageio/ColourProfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <deque>

namespace pimavo {

struct MediaBrowserModel::Queue {
    std::mutex lock;
    std::deque<int> rows; // most recent request at the back
    int first = 0, last = -1;
    int generation = 0;
};

MediaBrowserModel::MediaBrowserModel(ThumbnailCache cache, QObject* parent)
    : QAbstractListModel(parent), cache_(std::move(cache)),
      photos_(std::make_shared<const std::vector<PhotoEntry>>()), queue_(std::make_shared<Queue>()) {
    // Decoding is memory-bound past a couple of threads; the window keeps a core for itself.
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

MediaBrowserModel::~MediaBrowserModel() {
    {
        std::lock_guard g(queue_->lock);
        queue_->rows.clear();
        queue_->generation = -1;
    }
    pool_.waitForDone();
}

void MediaBrowserModel::setPhotos(std::vector<PhotoEntry> photos) {
    beginResetModel();
    photos_ = std::make_shared<const std::vector<PhotoEntry>>(std::move(photos));
    images_.clear();
    pending_.clear();
    failed_.clear();
    requested_ = delivered_ = 0;
    ++generation_;
    {
        std::lock_guard g(queue_->lock);
        queue_->rows.clear();
        queue_->generation = generation_;
        queue_->first = 0;
        queue_->last = -1;
    }
    endResetModel();
    emit progressChanged(0, 0);
}

void MediaBrowserModel::setThumbnailSize(ThumbnailSize size) {
    if (size == size_) return;
    size_ = size;
    setPhotos(*photos_);
}

void MediaBrowserModel::setVisibleRows(int first, int last) {
    std::lock_guard g(queue_->lock);
    queue_->first = first;
    queue_->last = last;
}

int MediaBrowserModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(photos_->size());
}

QVariant MediaBrowserModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(photos_->size())) return {};
    const PhotoEntry& e = (*photos_)[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QFileInfo(e.path).fileName();
    case Qt::ToolTipRole:
        return QString("%1\n%2 — %3")
            .arg(e.path, QLocale().toString(QDateTime::fromSecsSinceEpoch(e.time), QLocale::ShortFormat),
                 e.source);
    case PathRole:
        return e.path;
    case TimeRole:
        return e.time;
    case Qt::DecorationRole:
        if (const QImage* image = images_.object(index.row())) return *image;
        request(index.row());
        return {};
    default:
        return {};
    }
}

void MediaBrowserModel::request(int row) const {
    if (pending_.contains(row) || failed_.contains(row)) return;
    pending_.insert(row);
    ++requested_;
    {
        std::lock_guard g(queue_->lock);
        queue_->rows.push_back(row);
    }
    auto* self = const_cast<MediaBrowserModel*>(this);
    QPointer<MediaBrowserModel> guard(self);
    // Each task takes the newest wanted row, not necessarily the one it was started for.
    self->pool_.start([queue = queue_, cache = cache_, size = size_, generation = generation_,
                       photos = photos_, guard] {
        int next = -1;
        bool wanted = false;
        {
            std::lock_guard g(queue->lock);
            if (queue->generation != generation || queue->rows.empty()) return;
            next = queue->rows.back();
            queue->rows.pop_back();
            // A margin around the visible rows: they are the next to be scrolled to.
            wanted = queue->last < 0 || (next >= queue->first - 40 && next <= queue->last + 40);
        }
        QImage image;
        if (wanted) image = cache.thumbnail((*photos)[size_t(next)].path, size);
        // Thumbnails are sRGB.
        if (auto toScreen = displayTransform({}); toScreen && !image.isNull()) {
            image =
                image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            toScreen->convertBgra8(image.bits(), image.width(), image.height(), image.bytesPerLine());
        }
        QMetaObject::invokeMethod(
            guard.data(),
            [guard, generation, next, image, wanted] {
                if (guard) guard->deliver(generation, next, image, wanted);
            },
            Qt::QueuedConnection);
    });
}

void MediaBrowserModel::deliver(int generation, int row, QImage image, bool made) {
    if (generation != generation_) return;
    pending_.remove(row);
    ++delivered_;
    if (!image.isNull()) {
        const auto cost = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
        images_.insert(row, new QImage(std::move(image)), cost);
        const QModelIndex i = index(row);
        emit dataChanged(i, i, {Qt::DecorationRole});
    } else if (made) {
        failed_.insert(row);
    }
    emit progressChanged(delivered_, requested_);
}

void MediaBrowserModel::waitForThumbnails() {
    while (delivered_ < requested_) {
        pool_.waitForDone();
        QCoreApplication::processEvents();
    }
}

} // namespace pimavo
