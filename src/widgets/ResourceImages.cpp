#include "ResourceImages.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
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
    const qreal before = painter.opacity();
    painter.setOpacity(before * opacity);
    r->render(&painter, rect);
    painter.setOpacity(before);
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
    r->render(&p, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
    return pm;
}

} // namespace pimavo::ResourceImages
