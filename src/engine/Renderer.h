// Renderer: renders image values into memory.
//
// Rendering is thread-safe and parallel inside; one context may serve any number of threads. There
// is no colour management: values are written as they are computed.
#pragma once

#include "Bitmap.h"
#include "Image.h"
#include "PixelFormat.h"

#include <cstddef>
#include <memory>
#include <optional>

namespace pimavo {

class Renderer {
public:
    static std::shared_ptr<Renderer> context();

    // Renders the part `bounds` of the image into a buffer whose first row is the top of `bounds`.
    // Pixels outside the image are transparent. Answers false (writing nothing) for no image or an
    // empty rectangle.
    bool render(const Image& image, const RectF& bounds, PixelFormat format, void* dst,
                std::ptrdiff_t rowBytes) const;
    bool render(const Image& image, const RectF& bounds, const PixelLayout& layout, void* dst,
                std::ptrdiff_t rowBytes) const;

    // A bitmap of the part `bounds` in the given layout (rows top-down), or nullopt.
    std::optional<Bitmap> createBitmap(const Image& image, const RectF& bounds,
                                       const PixelLayout& layout) const;

    // The photo-bitmap rendering: the image's extent size truncated to whole pixels, rendered from
    // (0, 0); 8 to 15 bits per component give 8-bit XRGB, 16 to 23 16-bit RGBX, 32 to 39 float RGBX.
    // Any other depth logs the warning "Wrong bits per component: %d" and gives nothing. With `alpha` the
    // bitmap is RGBA, premultiplied, and keeps the image's transparency.
    std::optional<Bitmap> createBitmap(const Image& image, int bitsPerComponent, bool alpha = false) const;
};

} // namespace pimavo
