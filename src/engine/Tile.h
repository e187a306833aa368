// Float RGBA pixel storage inside the engine, and the span through which point-wise work flows.
//
// A Tile holds premultiplied, unclamped float RGBA for an integer rectangle, rows in increasing y
// (the bottom row first). Whoever reads a tile treats everything outside its rectangle as
// transparent; an empty tile therefore stands for an entirely transparent region.
//
// A SpanBuffer holds up to kSpanWidth pixels of one row in structure-of-arrays form, so every
// per-pixel loop over it is a plain loop over contiguous floats that the compiler vectorises.
#pragma once

#include "Geometry.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pimavo {

inline constexpr int kSpanWidth = 256;

struct alignas(64) SpanBuffer {
    float r[kSpanWidth];
    float g[kSpanWidth];
    float b[kSpanWidth];
    float a[kSpanWidth];
    // Set by a node whose span is opaque grey and which wrote only `r`: the pixels are (r, r, r, 1).
    // The evaluator fills in the other lanes unless only the store and nodes that take such spans
    // (ImageNode::takesGreyInput) read it.
    bool opaqueGrey = false;

    void expandGrey(int n) {
        if (!opaqueGrey) return;
        std::memcpy(g, r, sizeof(float) * n);
        std::memcpy(b, r, sizeof(float) * n);
        std::fill_n(a, n, 1.0f);
        opaqueGrey = false;
    }

    void clear(int n) {
        std::memset(r, 0, sizeof(float) * n);
        std::memset(g, 0, sizeof(float) * n);
        std::memset(b, 0, sizeof(float) * n);
        std::memset(a, 0, sizeof(float) * n);
    }
    void clear(int from, int to) {
        if (to <= from) return;
        const std::size_t bytes = sizeof(float) * (to - from);
        std::memset(r + from, 0, bytes);
        std::memset(g + from, 0, bytes);
        std::memset(b + from, 0, bytes);
        std::memset(a + from, 0, bytes);
    }
};

// The pixels of one span: (x + i, y) for i in [0, n), centres at (x + i + 0.5, y + 0.5).
struct SpanPos {
    int x = 0, y = 0, n = 0;
};

class Tile {
public:
    Tile() = default;
    explicit Tile(IntRect rect)
        : rect_(rect),
          px_(rect.isEmpty() ? nullptr
                             : std::make_unique_for_overwrite<float[]>(std::size_t(rect.area()) * 4)) {}

    static Tile zeroed(IntRect rect) {
        Tile t(rect);
        if (t.px_) std::memset(t.px_.get(), 0, std::size_t(rect.area()) * 4 * sizeof(float));
        return t;
    }

    const IntRect& rect() const { return rect_; }
    bool isEmpty() const { return rect_.isEmpty(); }
    std::size_t byteSize() const { return std::size_t(rect_.area()) * 4 * sizeof(float); }
    std::size_t rowFloats() const { return std::size_t(rect_.width()) * 4; }

    // Row at absolute y; the pointer addresses pixel rect().x0.
    float* row(int y) { return px_.get() + std::size_t(y - rect_.y0) * rowFloats(); }
    const float* row(int y) const { return px_.get() + std::size_t(y - rect_.y0) * rowFloats(); }
    float* pixel(int x, int y) { return row(y) + std::size_t(x - rect_.x0) * 4; }
    const float* pixel(int x, int y) const { return row(y) + std::size_t(x - rect_.x0) * 4; }
    float* data() { return px_.get(); }
    const float* data() const { return px_.get(); }

private:
    IntRect rect_;
    std::unique_ptr<float[]> px_;
};

using TileRef = std::shared_ptr<const Tile>;

// Reads pixels (pos.x .. pos.x + n, pos.y) of a tile into a span; outside the tile reads zero.
void readSpan(const Tile* tile, const SpanPos& pos, SpanBuffer& out);

// Copies pixels [x0, x1) of row y of a tile (RGBA floats) into dst; outside the tile reads zero.
void readTileRow(const Tile* tile, int y, int x0, int x1, float* dst);

// Writes a span into a tile at (pos.x, pos.y); the span must lie inside the tile.
void writeSpan(const SpanBuffer& in, const SpanPos& pos, Tile& tile);

// Bilinear sample at a point in pixel coordinates (pixel centres at +0.5); outside reads zero.
void sampleBilinear(const Tile& tile, double x, double y, float out[4]);

} // namespace pimavo
