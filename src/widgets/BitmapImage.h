// Between the engine's bitmaps and Qt's images, for drawing, the clipboard and the printer.
#pragma once

#include "engine/Bitmap.h"

#include <QImage>

namespace pimavo {

// The bitmap's colour as an opaque 8-bit Qt image (any depth; alpha, if any, is dropped).
QImage qImageFromBitmap(const Bitmap& bitmap);
// A Qt image as an 8-bit photo bitmap, transparency composed over black; null for an empty image.
BitmapRef bitmapFromQImage(const QImage& image);

} // namespace pimavo
