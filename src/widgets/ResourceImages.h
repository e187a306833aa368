// The interface's named images, drawn from vector sources so that they stay sharp at any scale.
//
// A name is looked up with or without its extension ("plus.png" and "plus" are the same image);
// an unknown name draws nothing and has an empty size.
#pragma once

#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace pimavo {

namespace ResourceImages {
// Whether an image of that name exists.
bool exists(const QString& name);
// The image's own size in points.
QSizeF size(const QString& name);
// Draws the image stretched over the rectangle.
void draw(QPainter& painter, const QRectF& rect, const QString& name, qreal opacity = 1.0);
// Draws the image as nine parts: corners of `corner` points keep their size, edges and centre
// stretch (rounded button bodies of any width).
void drawNinePart(QPainter& painter, const QRectF& rect, const QString& name, qreal corner,
                  qreal opacity = 1.0);
// Tiles the image over the rectangle from its top-left corner.
void tile(QPainter& painter, const QRectF& rect, const QString& name);
// The image rendered at a logical size for a device pixel ratio.
QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio);
} // namespace ResourceImages

} // namespace pimavo
