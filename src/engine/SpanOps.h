// The per-pixel arithmetic of the point-wise built-in operations, over spans in structure-of-arrays
// form. Each is a plain loop over contiguous floats, compiled for several CPU levels (Simd.h).
#pragma once

#include "Tile.h"

namespace pimavo::spanops {

// out.rgb = M · in.rgb + in.a · bias, out.a = in.a. M is row-major 3 × 3.
void matrixPremultiplied(const SpanBuffer& in, SpanBuffer& out, int n, const float m[9], const float bias[3]);
// The first row of such a matrix for pixels whose alpha is 1, as one lane: what every row gives
// when the three rows are alike. Answers false, writing nothing, when an alpha is not 1.
bool matrixToGrey(const SpanBuffer& in, float* grey, int n, const float row[3], float bias);
// Full 4 × 4 matrix on unpremultiplied colour plus bias, premultiplied again. m is row-major 4 × 4.
void matrixUnpremultiplied(const SpanBuffer& in, SpanBuffer& out, int n, const float m[16],
                           const float bias[4]);
// out = B + (F − B) · M.g
void blendWithMask(const SpanBuffer& f, const SpanBuffer& b, const float* m, SpanBuffer& out, int n);
// The same over an opaque-grey background given as its one lane.
void blendWithMaskOnGrey(const SpanBuffer& f, const float* b, const float* m, SpanBuffer& out, int n);
// out = S + D (1 − S.a)
void sourceOver(const SpanBuffer& s, const SpanBuffer& d, SpanBuffer& out, int n);
// out = S · D.a
void sourceIn(const SpanBuffer& s, const SpanBuffer& d, SpanBuffer& out, int n);
enum class BlendMode { Multiply, Overlay };
void blendMode(BlendMode mode, const SpanBuffer& s, const SpanBuffer& d, SpanBuffer& out, int n);
void copy(const SpanBuffer& in, SpanBuffer& out, int n);
// out = in · k, every component
void scale(const SpanBuffer& in, float k, SpanBuffer& out, int n);
// dst[i] += w · src[i]
void accumulate(float* dst, const float* src, float w, int n);

} // namespace pimavo::spanops
