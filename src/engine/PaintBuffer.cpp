#include "PaintBuffer.h"

#include "Cancellation.h"
#include "Evaluator.h"

#include <algorithm>
#include <cstring>

namespace pimavo {

// Rows bottom-up, kTileSize pixels per row whatever the tile's real width. A 16-bit tile keeps its
// values as compactly as they allow: one per pixel while its pixels are all opaque grey (a mask, a
// black-and-white background), one byte per component while every value is an 8-bit level (a photo
// read from an 8-bit file), three 16-bit planes per row while every pixel is opaque (a photo at the
// working size), four interleaved 16-bit components otherwise. Values are the 16-bit values
// whatever the form; the smaller forms save memory, and work on every render that reads the tile.
struct PaintBuffer::TileData {
    enum class Form : uint8_t { Grey, Bytes, Opaque, Full };
    static constexpr std::size_t kPixels = std::size_t(kTileSize) * kTileSize;

    TileData(Form tileForm, int fullBytesPerPixel)
        : form(tileForm), size(kPixels * (tileForm == Form::Grey     ? 2
                                          : tileForm == Form::Bytes  ? 4
                                          : tileForm == Form::Opaque ? 6
                                                                     : fullBytesPerPixel)),
          px(std::make_unique_for_overwrite<std::byte[]>(size)) {}
    TileData(const TileData& other)
        : form(other.form), size(other.size), px(std::make_unique_for_overwrite<std::byte[]>(size)) {
        std::memcpy(px.get(), other.px.get(), size);
    }
    Form form;
    std::size_t size;
    std::unique_ptr<std::byte[]> px;

    uint16_t* grey() const { return reinterpret_cast<uint16_t*>(px.get()); }
    uint8_t* bytes() const { return reinterpret_cast<uint8_t*>(px.get()); }
    const uint16_t* greyRow(int row) const { return grey() + std::size_t(row) * kTileSize; }
    // The red plane of an opaque tile's row; green and blue follow it, kTileSize values apart.
    uint16_t* planes(int row) const { return grey() + std::size_t(row) * 3 * kTileSize; }

    // Leave grey for bytes, keeping the first `keep` pixels (the others are about to be written), when
    // those are 8-bit levels; answers whether it did.
    bool toBytes(std::size_t keep) {
        auto wider = std::make_unique_for_overwrite<std::byte[]>(kPixels * 4);
        if (!greyToBytes(grey(), int(keep), reinterpret_cast<uint8_t*>(wider.get()))) return false;
        px = std::move(wider);
        size = kPixels * 4;
        form = Form::Bytes;
        return true;
    }
    // Leave grey or bytes for opaque planes, keeping the first `keep` pixels, when those are opaque;
    // answers whether it did.
    bool toOpaque(std::size_t keep) {
        const uint8_t* b = bytes();
        if (form == Form::Bytes)
            for (std::size_t i = 0; i < keep; ++i)
                if (b[4 * i + 3] != 255) return false;
        auto wider = std::make_unique_for_overwrite<std::byte[]>(kPixels * 6);
        uint16_t* planes = reinterpret_cast<uint16_t*>(wider.get());
        for (std::size_t i = 0; i < keep; ++i) {
            uint16_t* row = planes + (i / kTileSize) * 3 * kTileSize + i % kTileSize;
            for (int c = 0; c < 3; ++c)
                row[c * kTileSize] = form == Form::Grey ? grey()[i] : uint16_t(b[4 * i + c] * 257);
        }
        px = std::move(wider);
        size = kPixels * 6;
        form = Form::Opaque;
        return true;
    }
    // Leave any compact form for four 16-bit components, keeping the first `keep` pixels.
    void toFull(std::size_t keep) {
        auto full = std::make_unique_for_overwrite<std::byte[]>(kPixels * 8);
        uint16_t* rgba = reinterpret_cast<uint16_t*>(full.get());
        if (form == Form::Grey) {
            expandGrey16(grey(), int(keep), rgba);
        } else if (form == Form::Bytes) {
            expandBytes16(bytes(), int(keep), rgba);
        } else {
            for (std::size_t i = 0; i < keep; ++i) {
                const uint16_t* row = planes(int(i / kTileSize)) + i % kTileSize;
                for (int c = 0; c < 3; ++c) rgba[4 * i + c] = row[c * kTileSize];
                rgba[4 * i + 3] = 65535;
            }
        }
        px = std::move(full);
        size = kPixels * 8;
        form = Form::Full;
    }
};

namespace {

constexpr int kT = PaintBuffer::kTileSize;

class AccumulatorNode final : public PointWiseNode {
public:
    AccumulatorNode(const IntRect& extent, PixelFormat format, const PixelCodec& codec, int tilesX,
                    std::shared_ptr<const PaintBuffer::Tiles> tiles)
        : PointWiseNode(extent.toCGRect(), {}), extent_(extent), format_(format), codec_(codec),
          tilesX_(tilesX), tiles_(std::move(tiles)) {}

    // Whether a buffer of that extent and format can take this snapshot's tiles as they are.
    bool sharesLayout(const IntRect& extent, PixelFormat format) const {
        return extent == extent_ && format == format_;
    }
    const PaintBuffer::Tiles& tiles() const { return *tiles_; }

    const char* name() const override { return "accumulator"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        // All grey: handed on as one lane, which the evaluator fills out for whoever needs four.
        if (evalGreySpan(pos, out.r)) {
            out.opaqueGrey = true;
            return;
        }
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
            using Form = PaintBuffer::TileData::Form;
            if (tile && tile->form == Form::Grey) {
                loadGrey16(tile->greyRow(rowInTile) + (x - tileX0), stop - x, out, offset);
            } else if (tile && tile->form == Form::Bytes) {
                const uint8_t* src = tile->bytes() + (std::size_t(rowInTile) * kT + (x - tileX0)) * 4;
                if (rowInTile + 1 < kT)
                    for (int b = 0; b < (stop - x) * 4; b += 64) __builtin_prefetch(src + kT * 4 + b);
                loadBytes16(src, stop - x, out, offset);
            } else if (tile && tile->form == Form::Opaque) {
                // Unlike four interleaved components, these read no faster with the next row prefetched.
                const uint16_t* r = tile->planes(rowInTile) + (x - tileX0);
                loadOpaque16(r, r + kT, r + 2 * kT, stop - x, out, offset);
            } else if (tile) {
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

    bool evalGreySpan(const SpanPos& pos, float* values) const override {
        if (pos.y < extent_.y0 || pos.y >= extent_.y1 || pos.x < extent_.x0 || pos.x + pos.n > extent_.x1)
            return false;
        const int ty = (pos.y - extent_.y0) / kT, rowInTile = (pos.y - extent_.y0) % kT;
        for (int x = pos.x, end = pos.x + pos.n; x < end;) {
            const int tx = (x - extent_.x0) / kT, tileX0 = extent_.x0 + tx * kT;
            const int stop = std::min(end, tileX0 + kT);
            const auto& tile = (*tiles_)[std::size_t(ty) * tilesX_ + tx];
            if (!tile || tile->form != PaintBuffer::TileData::Form::Grey) return false;
            greyValues(tile->greyRow(rowInTile) + (x - tileX0), stop - x, values + (x - pos.x));
            x = stop;
        }
        return true;
    }

private:
    IntRect extent_;
    PixelFormat format_;
    PixelCodec codec_;
    int tilesX_;
    std::shared_ptr<const PaintBuffer::Tiles> tiles_;
};

// Stores one tile's spans in the most compact form they all allow so far, moving to a wider form at
// the first span that does not fit.
class TileSink final : public SpanSink {
public:
    TileSink() = default;
    // `whole`: every pixel of the tile is being written, in rows upwards, each from left to right.
    TileSink(PaintBuffer::TileData* tile, const PixelCodec& codec, int tileX0, int tileY0, bool whole)
        : tile_(tile), codec_(codec), x0_(tileX0), y0_(tileY0), whole_(whole) {}

    void store(const SpanBuffer& span, const SpanPos& pos) override {
        using Form = PaintBuffer::TileData::Form;
        const std::size_t at = std::size_t(pos.y - y0_) * kT + std::size_t(pos.x - x0_);
        // Written in order, a whole tile holds nothing yet past this span.
        const std::size_t keep = whole_ ? at : PaintBuffer::TileData::kPixels;
        if (tile_->form == Form::Grey) {
            if (storeGrey16(span, pos.n, tile_->grey() + at)) return;
            if (!tile_->toBytes(keep)) tile_->toOpaque(keep);
        }
        if (tile_->form == Form::Bytes) {
            if (storeBytes16(span, pos.n, tile_->bytes() + at * 4)) return;
            if (!tile_->toOpaque(keep)) tile_->toFull(keep);
        }
        if (tile_->form == Form::Opaque) {
            uint16_t* r = tile_->planes(pos.y - y0_) + (pos.x - x0_);
            if (storeOpaque16(span, pos.n, r, r + kT, r + 2 * kT)) return;
            tile_->toFull(keep);
        }
        const PixelStore direct{codec_, tile_->px.get(), std::ptrdiff_t(kT) * codec_.bytesPerPixel(), x0_,
                                y0_};
        direct.store(span, pos); // a grey span is filled in on the way
    }

private:
    PaintBuffer::TileData* tile_ = nullptr;
    PixelCodec codec_;
    int x0_ = 0, y0_ = 0;
    bool whole_ = false;
};

} // namespace

std::shared_ptr<PaintBuffer> PaintBuffer::imageAccumulatorWithExtent(const RectF& extent,
                                                                     PixelFormat format) {
    if (extent.isEmpty() || extent.isInfinite()) return nullptr;
    if (format != PixelFormat::RGBA16 && format != PixelFormat::ARGB8) return nullptr;
    const IntRect r = IntRect::covering(extent.integral());
    if (r.isEmpty()) return nullptr;
    return std::make_shared<PaintBuffer>(r, format);
}

PaintBuffer::PaintBuffer(const IntRect& extent, PixelFormat format)
    : extent_(extent), format_(format), codec_(PixelCodec::forFormat(format)),
      tilesX_((extent.width() + kT - 1) / kT), tilesY_((extent.height() + kT - 1) / kT),
      tiles_(std::make_shared<Tiles>(std::size_t(tilesX_) * tilesY_)) {}

IntRect PaintBuffer::tileRect(int index) const {
    const int tx = index % tilesX_, ty = index / tilesX_;
    return IntRect::fromXYWH(extent_.x0 + tx * kT, extent_.y0 + ty * kT, kT, kT).intersection(extent_);
}

Image PaintBuffer::image() const {
    return Image(std::make_shared<AccumulatorNode>(extent_, format_, codec_, tilesX_, tiles_));
}

void PaintBuffer::setImage(const Image& image) {
    setImage(image, extent());
}

void PaintBuffer::setImage(const Image& image, const RectF& dirtyRect) {
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
    using Form = TileData::Form;
    const bool compact = format_ == PixelFormat::RGBA16;
    const int bpp = codec_.bytesPerPixel();
    Tiles& tiles = *tiles_;
    std::vector<TileSink> sinks(parts.size());
    // Each task prepares its own tile (copying it when shared), then renders into it. A cancelled
    // render leaves the buffer for the abandoned work that owns it to drop.
    try {
        eval::renderRects(image.node(), parts, [&](std::size_t i) {
            const int index = indices[i];
            std::shared_ptr<TileData>& tile = tiles[index];
            const bool whole = parts[i] == tileRect(index);
            if (whole) {
                // Every pixel is rewritten: start from the most compact form, in the hope the content fits.
                const Form form = compact ? Form::Grey : Form::Full;
                if (!tile || tile.use_count() > 1 || tile->form != form)
                    tile = std::make_shared<TileData>(form, bpp);
            } else if (!tile) {
                // What lies outside the part stays transparent, which grey cannot hold but bytes can.
                tile = std::make_shared<TileData>(compact ? Form::Bytes : Form::Full, bpp);
                std::memset(tile->px.get(), 0, tile->size);
            } else if (tile.use_count() > 1) {
                tile = std::make_shared<TileData>(*tile);
            }
            const int tileX0 = extent_.x0 + (index % tilesX_) * kT,
                      tileY0 = extent_.y0 + (index / tilesX_) * kT;
            sinks[i] = TileSink(tile.get(), codec_, tileX0, tileY0, whole);
            return PixelStore{codec_, nullptr, 0, tileX0, tileY0, &sinks[i]};
        });
    } catch (const eval::RenderCancelled&) {
    }
}

void PaintBuffer::clear() {
    tiles_ = std::make_shared<Tiles>(std::size_t(tilesX_) * tilesY_);
}

} // namespace pimavo
