#include "PixelFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pimavo {

int bytesPerPixel(CIFormat format) { return PixelCodec::forFormat(format).bytesPerPixel(); }

PixelCodec PixelCodec::forFormat(CIFormat format) {
    PixelCodec c;
    switch (format) {
    case CIFormat::ARGB8: c = {8, 4, {1, 2, 3, 0}, false}; break;
    case CIFormat::RGBA8: c = {8, 4, {0, 1, 2, 3}, false}; break;
    case CIFormat::BGRA8: c = {8, 4, {2, 1, 0, 3}, false}; break;
    case CIFormat::RGBA16: c = {16, 4, {0, 1, 2, 3}, false}; break;
    case CIFormat::RGBAf: c = {32, 4, {0, 1, 2, 3}, false}; break;
    }
    return c;
}

PixelCodec PixelCodec::forLayout(const PixelLayout& layout) {
    PixelCodec c;
    c.bits = layout.bitsPerComponent;
    c.components = layout.componentsPerPixel();
    switch (layout.alphaInfo) {
    case AlphaInfo::None: c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = -1; break;
    case AlphaInfo::PremultipliedLast:
    case AlphaInfo::Last: c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = 3; break;
    case AlphaInfo::PremultipliedFirst:
    case AlphaInfo::First: c.offset[0] = 1, c.offset[1] = 2, c.offset[2] = 3, c.offset[3] = 0; break;
    case AlphaInfo::NoneSkipLast: c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = -1; break;
    case AlphaInfo::NoneSkipFirst: c.offset[0] = 1, c.offset[1] = 2, c.offset[2] = 3, c.offset[3] = -1; break;
    }
    c.straightAlpha = layout.alphaInfo == AlphaInfo::Last || layout.alphaInfo == AlphaInfo::First;
    return c;
}

namespace {

template <typename T, int Bits>
inline T quantize(float v) {
    if constexpr (Bits == 32) {
        return v;
    } else {
        constexpr float kMax = float((1u << Bits) - 1);
        v = std::clamp(v, 0.0f, 1.0f); // NaN goes to 0 through the comparisons below
        if (!(v >= 0.0f)) v = 0.0f;
        return T(v * kMax + 0.5f);
    }
}

template <typename T, int Bits>
void storeTyped(const PixelCodec& codec, const SpanBuffer& s, int n, std::byte* dstBytes) {
    const int comps = codec.components;
    const int oR = codec.offset[0], oG = codec.offset[1], oB = codec.offset[2], oA = codec.offset[3];
    alignas(64) float r[kSpanWidth], g[kSpanWidth], b[kSpanWidth];
    const float* pr = s.r;
    const float* pg = s.g;
    const float* pb = s.b;
    if (codec.straightAlpha) {
        for (int i = 0; i < n; ++i) {
            const float inv = s.a[i] > 1e-5f ? 1.0f / s.a[i] : 0.0f;
            r[i] = s.r[i] * inv, g[i] = s.g[i] * inv, b[i] = s.b[i] * inv;
        }
        pr = r, pg = g, pb = b;
    }
    // Fixed layouts get a loop the compiler can unroll; the rest go through the offsets.
    if (comps == 4 && oA >= 0) {
        T* d = reinterpret_cast<T*>(dstBytes);
        for (int i = 0; i < n; ++i, d += 4) {
            d[oR] = quantize<T, Bits>(pr[i]);
            d[oG] = quantize<T, Bits>(pg[i]);
            d[oB] = quantize<T, Bits>(pb[i]);
            d[oA] = quantize<T, Bits>(s.a[i]);
        }
        return;
    }
    T* d = reinterpret_cast<T*>(dstBytes);
    const int skip = comps == 4 ? (oR == 0 ? 3 : 0) : -1;
    for (int i = 0; i < n; ++i, d += comps) {
        d[oR] = quantize<T, Bits>(pr[i]);
        d[oG] = quantize<T, Bits>(pg[i]);
        d[oB] = quantize<T, Bits>(pb[i]);
        if (skip >= 0) d[skip] = Bits == 32 ? T(1) : T((1u << Bits) - 1);
    }
}

template <typename T, int Bits>
void loadTyped(const PixelCodec& codec, const std::byte* srcBytes, int n, SpanBuffer& out, int o) {
    const T* p = reinterpret_cast<const T*>(srcBytes);
    const int comps = codec.components;
    const int oR = codec.offset[0], oG = codec.offset[1], oB = codec.offset[2], oA = codec.offset[3];
    constexpr float kScale = Bits == 32 ? 1.0f : 1.0f / float((1u << Bits) - 1);
    for (int i = 0; i < n; ++i, p += comps) {
        out.r[o + i] = float(p[oR]) * kScale;
        out.g[o + i] = float(p[oG]) * kScale;
        out.b[o + i] = float(p[oB]) * kScale;
        out.a[o + i] = oA >= 0 ? float(p[oA]) * kScale : 1.0f;
    }
    if (codec.straightAlpha) {
        for (int i = o; i < o + n; ++i) {
            out.r[i] *= out.a[i], out.g[i] *= out.a[i], out.b[i] *= out.a[i];
        }
    }
}

} // namespace

void PixelStore::store(const SpanBuffer& span, const SpanPos& pos) const {
    std::byte* dst = address(pos.x, pos.y);
    switch (codec.bits) {
    case 8: storeTyped<uint8_t, 8>(codec, span, pos.n, dst); break;
    case 16: storeTyped<uint16_t, 16>(codec, span, pos.n, dst); break;
    default: storeTyped<float, 32>(codec, span, pos.n, dst); break;
    }
}

void loadPixels(const PixelCodec& codec, const std::byte* src, int n, SpanBuffer& out, int offset) {
    switch (codec.bits) {
    case 8: loadTyped<uint8_t, 8>(codec, src, n, out, offset); break;
    case 16: loadTyped<uint16_t, 16>(codec, src, n, out, offset); break;
    default: loadTyped<float, 32>(codec, src, n, out, offset); break;
    }
}

} // namespace pimavo
