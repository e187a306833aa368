#include "ResourceImages.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <memory>

namespace pimavo::ResourceImages {

namespace {

QString baseName(const QString& name) {
    QString n = name;
    for (const char* ext : {".png", ".svg", ".tiff", ".tif"})
        if (n.endsWith(QLatin1String(ext))) n.chop(int(qstrlen(ext)));
    return n;
}

// Renderers by name; a null entry remembers a missing image.
QSvgRenderer* renderer(const QString& name) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    const QString key = baseName(name);
    auto it = cache.find(key);
    if (it == cache.end()) {
        std::shared_ptr<QSvgRenderer> r;
        const QString path = ":/images/" + key + ".svg";
        if (QFile::exists(path)) {
            r = std::make_shared<QSvgRenderer>(path);
            if (!r->isValid())
                r.reset();
            else
                r->setAspectRatioMode(Qt::IgnoreAspectRatio);
        }
        it = cache.insert(key, r);
    }
    return it->get();
}

} // namespace

bool exists(const QString& name) {
    return renderer(name) != nullptr;
}

QSizeF size(const QString& name) {
    QSvgRenderer* r = renderer(name);
    return r ? QSizeF(r->defaultSize()) : QSizeF();
}

void draw(QPainter& painter, const QRectF& rect, const QString& name, qreal opacity) {
    QSvgRenderer* r = renderer(name);
    if (!r || rect.isEmpty()) return;
    // The renderer draws what lies outside the view box too: pieces of a larger drawing (the panel
    // frames) must be cut to their rectangle.
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setOpacity(painter.opacity() * opacity);
    r->render(&painter, rect);
    painter.restore();
}

void drawNinePart(QPainter& painter, const QRectF& rect, const QString& name, qreal corner, qreal opacity) {
    QSvgRenderer* r = renderer(name);
    if (!r || rect.isEmpty()) return;
    const QRectF box = r->viewBoxF();
    const qreal c = std::min({corner, rect.width() / 2, rect.height() / 2});
    const qreal sx[4] = {box.left(), box.left() + corner, box.right() - corner, box.right()};
    const qreal sy[4] = {box.top(), box.top() + corner, box.bottom() - corner, box.bottom()};
    const qreal dx[4] = {rect.left(), rect.left() + c, rect.right() - c, rect.right()};
    const qreal dy[4] = {rect.top(), rect.top() + c, rect.bottom() - c, rect.bottom()};
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const QRectF dst(QPointF(dx[i], dy[j]), QPointF(dx[i + 1], dy[j + 1]));
            if (dst.width() <= 0 || dst.height() <= 0) continue;
            r->setViewBox(QRectF(QPointF(sx[i], sy[j]), QPointF(sx[i + 1], sy[j + 1])));
            painter.save();
            painter.setClipRect(dst, Qt::IntersectClip);
            r->render(&painter, dst);
            painter.restore();
        }
    r->setViewBox(box);
    painter.restore();
}

void tile(QPainter& painter, const QRectF& rect, const QString& name) {
    const QSizeF s = size(name);
    if (s.isEmpty() || rect.isEmpty()) return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawTiledPixmap(rect, pixmap(name, s.toSize(), dpr), QPointF(0, 0));
}

QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
    QSvgRenderer* r = renderer(name);
    if (!r || logicalSize.isEmpty()) return {};
    QPixmap pm(logicalSize * devicePixelRatio);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p, QRectF(QPointF(0, 0), QSizeF(logicalSize)), name);
    return pm;
}

} // namespace pimavo::ResourceImages
