// An image view that shows an image value scaled to fit its bounds, centred, converted from the
// photo's colour profile to the screen's.
#pragma once

#include "engine/Image.h"
#include "imageio/ColourProfile.h"

#include <QImage>
#include <QWidget>

namespace pimavo {

class ImagePreview : public QWidget {
    Q_OBJECT
public:
    explicit ImagePreview(QWidget* parent = nullptr);
    void setImage(const Image& image);
    const Image& image() const { return image_; }
    // The ICC profile of the image's values (empty: sRGB).
    void setColourProfile(std::vector<uint8_t> profile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();
    Image image_;
    QImage shown_;
    QSize renderedSize_; // what shown_ was rendered for
    qreal renderedRatio_ = 0;
    std::vector<uint8_t> profile_;
    uint64_t renderedScreen_ = 0; // the screen profile's generation shown_ was converted for
};

} // namespace pimavo
