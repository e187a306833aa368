#include "PhotoViewport.h"

#include <algorithm>

namespace pimavo {

void PhotoViewport::setViewRect(const QRectF& view) {
    view_ = view;
    clampCentre();
}

void PhotoViewport::setPhotoSize(const QSizeF& size) {
    photo_ = size;
    zoom_ = 1;
    centre_ = QPointF(size.width() / 2, size.height() / 2);
}

double PhotoViewport::fitScale() const {
    if (photo_.isEmpty() || view_.isEmpty()) return 1;
    return std::min({view_.width() / photo_.width(), view_.height() / photo_.height(), 1.0});
}

QRectF PhotoViewport::photoRect() const {
    const double s = scale();
    const QSizeF shown(photo_.width() * s, photo_.height() * s);
    return QRectF(view_.center() - centre_ * s, shown);
}

std::optional<QPointF> PhotoViewport::photoPointAt(const QPointF& p) const {
    const QRectF r = photoRect();
    if (photo_.isEmpty() || !view_.contains(p) || !r.contains(p)) return std::nullopt;
    const double s = scale();
    const QPointF at = (p - r.topLeft()) / s;
    // The photo's right and bottom edges belong to its last pixels.
    return QPointF(std::min(at.x(), photo_.width() - 1e-3), std::min(at.y(), photo_.height() - 1e-3));
}

QRectF PhotoViewport::visiblePhotoRect() const {
    const QRectF r = photoRect().intersected(view_);
    if (r.isEmpty()) return {};
    const double s = scale();
    const QPointF o = photoRect().topLeft();
    return QRectF((r.topLeft() - o) / s, r.size() / s);
}

bool PhotoViewport::zoomAt(const QPointF& anchor, double factor) {
    if (photo_.isEmpty() || view_.isEmpty()) return false;
    const double fit = fitScale();
    const double zoom = std::clamp(zoom_ * factor, 1.0, std::max(1.0, kMaximumScale / fit));
    if (zoom == zoom_) return false;
    // The photo point under the anchor, before and after, is the same.
    const double before = scale();
    const QPointF under = centre_ + (anchor - view_.center()) / before;
    zoom_ = zoom;
    centre_ = under - (anchor - view_.center()) / scale();
    clampCentre();
    return true;
}

void PhotoViewport::fit() {
    zoom_ = 1;
    clampCentre();
}

void PhotoViewport::moveBy(const QPointF& delta) {
    centre_ -= delta / scale();
    clampCentre();
}

void PhotoViewport::clampCentre() {
    const double s = scale();
    auto clampAxis = [](double c, double photo, double visible) {
        // A photo narrower than the view sits in its middle; a wider one fills it.
        if (photo <= visible) return photo / 2;
        return std::clamp(c, visible / 2, photo - visible / 2);
    };
    centre_.setX(clampAxis(centre_.x(), photo_.width(), view_.width() / s));
    centre_.setY(clampAxis(centre_.y(), photo_.height(), view_.height() / s));
}

} // namespace pimavo
