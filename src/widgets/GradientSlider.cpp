#include "GradientSlider.h"

#include <QLinearGradient>
#include <QPainter>

namespace pimavo {

GradientSlider::GradientSlider(QWidget* parent) : ValueSlider(parent) {
    fade_.setDuration(500);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        shown_ = v.value<QColor>();
        update();
    });
}

void GradientSlider::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    fade_.stop();
    if (!isVisible()) {
        shown_ = color;
        update();
        return;
    }
    fade_.setStartValue(shown_);
    fade_.setEndValue(color);
    fade_.start();
}

void GradientSlider::drawTrack(QPainter& p, const QRectF& track) {
    const QRectF bar(track.left(), track.center().y() - 4, track.width(), 8);
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setColorAt(0, Qt::black);
    g.setColorAt(0.5, shown_);
    g.setColorAt(1, Qt::white);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(g);
    p.drawRoundedRect(bar, 4, 4);
}

} // namespace pimavo
