// Helpers shared by the engine tests: synthetic images, rendering into plain arrays, and the
// scalar view of an image the references compute with.
#pragma once

#include "engine/Image.h"
#include "engine/Operation.h"
#include "engine/Renderer.h"

#include <array>
#include <functional>
#include <vector>

namespace pimavo::test {

using Px = std::array<double, 4>;

// Pixels with y up, (0, 0) the bottom-left one; anything outside reads transparent.
struct PixelGrid {
    IntRect rect;
    std::vector<float> px; // RGBA, rows bottom-up

    Px at(int x, int y) const {
        if (!rect.contains(x, y)) return {0, 0, 0, 0};
        const float* p = &px[(std::size_t(y - rect.y0) * rect.width() + (x - rect.x0)) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // Bilinear, pixel centres at +0.5.
    Px bilinear(double x, double y) const;
};

// A premultiplied float image of size w × h at the origin, pixel (x, y) = fn(x, y) (y up).
Image makeImage(int w, int h, const std::function<Px(int, int)>& fn);
// The same pixels as a grid, for references.
PixelGrid makeGrid(int w, int h, const std::function<Px(int, int)>& fn);

// Varied, signed and partly transparent content: the harness's usual input.
Px patternA(int x, int y);
Px patternB(int x, int y);
// Smooth values in 0..1 with alpha 1 in the middle: a mask.
Px patternMask(int x, int y);

// Renders the rectangle of an image as float RGBA through the public context (rows top-down in the
// buffer), and returns it as a grid.
PixelGrid renderGrid(const Image& image, const IntRect& rect);

// Renders the same rectangle piece by piece (pieces of `piece` pixels, each a separate render).
PixelGrid renderGridInPieces(const Image& image, const IntRect& rect, int piece);

Operation::Ptr filter(const char* name);

} // namespace pimavo::test
