#include "ColorSwatch.h"

#include <QPainter>

namespace pimavo {

QColor deviceRGB(const QColor& color) {
    return color.isValid() && color.spec() != QColor::Rgb ? color.toRgb() : color;
}

ColorSwatch::ColorSwatch(const QRect& frame, const QColor& color, bool isCircle, QWidget* parent)
    : QWidget(parent), fillColor_(color), isCircle_(isCircle) {
    setGeometry(frame);
}

void ColorSwatch::setFillColor(const QColor& color) {
    fillColor_ = color;
    update();
}

void ColorSwatch::setBorderColor(const QColor& color) {
    borderColor_ = color;
    update();
}

void ColorSwatch::setBorderWidth(float width) {
    borderWidth_ = width;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    if (isCircle_) {
        if (!fillColor_.isValid()) return;
        p.setPen(Qt::NoPen);
        p.setBrush(fillColor_);
        p.drawEllipse(r);
        return;
    }
    if (fillColor_.isValid()) p.fillRect(r, fillColor_);
    if (borderWidth_ > 0 && borderColor_.alpha() > 0) {
        const qreal w = borderWidth_;
        p.setPen(QPen(borderColor_, w));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
    }
}

} // namespace pimavo
