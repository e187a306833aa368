// The media browser: a panel beside the editing window with the user's photos, newest first, as a
// grid of thumbnails. A double click hands the photo to `onOpen`; an entry without a file hands an
// empty path, which the window answers with "Cannot open this image".
#pragma once

#include "MediaBrowserModel.h"

#include <QWidget>
#include <functional>

class QLabel;
class QListView;
class QProgressBar;

namespace pimavo {

class MediaBrowserPanel : public QWidget {
    Q_OBJECT
public:
    explicit MediaBrowserPanel(QWidget* parent = nullptr, ThumbnailCache cache = ThumbnailCache());

    // Looks through the sources again, away from the window; the grid fills when done.
    void reload(const LibrarySources& sources);
    void setPhotos(std::vector<PhotoEntry> photos);
    // Beside `window`: to its right when the screen has room, else to its left.
    void placeBeside(const QWidget* window);

    MediaBrowserModel* model() const { return model_; }
    QListView* view() const { return view_; }
    bool isLoading() const { return loading_; }

    std::function<void(const QString& path)> onOpen;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateVisibleRows();
    void updateStatus();

    MediaBrowserModel* model_;
    QListView* view_;
    QLabel* status_;
    QProgressBar* progress_;
    bool loading_ = false;
    int loadGeneration_ = 0;
};

} // namespace pimavo
