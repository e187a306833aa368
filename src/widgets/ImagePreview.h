// An image view that shows an image value scaled to fit its bounds, centred.
#pragma once

#include "engine/Image.h"

#include <QImage>
#include <QWidget>

namespace pimavo {

class ImagePreview : public QWidget {
    Q_OBJECT
public:
    explicit ImagePreview(QWidget* parent = nullptr);
    void setImage(const Image& image);
    const Image& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();
    Image image_;
    QImage shown_;
    QSize renderedSize_; // what shown_ was rendered for
    qreal renderedRatio_ = 0;
};

} // namespace pimavo
