#include "CIImageAccumulator.h"

#include "Evaluator.h"

#include <algorithm>
#include <cstring>

namespace pimavo {

// Rows bottom-up, kTileSize pixels per row whatever the tile's real width.
struct CIImageAccumulator::TileData {
    explicit TileData(std::size_t bytes)
        : px(std::make_unique_for_overwrite<std::byte[]>(bytes)), size(bytes) {}
    std::unique_ptr<std::byte[]> px;
    std::size_t size;
};

namespace {

constexpr int kT = CIImageAccumulator::kTileSize;

class AccumulatorNode final : public PointWiseNode {
public:
    AccumulatorNode(const IntRect& extent, CIFormat format, const PixelCodec& codec, int tilesX,
                    std::shared_ptr<const CIImageAccumulator::Tiles> tiles)
        : PointWiseNode(extent.toCGRect(), {}), extent_(extent), format_(format), codec_(codec),
          tilesX_(tilesX), tiles_(std::move(tiles)) {}

    // Whether a buffer of that extent and format can take this snapshot's tiles as they are.
    bool sharesLayout(const IntRect& extent, CIFormat format) const {
        return extent == extent_ && format == format_;
    }
    const CIImageAccumulator::Tiles& tiles() const { return *tiles_; }

    const char* name() const override { return "accumulator"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        if (pos.y < extent_.y0 || pos.y >= extent_.y1) return;
        const int ty = (pos.y - extent_.y0) / kT;
        const int rowInTile = (pos.y - extent_.y0) % kT;
        const int bpp = codec_.bytesPerPixel();
        int x = std::max(pos.x, extent_.x0);
        const int end = std::min(pos.x + pos.n, extent_.x1);
        while (x < end) {
            const int tx = (x - extent_.x0) / kT;
            const int tileX0 = extent_.x0 + tx * kT;
            const int stop = std::min(end, tileX0 + kT);
            const auto& tile = (*tiles_)[std::size_t(ty) * tilesX_ + tx];
            const int offset = x - pos.x;
            if (tile) {
                const std::byte* src = tile->px.get() + (std::size_t(rowInTile) * kT + (x - tileX0)) * bpp;
                if (rowInTile + 1 < kT)
                    for (int b = 0; b < (stop - x) * bpp; b += 64) __builtin_prefetch(src + kT * bpp + b);
                loadPixels(codec_, src, stop - x, out, offset);
            } else {
                out.clear(offset, offset + (stop - x));
            }
            x = stop;
        }
    }

private:
    IntRect extent_;
    CIFormat format_;
    PixelCodec codec_;
    int tilesX_;
    std::shared_ptr<const CIImageAccumulator::Tiles> tiles_;
};

} // namespace

std::shared_ptr<CIImageAccumulator> CIImageAccumulator::imageAccumulatorWithExtent(const CGRect& extent,
                                                                                   CIFormat format) {
    if (extent.isEmpty() || extent.isInfinite()) return nullptr;
    if (format != CIFormat::RGBA16 && format != CIFormat::ARGB8) return nullptr;
    const IntRect r = IntRect::covering(extent.integral());
    if (r.isEmpty()) return nullptr;
    return std::make_shared<CIImageAccumulator>(r, format);
}

CIImageAccumulator::CIImageAccumulator(const IntRect& extent, CIFormat format)
    : extent_(extent), format_(format), codec_(PixelCodec::forFormat(format)),
      tilesX_((extent.width() + kT - 1) / kT), tilesY_((extent.height() + kT - 1) / kT),
      tiles_(std::make_shared<Tiles>(std::size_t(tilesX_) * tilesY_)) {}

IntRect CIImageAccumulator::tileRect(int index) const {
    const int tx = index % tilesX_, ty = index / tilesX_;
    return IntRect::fromXYWH(extent_.x0 + tx * kT, extent_.y0 + ty * kT, kT, kT).intersection(extent_);
}

CIImage CIImageAccumulator::image() const {
    return CIImage(std::make_shared<AccumulatorNode>(extent_, format_, codec_, tilesX_, tiles_));
}

void CIImageAccumulator::setImage(const CIImage& image) {
    setImage(image, extent());
}

void CIImageAccumulator::setImage(const CIImage& image, const CGRect& dirtyRect) {
    if (!image) return;
    const IntRect dirty = IntRect::enclosing(dirtyRect).intersection(extent_);
    if (dirty.isEmpty()) return;

    // A snapshot holds the tile list: write into a copy of it.
    if (tiles_.use_count() > 1) tiles_ = std::make_shared<Tiles>(*tiles_);
    // A snapshot of a buffer like this one gives its whole tiles as they are, shared: restoring a
    // mask from undo, or keeping most of one, costs no pixels.
    const auto* source = dynamic_cast<const AccumulatorNode*>(image.node().get());
    if (source && !source->sharesLayout(extent_, format_)) source = nullptr;

    const int tx0 = (dirty.x0 - extent_.x0) / kT, tx1 = (dirty.x1 - 1 - extent_.x0) / kT;
    const int ty0 = (dirty.y0 - extent_.y0) / kT, ty1 = (dirty.y1 - 1 - extent_.y0) / kT;
    std::vector<int> indices;
    std::vector<IntRect> parts;
    for (int ty = ty0; ty <= ty1; ++ty) {
        for (int tx = tx0; tx <= tx1; ++tx) {
            const int index = ty * tilesX_ + tx;
            const IntRect part = tileRect(index).intersection(dirty);
            if (source && part == tileRect(index)) {
                (*tiles_)[index] = source->tiles()[index];
                continue;
            }
            indices.push_back(index);
            parts.push_back(part);
        }
    }
    if (parts.empty()) return;
    const int bpp = codec_.bytesPerPixel();
    const std::size_t tileBytes = std::size_t(kT) * kT * bpp;
    Tiles& tiles = *tiles_;
    // Each task prepares its own tile (copying it when shared), then renders into it.
    eval::renderRects(image.node(), parts, [&](std::size_t i) {
        const int index = indices[i];
        std::shared_ptr<TileData>& tile = tiles[index];
        const IntRect whole = tileRect(index);
        if (!tile || tile.use_count() > 1) {
            auto fresh = std::make_shared<TileData>(tileBytes);
            if (parts[i] != whole) {
                if (tile)
                    std::memcpy(fresh->px.get(), tile->px.get(), tileBytes);
                else
                    std::memset(fresh->px.get(), 0, tileBytes);
            }
            tile = std::move(fresh);
        }
        const int tileX0 = extent_.x0 + (index % tilesX_) * kT, tileY0 = extent_.y0 + (index / tilesX_) * kT;
        return PixelStore{codec_, tile->px.get(), std::ptrdiff_t(kT) * bpp, tileX0, tileY0};
    });
}

void CIImageAccumulator::clear() {
    tiles_ = std::make_shared<Tiles>(std::size_t(tilesX_) * tilesY_);
}

} // namespace pimavo
