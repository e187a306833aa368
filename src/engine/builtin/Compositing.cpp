// Compositing and blending of two or three images, all point-wise on premultiplied values.
#include <algorithm>

#include "Builtins.h"
#include "Nodes.h"

namespace pimavo {

namespace {

// out = B (1 − m) + F m with m the mask's green channel. Outside the mask m reads 0, which also
// crops F to the mask's extent.
class BlendWithMaskNode final : public PointWiseNode {
public:
    BlendWithMaskNode(NodeRef f, NodeRef b, NodeRef m)
        : PointWiseNode(f->extent().intersection(m->extent()).unionWith(b->extent()), {f, b, m}) {}
    const char* name() const override { return "CIBlendWithMask"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        const SpanBuffer &F = *in[0], &B = *in[1], &M = *in[2];
        for (int i = 0; i < pos.n; ++i) {
            const float m = M.g[i];
            out.r[i] = B.r[i] + (F.r[i] - B.r[i]) * m;
            out.g[i] = B.g[i] + (F.g[i] - B.g[i]) * m;
            out.b[i] = B.b[i] + (F.b[i] - B.b[i]) * m;
            out.a[i] = B.a[i] + (F.a[i] - B.a[i]) * m;
        }
    }
};

class SourceOverNode final : public PointWiseNode {
public:
    SourceOverNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().unionWith(d->extent()), {s, d}) {}
    const char* name() const override { return "CISourceOverCompositing"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        const SpanBuffer &S = *in[0], &D = *in[1];
        for (int i = 0; i < pos.n; ++i) {
            const float k = 1.0f - S.a[i];
            out.r[i] = S.r[i] + D.r[i] * k;
            out.g[i] = S.g[i] + D.g[i] * k;
            out.b[i] = S.b[i] + D.b[i] * k;
            out.a[i] = S.a[i] + D.a[i] * k;
        }
    }
};

class SourceInNode final : public PointWiseNode {
public:
    SourceInNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().intersection(d->extent()), {s, d}) {}
    const char* name() const override { return "CISourceInCompositing"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        const SpanBuffer &S = *in[0], &D = *in[1];
        for (int i = 0; i < pos.n; ++i) {
            const float k = D.a[i];
            out.r[i] = S.r[i] * k;
            out.g[i] = S.g[i] * k;
            out.b[i] = S.b[i] * k;
            out.a[i] = S.a[i] * k;
        }
    }
};

enum class BlendMode { Multiply, Overlay };

// Separable blend modes: B(s, d) on unpremultiplied colour, clamped, then composed as
// B·Sa·Da + S (1 − Da) + D (1 − Sa).
template <BlendMode Mode>
class BlendModeNode final : public PointWiseNode {
public:
    BlendModeNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().unionWith(d->extent()), {s, d}) {}
    const char* name() const override {
        return Mode == BlendMode::Multiply ? "CIMultiplyBlendMode" : "CIOverlayBlendMode";
    }

    static float blend(float s, float d) {
        float v;
        if constexpr (Mode == BlendMode::Multiply)
            v = s * d;
        else
            v = d <= 0.5f ? 2 * s * d : 1 - 2 * (1 - s) * (1 - d);
        return std::clamp(v, 0.0f, 1.0f);
    }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        const SpanBuffer &S = *in[0], &D = *in[1];
        const float* sc[3] = {S.r, S.g, S.b};
        const float* dc[3] = {D.r, D.g, D.b};
        float* oc[3] = {out.r, out.g, out.b};
        for (int i = 0; i < pos.n; ++i) {
            const float sa = S.a[i], da = D.a[i];
            const float sInv = 1.0f / std::max(sa, 1e-5f), dInv = 1.0f / std::max(da, 1e-5f);
            for (int c = 0; c < 3; ++c) {
                const float B = blend(sc[c][i] * sInv, dc[c][i] * dInv);
                oc[c][i] = B * sa * da + sc[c][i] * (1 - da) + dc[c][i] * (1 - sa);
            }
            out.a[i] = sa + da - sa * da;
        }
    }
};

const std::vector<std::string> kCompositeCategories = {"CICategoryCompositeOperation", "CICategoryVideo",
                                                       "CICategoryStillImage"};

template <typename Node>
BuiltinFilter twoImageFilter(const char* name) {
    using namespace decl;
    return {attributes(name, kCompositeCategories, {image("inputImage"), image("inputBackgroundImage")}),
            [](const CIFilter& f) -> CIImage {
                CIImage s = f.imageInput("inputImage"), d = f.imageInput("inputBackgroundImage");
                if (!s || !d) return {};
                return CIImage(std::make_shared<Node>(s.node(), d.node()));
            }};
}

} // namespace

std::vector<BuiltinFilter> compositingFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> f;
    f.push_back({attributes("CIBlendWithMask", kCompositeCategories,
                            {image("inputImage"), image("inputBackgroundImage"), image("inputMaskImage")}),
                 [](const CIFilter& f) -> CIImage {
                     CIImage fg = f.imageInput("inputImage"), bg = f.imageInput("inputBackgroundImage"),
                             mask = f.imageInput("inputMaskImage");
                     if (!fg || !bg || !mask) return {};
                     return CIImage(std::make_shared<BlendWithMaskNode>(fg.node(), bg.node(), mask.node()));
                 }});
    f.push_back(twoImageFilter<BlendModeNode<BlendMode::Multiply>>("CIMultiplyBlendMode"));
    f.push_back(twoImageFilter<BlendModeNode<BlendMode::Overlay>>("CIOverlayBlendMode"));
    f.push_back(twoImageFilter<SourceOverNode>("CISourceOverCompositing"));
    f.push_back(twoImageFilter<SourceInNode>("CISourceInCompositing"));
    return f;
}

} // namespace pimavo
