#include "Tile.h"

#include <algorithm>
#include <cmath>

namespace pimavo {

void readSpan(const Tile* tile, const SpanPos& pos, SpanBuffer& out) {
    const int n = pos.n;
    if (!tile || tile->isEmpty() || pos.y < tile->rect().y0 || pos.y >= tile->rect().y1) {
        out.clear(n);
        return;
    }
    const IntRect& tr = tile->rect();
    const int from = std::clamp(tr.x0 - pos.x, 0, n);
    const int to = std::clamp(tr.x1 - pos.x, 0, n);
    out.clear(0, from);
    out.clear(to, n);
    if (to <= from) return;
    const float* src = tile->pixel(pos.x + from, pos.y);
    for (int i = from; i < to; ++i, src += 4) {
        out.r[i] = src[0];
        out.g[i] = src[1];
        out.b[i] = src[2];
        out.a[i] = src[3];
    }
}

void readTileRow(const Tile* tile, int y, int x0, int x1, float* dst) {
    if (x1 <= x0) return;
    std::fill_n(dst, std::size_t(x1 - x0) * 4, 0.0f);
    if (!tile || y < tile->rect().y0 || y >= tile->rect().y1) return;
    const int a = std::max(x0, tile->rect().x0), b = std::min(x1, tile->rect().x1);
    if (b > a) std::copy_n(tile->pixel(a, y), std::size_t(b - a) * 4, dst + std::size_t(a - x0) * 4);
}

void writeSpan(const SpanBuffer& in, const SpanPos& pos, Tile& tile) {
    float* dst = tile.pixel(pos.x, pos.y);
    for (int i = 0; i < pos.n; ++i, dst += 4) {
        dst[0] = in.r[i];
        dst[1] = in.g[i];
        dst[2] = in.b[i];
        dst[3] = in.a[i];
    }
}

void sampleBilinear(const Tile& tile, double x, double y, float out[4]) {
    const double u = x - 0.5, v = y - 0.5;
    const double fu = std::floor(u), fv = std::floor(v);
    const int i = int(fu), j = int(fv);
    const float wx = float(u - fu), wy = float(v - fv);
    const IntRect& r = tile.rect();
    float acc[4] = {0, 0, 0, 0};
    const float wts[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
    const int xs[4] = {i, i + 1, i, i + 1};
    const int ys[4] = {j, j, j + 1, j + 1};
    for (int k = 0; k < 4; ++k) {
        if (wts[k] == 0 || !r.contains(xs[k], ys[k])) continue;
        const float* p = tile.pixel(xs[k], ys[k]);
        for (int c = 0; c < 4; ++c) acc[c] += wts[k] * p[c];
    }
    for (int c = 0; c < 4; ++c) out[c] = acc[c];
}

} // namespace pimavo
