#include "BrushCursor.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace pimavo {

QImage drawBrushPicture(int D, double softness, bool erase, bool drawing, double dpr) {
    const int side = std::max(1, int(std::ceil(D * dpr)));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double a = drawing ? 1.0 : 0.7;
    auto pen = [&](QColor c, double width) {
        QPen line(c);
        line.setWidthF(width);
        return line;
    };
    // Rectangles are given with y up; in the image y goes down.
    auto flip = [D](double x, double y, double w, double h) { return QRectF(x, D - y - h, w, h); };

    const QRectF outer = flip(1, 1, D - 2, D - 2);
    p.setPen(pen(QColor::fromRgbF(1, 1, 1, a), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(outer);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgbF(1, 1, 1, 0.15));
    p.drawEllipse(outer);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor::fromRgbF(0, 0, 0, a), 1.5));
    p.drawEllipse(flip(2, 2, D - 4, D - 4));

    if (D > 20) {
        const int c = D / 2;
        p.setPen(Qt::NoPen);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QColor white = QColor::fromRgbF(1, 1, 1, a), black = QColor::fromRgbF(0, 0, 0, a);
        if (!erase) p.fillRect(flip(c - 1, c - 3, 3, 7), white);
        p.fillRect(flip(c - 3, c - 1, 7, 3), white);
        if (!erase) p.fillRect(flip(c, c - 2, 1, 5), black);
        p.fillRect(flip(c - 2, c, 5, 1), black);
        p.setRenderHint(QPainter::Antialiasing);
    }
    const double inner = D * (1 - softness / 200);
    if (inner - 2 > 0) {
        const double o = (D - inner) / 2 + 1;
        p.setPen(pen(QColor::fromRgbF(1, 1, 0, drawing ? 1.0 : 0.5), 1));
        p.drawEllipse(flip(o, o, inner - 2, inner - 2));
    }
    return image;
}

} // namespace pimavo
