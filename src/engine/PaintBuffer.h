// PaintBuffer: a mutable pixel store of fixed extent whose content is read as image values.
//
// Storage is tiled and copy-on-write. image() answers a snapshot that shares the current tiles;
// a later write copies any tile a snapshot still holds before changing it, so a value once taken
// never changes. setImage(image, dirtyRect) renders only the tiles the rectangle touches, and only
// the pixels inside it. Values are premultiplied RGBA clamped to 0..1, rounded to 16 bits
// (PixelFormat::RGBA16) or 8 bits (PixelFormat::ARGB8).
#pragma once

#include "Image.h"
#include "PixelFormat.h"

#include <memory>
#include <vector>

namespace pimavo {

class PaintBuffer {
public:
    static constexpr int kTileSize = 128;

    // nullptr for an empty or infinite extent or an unsupported format (RGBA16 and ARGB8 are).
    static std::shared_ptr<PaintBuffer> imageAccumulatorWithExtent(const RectF& extent, PixelFormat format);

    PaintBuffer(const IntRect& extent, PixelFormat format);

    RectF extent() const { return extent_.toCGRect(); }
    PixelFormat format() const { return format_; }

    // The current content as an immutable image value.
    Image image() const;
    // Replaces the whole content; outside the image's extent the buffer becomes transparent.
    void setImage(const Image& image);
    // Replaces the pixels the rectangle touches (and only those).
    void setImage(const Image& image, const RectF& dirtyRect);
    // Makes every pixel transparent.
    void clear();

    struct TileData;
    using Tiles = std::vector<std::shared_ptr<TileData>>;

private:
    IntRect tileRect(int index) const;

    IntRect extent_;
    PixelFormat format_;
    PixelCodec codec_;
    int tilesX_ = 0, tilesY_ = 0;
    std::shared_ptr<Tiles> tiles_; // replaced, never changed in place, while a snapshot holds it
};

} // namespace pimavo
