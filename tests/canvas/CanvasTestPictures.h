// Test photos for the canvas.
//
// A photo whose every pixel has its own colour: a pixel taken from a neighbour, shifted by one, or
// blended with anything else shows at once.
#pragma once

#include "engine/Bitmap.h"
#include "imageio/ImageGeometry.h"

#include <cstdint>
#include <memory>

namespace pimavo::test {

inline BitmapRef speckledPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u;
            v ^= v >> 13;
            v *= 0x5bd1e995u;
            for (int c = 1; c <= 3; ++c) bm->setComponent(x, y, c, float((v >> (8 * c)) & 0xff) / 255.0f);
        }
    return bm;
}

// A photo of one red, with colour for the brush to bring back over its grey background.
inline BitmapRef redPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bm->setComponent(x, y, 1, 0.9f);
            bm->setComponent(x, y, 2, 0.15f);
            bm->setComponent(x, y, 3, 0.1f);
        }
    return bm;
}

} // namespace pimavo::test
