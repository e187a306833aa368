// Leaves of the graph (bitmaps, constant colours) and cropping.
#include "../PixelFormat.h"
#include "../SpanOps.h"
#include "Nodes.h"

#include <algorithm>

namespace pimavo {

namespace {

class BitmapNode final : public PointWiseNode {
public:
    explicit BitmapNode(BitmapRef bitmap)
        : PointWiseNode(RectF(0, 0, bitmap->width(), bitmap->height()), {}), bitmap_(std::move(bitmap)),
          codec_(PixelCodec::forLayout(bitmap_->layout())) {}

    const char* name() const override { return "bitmap"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        const int from = std::clamp(-pos.x, 0, pos.n);
        const int to = std::clamp(bitmap_->width() - pos.x, 0, pos.n);
        if (pos.y < 0 || pos.y >= bitmap_->height() || to <= from) return; // cleared by the evaluator
        const int bpp = codec_.bytesPerPixel();
        const std::size_t offset = std::size_t(pos.x + from) * bpp;
        const std::byte* row = bitmap_->row(bitmap_->height() - 1 - pos.y); // rows are stored top-down
        // Spans go up a tile row by row; the row above is next, and far away in memory.
        if (pos.y + 1 < bitmap_->height()) {
            const std::byte* next = bitmap_->row(bitmap_->height() - 2 - pos.y) + offset;
            for (int b = 0; b < (to - from) * bpp; b += 64) __builtin_prefetch(next + b);
        }
        loadPixels(codec_, row + offset, to - from, out, from);
    }

private:
    BitmapRef bitmap_;
    PixelCodec codec_;
};

class ConstantColorNode final : public PointWiseNode {
public:
    explicit ConstantColorNode(const Rgba& c)
        : PointWiseNode(RectF::infinite(), {}), premul_{float(c.red * c.alpha), float(c.green * c.alpha),
                                                        float(c.blue * c.alpha), float(c.alpha)} {}

    const char* name() const override { return "constant colour"; }
    const float* premultiplied() const { return premul_; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        std::fill_n(out.r, pos.n, premul_[0]);
        std::fill_n(out.g, pos.n, premul_[1]);
        std::fill_n(out.b, pos.n, premul_[2]);
        std::fill_n(out.a, pos.n, premul_[3]);
    }

private:
    float premul_[4];
};

class EmptyNode final : public PointWiseNode {
public:
    EmptyNode() : PointWiseNode(RectF::null(), {}) {}
    const char* name() const override { return "empty"; }
    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        out.clear(pos.n);
    }
};

// The evaluator already makes everything outside a node's extent transparent, so cropping is
// a copy with a smaller extent.
class CropNode final : public PointWiseNode {
public:
    CropNode(NodeRef input, const RectF& rect) : PointWiseNode(input->extent().intersection(rect), {input}) {}

    const char* name() const override { return "crop"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        spanops::copy(*in[0], out, pos.n);
    }
};

} // namespace

NodeRef makeBitmapNode(BitmapRef bitmap) {
    if (!bitmap || bitmap->isNull() || !bitmap->layout().isValid()) return nullptr;
    return std::make_shared<BitmapNode>(std::move(bitmap));
}

NodeRef makeConstantColorNode(const Rgba& color) {
    return std::make_shared<ConstantColorNode>(color);
}

NodeRef makeEmptyNode() {
    return std::make_shared<EmptyNode>();
}

std::optional<std::array<float, 4>> constantColorOf(const NodeRef& node) {
    const auto* c = dynamic_cast<const ConstantColorNode*>(node.get());
    if (!c) return std::nullopt;
    const float* p = c->premultiplied();
    return std::array<float, 4>{p[0], p[1], p[2], p[3]};
}

NodeRef makeCropNode(NodeRef input, const RectF& rect) {
    if (!input) return nullptr;
    if (rect.contains(input->extent())) return input;
    return std::make_shared<CropNode>(std::move(input), rect);
}

} // namespace pimavo
