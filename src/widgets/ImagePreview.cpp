#include "ImagePreview.h"

#include "engine/Renderer.h"

#include <QPainter>
#include <algorithm>

namespace pimavo {

ImagePreview::ImagePreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImagePreview::setImage(const Image& image) {
    image_ = image;
    render();
    update();
}

void ImagePreview::setColourProfile(std::vector<uint8_t> profile) {
    if (profile == profile_) return;
    profile_ = std::move(profile);
    render();
    update();
}

void ImagePreview::resizeEvent(QResizeEvent*) {
    // A view laid out while hidden is told its size again when shown: one rendering is enough.
    if (size() != renderedSize_ || devicePixelRatioF() != renderedRatio_) render();
}

// Rendered once per size at the screen's pixel density, scaled by the engine, not by the painter.
void ImagePreview::render() {
    shown_ = QImage();
    renderedSize_ = size();
    renderedRatio_ = devicePixelRatioF();
    renderedScreen_ = screenProfileGeneration();
    if (!image_ || width() <= 0 || height() <= 0) return;
    const RectF e = image_.extent();
    if (e.isEmpty() || e.isInfinite()) return;
    const qreal dpr = devicePixelRatioF();
    const double scale = std::min(width() * dpr / e.width(), height() * dpr / e.height());
    const int w = std::max(1, int(e.width() * scale)), h = std::max(1, int(e.height() * scale));
    const Image scaled = image_.imageByApplyingTransform(Transform2D::scale(scale, scale));
    const RectF s = scaled.extent();
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    Renderer().render(scaled, RectF(s.minX(), s.minY(), w, h), PixelFormat::BGRA8, out.bits(),
                      std::size_t(out.bytesPerLine()));
    if (auto toScreen = displayTransform(profile_))
        toScreen->convertBgra8(out.bits(), w, h, out.bytesPerLine());
    out.setDevicePixelRatio(dpr);
    shown_ = out;
}

void ImagePreview::paintEvent(QPaintEvent*) {
    if (renderedScreen_ != screenProfileGeneration()) render();
    if (shown_.isNull()) return;
    QPainter p(this);
    const QSizeF s = shown_.deviceIndependentSize();
    p.drawImage(QPointF((width() - s.width()) / 2, (height() - s.height()) / 2), shown_);
}

} // namespace pimavo
