#include "SwatchCell.h"

#include <QMouseEvent>

namespace pimavo {

SwatchCell::SwatchCell(const QRect& frame, QWidget* parent) : ColorSwatch(frame, QColor(), false, parent) {
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    setCursor(Qt::PointingHandCursor);
}

void SwatchCell::setFillColor(const QColor& color) {
    ColorSwatch::setFillColor(deviceRGB(color));
}

void SwatchCell::enterEvent(QEnterEvent* event) {
    if (fillColor_.isValid()) {
        setBorderWidth(2.0f);
        setBorderColor(Qt::white);
    }
    ColorSwatch::enterEvent(event);
}

void SwatchCell::leaveEvent(QEvent* event) {
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    ColorSwatch::leaveEvent(event);
}

void SwatchCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        fillColor_.isValid())
        emit colorSelected(fillColor_);
}

} // namespace pimavo
