// The start screen: shown while no photo is open. Open, Open Recent with a thumbnail of the most
// recent photo, Import from a camera or scanner, and a drop area for files and pictures.
#pragma once

#include "widgets/ZDView.h"

#include <functional>

class QLabel;
class QMimeData;

namespace pimavo {

class TQButton;

class StartScreen : public ZDView {
    Q_OBJECT
public:
    explicit StartScreen(QWidget* parent = nullptr);

    void setRecent(const QString& path); // empty: no recent photo
    void setThumbnail(const QImage& image);
    TQButton* openButton() const { return openButton_; }
    TQButton* openRecentButton() const { return openRecentButton_; }
    TQButton* importButton() const { return importButton_; }
    // The panel in the middle, in this view's coordinates.
    QRect panelGeometry() const;

    std::function<void()> onOpen, onOpenRecent, onImport;
    std::function<bool(const QMimeData*)> canRead;
    std::function<void(const QMimeData*)> read;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ZDView* panel_;
    TQButton *openButton_, *openRecentButton_, *importButton_;
    QLabel *title_, *hint_, *thumbnail_, *dropArea_;
};

} // namespace pimavo
