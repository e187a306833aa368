#include "BitmapImage.h"

#include "imageio/ImageGeometry.h"

#include <algorithm>

namespace pimavo {

QImage qImageFromBitmap(const Bitmap& b) {
    const PixelLayout& layout = b.layout();
    // Transparency stays: premultiplied or straight, as the bitmap holds it.
    const bool alpha = layout.hasAlpha();
    QImage out(b.width(), b.height(),
               !alpha                   ? QImage::Format_RGB32
               : layout.premultiplied() ? QImage::Format_ARGB32_Premultiplied
                                        : QImage::Format_ARGB32);
    const int red = layout.alphaFirst() ? 1 : 0;
    const int a = layout.alphaFirst() ? 0 : 3;
    const int step = layout.componentsPerPixel();
    for (int y = 0; y < b.height(); ++y) {
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (layout.bitsPerComponent == 8) {
            const uint8_t* s = reinterpret_cast<const uint8_t*>(b.row(y));
            for (int x = 0; x < b.width(); ++x, s += step)
                d[x] = qRgba(s[red], s[red + 1], s[red + 2], alpha ? s[a] : 255);
        } else {
            for (int x = 0; x < b.width(); ++x) {
                auto v = [&](int c) {
                    return int(std::clamp(b.component(x, y, c), 0.0f, 1.0f) * 255 + 0.5f);
                };
                d[x] = qRgba(v(red), v(red + 1), v(red + 2), alpha ? v(a) : 255);
            }
        }
    }
    return out;
}

BitmapRef bitmapFromQImage(const QImage& image) {
    if (image.isNull() || image.width() == 0 || image.height() == 0) return nullptr;
    // Premultiplied, as photos with transparency are held; a picture without alpha stays opaque.
    const bool alpha = image.hasAlphaChannel();
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    auto bitmap = Bitmap::make(rgb.width(), rgb.height(), *photoLayout(8, alpha));
    if (!bitmap) return nullptr;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* d = reinterpret_cast<uint8_t*>(bitmap->row(y));
        for (int x = 0; x < rgb.width(); ++x, d += 4) {
            if (alpha)
                d[0] = uint8_t(qRed(s[x])), d[1] = uint8_t(qGreen(s[x])), d[2] = uint8_t(qBlue(s[x])),
                d[3] = uint8_t(qAlpha(s[x]));
            else
                d[0] = 255, d[1] = uint8_t(qRed(s[x])), d[2] = uint8_t(qGreen(s[x])),
                d[3] = uint8_t(qBlue(s[x]));
        }
    }
    return std::make_shared<const Bitmap>(std::move(*bitmap));
}

} // namespace pimavo
