#include "ColorPickerCellView.h"

#include "core/NotificationCenter.h"

#include <QMouseEvent>

namespace pimavo {

ColorPickerCellView::ColorPickerCellView(const QRect& frame, QWidget* parent)
    : ZDColorView(frame, QColor(), false, parent) {
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    setCursor(Qt::PointingHandCursor);
}

void ColorPickerCellView::setFillColor(const QColor& color) {
    ZDColorView::setFillColor(deviceRGB(color));
}

void ColorPickerCellView::enterEvent(QEnterEvent* event) {
    if (fillColor_.isValid()) {
        setBorderWidth(2.0f);
        setBorderColor(Qt::white);
    }
    ZDColorView::enterEvent(event);
}

void ColorPickerCellView::leaveEvent(QEvent* event) {
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    ZDColorView::leaveEvent(event);
}

void ColorPickerCellView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        fillColor_.isValid())
        NotificationCenter::defaultCenter().post("SelectedColor", QVariant::fromValue(fillColor_));
}

} // namespace pimavo
