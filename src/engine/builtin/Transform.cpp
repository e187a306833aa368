// Affine transforms of images.
//
// Each output pixel centre maps back through the inverse transform and samples the input
// bilinearly. Shrinking by more than 2× would alias, so such transforms first average the input
// over each output pixel's footprint: axis-aligned transforms resample separably with exact area
// weights; others shrink axis-aligned to about the final scale first and then rotate bilinearly.
// Consecutive transforms fold into one, so an image is resampled once however it was built.
//
// Clamping extends an image by repeating its edge pixels outward, so that an enlargement cropped
// back to size keeps its edge colours instead of fading into the transparency beyond them.
#include "../SpanOps.h"
#include "Builtins.h"
#include "Nodes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pimavo {

namespace {

class TransformNode : public RegionNode {
public:
    TransformNode(NodeRef input, const Transform2D& t)
        : RegionNode(input->extent().applying(t), {input}), transform_(t), inverse_(t.inverted()) {}
    const Transform2D& transform() const { return transform_; }

    // The image and the whole transform this node finishes applying (it may be the last of two steps).
    const NodeRef& source() const { return source_; }
    const Transform2D& total() const { return total_; }
    void setOrigin(NodeRef source, const Transform2D& total) {
        source_ = std::move(source);
        total_ = total;
    }

protected:
    NodeRef source_;
    Transform2D total_;
    Transform2D transform_, inverse_;
};

// The four pixels from p00 (and its right neighbour) and p01 (the row above, likewise), weighted.
inline void bilinear(const float* p00, const float* p01, float wx, float wy, float* dst) {
    for (int c = 0; c < 4; ++c) {
        const float top = p00[c] + (p00[c + 4] - p00[c]) * wx;
        const float bot = p01[c] + (p01[c + 4] - p01[c]) * wx;
        dst[c] = top + (bot - top) * wy;
    }
}

// Bilinear sampling through the inverse transform.
class AffineNode final : public TransformNode {
public:
    AffineNode(NodeRef input, const Transform2D& t) : TransformNode(std::move(input), t) {
        integerShift_ = t.a == 1 && t.b == 0 && t.c == 0 && t.d == 1 && t.tx == std::floor(t.tx) &&
                        t.ty == std::floor(t.ty);
    }
    const char* name() const override { return "affine-transform"; }

    IntRect regionOf(std::size_t, const IntRect& out) const override {
        if (out.isEmpty()) return {};
        if (integerShift_) return out.offsetBy(-int(transform_.tx), -int(transform_.ty));
        const RectF centres(out.x0 + 0.5, out.y0 + 0.5, out.width() - 1, out.height() - 1);
        return IntRect::enclosing(centres.applying(inverse_)).grownBy(1, 1);
    }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const IntRect& r = out.rect();
        const Tile* in = inputs[0].get();
        if (!in) {
            for (int y = r.y0; y < r.y1; ++y) std::fill_n(out.row(y), out.rowFloats(), 0.0f);
            return;
        }
        if (integerShift_) {
            const int dx = int(transform_.tx), dy = int(transform_.ty);
            for (int y = r.y0; y < r.y1; ++y) {
                SpanBuffer tmp;
                for (int x = r.x0; x < r.x1; x += kSpanWidth) {
                    const SpanPos pos{x, y, std::min(kSpanWidth, r.x1 - x)};
                    readSpan(in, {x - dx, y - dy, pos.n}, tmp);
                    writeSpan(tmp, pos, out);
                }
            }
            return;
        }
        const IntRect& ir = in->rect();
        const Transform2D& inv = inverse_;
        if (inv.b == 0 && inv.c == 0) {
            renderAxisAligned(*in, out);
            return;
        }
        for (int y = r.y0; y < r.y1; ++y) {
            float* dst = out.row(y);
            // Each position computed afresh (not stepped along the row), so that a pixel's value does
            // not depend on where its tile starts.
            const double rowX = inv.c * (y + 0.5) + inv.tx, rowY = inv.d * (y + 0.5) + inv.ty;
            for (int x = r.x0; x < r.x1; ++x, dst += 4) {
                const PointF p{inv.a * (x + 0.5) + rowX, inv.b * (x + 0.5) + rowY};
                const double u = p.x - 0.5, v = p.y - 0.5;
                const double fu = std::floor(u), fv = std::floor(v);
                const int i = int(fu), j = int(fv);
                const float wx = float(u - fu), wy = float(v - fv);
                if (i >= ir.x0 && j >= ir.y0 && i + 1 < ir.x1 && j + 1 < ir.y1) {
                    bilinear(in->pixel(i, j), in->pixel(i, j + 1), wx, wy, dst);
                } else {
                    sampleBilinear(*in, p.x, p.y, dst);
                }
            }
        }
    }

private:
    // Scales and flips: the sample column and its weight depend on x alone, the row on y alone, so
    // both are worked out once per tile. The arithmetic is the general path's, so the pixels are too.
    void renderAxisAligned(const Tile& in, Tile& out) const {
        const IntRect& r = out.rect();
        const IntRect& ir = in.rect();
        const Transform2D& inv = inverse_;
        const int n = r.width();
        std::vector<int> cols(n);
        std::vector<float> wxs(n);
        std::vector<double> px(n);
        std::vector<char> colInside(n);
        for (int k = 0; k < n; ++k) {
            const double x = inv.a * (r.x0 + k + 0.5) + inv.tx;
            const double u = x - 0.5, fu = std::floor(u);
            px[k] = x;
            cols[k] = int(fu);
            wxs[k] = float(u - fu);
            colInside[k] = cols[k] >= ir.x0 && cols[k] + 1 < ir.x1;
        }
        for (int y = r.y0; y < r.y1; ++y) {
            float* dst = out.row(y);
            const double py = inv.d * (y + 0.5) + inv.ty;
            const double v = py - 0.5, fv = std::floor(v);
            const int j = int(fv);
            const float wy = float(v - fv);
            const bool rowInside = j >= ir.y0 && j + 1 < ir.y1;
            const float* row0 = rowInside ? in.pixel(ir.x0, j) : nullptr;
            const float* row1 = rowInside ? in.pixel(ir.x0, j + 1) : nullptr;
            for (int k = 0; k < n; ++k, dst += 4) {
                if (rowInside && colInside[k]) {
                    const std::size_t at = std::size_t(cols[k] - ir.x0) * 4;
                    bilinear(row0 + at, row1 + at, wxs[k], wy, dst);
                } else {
                    sampleBilinear(in, px[k], py, dst);
                }
            }
        }
    }

    bool integerShift_ = false;
};

// Per output coordinate of one axis: the first input index and the weights of the inputs from there.
struct AxisWeights {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> offset;
    std::vector<float> weights;
    int lo = 0, hi = 0; // input indices used: [lo, hi)
};

// Output pixels [o0, o1) of an axis mapped by x_out = s x_in + t. Shrinks by more than 2× average the
// footprint with exact area weights; anything else is linear interpolation.
AxisWeights axisWeights(int o0, int o1, double s, double t) {
    AxisWeights w;
    w.lo = INT32_MAX, w.hi = INT32_MIN;
    const bool area = std::abs(s) < 0.5;
    for (int o = o0; o < o1; ++o) {
        w.offset.push_back(int(w.weights.size()));
        int first;
        if (area) {
            double a = (o - t) / s, b = (o + 1 - t) / s;
            if (a > b) std::swap(a, b);
            first = int(std::floor(a));
            const int last = int(std::ceil(b)); // exclusive
            const double len = b - a;
            for (int i = first; i < last; ++i) {
                const double overlap = std::min<double>(i + 1, b) - std::max<double>(i, a);
                w.weights.push_back(float(std::max(overlap, 0.0) / len));
            }
        } else {
            const double u = (o + 0.5 - t) / s - 0.5;
            first = int(std::floor(u));
            const float f = float(u - first);
            w.weights.push_back(1 - f);
            w.weights.push_back(f);
        }
        const int n = int(w.weights.size()) - w.offset.back();
        w.first.push_back(first);
        w.count.push_back(n);
        w.lo = std::min(w.lo, first);
        w.hi = std::max(w.hi, first + n);
    }
    return w;
}

// Axis-aligned transforms (scales, flips, translations) that shrink by more than 2× on an axis.
class ResampleNode final : public TransformNode {
public:
    using TransformNode::TransformNode;
    const char* name() const override { return "affine-transform (area)"; }

    IntRect regionOf(std::size_t, const IntRect& out) const override {
        if (out.isEmpty()) return {};
        const AxisWeights wx = axisWeights(out.x0, out.x1, transform_.a, transform_.tx);
        const AxisWeights wy = axisWeights(out.y0, out.y1, transform_.d, transform_.ty);
        return {wx.lo, wy.lo, wx.hi, wy.hi};
    }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const IntRect& r = out.rect();
        const Tile* in = inputs[0].get();
        const AxisWeights wx = axisWeights(r.x0, r.x1, transform_.a, transform_.tx);
        const AxisWeights wy = axisWeights(r.y0, r.y1, transform_.d, transform_.ty);
        const int cols = wx.hi - wx.lo;
        std::vector<float> acc(std::size_t(cols) * 4);
        for (int y = r.y0; y < r.y1; ++y) {
            // Vertical pass into one row of input width, then horizontal weights.
            std::fill(acc.begin(), acc.end(), 0.0f);
            const int k = y - r.y0;
            if (in) {
                const IntRect& ir = in->rect();
                const int c0 = std::max(wx.lo, ir.x0), c1 = std::min(wx.hi, ir.x1);
                for (int t = 0; t < wy.count[k]; ++t) {
                    const int sy = wy.first[k] + t;
                    const float wgt = wy.weights[wy.offset[k] + t];
                    if (sy < ir.y0 || sy >= ir.y1 || wgt == 0 || c1 <= c0) continue;
                    const float* src = in->pixel(c0, sy);
                    float* dst = acc.data() + std::size_t(c0 - wx.lo) * 4;
                    spanops::accumulate(dst, src, wgt, (c1 - c0) * 4);
                }
            }
            float* dst = out.row(y);
            for (int x = 0; x < r.width(); ++x, dst += 4) {
                float s[4] = {0, 0, 0, 0};
                const float* w = wx.weights.data() + wx.offset[x];
                const float* src = acc.data() + std::size_t(wx.first[x] - wx.lo) * 4;
                for (int t = 0; t < wx.count[x]; ++t, src += 4)
                    for (int c = 0; c < 4; ++c) s[c] += w[t] * src[c];
                for (int c = 0; c < 4; ++c) dst[c] = s[c];
            }
        }
    }

    bool cacheTiles() const override { return true; }
};

// Every pixel outside the input reads the nearest edge pixel: the input's pixels, extended without end.
class ClampNode final : public RegionNode {
public:
    explicit ClampNode(NodeRef input) : RegionNode(RectF::infinite(), {input}), box_(input->pixelExtent()) {}
    const char* name() const override { return "clamp to extent"; }

    IntRect regionOf(std::size_t, const IntRect& out) const override {
        if (out.isEmpty()) return {};
        return {clampX(out.x0), clampY(out.y0), clampX(out.x1 - 1) + 1, clampY(out.y1 - 1) + 1};
    }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const IntRect& r = out.rect();
        const Tile* in = inputs[0].get();
        if (!in) {
            for (int y = r.y0; y < r.y1; ++y) std::fill_n(out.row(y), out.rowFloats(), 0.0f);
            return;
        }
        // Columns inside the input are one copy per row; those beyond its sides repeat its edge.
        const int inside0 = std::clamp(box_.x0, r.x0, r.x1), inside1 = std::clamp(box_.x1, r.x0, r.x1);
        for (int y = r.y0; y < r.y1; ++y) {
            const int sy = clampY(y);
            float* dst = out.row(y);
            const float* left = in->pixel(clampX(r.x0), sy);
            const float* right = in->pixel(clampX(r.x1 - 1), sy);
            for (int x = r.x0; x < inside0; ++x) std::copy_n(left, 4, dst + std::size_t(x - r.x0) * 4);
            if (inside1 > inside0)
                std::copy_n(in->pixel(inside0, sy), std::size_t(inside1 - inside0) * 4,
                            dst + std::size_t(inside0 - r.x0) * 4);
            for (int x = inside1; x < r.x1; ++x) std::copy_n(right, 4, dst + std::size_t(x - r.x0) * 4);
        }
    }

private:
    int clampX(int x) const { return std::clamp(x, box_.x0, box_.x1 - 1); }
    int clampY(int y) const { return std::clamp(y, box_.y0, box_.y1 - 1); }
    IntRect box_;
};

// The node that applies `t` to `source`, recording both so that a later transform folds into it.
NodeRef makeTransform(NodeRef source, const Transform2D& t) {
    if (!std::isfinite(t.determinant()) || t.determinant() == 0) return makeCropNode(source, RectF::null());
    if (t.isIdentity()) return source;
    std::shared_ptr<TransformNode> node;
    const double sx = std::hypot(t.a, t.b), sy = std::hypot(t.c, t.d);
    const bool axisAligned = t.b == 0 && t.c == 0;
    if (source->extent().isInfinite()) {
        node = std::make_shared<AffineNode>(source, t); // a moved pattern; nothing to average
    } else if (axisAligned) {
        if (std::abs(t.a) < 0.5 || std::abs(t.d) < 0.5)
            node = std::make_shared<ResampleNode>(source, t);
        else
            node = std::make_shared<AffineNode>(source, t);
    } else if (sx < 0.5 || sy < 0.5) {
        // Shrink axis-aligned to the final scale, then apply what remains (a unit-scale rotation).
        const Transform2D shrink = Transform2D::scale(std::min(sx, 1.0), std::min(sy, 1.0));
        NodeRef small = std::make_shared<ResampleNode>(source, shrink);
        node = std::make_shared<AffineNode>(std::move(small), shrink.inverted().concat(t));
    } else {
        node = std::make_shared<AffineNode>(source, t);
    }
    node->setOrigin(std::move(source), t);
    return node;
}

} // namespace

NodeRef makeAffineTransformNode(NodeRef input, const Transform2D& transform) {
    if (!input) return nullptr;
    if (auto inner = std::dynamic_pointer_cast<const TransformNode>(input); inner && inner->source())
        return makeTransform(inner->source(), inner->total().concat(transform));
    return makeTransform(std::move(input), transform);
}

NodeRef makeClampNode(NodeRef input) {
    if (!input || input->extent().isInfinite() || input->pixelExtent().isEmpty()) return input;
    return std::make_shared<ClampNode>(std::move(input));
}

std::vector<BuiltinFilter> geometryFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;
    filters.push_back(
        {attributes("affine-transform", "CIAffineTransform", {"geometry"},
                    {image("inputImage"), transform("inputTransform", Transform2D::identity())}),
         [](const Operation& f) -> Image {
             Image img = f.imageInput("inputImage");
             auto t = f.transformInput("inputTransform");
             if (!img || !t) return {};
             return img.imageByApplyingTransform(*t);
         }});
    return filters;
}

} // namespace pimavo
