#include "Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace pimavo {

bool PixelLayout::hasAlpha() const {
    switch (alphaInfo) {
    case AlphaInfo::PremultipliedLast:
    case AlphaInfo::PremultipliedFirst:
    case AlphaInfo::Last:
    case AlphaInfo::First:
        return true;
    default:
        return false;
    }
}

bool PixelLayout::alphaFirst() const {
    return alphaInfo == AlphaInfo::PremultipliedFirst || alphaInfo == AlphaInfo::First ||
           alphaInfo == AlphaInfo::NoneSkipFirst;
}

bool PixelLayout::premultiplied() const {
    return alphaInfo == AlphaInfo::PremultipliedLast || alphaInfo == AlphaInfo::PremultipliedFirst;
}

bool PixelLayout::isValid() const {
    return bitsPerComponent == 8 || bitsPerComponent == 16 || bitsPerComponent == 32;
}

Bitmap::Bitmap(int width, int height, PixelLayout layout, std::size_t bytesPerRow)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), layout_(layout) {
    const std::size_t minRow = std::size_t(width_) * layout_.bytesPerPixel();
    bytesPerRow_ = std::max(bytesPerRow, minRow);
    data_.resize(bytesPerRow_ * height_);
}

std::optional<Bitmap> Bitmap::make(int width, int height, PixelLayout layout) {
    if (width <= 0 || height <= 0 || !layout.isValid()) return std::nullopt;
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * layout.bytesPerPixel();
    if (bytes / std::size_t(width) / std::size_t(height) != std::size_t(layout.bytesPerPixel()))
        return std::nullopt;
    try {
        return Bitmap(width, height, layout);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

float Bitmap::component(int x, int y, int c) const {
    const std::byte* p = row(y) + std::size_t(x) * layout_.bytesPerPixel();
    switch (layout_.bitsPerComponent) {
    case 8:
        return float(std::to_integer<uint8_t>(p[c])) / 255.0f;
    case 16: {
        uint16_t v;
        std::memcpy(&v, p + 2 * c, 2);
        return float(v) / 65535.0f;
    }
    default: {
        float v;
        std::memcpy(&v, p + 4 * c, 4);
        return v;
    }
    }
}

void Bitmap::setComponent(int x, int y, int c, float v) {
    std::byte* p = row(y) + std::size_t(x) * layout_.bytesPerPixel();
    switch (layout_.bitsPerComponent) {
    case 8:
        p[c] = std::byte(uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)));
        break;
    case 16: {
        const uint16_t q = uint16_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 65535.0f));
        std::memcpy(p + 2 * c, &q, 2);
        break;
    }
    default:
        std::memcpy(p + 4 * c, &v, 4);
        break;
    }
}

} // namespace pimavo
