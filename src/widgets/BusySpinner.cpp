#include "BusySpinner.h"

#include <QPainter>

namespace pimavo {

BusySpinner::BusySpinner(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(16);
    connect(&timer_, &QTimer::timeout, this, [this] {
        angle_ = (angle_ + 8) % 360;
        update();
    });
}

void BusySpinner::startAnimation() {
    timer_.start();
    show();
}

void BusySpinner::stopAnimation() {
    timer_.stop();
    hide();
}

void BusySpinner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = std::max(2.0, std::min(width(), height()) / 8.0);
    const QRectF r = QRectF(rect()).adjusted(w, w, -w, -w);
    p.setPen(QPen(QColor(255, 255, 255, 50), w, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, w, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(r, -angle_ * 16, 100 * 16);
}

} // namespace pimavo
