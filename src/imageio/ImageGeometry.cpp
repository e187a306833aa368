#include "ImageGeometry.h"

#include "engine/Log.h"
#include "engine/PixelFormat.h"
#include "engine/Renderer.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>

namespace pimavo {

std::optional<PixelLayout> photoLayout(int bits, bool alpha) {
    if (alpha && (bits == 8 || bits == 16 || bits == 32))
        return PixelLayout{bits, AlphaInfo::PremultipliedLast};
    switch (bits) {
    case 8:
        return PixelLayout{8, AlphaInfo::NoneSkipFirst};
    case 16:
        return PixelLayout{16, AlphaInfo::NoneSkipLast};
    case 32:
        return PixelLayout{32, AlphaInfo::NoneSkipLast};
    default:
        return std::nullopt;
    }
}

SizeF scaledSizeToFitSize(SizeF s, SizeF t) {
    if (s.width == s.height) {
        const double m = std::min(t.width, t.height);
        return {m, m};
    }
    const float r = float(s.height / s.width);
    const double e = double(r) * t.width;
    if (e > t.height) return {t.height * double(float(s.width / s.height)), t.height};
    return {t.width, e};
}

SizeF scaledSizeToCoverSize(SizeF s, SizeF t) {
    const double e = double(float(s.height / s.width)) * t.width;
    if (t.height > e) return {double(float(s.width / s.height)) * t.height, t.height};
    return {t.width, e};
}

PointF coverOrigin(SizeF drawn, SizeF box, unsigned alignment) {
    if (alignment > 8) alignment = kAlignBottomLeft;
    const double dx = drawn.width - box.width, dy = drawn.height - box.height;
    double x = 0, y = 0;
    switch (alignment) {
    case kAlignTopLeft:
    case kAlignLeftCenter:
    case kAlignBottomLeft:
        x = 0;
        break;
    case kAlignCenter:
    case kAlignTopCenter:
    case kAlignBottomCenter:
        x = -dx / 2;
        break;
    default:
        x = -dx;
        break; // top right, bottom right, right centre
    }
    switch (alignment) {
    case kAlignBottomCenter:
    case kAlignBottomLeft:
    case kAlignBottomRight:
        y = 0;
        break;
    case kAlignCenter:
    case kAlignLeftCenter:
    case kAlignRightCenter:
        y = -dy / 2;
        break;
    default:
        y = -dy;
        break; // top centre, top left, top right
    }
    return {x, y};
}

std::optional<Bitmap> scaledImageToCoverSize(const Bitmap& bitmap, SizeF target) {
    return scaledImageToCoverSizeWithInterpolation(
        bitmap, {std::round(target.width), std::round(target.height)}, 3, false, kAlignCenter);
}

std::optional<Bitmap> scaledImageToCoverSizeWithInterpolation(const Bitmap& bitmap, SizeF target, int,
                                                              bool box, unsigned alignment) {
    if (bitmap.isNull() || !(target.width >= 1) || !(target.height >= 1)) return std::nullopt;
    const int tw = int(target.width), th = int(target.height);
    const SizeF drawn = scaledSizeToCoverSize({double(bitmap.width()), double(bitmap.height())}, target);
    const PointF at = coverOrigin(drawn, target, alignment);
    const Image source = Image::imageWithBitmap(std::make_shared<const Bitmap>(bitmap));
    const Image placed = source.imageByApplyingTransform(
        Transform2D::scale(drawn.width / bitmap.width(), drawn.height / bitmap.height())
            .concat(Transform2D::translation(at.x, at.y)));
    const PixelLayout layout{bitmap.bitsPerComponent(), AlphaInfo::PremultipliedLast};
    auto out = Renderer().createBitmap(placed, RectF(0, 0, tw, th), layout);
    if (!out) return std::nullopt;
    if (box) {
        // A one-pixel black frame along the box's edges.
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                if (x == 0 || y == 0 || x == tw - 1 || y == th - 1) {
                    for (int c = 0; c < 3; ++c) out->setComponent(x, y, c, 0.0f);
                    out->setComponent(x, y, 3, 1.0f);
                }
    }
    return out;
}

std::optional<Bitmap> bitmapOfImage(const Image& image, int bitsPerComponent, bool alpha) {
    return Renderer().createBitmap(image, bitsPerComponent, alpha);
}

bool hasTransparency(const Bitmap& bitmap) {
    if (bitmap.isNull() || !bitmap.layout().hasAlpha()) return false;
    const PixelCodec codec = PixelCodec::forLayout(bitmap.layout());
    const int a = codec.offset[3], n = codec.components, bits = bitmap.bitsPerComponent();
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::byte* row = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::size_t i = std::size_t(x) * std::size_t(n) + std::size_t(a);
            if (bits == 8    ? reinterpret_cast<const uint8_t*>(row)[i] != 255
                : bits == 16 ? reinterpret_cast<const uint16_t*>(row)[i] != 65535
                             : !(reinterpret_cast<const float*>(row)[i] >= 1.0f))
                return true;
        }
    }
    return false;
}

namespace {

// The source pixel (top-down coordinates) shown at destination pixel (dx, dy) for an orientation.
inline void sourceOf(int o, int W, int H, int dx, int dy, int& sx, int& sy) {
    switch (o) {
    case 2:
        sx = W - 1 - dx, sy = dy;
        break;
    case 3:
        sx = W - 1 - dx, sy = H - 1 - dy;
        break;
    case 4:
        sx = dx, sy = H - 1 - dy;
        break;
    case 5:
        sx = dy, sy = dx;
        break;
    case 6:
        sx = dy, sy = H - 1 - dx;
        break;
    case 7:
        sx = W - 1 - dy, sy = H - 1 - dx;
        break;
    case 8:
        sx = W - 1 - dy, sy = dx;
        break;
    default:
        sx = dx, sy = dy;
        break;
    }
}

} // namespace

std::optional<Bitmap> bitmapWithOrientation(const Bitmap& bitmap, int orientation) {
    const int b = bitmap.bitsPerComponent();
    if (bitmap.isNull() || (b / 8 != 1 && b / 8 != 2 && b / 8 != 4)) return std::nullopt;
    const auto layout = photoLayout(b, bitmap.layout().hasAlpha());
    if (!layout) return std::nullopt;
    const int o = orientation >= 1 && orientation <= 8 ? orientation : 1;
    const int W = bitmap.width(), H = bitmap.height();
    const bool swap = o >= 5;
    auto out = Bitmap::make(swap ? H : W, swap ? W : H, *layout);
    if (!out) return std::nullopt;

    const PixelCodec srcCodec = PixelCodec::forLayout(bitmap.layout());
    const PixelCodec dstCodec = PixelCodec::forLayout(*layout);
    const bool sameLayout = bitmap.layout() == *layout;
    const int sbpp = srcCodec.bytesPerPixel(), dbpp = dstCodec.bytesPerPixel();
    const int OW = out->width(), OH = out->height();
    constexpr int kBlock = 64;
    // Blocks of destination rows: for rotations, neighbouring destination rows read neighbouring
    // source columns, which then stay in cache.
    tbb::parallel_for(
        tbb::blocked_range<int>(0, (OH + kBlock - 1) / kBlock), [&](const tbb::blocked_range<int>& r) {
            std::vector<std::byte> gathered(std::size_t(kSpanWidth) * sbpp);
            SpanBuffer span;
            for (int blk = r.begin(); blk != r.end(); ++blk) {
                const int y0 = blk * kBlock, y1 = std::min(OH, y0 + kBlock);
                for (int x0 = 0; x0 < OW; x0 += kSpanWidth) {
                    const int n = std::min(kSpanWidth, OW - x0);
                    for (int dy = y0; dy < y1; ++dy) {
                        std::byte* dst = out->row(dy) + std::size_t(x0) * dbpp;
                        std::byte* g = sameLayout ? dst : gathered.data();
                        if (o == 1) {
                            std::memcpy(g, bitmap.row(dy) + std::size_t(x0) * sbpp, std::size_t(n) * sbpp);
                        } else {
                            for (int i = 0; i < n; ++i) {
                                int sx, sy;
                                sourceOf(o, W, H, x0 + i, dy, sx, sy);
                                std::memcpy(g + std::size_t(i) * sbpp,
                                            bitmap.row(sy) + std::size_t(sx) * sbpp, sbpp);
                            }
                        }
                        if (!sameLayout) {
                            loadPixels(srcCodec, gathered.data(), n, span);
                            PixelStore{dstCodec, dst, 0, 0, 0}.store(span, {0, 0, n});
                        }
                    }
                }
            }
        });
    return out;
}

bool checkBlackColorInPixel(int x, int y, int width, const uint8_t* data, int bytesPerPixel) {
    const std::size_t offset = std::size_t(bytesPerPixel) * (std::size_t(x) + std::size_t(y) * width);
    return data[offset + 1] + data[offset + 2] + data[offset + 3] == 0;
}

bool isBlackColorImage(const Bitmap& bitmap) {
    if (bitmap.isNull()) return false;
    auto argb = CreateARGBBitmapContext(bitmap.width(), bitmap.height());
    if (!argb) return false;
    // Draw the picture into the ARGB bitmap, then look at the bytes.
    const Image image = Image::imageWithBitmap(std::make_shared<const Bitmap>(bitmap));
    if (!Renderer().render(image, RectF(0, 0, bitmap.width(), bitmap.height()), argb->layout(), argb->row(0),
                           std::ptrdiff_t(argb->bytesPerRow())))
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(argb->row(0));
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (!checkBlackColorInPixel(x, y, bitmap.width(), data, 4)) return false;
    return true;
}

std::optional<Bitmap> CreateARGBBitmapContext(int width, int height) {
    if (width <= 0 || height <= 0) {
        logging::write(logging::Channel::Io, logging::Level::Warning, "Context not created!");
        return std::nullopt;
    }
    // Byte counts must fit in 31 bits, as the bitmap's consumers index them with 32-bit integers.
    const int64_t bytes = int64_t(width) * height * 4;
    if (int64_t(width) * 4 > INT32_MAX || bytes > INT32_MAX) {
        logging::write(logging::Channel::Io, logging::Level::Warning, "Memory not allocated!");
        return std::nullopt;
    }
    auto bm = Bitmap::make(width, height, {8, AlphaInfo::PremultipliedFirst});
    if (!bm) {
        logging::write(logging::Channel::Io, logging::Level::Warning, "Memory not allocated!");
        return std::nullopt;
    }
    return bm;
}

} // namespace pimavo
