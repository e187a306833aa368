#include "CIMicroPaintView.h"

#include "imageio/ImageGeometry.h"

#include <QMouseEvent>

namespace pimavo {

CIMicroPaintView::CIMicroPaintView(BitmapRef photo, CanvasOwner* owner, QWidget* parent)
    : SampleCIView(parent), model_(std::make_unique<CanvasModel>(std::move(photo), owner)) {
    setMouseTracking(true);
}

CIMicroPaintView::~CIMicroPaintView() = default;

void CIMicroPaintView::fitPicture() {
    const CGRect e = model_->imageA_orig().extent();
    if (e.isEmpty() || width() <= 0 || height() <= 0) return;
    const CGSize fitted = scaledSizeToFitSize({e.width(), e.height()}, {double(width()), double(height())});
    const QRectF frame((width() - fitted.width) / 2, (height() - fitted.height) / 2, fitted.width,
                       fitted.height);
    setRealFrame(frame, e.width());
    model_->setScale(scale());
}

void CIMicroPaintView::validateImage() {
    setImage(model_->currentZoomedCIImageForDisplay(true));
}

void CIMicroPaintView::showEvent(QShowEvent* event) {
    SampleCIView::showEvent(event);
    // The first display makes the mask.
    if (!model_->imageAccumulator()) model_->createMaskBuffer();
    fitPicture();
    validateImage();
}

void CIMicroPaintView::resizeEvent(QResizeEvent* event) {
    SampleCIView::resizeEvent(event);
    fitPicture();
}

void CIMicroPaintView::redrawTouched(const CGRect& touched) {
    if (touched.isNull()) return;
    setImage(model_->currentZoomedCIImageForDisplay(true), viewRectFromImage(touched));
}

void CIMicroPaintView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return; // secondary clicks do nothing
    if (!model_->beginStroke(imagePointFromView(event->position()))) return;
    const double r = model_->brushSize() / scale();
    const CGPoint p = model_->lastDrawedPoint();
    redrawTouched(CGRect(p.x - r, p.y - r, 2 * r, 2 * r));
}

void CIMicroPaintView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    redrawTouched(model_->continueStroke(imagePointFromView(event->position())));
}

void CIMicroPaintView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    model_->endStroke();
    validateImage();
}

} // namespace pimavo
