// An image view that shows an image value scaled to fit its bounds, centred.
#pragma once

#include "engine/CIImage.h"

#include <QImage>
#include <QWidget>

namespace pimavo {

class TQCIImageView : public QWidget {
    Q_OBJECT
public:
    explicit TQCIImageView(QWidget* parent = nullptr);
    void setImage(const CIImage& image);
    const CIImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();
    CIImage image_;
    QImage shown_;
};

} // namespace pimavo
