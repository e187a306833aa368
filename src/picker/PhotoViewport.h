// Where a photo lies in a view that can be zoomed and moved: fitted (never enlarged) to begin with,
// zoomed about a point that stays where it is on screen, moved by dragging, and never moved so far
// that it leaves a gap it could fill. Coordinates: view points, y down; photo pixels, rows from the top.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace pimavo {

class PhotoViewport {
public:
    // The most a photo pixel is enlarged to, in view points.
    static constexpr double kMaximumScale = 16;

    void setViewRect(const QRectF& view);
    void setPhotoSize(const QSizeF& size);
    QRectF viewRect() const { return view_; }

    // View points per photo pixel.
    double scale() const { return fitScale() * zoom_; }
    double fitScale() const;
    bool isFitted() const { return zoom_ <= 1; }
    // The whole photo as drawn (it may reach beyond the view).
    QRectF photoRect() const;
    // The photo pixel under a view point, or nothing outside the photo or the view.
    std::optional<QPointF> photoPointAt(const QPointF& p) const;
    // The part of the photo that shows, in photo pixels.
    QRectF visiblePhotoRect() const;

    // Zooms by `factor` keeping the photo point under `anchor` in place; answers whether it changed.
    bool zoomAt(const QPointF& anchor, double factor);
    bool zoomIn() { return zoomAt(view_.center(), kStep); }
    bool zoomOut() { return zoomAt(view_.center(), 1 / kStep); }
    void fit();
    // Moves the photo with the pointer by `delta` view points.
    void moveBy(const QPointF& delta);

private:
    static constexpr double kStep = 1.4142135623730951; // two steps double
    void clampCentre();

    QRectF view_;
    QSizeF photo_;
    double zoom_ = 1; // times the fitted scale
    QPointF centre_;  // the photo point at the view's centre
};

} // namespace pimavo
