#include "RenderedImageView.h"

#include "engine/Renderer.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pimavo {

RenderedImageView::RenderedImageView(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted here: no need for Qt to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RenderedImageView::setBackdrop(const QBrush& brush) {
    backdrop_ = brush;
    update();
}

void RenderedImageView::setShowsTransparency(bool on) {
    showsTransparency_ = on;
    update();
}

namespace {

// Squares of 8 view points, light grey and white, as picture editors show transparency.
const QBrush& checkerboard() {
    static const QBrush brush = [] {
        QPixmap tile(16, 16);
        tile.fill(QColor(255, 255, 255));
        QPainter p(&tile);
        p.fillRect(0, 0, 8, 8, QColor(204, 204, 204));
        p.fillRect(8, 8, 8, 8, QColor(204, 204, 204));
        return QBrush(tile);
    }();
    return brush;
}

} // namespace

void RenderedImageView::setImage(const Image& image) {
    if (image == image_) return;
    image_ = image;
    update();
}

void RenderedImageView::setImage(const Image& image, const QRectF& dirty) {
    if (image == image_) return;
    image_ = image;
    update(dirty.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void RenderedImageView::setSharpMagnification(bool on) {
    if (on == sharp_) return;
    sharp_ = on;
    update();
}

void RenderedImageView::setRealFrame(const QRectF& frame, double imageWidth) {
    realFrame_ = frame;
    scale_ = imageWidth > 0 ? frame.width() / imageWidth : 1;
    update();
}

PointF RenderedImageView::imagePointFromView(const QPointF& p) const {
    return {(p.x() - realFrame_.x()) / scale_, (realFrame_.bottom() - p.y()) / scale_};
}

QRectF RenderedImageView::viewRectFromImage(const RectF& r) const {
    if (r.isNull()) return {};
    if (r.isInfinite()) return rect();
    return QRectF(realFrame_.x() + r.minX() * scale_, realFrame_.bottom() - r.maxY() * scale_,
                  r.width() * scale_, r.height() * scale_);
}

void RenderedImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    // Patterns line up with the same pattern painted behind the parent.
    if (backdrop_) painter.setBrushOrigin(-pos());
    const double dpr = devicePixelRatioF();
    const double H = height();
    // Image pixels to device pixels, y up from the widget's bottom edge.
    // The image may be the working-size picture or the full-resolution one: its own width sets the
    // scale.
    const RectF extent = image_ ? image_.extent() : RectF::null();
    const double k = !extent.isEmpty() && !extent.isInfinite() ? realFrame_.width() / extent.width() : scale_;
    // The picture's corner on a whole device pixel: at a fractional desktop scale a frame in points
    // falls between pixels, and actual size would be resampled half a pixel off.
    const double Hd = std::round(H * dpr);
    const Transform2D toDevice =
        Transform2D::scale(k * dpr, k * dpr)
            .concat(Transform2D::translation(std::round(realFrame_.x() * dpr),
                                             Hd - std::round(realFrame_.bottom() * dpr)));
    const bool finite = !extent.isEmpty() && !extent.isInfinite();
    const bool sharp = sharp_ && finite && k * dpr >= 1;
    Image shown = image_ ? image_.imageByApplyingTransform(toDevice) : Image();
    // Drawn smoothly, the outermost screen pixels would reach past the picture's edge and blend with
    // the transparency there, and so with the backdrop: the edge is extended first and the picture
    // cut back to whole screen pixels where it lies. (Its frame's sides are each on whole pixels,
    // but the picture's proportions need not put its far edges there, at a fractional desktop scale
    // least of all.)
    if (!sharp && finite && k * dpr != 1) {
        const RectF onScreen = extent.applying(toDevice);
        const double x0 = std::round(onScreen.minX()), y0 = std::round(onScreen.minY());
        shown = image_.imageByClampingToExtent().imageByApplyingTransform(toDevice).imageByCroppingToRect(
            RectF(x0, y0, std::round(onScreen.maxX()) - x0, std::round(onScreen.maxY()) - y0));
    }
    Renderer context;
    for (const QRect& r : event->region()) {
        if (backdrop_)
            painter.fillRect(r, *backdrop_);
        else
            painter.fillRect(r, background);
        if (!shown) continue;
        const QRectF area = QRectF(r).intersected(realFrame_);
        if (area.isEmpty()) continue;
        if (showsTransparency_) {
            // Aligned to the picture, so that the squares move with it when it scrolls.
            painter.save();
            painter.setBrushOrigin(realFrame_.topLeft());
            painter.fillRect(area, checkerboard());
            painter.restore();
        }
        // The device pixels of the area, whole.
        const int x0 = int(std::floor(area.left() * dpr)), x1 = int(std::ceil(area.right() * dpr));
        const int top = int(std::floor(area.top() * dpr)), bottom = int(std::ceil(area.bottom() * dpr));
        const int w = x1 - x0, h = bottom - top;
        if (w <= 0 || h <= 0) continue;
        if (sharp) {
            paintSharp(painter, x0, x1, top, bottom, k * dpr, dpr);
            continue;
        }
        QImage pixels(w, h, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        const RectF region(x0, Hd - bottom, w, h);
        // The picture is opaque; what lies outside it keeps the background.
        context.render(shown, region, PixelFormat::BGRA8, pixels.bits(), pixels.bytesPerLine());
        pixels.setDevicePixelRatio(dpr);
        painter.drawImage(QPointF(x0 / dpr, top / dpr), pixels);
    }
}

void RenderedImageView::paintSharp(QPainter& painter, int x0, int x1, int top, int bottom, double k,
                                   double dpr) {
    const RectF e = image_.extent();
    const IntRect inside = IntRect::covering(e);
    const int w = x1 - x0, h = bottom - top;
    // The image column under each device column's centre, and the row under each device row's
    // (image rows go up, device rows down), or none where that lies outside the image. The mapping
    // is paintEvent's: image coordinate 0 at the real frame's edge.
    const double left = std::round(realFrame_.x() * dpr), base = std::round(realFrame_.bottom() * dpr);
    constexpr int none = INT32_MIN;
    std::vector<int> cols(std::size_t(w), none), rows(std::size_t(h), none);
    int i0 = inside.x1, i1 = inside.x0, j0 = inside.y1, j1 = inside.y0;
    for (int c = 0; c < w; ++c) {
        const int i = int(std::floor((x0 + c + 0.5 - left) / k));
        if (i < inside.x0 || i >= inside.x1) continue;
        cols[std::size_t(c)] = i;
        i0 = std::min(i0, i), i1 = std::max(i1, i + 1);
    }
    for (int r = 0; r < h; ++r) {
        const int j = int(std::floor((base - (top + r + 0.5)) / k));
        if (j < inside.y0 || j >= inside.y1) continue;
        rows[std::size_t(r)] = j;
        j0 = std::min(j0, j), j1 = std::max(j1, j + 1);
    }
    if (i1 <= i0 || j1 <= j0) return;
    // Only the image pixels the area shows are rendered, at their own size; the magnification is
    // then a copy.
    const int sw = i1 - i0;
    std::vector<uint32_t> source(std::size_t(sw) * std::size_t(j1 - j0));
    if (!Renderer().render(image_, RectF(i0, j0, sw, j1 - j0), PixelFormat::BGRA8, source.data(),
                           std::ptrdiff_t(sw) * 4))
        return;
    QImage pixels(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int r = 0; r < h; ++r) {
        auto* dst = reinterpret_cast<uint32_t*>(pixels.scanLine(r));
        const int j = rows[std::size_t(r)];
        if (j == none) {
            std::fill_n(dst, w, 0u);
            continue;
        }
        if (r > 0 && rows[std::size_t(r - 1)] == j) {
            std::copy_n(reinterpret_cast<const uint32_t*>(pixels.constScanLine(r - 1)), w, dst);
            continue;
        }
        const uint32_t* src = source.data() + std::size_t(j1 - 1 - j) * std::size_t(sw);
        for (int c = 0; c < w; ++c) {
            const int i = cols[std::size_t(c)];
            dst[c] = i == none ? 0u : src[i - i0];
        }
    }
    pixels.setDevicePixelRatio(dpr);
    painter.drawImage(QPointF(x0 / dpr, top / dpr), pixels);
}

} // namespace pimavo
