// Colour island fill: one click on a photo becomes a mask over the region of similar colour around
// it (opaque white over the region, transparent elsewhere).
//
// A cellular automaton in the manner of GrowCut: every pixel is a cell with a label (0 unlabelled,
// 1 background, 2 picked) and a strength. Cells in a disk of radius 10 around the click start as
// picked; labelled cells then take over their neighbours with a force that falls with colour
// distance, (1 − d / 441.67294) × strength, until nothing changes. No cells start as background
// along the frame: a picked region reaches the photo's edges. The tolerance bounds the picked region: the picked label takes only cells whose
// colour lies within the tolerance of the picked colour (tolerance 0.1 allows any colour), and the
// background takes only the others.
//
// The cells belong to the photo being picked on: kept between clicks, rebuilt for another photo or
// another size. Each click answers its own region; the picker merges regions (add, take away,
// replace).
#pragma once

#include "engine/Bitmap.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pimavo {

class ColorIslandField {
public:
    struct Cell {
        float strength = 0;
        int32_t label = 0; // 0 unlabelled, 1 background, 2 picked
    };

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return cells_.empty(); }
    // Whether the field was made for this photo (an identity the caller chooses) at this size.
    bool belongsTo(const void* photo, int width, int height) const;
    // A fresh field: every cell unlabelled.
    void reset(const void* photo, int width, int height);
    const Cell& at(int x, int y) const {
        return cells_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    }

    // Marks the disk around the click as picked and grows the labels until nothing changes. `pixels`
    // are ARGB8 rows of `bytesPerRow`; answers the number of cells that spread their label.
    int fill(const uint8_t* pixels, int bytesPerRow, int seedX, int seedY, const float picked[3],
             float tolerance);

    // Whether cell (x, y) is picked.
    bool isPicked(int x, int y) const { return at(x, y).label == 2; }

private:
    const void* photo_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<Cell> cells_;
    bool fresh_ = false; // no click has grown on it yet
};

// The fill on an ARGB8 buffer, rewritten in place: every pixel opaque white where picked, clear
// elsewhere. Uses a field kept by the process, rebuilt when the size changes. red, green and blue
// are the picked colour in 0..1; tolerance 0..0.1.
void fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY, float red,
                       float green, float blue, float tolerance);
void _fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY,
                        float red, float green, float blue, float tolerance);

// The mask of the colour region around (x, y) of a photo (column from the left, row from the top),
// as an ARGB8 bitmap of the photo's size; `field` keeps the photo's cells between clicks.
std::optional<Bitmap> imageByMaskingColor(const Bitmap& photo, const float color[3], float tolerance, float x,
                                          float y, ColorIslandField& field);

} // namespace pimavo
