// Synthetic photos for the benchmarks: the same pixels in every run.
#pragma once

#include "engine/Bitmap.h"

#include <memory>
#include <random>

namespace pimavo::bench {

// An 8-bit photo in the editor's XRGB layout: horizontal and vertical ramps and noise.
inline BitmapRef photo8(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = reinterpret_cast<uint8_t*>(bm->row(y));
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = 255;
            p[1] = uint8_t((x * 255) / w);
            p[2] = uint8_t((y * 255) / h);
            p[3] = uint8_t(rng() & 255);
        }
    }
    return bm;
}

} // namespace pimavo::bench
