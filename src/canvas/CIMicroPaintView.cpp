#include "CIMicroPaintView.h"

#include "BrushCursor.h"
#include "imageio/ImageGeometry.h"

#include <QMouseEvent>
#include <QPixmap>
#include <cmath>

namespace pimavo {

CIMicroPaintView::CIMicroPaintView(BitmapRef photo, CanvasOwner* owner, QWidget* parent)
    : SampleCIView(parent), model_(std::make_unique<CanvasModel>(std::move(photo), owner)) {
    setMouseTracking(true);
    validateCursor();
}

QCursor CIMicroPaintView::currentBrushCursor() {
    if (!enabled_) return QCursor(Qt::ArrowCursor);
    const int D = std::max(1, int(std::lround(float(model_->brushSize()))));
    const double dpr = devicePixelRatioF();
    const QImage picture = drawBrushPicture(D, model_->brushSoftness(), model_->isEraseMask(), false, dpr);
    return QCursor(QPixmap::fromImage(picture), D / 2, D / 2);
}

QCursor CIMicroPaintView::additionalDrawingCursorWithDiametr(double diameter) {
    if (diameter == 0) diameter = model_->brushSize();
    const int D = std::max(8, int(std::lround(diameter)));
    const CursorKey key{D, D * (1 - model_->brushSoftness() / 200), model_->brushOpacity(),
                        model_->isEraseMask(), devicePixelRatioF()};
    if (key == drawingCursorKey_) return drawingCursor_;
    drawingCursorKey_ = key;
    const QImage picture = drawBrushPicture(D, model_->brushSoftness(), model_->isEraseMask(), true, key.dpr);
    drawingCursor_ = QCursor(QPixmap::fromImage(picture), D / 2, D / 2);
    return drawingCursor_;
}

void CIMicroPaintView::validateCursor() {
    setCursor(currentBrushCursor());
}

void CIMicroPaintView::setEnabled(bool on) {
    enabled_ = on;
    validateCursor();
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
    setImage(model_->getCurrentCIImage());
}

void CIMicroPaintView::showCompareView() {
    setImage(model_->compareImage());
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
    setImage(model_->getCurrentCIImage(), viewRectFromImage(touched));
}

void CIMicroPaintView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return; // secondary clicks do nothing
    if (!enabled_) return;
    if (!model_->beginStroke(imagePointFromView(event->position()))) return;
    setCursor(additionalDrawingCursorWithDiametr(0));
    const double r = model_->brushSize() / scale();
    const CGPoint p = model_->lastDrawedPoint();
    redrawTouched(CGRect(p.x - r, p.y - r, 2 * r, 2 * r));
}

void CIMicroPaintView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !enabled_) return;
    redrawTouched(model_->continueStroke(imagePointFromView(event->position())));
}

void CIMicroPaintView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    model_->endStroke();
    validateImage();
    validateCursor();
}

} // namespace pimavo
