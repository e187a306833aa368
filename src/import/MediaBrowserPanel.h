// The media browser: a panel docked in the editing window beside the picture, with the user's
// photos, newest first, as a grid of thumbnails with their file names. A double click hands the photo to
// `onOpen`; an entry without a file hands an empty path, which the window answers with "Cannot open this
// image".
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
    // The width two columns of thumbnails take, with the scroll bar.
    static int preferredWidth();

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
