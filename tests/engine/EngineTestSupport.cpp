#include "EngineTestSupport.h"

#include <cmath>
#include <cstring>

namespace pimavo::test {

Px PixelGrid::bilinear(double x, double y) const {
    const double u = x - 0.5, v = y - 0.5;
    const int i = int(std::floor(u)), j = int(std::floor(v));
    const double fx = u - i, fy = v - j;
    const Px a = at(i, j), b = at(i + 1, j), c = at(i, j + 1), d = at(i + 1, j + 1);
    Px out;
    for (int k = 0; k < 4; ++k)
        out[k] = (a[k] * (1 - fx) + b[k] * fx) * (1 - fy) + (c[k] * (1 - fx) + d[k] * fx) * fy;
    return out;
}

Image makeImage(int w, int h, const std::function<Px(int, int)>& fn) {
    Bitmap bm(w, h, {32, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Px p = fn(x, y);
            float* dst = reinterpret_cast<float*>(bm.row(h - 1 - y)) + std::size_t(x) * 4;
            for (int c = 0; c < 4; ++c) dst[c] = float(p[c]);
        }
    }
    return Image::imageWithBitmap(std::move(bm));
}

PixelGrid makeGrid(int w, int h, const std::function<Px(int, int)>& fn) {
    PixelGrid g{{0, 0, w, h}, std::vector<float>(std::size_t(w) * h * 4)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Px p = fn(x, y);
            for (int c = 0; c < 4; ++c) g.px[(std::size_t(y) * w + x) * 4 + c] = float(p[c]);
        }
    return g;
}

Px patternA(int x, int y) {
    // Alpha runs from transparent to opaque; some colour components go negative or above one.
    const double a = ((x * 7 + y * 3) % 11) / 10.0;
    const double r = 0.5 + 0.6 * std::sin(x * 0.7 + y * 0.3);
    const double g = 0.5 + 0.4 * std::cos(x * 0.2 - y * 0.5);
    const double b = (x % 5) / 4.0 - 0.1;
    return {r * a, g * a, b * a, a};
}

Px patternB(int x, int y) {
    const double a = y % 4 == 0 ? 0.0 : 0.35 + 0.65 * ((x + 2 * y) % 9) / 8.0;
    return {0.9 * a * ((x + y) % 3) / 2.0, a * 0.3, a * (1.1 - 0.05 * (x % 7)), a};
}

Px patternMask(int x, int y) {
    const double v = 0.5 + 0.5 * std::sin(x * 0.45) * std::cos(y * 0.35);
    return {v, v, v, 1};
}

PixelGrid renderGrid(const Image& image, const IntRect& rect) {
    PixelGrid g{rect, std::vector<float>(std::size_t(rect.area()) * 4, -999.0f)};
    std::vector<float> buf(std::size_t(rect.area()) * 4, -999.0f);
    Renderer ctx;
    ctx.render(image, rect.toCGRect(), PixelFormat::RGBAf, buf.data(), std::ptrdiff_t(rect.width()) * 16);
    for (int row = 0; row < rect.height(); ++row) {
        // Buffer row 0 is the top.
        std::memcpy(&g.px[std::size_t(rect.height() - 1 - row) * rect.width() * 4],
                    &buf[std::size_t(row) * rect.width() * 4], std::size_t(rect.width()) * 16);
    }
    return g;
}

PixelGrid renderGridInPieces(const Image& image, const IntRect& rect, int piece) {
    PixelGrid g{rect, std::vector<float>(std::size_t(rect.area()) * 4, -999.0f)};
    for (int y = rect.y0; y < rect.y1; y += piece) {
        for (int x = rect.x0; x < rect.x1; x += piece) {
            const IntRect part = IntRect::fromXYWH(x, y, piece, piece).intersection(rect);
            const PixelGrid p = renderGrid(image, part);
            for (int yy = part.y0; yy < part.y1; ++yy)
                std::memcpy(&g.px[(std::size_t(yy - rect.y0) * rect.width() + (part.x0 - rect.x0)) * 4],
                            &p.px[std::size_t(yy - part.y0) * part.width() * 4],
                            std::size_t(part.width()) * 16);
        }
    }
    return g;
}

Operation::Ptr filter(const char* name) {
    return Operation::filterWithName(name);
}

} // namespace pimavo::test
