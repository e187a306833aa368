// Colour island fill: one click on a photo becomes a mask over the region of similar colour around
// it (opaque white over the region, transparent elsewhere).
//
// In the manner of GrowCut: every pixel is a cell; cells in a disk of radius 10 around the click
// start as picked with strength 1, and a picked cell takes a neighbour with a force that falls with
// colour distance, (1 − d / 441.67294) × its strength. The tolerance bounds the region: the picked
// label takes only cells whose colour lies within the tolerance of the picked colour (tolerance 0.1
// allows any colour). Grown to its end, the region is what the disk reaches through such cells, never
// across a force of zero (black next to white), each cell with the strength of its strongest path.
// Nothing along the frame holds it back: a picked sky reaches the photo's edges. Cells are settled
// once each, strongest first, so a click costs time linear in the cells it reaches.
//
// The cells belong to the photo being picked on: kept between clicks, rebuilt for another photo or
// another size. Each click answers its own region; the picker merges regions (add, take away,
// replace).
#pragma once

#include "engine/Bitmap.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace pimavo {

class ColorIslandField {
public:
    struct Cell {
        float strength = 0;
        int32_t label = 0; // 0 unlabelled, 2 picked
    };

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return nodes_.empty(); }
    // Whether the field was made for this photo (an identity the caller chooses) at this size.
    bool belongsTo(const void* photo, int width, int height) const;
    // A fresh field: every cell unlabelled.
    void reset(const void* photo, int width, int height);
    // Cell (x, y) after the last fill: picked with the strength of its strongest path, or unlabelled.
    Cell at(int x, int y) const;

    // Marks the disk around the click as picked and grows the label until nothing changes. `pixels`
    // are ARGB8 rows of `bytesPerRow`; answers the number of cells that spread their label (each
    // does so once). A set `cancel` stops the growth within a few milliseconds: it answers nothing
    // and leaves the field empty.
    std::optional<int> fill(const uint8_t* pixels, int bytesPerRow, int seedX, int seedY,
                            const float picked[3], float tolerance,
                            const std::atomic<bool>* cancel = nullptr);

    // Whether cell (x, y) is picked.
    bool isPicked(int x, int y) const {
        const uint32_t d = nodes_[std::size_t(y) * std::size_t(width_) + std::size_t(x)].distance;
        return d - 1 < kUnreached - 1;
    }

private:
    // A cell as the growth sees it: its distance from the click, in whole steps of −log(force), plus
    // one, where 0 marks a colour beyond the tolerance, so that one comparison turns away settled
    // cells and those never to be; and its colour, next to it, so that a step reads one place.
    struct Node {
        uint32_t distance;
        uint8_t red, green, blue, unused;
    };
    static constexpr uint32_t kOutsideTolerance = 0, kUnreached = 0xFFFFFFFF;

    const void* photo_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<Node> nodes_;
    // The growth's buckets by distance, in a ring; kept for the next click.
    std::vector<std::vector<uint32_t>> ring_;
};

// The fill on an ARGB8 buffer, rewritten in place: every pixel opaque white where picked, clear
// elsewhere. Uses a field kept by the process, rebuilt when the size changes. red, green and blue
// are the picked colour in 0..1; tolerance 0..0.1.
void fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY, float red,
                       float green, float blue, float tolerance);
void _fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY,
                        float red, float green, float blue, float tolerance);

// The mask of the colour region around (x, y) of a photo (column from the left, row from the top),
// as an ARGB8 bitmap of the photo's size; `field` keeps the photo's cells between clicks. Nothing
// when `cancel` was set before the mask was complete.
std::optional<Bitmap> imageByMaskingColor(const Bitmap& photo, const float color[3], float tolerance, float x,
                                          float y, ColorIslandField& field,
                                          const std::atomic<bool>* cancel = nullptr);

} // namespace pimavo
