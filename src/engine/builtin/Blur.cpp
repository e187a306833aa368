// Gaussian blur with σ = radius, over premultiplied RGBA, transparent outside the input; the extent
// grows by ceil(3σ) on each side.
//
// Small σ: an exact separable convolution with pixel-integrated weights, as a region node (each
// output tile needs its input grown by the kernel radius, so tiles are exact and independent).
// Larger σ: a recursive filter along rows and then columns, whose cost does not depend on σ. Its
// result for a pixel depends on whole rows and columns, so it is a block node: computed once over the
// whole extent and cached.
#include "../Simd.h"
#include "../SpanOps.h"
#include "Builtins.h"
#include "Nodes.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstring>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#include <vector>

namespace pimavo {

namespace {

constexpr double kRecursiveFromSigma = 3.0;

int blurRadius(double sigma) {
    return int(std::ceil(3 * sigma));
}

RectF grown(const RectF& e, int r) {
    return e.insetBy(-r, -r);
}

// Pixel-integrated weights of a normalised Gaussian, index k for offset k − radius.
std::vector<float> gaussianWeights(double sigma, int radius) {
    std::vector<double> w(2 * radius + 1);
    double sum = 0;
    const double s = sigma * std::sqrt(2.0);
    for (int k = -radius; k <= radius; ++k) {
        w[k + radius] = 0.5 * (std::erf((k + 0.5) / s) - std::erf((k - 0.5) / s));
        sum += w[k + radius];
    }
    std::vector<float> out(w.size());
    for (std::size_t i = 0; i < w.size(); ++i) out[i] = float(w[i] / sum);
    return out;
}

class ConvolutionBlurNode final : public RegionNode {
public:
    ConvolutionBlurNode(NodeRef input, double sigma)
        : RegionNode(grown(input->extent(), blurRadius(sigma)), {input}), radius_(blurRadius(sigma)),
          weights_(gaussianWeights(sigma, radius_)) {}

    const char* name() const override { return "gaussian-blur"; }
    bool cacheTiles() const override { return true; }
    IntRect regionOf(std::size_t, const IntRect& out) const override { return out.grownBy(radius_, radius_); }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const IntRect& r = out.rect();
        const Tile* in = inputs[0].get();
        for (int y = r.y0; y < r.y1; ++y) std::fill_n(out.row(y), out.rowFloats(), 0.0f);
        if (!in) return;
        const IntRect& ir = in->rect();
        const int R = radius_;
        // Horizontal pass over the rows the vertical pass needs.
        const int ty0 = std::max(r.y0 - R, ir.y0), ty1 = std::min(r.y1 + R, ir.y1);
        if (ty1 <= ty0) return;
        Tile tmp = Tile::zeroed({r.x0, ty0, r.x1, ty1});
        for (int y = ty0; y < ty1; ++y) {
            float* dst = tmp.row(y);
            for (int k = -R; k <= R; ++k) {
                const float w = weights_[k + R];
                const int x0 = std::max(r.x0, ir.x0 - k), x1 = std::min(r.x1, ir.x1 - k);
                if (x1 <= x0) continue;
                const float* src = in->pixel(x0 + k, y);
                float* d = dst + std::size_t(x0 - r.x0) * 4;
                spanops::accumulate(d, src, w, (x1 - x0) * 4);
            }
        }
        for (int y = r.y0; y < r.y1; ++y) {
            float* dst = out.row(y);
            for (int k = -R; k <= R; ++k) {
                const int sy = y + k;
                if (sy < ty0 || sy >= ty1) continue;
                const float w = weights_[k + R];
                const float* src = tmp.row(sy);
                spanops::accumulate(dst, src, w, int(out.rowFloats()));
            }
        }
    }

private:
    int radius_;
    std::vector<float> weights_;
};

// Deriche's fourth-order approximation of the Gaussian, as two pairs of complex-conjugate poles.
// Each pair runs as a real second-order section, causal (past samples) and anticausal (future
// samples) in parallel, so the result is their sum. With zero input beyond both ends of the padded
// line, zero start states are exact, and second-order sections stay accurate in single precision
// even for large σ, where a single fourth-order recursion would not.
struct Section {
    float n0, n1; // causal numerator: n0 x[n] + n1 x[n−1]
    float m1, m2; // anticausal numerator: m1 x[n+1] + m2 x[n+2]
    float d1, d2; // feedback, the same both ways
};

struct RecursiveCoefficients {
    Section s[2];
};

RecursiveCoefficients recursiveCoefficients(double sigma) {
    using C = std::complex<double>;
    const C alpha[2] = {{0.84, 1.8675}, {-0.34015, -0.1299}};
    const C lambda[2] = {{1.783, 0.6318}, {1.723, 1.997}};
    double n[2][4], d[2][2], gain = 0;
    for (int k = 0; k < 2; ++k) {
        const C p = std::exp(-lambda[k] / sigma);
        const C ap = alpha[k] * p;
        n[k][0] = 2 * alpha[k].real();
        n[k][1] = -2 * (alpha[k] * std::conj(p)).real();
        n[k][2] = 2 * ap.real();
        n[k][3] = -2 * std::norm(p) * alpha[k].real();
        d[k][0] = 2 * p.real();
        d[k][1] = -std::norm(p);
        gain += (n[k][0] + n[k][1] + n[k][2] + n[k][3]) / (1 - d[k][0] - d[k][1]);
    }
    RecursiveCoefficients c;
    for (int k = 0; k < 2; ++k) {
        c.s[k] = {float(n[k][0] / gain), float(n[k][1] / gain), float(n[k][2] / gain),
                  float(n[k][3] / gain), float(d[k][0]),        float(d[k][1])};
    }
    return c;
}

typedef float v4f __attribute__((vector_size(16)));

inline v4f load4(const float* p) {
    v4f v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store4(float* p, v4f v) {
    std::memcpy(p, &v, sizeof v);
}

constexpr int kStrip = 32; // floats per column strip: 8 pixels

// One strip of columns (W floats wide) through all n rows, in place: the causal pass into `causal`,
// then the anticausal pass from the bottom adding into the rows. x[k+1] and x[k+2] are kept aside
// because their rows are overwritten by the time they are needed. A fixed width lets the compiler
// keep the strip in vector registers.
template <int W>
__attribute__((always_inline)) inline void blurStripOf(float* const* rows, int n, const Section& A,
                                                       const Section& B, float* __restrict causal) {
    float a1[W] = {}, a2[W] = {}, b1[W] = {}, b2[W] = {}, xp[W] = {};
    constexpr int kAhead = 8; // rows are far apart in memory: fetch them before they are needed
    for (int k = 0; k < n; ++k) {
        const float* __restrict x = rows[k];
        float* __restrict c = causal + std::size_t(k) * W;
        if (k + kAhead < n)
            for (int i = 0; i < W; i += 16) __builtin_prefetch(rows[k + kAhead] + i);
        for (int i = 0; i < W; ++i) {
            const float a = A.n0 * x[i] + A.n1 * xp[i] + A.d1 * a1[i] + A.d2 * a2[i];
            const float b = B.n0 * x[i] + B.n1 * xp[i] + B.d1 * b1[i] + B.d2 * b2[i];
            c[i] = a + b;
            a2[i] = a1[i], a1[i] = a, b2[i] = b1[i], b1[i] = b, xp[i] = x[i];
        }
    }
    float x1[W] = {}, x2[W] = {};
    for (int i = 0; i < W; ++i) a1[i] = a2[i] = b1[i] = b2[i] = 0;
    for (int k = n - 1; k >= 0; --k) {
        float* __restrict x = rows[k];
        const float* __restrict c = causal + std::size_t(k) * W;
        if (k >= kAhead)
            for (int i = 0; i < W; i += 16) __builtin_prefetch(rows[k - kAhead] + i, 1);
        for (int i = 0; i < W; ++i) {
            const float a = A.m1 * x1[i] + A.m2 * x2[i] + A.d1 * a1[i] + A.d2 * a2[i];
            const float b = B.m1 * x1[i] + B.m2 * x2[i] + B.d1 * b1[i] + B.d2 * b2[i];
            const float keep = x[i];
            x[i] = c[i] + a + b;
            a2[i] = a1[i], a1[i] = a, b2[i] = b1[i], b1[i] = b;
            x2[i] = x1[i], x1[i] = keep;
        }
    }
}

PIMAVO_VECTORIZE
void blurStrip(float* const* rows, int n, int w, const Section& A, const Section& B, float* causal) {
    if (w == kStrip) return blurStripOf<kStrip>(rows, n, A, B, causal);
    // The last, narrower strip: whole pixels of four floats.
    std::vector<float*> shifted(rows, rows + n);
    for (int done = 0; done < w; done += 4) {
        blurStripOf<4>(shifted.data(), n, A, B, causal);
        for (float*& r : shifted) r += 4;
    }
}

// One row of n pixels: input pixels occupy [start, stop) (`in` holds exactly those), zero elsewhere;
// every output pixel is written.
PIMAVO_VECTORIZE
void blurRow(const float* in, int start, int stop, float* row, int n, const Section& A, const Section& B) {
    const float* src = in - std::ptrdiff_t(start) * 4; // index by output column
    const v4f zero = {0, 0, 0, 0};
    std::fill_n(row, std::size_t(start) * 4, 0.0f);
    // Causal: zeros before `start` keep the state zero. The previous output enters last, so only
    // one multiply-add sits on the loop's critical path.
    v4f a1 = zero, a2 = zero, b1 = zero, b2 = zero, xPrev = zero;
    for (int i = start; i < stop; ++i) {
        const v4f xi = load4(src + std::size_t(i) * 4);
        const v4f a = (A.n0 * xi + A.n1 * xPrev + A.d2 * a2) + A.d1 * a1;
        const v4f b = (B.n0 * xi + B.n1 * xPrev + B.d2 * b2) + B.d1 * b1;
        store4(row + std::size_t(i) * 4, a + b);
        a2 = a1, a1 = a, b2 = b1, b1 = b, xPrev = xi;
    }
    for (int i = stop; i < n; ++i) {
        const v4f a = (A.n1 * xPrev + A.d2 * a2) + A.d1 * a1;
        const v4f b = (B.n1 * xPrev + B.d2 * b2) + B.d1 * b1;
        store4(row + std::size_t(i) * 4, a + b);
        a2 = a1, a1 = a, b2 = b1, b1 = b, xPrev = zero;
    }
    // Anticausal: zeros after `stop`, so it contributes nothing there.
    a1 = a2 = b1 = b2 = zero;
    v4f x1 = zero, x2 = zero; // x[i+1], x[i+2]
    for (int i = stop - 1; i >= 0; --i) {
        const v4f a = (A.m1 * x1 + A.m2 * x2 + A.d2 * a2) + A.d1 * a1;
        const v4f b = (B.m1 * x1 + B.m2 * x2 + B.d2 * b2) + B.d1 * b1;
        float* p = row + std::size_t(i) * 4;
        store4(p, load4(p) + a + b);
        a2 = a1, a1 = a, b2 = b1, b1 = b;
        x2 = x1, x1 = i >= start ? load4(src + std::size_t(i) * 4) : zero;
    }
}

class RecursiveBlurNode final : public BlockNode {
public:
    RecursiveBlurNode(NodeRef input, double sigma)
        : BlockNode(grown(input->extent(), blurRadius(sigma)), {input}), c_(recursiveCoefficients(sigma)) {}

    const char* name() const override { return "gaussian-blur"; }

    bool streamsInput() const override { return true; }

    Tile renderBlock(std::span<const TileRef> inputs) const override {
        // Rows straight from an already rendered input tile.
        struct TileRows final : RowSource {
            const Tile* t;
            void readRow(int y, int x0, int x1, float* dst) const override { readTileRow(t, y, x0, x1, dst); }
        } rows;
        rows.t = inputs[0].get();
        const IntRect r = rows.t ? rows.t->rect() : IntRect{};
        return renderBlockFromRows(rows, r);
    }

    Tile renderBlockFromRows(const RowSource& input, const IntRect& inputRect) const override {
        const IntRect& o = pixelExtent();
        Tile out(o);
        const IntRect ir = inputRect.intersection(o);
        tbb::this_task_arena::isolate([&] {
            tbb::parallel_for(tbb::blocked_range<int>(o.y0, o.y1, 8),
                              [&](const tbb::blocked_range<int>& rows) {
                                  std::vector<float> line(std::size_t(std::max(ir.width(), 0)) * 4);
                                  for (int y = rows.begin(); y != rows.end(); ++y) {
                                      if (y < ir.y0 || y >= ir.y1) {
                                          std::fill_n(out.row(y), out.rowFloats(), 0.0f);
                                          continue;
                                      }
                                      input.readRow(y, ir.x0, ir.x1, line.data());
                                      blurRow(line.data(), ir.x0 - o.x0, ir.x1 - o.x0, out.row(y), o.width(),
                                              c_.s[0], c_.s[1]);
                                  }
                              });
            const int cols = o.width() * 4;
            tbb::parallel_for(tbb::blocked_range<int>(0, (cols + kStrip - 1) / kStrip, 1),
                              [&](const tbb::blocked_range<int>& strips) {
                                  std::vector<float> scratch;
                                  for (int s = strips.begin(); s != strips.end(); ++s)
                                      blurColumns(out, s * kStrip, std::min(cols, (s + 1) * kStrip), scratch);
                              });
        });
        return out;
    }

private:
    // Columns [f0, f1) of the float rows, all rows, in place.
    void blurColumns(Tile& t, int f0, int f1, std::vector<float>& causal) const {
        const IntRect& o = t.rect();
        const int n = o.height();
        causal.resize(std::size_t(n) * kStrip);
        std::vector<float*> rows(n);
        for (int k = 0; k < n; ++k) rows[k] = t.row(o.y0 + k) + f0;
        blurStrip(rows.data(), n, f1 - f0, c_.s[0], c_.s[1], causal.data());
    }

    RecursiveCoefficients c_;
};

} // namespace

NodeRef makeGaussianBlurNode(NodeRef input, double sigma) {
    if (!input) return nullptr;
    if (!(sigma >= 0.16)) return input;
    if (sigma < kRecursiveFromSigma || input->extent().isInfinite())
        return std::make_shared<ConvolutionBlurNode>(std::move(input), sigma);
    return std::make_shared<RecursiveBlurNode>(std::move(input), sigma);
}

std::vector<BuiltinFilter> blurFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;
    filters.push_back(
        {attributes("gaussian-blur", "CIGaussianBlur", {"blur"},
                    {image("inputImage"), scalar("inputRadius", 10, 0, 100, 0, 100, 0, InputKind::Distance)}),
         [](const Operation& f) -> Image {
             Image img = f.imageInput("inputImage");
             auto r = f.numberInput("inputRadius");
             if (!img || !r) return {};
             return Image(makeGaussianBlurNode(img.node(), float(*r)));
         }});
    return filters;
}

} // namespace pimavo
