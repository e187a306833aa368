// The nodes of the lazy image graph.
//
// Every node is immutable once built and states its work in one of three shapes:
//
// - PointWise: output pixel (x, y) depends only on the inputs' pixels at (x, y) (and on the position
//   itself, for generators). Such nodes are fused: a chain or graph of them runs as one pass over a
//   span of pixels, each node evaluated once per span however many consumers it has.
// - Region: output rectangle R needs input rectangles regionOf(i, R), a pure function of R; the node
//   then fills R from its inputs' tiles. Transforms, pixellation and kernels that sample elsewhere.
// - Block: the node computes its whole output at once (recursive blurs, whose result for a pixel
//   depends on entire rows and columns). The block is computed once, cached, and read from by tiles,
//   so rendering in tiles gives exactly the pixels of rendering whole.
//
// Outside its extent a node reads as transparent; the evaluator guarantees that, so a node only
// computes the pixels inside its extent.
#pragma once

#include "Geometry.h"
#include "Tile.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pimavo {

class ImageNode;
using NodeRef = std::shared_ptr<const ImageNode>;

// Rows of an input, computed on demand, for block nodes that read their input once, row by row,
// and need not hold it whole. Thread-safe.
class RowSource {
public:
    virtual ~RowSource() = default;
    // Pixels [x0, x1) of row y as float RGBA into dst (transparent outside the input).
    virtual void readRow(int y, int x0, int x1, float* dst) const = 0;
};

class ImageNode {
public:
    enum class Kind { PointWise, Region, Block };

    ImageNode(RectF extent, std::vector<NodeRef> inputs);
    virtual ~ImageNode();
    ImageNode(const ImageNode&) = delete;
    ImageNode& operator=(const ImageNode&) = delete;

    virtual Kind kind() const = 0;
    // The operation's name, for diagnostics.
    virtual const char* name() const = 0;

    const RectF& extent() const { return extent_; }
    // The pixels the extent covers.
    const IntRect& pixelExtent() const { return pixelExtent_; }
    const std::vector<NodeRef>& inputs() const { return inputs_; }
    // Unique for the life of the process; keys the tile cache.
    uint64_t id() const { return id_; }

    // PointWise: computes `out` for the span from the inputs' values at the same pixels.
    virtual void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> inputs,
                          SpanBuffer& out) const;

    // PointWise: whether evalSpan reads input `i` correctly when it arrives as an opaque-grey span
    // (SpanBuffer::opaqueGrey, only `r` written).
    virtual bool takesGreyInput(std::size_t i) const {
        (void)i;
        return false;
    }

    // PointWise without inputs, optionally: when every pixel of the span is opaque grey (v, v, v, 1),
    // writes the values v and answers true; otherwise answers false. Lets a consumer that reads such
    // a node itself (not through the graph) work on one lane instead of four.
    virtual bool evalGreySpan(const SpanPos& pos, float* values) const {
        (void)pos, (void)values;
        return false;
    }

    // Region: the rectangle of input `i` needed to compute `out`.
    virtual IntRect regionOf(std::size_t i, const IntRect& out) const;
    // Region: fills `out` (whose rectangle lies inside the extent) from tiles of the inputs that
    // cover at least regionOf(i, out.rect()), transparent outside their rectangles.
    virtual void renderRegion(std::span<const TileRef> inputs, Tile& out) const;
    // Region: whether rendered tiles are worth keeping in the cache.
    virtual bool cacheTiles() const { return false; }

    // Block: the rectangle of input `i` the whole output needs.
    virtual IntRect blockInputRect(std::size_t i) const;
    // Block: computes the whole output, a tile covering the pixel extent.
    virtual Tile renderBlock(std::span<const TileRef> inputs) const;
    // Block with one input that it reads row by row: the evaluator then streams the input's rows
    // (from `inputRect`) instead of rendering it whole first.
    virtual bool streamsInput() const { return false; }
    virtual Tile renderBlockFromRows(const RowSource& input, const IntRect& inputRect) const;

    // Set once a tile of this node went into the cache, so that destruction purges it.
    void markCached() const { cached_.store(true, std::memory_order_relaxed); }

private:
    RectF extent_;
    IntRect pixelExtent_;
    std::vector<NodeRef> inputs_;
    uint64_t id_;
    mutable std::atomic<bool> cached_{false};
};

class PointWiseNode : public ImageNode {
public:
    using ImageNode::ImageNode;
    Kind kind() const override { return Kind::PointWise; }
};

class RegionNode : public ImageNode {
public:
    using ImageNode::ImageNode;
    Kind kind() const override { return Kind::Region; }
};

class BlockNode : public ImageNode {
public:
    using ImageNode::ImageNode;
    Kind kind() const override { return Kind::Block; }
};

} // namespace pimavo
