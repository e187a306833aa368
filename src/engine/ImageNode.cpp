#include "ImageNode.h"

#include "TileCache.h"

#include <cassert>

namespace pimavo {

namespace {
std::atomic<uint64_t> gNextNodeId{1};
}

ImageNode::ImageNode(RectF extent, std::vector<NodeRef> inputs)
    : extent_(extent), pixelExtent_(IntRect::covering(extent)), inputs_(std::move(inputs)),
      id_(gNextNodeId.fetch_add(1, std::memory_order_relaxed)) {}

ImageNode::~ImageNode() {
    if (cached_.load(std::memory_order_relaxed)) TileCache::shared().purgeNode(id_);
}

void ImageNode::evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const {
    assert(false && "evalSpan called on a node that is not point-wise");
    out.clear(pos.n);
}

IntRect ImageNode::regionOf(std::size_t, const IntRect& out) const {
    return out;
}

void ImageNode::renderRegion(std::span<const TileRef>, Tile& out) const {
    assert(false && "renderRegion called on a node that is not a region node");
    for (int y = out.rect().y0; y < out.rect().y1; ++y) std::fill_n(out.row(y), out.rowFloats(), 0.0f);
}

IntRect ImageNode::blockInputRect(std::size_t i) const {
    return inputs_[i]->pixelExtent();
}

Tile ImageNode::renderBlock(std::span<const TileRef>) const {
    assert(false && "renderBlock called on a node that is not a block node");
    return Tile::zeroed(pixelExtent_);
}

Tile ImageNode::renderBlockFromRows(const RowSource&, const IntRect&) const {
    assert(false && "renderBlockFromRows called on a node that does not stream its input");
    return Tile::zeroed(pixelExtent_);
}

} // namespace pimavo
