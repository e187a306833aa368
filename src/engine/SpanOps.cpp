#include "SpanOps.h"

#include "Simd.h"

#include <algorithm>
#include <cstring>

namespace pimavo::spanops {

PIMAVO_VECTORIZE
void matrixPremultiplied(const SpanBuffer& s, SpanBuffer& out, int n, const float m[9], const float bias[3]) {
    const float m00 = m[0], m01 = m[1], m02 = m[2], m10 = m[3], m11 = m[4], m12 = m[5], m20 = m[6],
                m21 = m[7], m22 = m[8], b0 = bias[0], b1 = bias[1], b2 = bias[2];
    for (int i = 0; i < n; ++i) {
        const float r = s.r[i], g = s.g[i], b = s.b[i], a = s.a[i];
        out.r[i] = m00 * r + m01 * g + m02 * b + b0 * a;
        out.g[i] = m10 * r + m11 * g + m12 * b + b1 * a;
        out.b[i] = m20 * r + m21 * g + m22 * b + b2 * a;
        out.a[i] = a;
    }
}

PIMAVO_VECTORIZE
bool matrixToGrey(const SpanBuffer& s, float* grey, int n, const float row[3], float bias) {
    int translucent = 0;
    for (int i = 0; i < n; ++i) translucent |= int(s.a[i] != 1.0f);
    if (translucent) return false;
    const float m0 = row[0], m1 = row[1], m2 = row[2];
    // Written as matrixPremultiplied writes its first row, so that the value is the same.
    for (int i = 0; i < n; ++i) grey[i] = m0 * s.r[i] + m1 * s.g[i] + m2 * s.b[i] + bias * s.a[i];
    return true;
}

PIMAVO_VECTORIZE
void matrixUnpremultiplied(const SpanBuffer& s, SpanBuffer& out, int n, const float m[16],
                           const float bias[4]) {
    for (int i = 0; i < n; ++i) {
        const float a = s.a[i];
        const float inv = 1.0f / std::max(a, 1e-5f);
        const float r = s.r[i] * inv, g = s.g[i] * inv, b = s.b[i] * inv;
        const float oa = m[12] * r + m[13] * g + m[14] * b + m[15] * a + bias[3];
        out.r[i] = (m[0] * r + m[1] * g + m[2] * b + m[3] * a + bias[0]) * oa;
        out.g[i] = (m[4] * r + m[5] * g + m[6] * b + m[7] * a + bias[1]) * oa;
        out.b[i] = (m[8] * r + m[9] * g + m[10] * b + m[11] * a + bias[2]) * oa;
        out.a[i] = oa;
    }
}

PIMAVO_VECTORIZE
void blendWithMask(const SpanBuffer& F, const SpanBuffer& B, const float* M, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        const float m = M[i];
        out.r[i] = B.r[i] + (F.r[i] - B.r[i]) * m;
        out.g[i] = B.g[i] + (F.g[i] - B.g[i]) * m;
        out.b[i] = B.b[i] + (F.b[i] - B.b[i]) * m;
        out.a[i] = B.a[i] + (F.a[i] - B.a[i]) * m;
    }
}

PIMAVO_VECTORIZE
void blendWithMaskOnGrey(const SpanBuffer& F, const float* B, const float* M, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        const float m = M[i], b = B[i];
        out.r[i] = b + (F.r[i] - b) * m;
        out.g[i] = b + (F.g[i] - b) * m;
        out.b[i] = b + (F.b[i] - b) * m;
        out.a[i] = 1.0f + (F.a[i] - 1.0f) * m;
    }
}

PIMAVO_VECTORIZE
void sourceOver(const SpanBuffer& S, const SpanBuffer& D, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        const float k = 1.0f - S.a[i];
        out.r[i] = S.r[i] + D.r[i] * k;
        out.g[i] = S.g[i] + D.g[i] * k;
        out.b[i] = S.b[i] + D.b[i] * k;
        out.a[i] = S.a[i] + D.a[i] * k;
    }
}

PIMAVO_VECTORIZE
void sourceIn(const SpanBuffer& S, const SpanBuffer& D, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        const float k = D.a[i];
        out.r[i] = S.r[i] * k;
        out.g[i] = S.g[i] * k;
        out.b[i] = S.b[i] * k;
        out.a[i] = S.a[i] * k;
    }
}

namespace {
template <BlendMode Mode> inline float blend(float s, float d) {
    float v;
    if constexpr (Mode == BlendMode::Multiply)
        v = s * d;
    else
        v = d <= 0.5f ? 2 * s * d : 1 - 2 * (1 - s) * (1 - d);
    return std::min(std::max(v, 0.0f), 1.0f);
}

template <BlendMode Mode>
inline void blendLoop(const SpanBuffer& S, const SpanBuffer& D, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        const float sa = S.a[i], da = D.a[i];
        const float sInv = 1.0f / std::max(sa, 1e-5f), dInv = 1.0f / std::max(da, 1e-5f);
        const float both = sa * da;
        out.r[i] = blend<Mode>(S.r[i] * sInv, D.r[i] * dInv) * both + S.r[i] * (1 - da) + D.r[i] * (1 - sa);
        out.g[i] = blend<Mode>(S.g[i] * sInv, D.g[i] * dInv) * both + S.g[i] * (1 - da) + D.g[i] * (1 - sa);
        out.b[i] = blend<Mode>(S.b[i] * sInv, D.b[i] * dInv) * both + S.b[i] * (1 - da) + D.b[i] * (1 - sa);
        out.a[i] = sa + da - both;
    }
}
} // namespace

PIMAVO_VECTORIZE
void blendMode(BlendMode mode, const SpanBuffer& s, const SpanBuffer& d, SpanBuffer& out, int n) {
    if (mode == BlendMode::Multiply)
        blendLoop<BlendMode::Multiply>(s, d, out, n);
    else
        blendLoop<BlendMode::Overlay>(s, d, out, n);
}

void copy(const SpanBuffer& in, SpanBuffer& out, int n) {
    std::memcpy(out.r, in.r, sizeof(float) * n);
    std::memcpy(out.g, in.g, sizeof(float) * n);
    std::memcpy(out.b, in.b, sizeof(float) * n);
    std::memcpy(out.a, in.a, sizeof(float) * n);
}

PIMAVO_VECTORIZE
void scale(const SpanBuffer& in, float k, SpanBuffer& out, int n) {
    for (int i = 0; i < n; ++i) {
        out.r[i] = in.r[i] * k;
        out.g[i] = in.g[i] * k;
        out.b[i] = in.b[i] * k;
        out.a[i] = in.a[i] * k;
    }
}

PIMAVO_VECTORIZE
void accumulate(float* dst, const float* src, float w, int n) {
    for (int i = 0; i < n; ++i) dst[i] += w * src[i];
}

} // namespace pimavo::spanops
