// The photos of the media browser as a list model whose thumbnails arrive on demand.
//
// A view asks only for the rows it shows, so a library of tens of thousands of photos costs a
// thumbnail per visible cell. Asked-for thumbnails are made on a pool of background threads,
// newest request first (the rows just scrolled to), and handed back to the main thread; until
// then the row shows a placeholder. Rows that scrolled out of sight before their turn are dropped.
#pragma once

#include "PhotoLibrary.h"
#include "ThumbnailCache.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QSet>
#include <QThreadPool>
#include <memory>
#include <mutex>

namespace pimavo {

class MediaBrowserModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1, TimeRole };

    explicit MediaBrowserModel(ThumbnailCache cache = ThumbnailCache(), QObject* parent = nullptr);
    ~MediaBrowserModel() override;

    void setPhotos(std::vector<PhotoEntry> photos);
    const std::vector<PhotoEntry>& photos() const { return *photos_; }
    void setThumbnailSize(ThumbnailSize size);
    // Rows outside [first, last] whose thumbnails are still waiting are not made after all.
    void setVisibleRows(int first, int last);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Thumbnails asked for and made (or found) since the photos were set.
    int requested() const { return requested_; }
    int delivered() const { return delivered_; }
    void waitForThumbnails(); // for tests and benchmarks

signals:
    void progressChanged(int delivered, int requested);

private:
    void request(int row) const;
    void deliver(int generation, int row, QImage image, bool made);

    ThumbnailCache cache_;
    std::shared_ptr<const std::vector<PhotoEntry>> photos_; // shared with the workers
    ThumbnailSize size_ = ThumbnailSize::Normal;
    mutable QCache<int, QImage> images_{96 * 1024}; // cost in KiB: a few screens of thumbnails
    mutable QSet<int> pending_;
    QSet<int> failed_; // unreadable: shown with the placeholder, not asked for again
    mutable int requested_ = 0;
    int delivered_ = 0;
    int generation_ = 0;
    QThreadPool pool_;
    // Shared with the workers: which rows are still wanted, and the order to make them in.
    struct Queue;
    std::shared_ptr<Queue> queue_;
};

} // namespace pimavo
