#include "Renderer.h"

#include "Cancellation.h"
#include "Evaluator.h"
#include "engine/Log.h"

#include <cmath>
#include <cstdio>

namespace pimavo {

std::shared_ptr<Renderer> Renderer::context() {
    return std::make_shared<Renderer>();
}

namespace {

bool renderWith(const Image& image, const RectF& bounds, const PixelCodec& codec, void* dst,
                std::ptrdiff_t rowBytes) {
    if (!image || !dst || bounds.isEmpty() || bounds.isInfinite()) return false;
    const IntRect r = IntRect::covering(bounds);
    if (r.isEmpty()) return false;
    // The buffer's first row is the top of the rectangle: rows go down as y goes up.
    PixelStore store{codec, static_cast<std::byte*>(dst), -rowBytes, r.x0, r.y1 - 1};
    try {
        eval::render(image.node(), r, store);
    } catch (const eval::RenderCancelled&) {
        return false;
    }
    return true;
}

} // namespace

bool Renderer::render(const Image& image, const RectF& bounds, PixelFormat format, void* dst,
                      std::ptrdiff_t rowBytes) const {
    return renderWith(image, bounds, PixelCodec::forFormat(format), dst, rowBytes);
}

bool Renderer::render(const Image& image, const RectF& bounds, const PixelLayout& layout, void* dst,
                      std::ptrdiff_t rowBytes) const {
    if (!layout.isValid()) return false;
    return renderWith(image, bounds, PixelCodec::forLayout(layout), dst, rowBytes);
}

std::optional<Bitmap> Renderer::createBitmap(const Image& image, const RectF& bounds,
                                             const PixelLayout& layout) const {
    if (!image || bounds.isEmpty() || bounds.isInfinite()) return std::nullopt;
    const IntRect r = IntRect::covering(bounds);
    auto bitmap = Bitmap::make(r.width(), r.height(), layout);
    if (!bitmap) return std::nullopt;
    if (!render(image, r.toCGRect(), layout, bitmap->row(0), std::ptrdiff_t(bitmap->bytesPerRow())))
        return std::nullopt;
    return bitmap;
}

std::optional<Bitmap> Renderer::createBitmap(const Image& image, int bitsPerComponent, bool alpha) const {
    PixelLayout layout;
    if (bitsPerComponent >= 8 && bitsPerComponent <= 15) {
        layout = {8, alpha ? AlphaInfo::PremultipliedLast : AlphaInfo::NoneSkipFirst};
    } else if (bitsPerComponent >= 16 && bitsPerComponent <= 23) {
        layout = {16, alpha ? AlphaInfo::PremultipliedLast : AlphaInfo::NoneSkipLast};
    } else if (bitsPerComponent >= 32 && bitsPerComponent <= 39) {
        layout = {32, alpha ? AlphaInfo::PremultipliedLast : AlphaInfo::NoneSkipLast};
    } else {
        logging::writef(logging::Channel::Engine, logging::Level::Warning, "Wrong bits per component: %d",
                        bitsPerComponent);
        return std::nullopt;
    }
    if (!image) return std::nullopt;
    const RectF e = image.extent();
    if (e.isEmpty() || e.isInfinite()) return std::nullopt;
    const double w = std::trunc(e.width()), h = std::trunc(e.height());
    if (w < 1 || h < 1 || w > IntRect::kLimit || h > IntRect::kLimit) return std::nullopt;
    return createBitmap(image, RectF(0, 0, w, h), layout);
}

} // namespace pimavo
