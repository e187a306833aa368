#include "SampleCIView.h"

#include "engine/CIContext.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace pimavo {

SampleCIView::SampleCIView(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted here: no need for Qt to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SampleCIView::setBackdrop(const QBrush& brush) {
    backdrop_ = brush;
    update();
}

void SampleCIView::setImage(const CIImage& image) {
    if (image == image_) return;
    image_ = image;
    update();
}

void SampleCIView::setImage(const CIImage& image, const QRectF& dirty) {
    if (image == image_) return;
    image_ = image;
    update(dirty.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void SampleCIView::setRealFrame(const QRectF& frame, double imageWidth) {
    realFrame_ = frame;
    scale_ = imageWidth > 0 ? frame.width() / imageWidth : 1;
    update();
}

CGPoint SampleCIView::imagePointFromView(const QPointF& p) const {
    return {(p.x() - realFrame_.x()) / scale_, (realFrame_.bottom() - p.y()) / scale_};
}

QRectF SampleCIView::viewRectFromImage(const CGRect& r) const {
    if (r.isNull()) return {};
    if (r.isInfinite()) return rect();
    return QRectF(realFrame_.x() + r.minX() * scale_, realFrame_.bottom() - r.maxY() * scale_,
                  r.width() * scale_, r.height() * scale_);
}

void SampleCIView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    // Patterns line up with the same pattern painted behind the parent.
    if (backdrop_) painter.setBrushOrigin(-pos());
    const double dpr = devicePixelRatioF();
    const double H = height();
    // Image pixels to device pixels, y up from the widget's bottom edge.
    // The image may be the working-size picture or the full-resolution one: its own width sets the
    // scale.
    const CGRect extent = image_ ? image_.extent() : CGRect::null();
    const double k = !extent.isEmpty() && !extent.isInfinite() ? realFrame_.width() / extent.width() : scale_;
    const CGAffineTransform toDevice =
        CGAffineTransform::scale(k * dpr, k * dpr)
            .concat(CGAffineTransform::translation(realFrame_.x() * dpr, (H - realFrame_.bottom()) * dpr));
    const CIImage shown = image_ ? image_.imageByApplyingTransform(toDevice) : CIImage();
    CIContext context;
    for (const QRect& r : event->region()) {
        if (backdrop_)
            painter.fillRect(r, *backdrop_);
        else
            painter.fillRect(r, background);
        if (!shown) continue;
        const QRectF area = QRectF(r).intersected(realFrame_);
        if (area.isEmpty()) continue;
        // The device pixels of the area, whole.
        const int x0 = int(std::floor(area.left() * dpr)), x1 = int(std::ceil(area.right() * dpr));
        const int top = int(std::floor(area.top() * dpr)), bottom = int(std::ceil(area.bottom() * dpr));
        const int w = x1 - x0, h = bottom - top;
        if (w <= 0 || h <= 0) continue;
        QImage pixels(w, h, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        const CGRect region(x0, H * dpr - bottom, w, h);
        // The picture is opaque; what lies outside it keeps the background.
        context.render(shown, region, kCIFormatBGRA8, pixels.bits(), pixels.bytesPerLine());
        pixels.setDevicePixelRatio(dpr);
        painter.drawImage(QPointF(x0 / dpr, top / dpr), pixels);
    }
}

} // namespace pimavo
