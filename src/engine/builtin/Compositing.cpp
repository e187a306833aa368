// Compositing and blending of two or three images, all point-wise on premultiplied values.
#include "../SpanOps.h"
#include "Builtins.h"
#include "Nodes.h"

#include <algorithm>

namespace pimavo {

namespace {

// out = B (1 − m) + F m with m the mask's green channel. Outside the mask m reads 0, which also
// crops F to the mask's extent.
class BlendWithMaskNode final : public PointWiseNode {
public:
    BlendWithMaskNode(NodeRef f, NodeRef b, NodeRef m)
        : PointWiseNode(f->extent().intersection(m->extent()).unionWith(b->extent()), {f, b, m}) {}
    const char* name() const override { return "blend-with-mask"; }

    // Only the mask's green is read, which an opaque-grey mask keeps in its one lane; an opaque-grey
    // background is blended from its one lane.
    bool takesGreyInput(std::size_t i) const override { return i == 1 || i == 2; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        const float* m = in[2]->opaqueGrey ? in[2]->r : in[2]->g;
        if (in[1]->opaqueGrey)
            spanops::blendWithMaskOnGrey(*in[0], in[1]->r, m, out, pos.n);
        else
            spanops::blendWithMask(*in[0], *in[1], m, out, pos.n);
    }
};

class SourceOverNode final : public PointWiseNode {
public:
    SourceOverNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().unionWith(d->extent()), {s, d}) {}
    const char* name() const override { return "source-over"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        spanops::sourceOver(*in[0], *in[1], out, pos.n);
    }
};

class SourceInNode final : public PointWiseNode {
public:
    SourceInNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().intersection(d->extent()), {s, d}) {}
    const char* name() const override { return "source-in"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        spanops::sourceIn(*in[0], *in[1], out, pos.n);
    }
};

// The source kept where a constant colour is: every component scaled by that colour's alpha. (A
// mask made fainter by the stroke's opacity takes this path on every brush event.)
class SourceInConstantNode final : public PointWiseNode {
public:
    SourceInConstantNode(NodeRef s, float alpha) : PointWiseNode(s->extent(), {s}), alpha_(alpha) {}
    const char* name() const override { return "source-in"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        spanops::scale(*in[0], alpha_, out, pos.n);
    }

private:
    float alpha_;
};

using spanops::BlendMode;

// Separable blend modes: B(s, d) on unpremultiplied colour, clamped, then composed as
// B·Sa·Da + S (1 − Da) + D (1 − Sa).
template <BlendMode Mode> class BlendModeNode final : public PointWiseNode {
public:
    BlendModeNode(NodeRef s, NodeRef d) : PointWiseNode(s->extent().unionWith(d->extent()), {s, d}) {}
    const char* name() const override {
        return Mode == BlendMode::Multiply ? "multiply-blend" : "overlay-blend";
    }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        spanops::blendMode(Mode, *in[0], *in[1], out, pos.n);
    }
};

const std::vector<std::string> kCompositeCategories = {"composite"};

template <typename Node> BuiltinFilter twoImageFilter(const char* name, const char* formerName) {
    using namespace decl;
    return {attributes(name, formerName, kCompositeCategories,
                       {image("inputImage"), image("inputBackgroundImage")}),
            [](const Operation& f) -> Image {
                Image s = f.imageInput("inputImage"), d = f.imageInput("inputBackgroundImage");
                if (!s || !d) return {};
                return Image(std::make_shared<Node>(s.node(), d.node()));
            }};
}

} // namespace

std::vector<BuiltinFilter> compositingFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;
    filters.push_back(
        {attributes("blend-with-mask", "CIBlendWithMask", kCompositeCategories,
                    {image("inputImage"), image("inputBackgroundImage"), image("inputMaskImage")}),
         [](const Operation& f) -> Image {
             Image fg = f.imageInput("inputImage"), bg = f.imageInput("inputBackgroundImage"),
                   mask = f.imageInput("inputMaskImage");
             if (!fg || !bg || !mask) return {};
             return Image(std::make_shared<BlendWithMaskNode>(fg.node(), bg.node(), mask.node()));
         }});
    filters.push_back(
        twoImageFilter<BlendModeNode<BlendMode::Multiply>>("multiply-blend", "CIMultiplyBlendMode"));
    filters.push_back(
        twoImageFilter<BlendModeNode<BlendMode::Overlay>>("overlay-blend", "CIOverlayBlendMode"));
    filters.push_back(twoImageFilter<SourceOverNode>("source-over", "CISourceOverCompositing"));
    BuiltinFilter sourceIn = twoImageFilter<SourceInNode>("source-in", "CISourceInCompositing");
    sourceIn.build = [general = sourceIn.build](const Operation& f) -> Image {
        Image s = f.imageInput("inputImage"), d = f.imageInput("inputBackgroundImage");
        if (s && d)
            if (auto c = constantColorOf(d.node()))
                return Image(std::make_shared<SourceInConstantNode>(s.node(), (*c)[3]));
        return general(f);
    };
    filters.push_back(std::move(sourceIn));
    return filters;
}

} // namespace pimavo
