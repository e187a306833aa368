#include "Kernel.h"

#include "kernel/KernelCompiler.h"
#include "kernel/NativeKernels.h"

#include <cmath>

namespace pimavo {

namespace {

struct KernelBinding {
    std::shared_ptr<const KernelProgram> program;
    std::vector<KernelArgument> arguments;
    std::vector<RectF> samplerExtents;
    std::vector<Transform2D> samplerTransforms;
    std::vector<float> userInfo;
    std::vector<float> prepared;
};

KernelSpanContext contextFor(const KernelBinding& k, const SpanPos& pos) {
    KernelSpanContext c;
    c.pos = pos;
    c.arguments = k.arguments;
    c.samplerExtents = k.samplerExtents;
    c.samplerTransforms = k.samplerTransforms;
    c.userInfo = &k.userInfo;
    c.prepared = k.prepared;
    return c;
}

class PointWiseKernelNode final : public PointWiseNode {
public:
    PointWiseKernelNode(const RectF& extent, std::vector<NodeRef> inputs, KernelBinding binding)
        : PointWiseNode(extent, std::move(inputs)), k_(std::move(binding)) {}

    const char* name() const override { return k_.program->name().c_str(); }
    const KernelBinding& binding() const { return k_; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        KernelSpanContext c = contextFor(k_, pos);
        c.samples = in;
        k_.program->evalSpan(c, out);
    }

private:
    KernelBinding k_;
};

class TileSamplerAccess final : public SamplerAccess {
public:
    explicit TileSamplerAccess(std::span<const TileRef> tiles) : tiles_(tiles) {}

    void sample(int sampler, const float* xs, const float* ys, int n, SpanBuffer& out) const override {
        const Tile* t =
            sampler >= 0 && std::size_t(sampler) < tiles_.size() ? tiles_[sampler].get() : nullptr;
        if (!t) {
            out.clear(n);
            return;
        }
        float px[4];
        for (int i = 0; i < n; ++i) {
            sampleBilinear(*t, xs[i], ys[i], px);
            out.r[i] = px[0], out.g[i] = px[1], out.b[i] = px[2], out.a[i] = px[3];
        }
    }

private:
    std::span<const TileRef> tiles_;
};

class RegionKernelNode final : public RegionNode {
public:
    RegionKernelNode(const RectF& extent, std::vector<NodeRef> inputs, KernelBinding binding,
                     Kernel::RegionOfInterest roi)
        : RegionNode(extent, std::move(inputs)), k_(std::move(binding)), roi_(std::move(roi)) {}

    const char* name() const override { return k_.program->name().c_str(); }
    bool cacheTiles() const override { return true; }

    IntRect regionOf(std::size_t i, const IntRect& out) const override {
        if (out.isEmpty()) return {};
        RectF r = out.toCGRect();
        if (roi_)
            r = roi_(int(i), r);
        else
            r = r.applying(k_.samplerTransforms[i]);
        // Bilinear reads touch one more pixel on each side.
        return IntRect::enclosing(r).grownBy(1, 1);
    }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const TileSamplerAccess access(inputs);
        const IntRect& r = out.rect();
        SpanBuffer span;
        for (int y = r.y0; y < r.y1; ++y) {
            for (int x = r.x0; x < r.x1; x += kSpanWidth) {
                const SpanPos pos{x, y, std::min(kSpanWidth, r.x1 - x)};
                KernelSpanContext c = contextFor(k_, pos);
                c.access = &access;
                k_.program->evalSpan(c, span);
                writeSpan(span, pos, out);
            }
        }
    }

private:
    KernelBinding k_;
    Kernel::RegionOfInterest roi_;
};

} // namespace

std::vector<Kernel> Kernel::kernelsWithString(const std::string& text, const std::string& resourceName,
                                              std::string* error) {
    using namespace kernel;
    std::vector<Token> tokens;
    std::vector<KernelDecl> decls;
    CompileError e;
    std::vector<Kernel> out;
    auto report = [&] {
        if (error)
            *error = resourceName + ":" + std::to_string(e.pos.line) + ":" + std::to_string(e.pos.column) +
                     ": " + e.message;
        return std::vector<Kernel>{};
    };
    if (!tokenize(text, tokens, e) || !parseKernels(tokens, decls, e)) return report();
    for (const KernelDecl& d : decls) {
        auto program = compileKernel(d, e);
        if (!program) return report();
        out.emplace_back(withNativeLoop(std::move(program)));
    }
    return out;
}

Image Kernel::apply(const RectF& extent, const std::vector<KernelArgument>& arguments,
                    const KernelApplyOptions& options, RegionOfInterest roi) const {
    if (!program_) return {};
    KernelBinding binding{program_, arguments, {}, {}, options.userInfo, {}};
    std::vector<NodeRef> inputs;
    bool identityTransforms = true;
    for (const KernelArgument& a : arguments) {
        if (const Sampler* s = std::get_if<Sampler>(&a)) {
            if (!s->image()) return {};
            // A sampler the program never reads stands in as an empty image: nothing to compute.
            const bool read = program_->readsSampler(int(inputs.size()));
            inputs.push_back(read ? s->image().node() : Image::emptyImage().node());
            binding.samplerExtents.push_back(s->extent());
            binding.samplerTransforms.push_back(s->transform());
            identityTransforms = identityTransforms && s->transform().isIdentity();
        }
    }
    binding.prepared =
        program_->prepare(binding.arguments, binding.samplerExtents, binding.samplerTransforms);
    RectF e = extent;
    if (!options.definition.isNull()) e = e.intersection(options.definition);
    if (program_->isPointWise() && identityTransforms && !roi)
        return Image(std::make_shared<PointWiseKernelNode>(e, std::move(inputs), std::move(binding)));
    return Image(
        std::make_shared<RegionKernelNode>(e, std::move(inputs), std::move(binding), std::move(roi)));
}

KernelApplication kernelApplicationOf(const Image& image) {
    const auto* node = dynamic_cast<const PointWiseKernelNode*>(image.node().get());
    if (!node) return {};
    return {node->binding().program.get(), node->binding().arguments, node->inputs()};
}

} // namespace pimavo
