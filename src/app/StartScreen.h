// The start screen: shown while no photo is open. Open, Open Recent with a thumbnail of the most
// recent photo, Import from a camera or scanner, and a drop area for files and pictures.
#pragma once

#include "widgets/FramedPanel.h"

#include <functional>

class QLabel;
class QMimeData;

namespace pimavo {

class ImageButton;

class StartScreen : public FramedPanel {
    Q_OBJECT
public:
    explicit StartScreen(QWidget* parent = nullptr);

    void setRecent(const QString& path); // empty: no recent photo
    void setThumbnail(const QImage& image);
    ImageButton* openButton() const { return openButton_; }
    ImageButton* openRecentButton() const { return openRecentButton_; }
    ImageButton* importButton() const { return importButton_; }
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
    FramedPanel* panel_;
    ImageButton *openButton_, *openRecentButton_, *importButton_;
    QLabel *title_, *hint_, *thumbnail_, *dropArea_;
};

} // namespace pimavo
