#include "PixelFormat.h"

#include "Simd.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pimavo {

int bytesPerPixel(PixelFormat format) {
    return PixelCodec::forFormat(format).bytesPerPixel();
}

PixelCodec PixelCodec::forFormat(PixelFormat format) {
    PixelCodec c;
    switch (format) {
    case PixelFormat::ARGB8:
        c = {8, 4, {1, 2, 3, 0}, false};
        break;
    case PixelFormat::RGBA8:
        c = {8, 4, {0, 1, 2, 3}, false};
        break;
    case PixelFormat::BGRA8:
        c = {8, 4, {2, 1, 0, 3}, false};
        break;
    case PixelFormat::RGBA16:
        c = {16, 4, {0, 1, 2, 3}, false};
        break;
    case PixelFormat::RGBAf:
        c = {32, 4, {0, 1, 2, 3}, false};
        break;
    }
    return c;
}

PixelCodec PixelCodec::forLayout(const PixelLayout& layout) {
    PixelCodec c;
    c.bits = layout.bitsPerComponent;
    c.components = layout.componentsPerPixel();
    switch (layout.alphaInfo) {
    case AlphaInfo::None:
        c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = -1;
        break;
    case AlphaInfo::PremultipliedLast:
    case AlphaInfo::Last:
        c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = 3;
        break;
    case AlphaInfo::PremultipliedFirst:
    case AlphaInfo::First:
        c.offset[0] = 1, c.offset[1] = 2, c.offset[2] = 3, c.offset[3] = 0;
        break;
    case AlphaInfo::NoneSkipLast:
        c.offset[0] = 0, c.offset[1] = 1, c.offset[2] = 2, c.offset[3] = -1;
        break;
    case AlphaInfo::NoneSkipFirst:
        c.offset[0] = 1, c.offset[1] = 2, c.offset[2] = 3, c.offset[3] = -1;
        break;
    }
    c.straightAlpha = layout.alphaInfo == AlphaInfo::Last || layout.alphaInfo == AlphaInfo::First;
    return c;
}

namespace {

template <typename T, int Bits> inline T quantize(float v) {
    if constexpr (Bits == 32) {
        return v;
    } else {
        constexpr float kMax = float((1u << Bits) - 1);
        // Written so that the compiler emits max, min and one conversion per vector: the first
        // comparison sends NaN to 0, and the conversion goes through int32.
        v = v > 0.0f ? v : 0.0f;
        v = v < 1.0f ? v : 1.0f;
        return T(int32_t(v * kMax + 0.5f));
    }
}

// Colour divided by alpha, for straight-alpha destinations.
PIMAVO_VECTORIZE
void unpremultiply(const SpanBuffer& s, int n, float* r, float* g, float* b) {
    for (int i = 0; i < n; ++i) {
        const float inv = s.a[i] > 1e-5f ? 1.0f / s.a[i] : 0.0f;
        r[i] = s.r[i] * inv, g[i] = s.g[i] * inv, b[i] = s.b[i] * inv;
    }
}

#ifdef PIMAVO_HAVE_AVX2
// The compiler turns the scalar clamps into compare-and-blend sequences on the converted integers,
// about three times the instructions of a min and a max; displays and masks are stored through
// these loops on every stroke, so they are written out for AVX2.

// As quantize for eight values, as 32-bit integers for the saturating packs that follow: min(1, v)
// answers v for NaN, which converts to the integer minimum and so, like anything below 0, packs to 0.
PIMAVO_AVX2 inline __m256i levelsAvx2(const float* p, float top) {
    const __m256 v = _mm256_min_ps(_mm256_set1_ps(1.0f), _mm256_loadu_ps(p));
    return _mm256_cvttps_epi32(_mm256_fmadd_ps(v, _mm256_set1_ps(top), _mm256_set1_ps(0.5f)));
}

// As quantize<uint16_t, 16>, sixteen values at a time; answers how many it wrote.
PIMAVO_AVX2 int quantizeLane16Avx2(const float* v, int n, uint16_t* dst) {
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        // packus interleaves the halves of its operands by 128-bit lane; the permute restores order.
        const __m256i packed = _mm256_permute4x64_epi64(
            _mm256_packus_epi32(levelsAvx2(v + i, 65535.0f), levelsAvx2(v + i + 8, 65535.0f)), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), packed);
    }
    return i;
}

// The pixels of whole groups of eight, `lanes` in the order of the bytes of a pixel (nullptr for an
// ignored component, written as 255); answers how many it wrote.
PIMAVO_AVX2 int store8x4Avx2(const float* const lanes[4], int n, uint32_t* d) {
    // The packs leave, in each 128-bit half, the four pixels' first components, then their second,
    // and so on; the shuffle gathers each pixel's four.
    const __m256i gather = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12,
                                            1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m256i opaque = _mm256_set1_epi32(255);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i q[4];
        for (int k = 0; k < 4; ++k) q[k] = lanes[k] ? levelsAvx2(lanes[k] + i, 255.0f) : opaque;
        const __m256i bytes =
            _mm256_packus_epi16(_mm256_packus_epi32(q[0], q[1]), _mm256_packus_epi32(q[2], q[3]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_shuffle_epi8(bytes, gather));
    }
    return i;
}

#endif

// Four 8-bit components per pixel, as one little-endian word: component k sits at bits 8k.
PIMAVO_VECTORIZE
void store8x4(const PixelCodec& codec, const float* r, const float* g, const float* b, const float* a, int n,
              std::byte* dst) {
    const unsigned sr = 8 * codec.offset[0], sg = 8 * codec.offset[1], sb = 8 * codec.offset[2];
    const int oA = codec.offset[3];
    // The ignored component of an alpha-less layout is written as opaque.
    const unsigned sa = oA >= 0 ? 8 * oA : (codec.offset[0] == 0 ? 24 : 0);
    uint32_t* d = reinterpret_cast<uint32_t*>(dst);
#ifdef PIMAVO_HAVE_AVX2
    if (cpuHasAvx2()) {
        const float* lanes[4] = {nullptr, nullptr, nullptr, nullptr};
        lanes[sr / 8] = r, lanes[sg / 8] = g, lanes[sb / 8] = b;
        if (oA >= 0) lanes[sa / 8] = a;
        const int done = store8x4Avx2(lanes, n, d);
        r += done, g += done, b += done, a += done, d += done, n -= done;
    }
#endif
    if (oA >= 0) {
        for (int i = 0; i < n; ++i)
            d[i] = uint32_t(quantize<uint8_t, 8>(r[i])) << sr | uint32_t(quantize<uint8_t, 8>(g[i])) << sg |
                   uint32_t(quantize<uint8_t, 8>(b[i])) << sb | uint32_t(quantize<uint8_t, 8>(a[i])) << sa;
    } else {
        const uint32_t opaque = 255u << sa;
        for (int i = 0; i < n; ++i)
            d[i] = uint32_t(quantize<uint8_t, 8>(r[i])) << sr | uint32_t(quantize<uint8_t, 8>(g[i])) << sg |
                   uint32_t(quantize<uint8_t, 8>(b[i])) << sb | opaque;
    }
}

// Four 16-bit components per pixel as two words: components 0 and 1 in the first, 2 and 3 in the second.
PIMAVO_VECTORIZE
void store16x4(const PixelCodec& codec, const float* r, const float* g, const float* b, const float* a, int n,
               std::byte* dst) {
    float ones[1] = {1.0f};
    const float* src[4] = {nullptr, nullptr, nullptr, nullptr};
    src[codec.offset[0]] = r, src[codec.offset[1]] = g, src[codec.offset[2]] = b;
    const bool alpha = codec.offset[3] >= 0;
    if (alpha) src[codec.offset[3]] = a;
    int skip = -1;
    for (int k = 0; k < 4; ++k)
        if (!src[k]) skip = k, src[k] = ones;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst);
    if (skip < 0) {
        const float *c0 = src[0], *c1 = src[1], *c2 = src[2], *c3 = src[3];
        for (int i = 0; i < n; ++i) {
            d[2 * i] = uint32_t(quantize<uint16_t, 16>(c0[i])) | uint32_t(quantize<uint16_t, 16>(c1[i]))
                                                                     << 16;
            d[2 * i + 1] = uint32_t(quantize<uint16_t, 16>(c2[i])) | uint32_t(quantize<uint16_t, 16>(c3[i]))
                                                                         << 16;
        }
        return;
    }
    uint16_t* d16 = reinterpret_cast<uint16_t*>(dst);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 4; ++k)
            d16[4 * i + k] = k == skip ? uint16_t(65535) : quantize<uint16_t, 16>(src[k][i]);
}

template <typename T, int Bits>
void storeGeneric(const PixelCodec& codec, const float* pr, const float* pg, const float* pb, const float* pa,
                  int n, std::byte* dstBytes) {
    const int comps = codec.components;
    const int oR = codec.offset[0], oG = codec.offset[1], oB = codec.offset[2], oA = codec.offset[3];
    T* d = reinterpret_cast<T*>(dstBytes);
    if (comps == 4 && oA >= 0 && oR == 0 && oG == 1 && oB == 2 && oA == 3) {
        for (int i = 0; i < n; ++i, d += 4) {
            d[0] = quantize<T, Bits>(pr[i]);
            d[1] = quantize<T, Bits>(pg[i]);
            d[2] = quantize<T, Bits>(pb[i]);
            d[3] = quantize<T, Bits>(pa[i]);
        }
        return;
    }
    const int skip = comps == 4 && oA < 0 ? (oR == 0 ? 3 : 0) : -1;
    for (int i = 0; i < n; ++i, d += comps) {
        d[oR] = quantize<T, Bits>(pr[i]);
        d[oG] = quantize<T, Bits>(pg[i]);
        d[oB] = quantize<T, Bits>(pb[i]);
        if (oA >= 0) d[oA] = quantize<T, Bits>(pa[i]);
        if (skip >= 0) d[skip] = Bits == 32 ? T(1) : T((1u << Bits) - 1);
    }
}

PIMAVO_VECTORIZE
void load8x4(const PixelCodec& codec, const std::byte* src, int n, SpanBuffer& out, int o) {
    const unsigned sr = 8 * codec.offset[0], sg = 8 * codec.offset[1], sb = 8 * codec.offset[2];
    const int oA = codec.offset[3];
    const unsigned sa = oA >= 0 ? 8 * oA : 0;
    constexpr float k = 1.0f / 255.0f;
    const uint32_t* p = reinterpret_cast<const uint32_t*>(src);
    float *r = out.r + o, *g = out.g + o, *b = out.b + o, *a = out.a + o;
    for (int i = 0; i < n; ++i) {
        const uint32_t v = p[i];
        r[i] = float(int32_t((v >> sr) & 255u)) * k;
        g[i] = float(int32_t((v >> sg) & 255u)) * k;
        b[i] = float(int32_t((v >> sb) & 255u)) * k;
    }
    if (oA >= 0) {
        for (int i = 0; i < n; ++i) a[i] = float(int32_t((p[i] >> sa) & 255u)) * k;
    } else {
        std::fill_n(a, n, 1.0f);
    }
}

PIMAVO_VECTORIZE
void load16x4(const PixelCodec& codec, const std::byte* src, int n, SpanBuffer& out, int o) {
    float* dst[4] = {nullptr, nullptr, nullptr, nullptr};
    float scratch[kSpanWidth];
    dst[codec.offset[0]] = out.r + o, dst[codec.offset[1]] = out.g + o, dst[codec.offset[2]] = out.b + o;
    if (codec.offset[3] >= 0) dst[codec.offset[3]] = out.a + o;
    for (float*& d : dst)
        if (!d) d = scratch;
    constexpr float k = 1.0f / 65535.0f;
    const uint32_t* p = reinterpret_cast<const uint32_t*>(src);
    float *d0 = dst[0], *d1 = dst[1], *d2 = dst[2], *d3 = dst[3];
    for (int i = 0; i < n; ++i) {
        const uint32_t lo = p[2 * i], hi = p[2 * i + 1];
        d0[i] = float(int32_t(lo & 65535u)) * k;
        d1[i] = float(int32_t(lo >> 16)) * k;
        d2[i] = float(int32_t(hi & 65535u)) * k;
        d3[i] = float(int32_t(hi >> 16)) * k;
    }
    if (codec.offset[3] < 0) std::fill_n(out.a + o, n, 1.0f);
}

template <typename T, int Bits>
void loadGeneric(const PixelCodec& codec, const std::byte* srcBytes, int n, SpanBuffer& out, int o) {
    const T* p = reinterpret_cast<const T*>(srcBytes);
    const int comps = codec.components;
    const int oR = codec.offset[0], oG = codec.offset[1], oB = codec.offset[2], oA = codec.offset[3];
    constexpr float kScale = Bits == 32 ? 1.0f : 1.0f / float((1u << Bits) - 1);
    if (comps == 4 && oR == 0 && oG == 1 && oB == 2 && oA == 3) {
        for (int i = 0; i < n; ++i, p += 4) {
            out.r[o + i] = float(p[0]) * kScale;
            out.g[o + i] = float(p[1]) * kScale;
            out.b[o + i] = float(p[2]) * kScale;
            out.a[o + i] = float(p[3]) * kScale;
        }
        return;
    }
    for (int i = 0; i < n; ++i, p += comps) {
        out.r[o + i] = float(p[oR]) * kScale;
        out.g[o + i] = float(p[oG]) * kScale;
        out.b[o + i] = float(p[oB]) * kScale;
        out.a[o + i] = oA >= 0 ? float(p[oA]) * kScale : 1.0f;
    }
}

} // namespace

void PixelStore::store(const SpanBuffer& span, const SpanPos& pos) const {
    if (sink) return sink->store(span, pos);
    if (span.opaqueGrey) {
        SpanBuffer full = span;
        full.expandGrey(pos.n);
        return store(full, pos);
    }
    std::byte* dst = address(pos.x, pos.y);
    const int n = pos.n;
    const float *r = span.r, *g = span.g, *b = span.b;
    alignas(64) float ur[kSpanWidth], ug[kSpanWidth], ub[kSpanWidth];
    if (codec.straightAlpha) {
        unpremultiply(span, n, ur, ug, ub);
        r = ur, g = ug, b = ub;
    }
    if (codec.components == 4 && codec.bits == 8) return store8x4(codec, r, g, b, span.a, n, dst);
    if (codec.components == 4 && codec.bits == 16) return store16x4(codec, r, g, b, span.a, n, dst);
    switch (codec.bits) {
    case 8:
        storeGeneric<uint8_t, 8>(codec, r, g, b, span.a, n, dst);
        break;
    case 16:
        storeGeneric<uint16_t, 16>(codec, r, g, b, span.a, n, dst);
        break;
    default:
        storeGeneric<float, 32>(codec, r, g, b, span.a, n, dst);
        break;
    }
}

void loadPixels(const PixelCodec& codec, const std::byte* src, int n, SpanBuffer& out, int offset) {
    if (codec.components == 4 && codec.bits == 8) {
        load8x4(codec, src, n, out, offset);
    } else if (codec.components == 4 && codec.bits == 16) {
        load16x4(codec, src, n, out, offset);
    } else {
        switch (codec.bits) {
        case 8:
            loadGeneric<uint8_t, 8>(codec, src, n, out, offset);
            break;
        case 16:
            loadGeneric<uint16_t, 16>(codec, src, n, out, offset);
            break;
        default:
            loadGeneric<float, 32>(codec, src, n, out, offset);
            break;
        }
    }
    if (codec.straightAlpha) {
        for (int i = offset; i < offset + n; ++i) {
            out.r[i] *= out.a[i], out.g[i] *= out.a[i], out.b[i] *= out.a[i];
        }
    }
}

namespace {
PIMAVO_VECTORIZE bool isOpaqueGrey(const float* r, const float* g, const float* b, const float* a, int n) {
    // An integer reduction, which the compiler vectorises (a boolean one it does not).
    int other = 0;
    for (int i = 0; i < n; ++i) other |= int(r[i] != g[i]) | int(r[i] != b[i]) | int(!(a[i] >= 1.0f));
    return other == 0;
}

PIMAVO_VECTORIZE void quantizeLane16(const float* v, int n, uint16_t* dst) {
#ifdef PIMAVO_HAVE_AVX2
    if (cpuHasAvx2()) {
        const int done = quantizeLane16Avx2(v, n, dst);
        v += done, dst += done, n -= done;
    }
#endif
    for (int i = 0; i < n; ++i) dst[i] = quantize<uint16_t, 16>(v[i]);
}

} // namespace

bool storeGrey16(const SpanBuffer& span, int n, uint16_t* dst) {
    if (!span.opaqueGrey && !isOpaqueGrey(span.r, span.g, span.b, span.a, n)) return false;
    quantizeLane16(span.r, n, dst);
    return true;
}

PIMAVO_VECTORIZE void greyValues(const uint16_t* src, int n, float* values) {
    constexpr float k = 1.0f / 65535.0f;
    for (int i = 0; i < n; ++i) values[i] = float(int32_t(src[i])) * k;
}

void loadGrey16(const uint16_t* src, int n, SpanBuffer& out, int offset) {
    greyValues(src, n, out.r + offset);
    std::copy_n(out.r + offset, n, out.g + offset);
    std::copy_n(out.r + offset, n, out.b + offset);
    std::fill_n(out.a + offset, n, 1.0f);
}

PIMAVO_VECTORIZE void expandGrey16(const uint16_t* src, int n, uint16_t* rgba) {
    for (int i = 0; i < n; ++i) {
        const uint16_t v = src[i];
        rgba[4 * i] = v, rgba[4 * i + 1] = v, rgba[4 * i + 2] = v, rgba[4 * i + 3] = 65535;
    }
}

namespace {
// The low byte of each value, and whether every value's two bytes are alike.
PIMAVO_VECTORIZE bool lowBytesIfLevels(const uint16_t* v, int n, uint8_t* low) {
    int other = 0;
    for (int i = 0; i < n; ++i) {
        other |= (v[i] >> 8) ^ (v[i] & 255);
        low[i] = uint8_t(v[i]);
    }
    return other == 0;
}

PIMAVO_VECTORIZE void interleave4(const uint8_t* c0, const uint8_t* c1, const uint8_t* c2, const uint8_t* c3,
                                  int n, uint8_t* dst) {
    uint32_t* d = reinterpret_cast<uint32_t*>(dst);
    for (int i = 0; i < n; ++i)
        d[i] = uint32_t(c0[i]) | uint32_t(c1[i]) << 8 | uint32_t(c2[i]) << 16 | uint32_t(c3[i]) << 24;
}

#ifdef PIMAVO_HAVE_AVX2
// Eight pixels at a time: each component's byte as the 16-bit value it stands for, then as a float
// exactly as load16x4 converts it. Answers how many it read.
PIMAVO_AVX2 int loadBytes16Avx2(const uint8_t* src, int n, float* const lanes[4]) {
    const __m256i low = _mm256_set1_epi32(255);
    const __m256 k = _mm256_set1_ps(1.0f / 65535.0f);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i));
        for (int c = 0; c < 4; ++c) {
            const __m256i b = _mm256_and_si256(_mm256_srli_epi32(px, 8 * c), low);
            const __m256i v = _mm256_or_si256(b, _mm256_slli_epi32(b, 8));
            _mm256_storeu_ps(lanes[c] + i, _mm256_mul_ps(_mm256_cvtepi32_ps(v), k));
        }
    }
    return i;
}
#endif
} // namespace

bool storeBytes16(const SpanBuffer& span, int n, uint8_t* dst) {
    alignas(64) uint16_t levels[kSpanWidth];
    alignas(64) uint8_t bytes[4][kSpanWidth];
    const float* lanes[4] = {span.r, span.opaqueGrey ? span.r : span.g, span.opaqueGrey ? span.r : span.b,
                             span.a};
    for (int c = 0; c < 4; ++c) {
        if (c == 3 && span.opaqueGrey) {
            std::fill_n(bytes[3], n, uint8_t(255));
            break;
        }
        quantizeLane16(lanes[c], n, levels);
        if (!lowBytesIfLevels(levels, n, bytes[c])) return false;
    }
    interleave4(bytes[0], bytes[1], bytes[2], bytes[3], n, dst);
    return true;
}

PIMAVO_VECTORIZE bool greyToBytes(const uint16_t* grey, int n, uint8_t* dst) {
    int other = 0;
    for (int i = 0; i < n; ++i) other |= (grey[i] >> 8) ^ (grey[i] & 255);
    if (other) return false;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst);
    for (int i = 0; i < n; ++i) d[i] = uint32_t(grey[i] & 255) * 0x010101u | 0xff000000u;
    return true;
}

PIMAVO_VECTORIZE void loadBytes16(const uint8_t* src, int n, SpanBuffer& out, int offset) {
    float* const lanes[4] = {out.r + offset, out.g + offset, out.b + offset, out.a + offset};
    int i = 0;
#ifdef PIMAVO_HAVE_AVX2
    if (cpuHasAvx2()) i = loadBytes16Avx2(src, n, lanes);
#endif
    constexpr float k = 1.0f / 65535.0f;
    for (; i < n; ++i)
        for (int c = 0; c < 4; ++c) lanes[c][i] = float(int32_t(src[4 * i + c]) * 257) * k;
}

bool storeOpaque16(const SpanBuffer& span, int n, uint16_t* r, uint16_t* g, uint16_t* b) {
    if (!span.opaqueGrey) {
        alignas(64) uint16_t alpha[kSpanWidth];
        quantizeLane16(span.a, n, alpha);
        if (std::any_of(alpha, alpha + n, [](uint16_t a) { return a != 65535; })) return false;
    }
    quantizeLane16(span.r, n, r);
    if (span.opaqueGrey) {
        std::copy_n(r, n, g);
        std::copy_n(r, n, b);
        return true;
    }
    quantizeLane16(span.g, n, g);
    quantizeLane16(span.b, n, b);
    return true;
}

void loadOpaque16(const uint16_t* r, const uint16_t* g, const uint16_t* b, int n, SpanBuffer& out,
                  int offset) {
    greyValues(r, n, out.r + offset);
    greyValues(g, n, out.g + offset);
    greyValues(b, n, out.b + offset);
    std::fill_n(out.a + offset, n, 1.0f);
}

PIMAVO_VECTORIZE void expandBytes16(const uint8_t* src, int n, uint16_t* rgba) {
    for (int i = 0; i < 4 * n; ++i) rgba[i] = uint16_t(src[i] * 257);
}

} // namespace pimavo
