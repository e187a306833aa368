// The photo a canvas edits: decoded already, or still being decoded with a reduced copy shown
// meanwhile. A big photo is then on screen in the time a reduced decode takes; whatever needs the
// photo's own pixels (saving, zooming past 1:1, a look, comparing) waits for the rest.
#pragma once

#include "engine/Bitmap.h"

#include <future>

namespace pimavo {

struct CanvasPhoto {
    CanvasPhoto() = default;
    CanvasPhoto(BitmapRef ready); // NOLINT(google-explicit-constructor): a decoded photo is one
    CanvasPhoto(BitmapRef preview, std::shared_future<BitmapRef> photo, int width, int height, int bits);

    BitmapRef preview;                   // upright, at least the working size; null when ready
    std::shared_future<BitmapRef> photo; // null when its decoding failed
    int width = 0, height = 0, bits = 8; // of the photo
    bool alpha = false;                  // the photo has an alpha channel
    // The photo as decoded, when `photo` is a copy of it reduced for the canvas (a photo above the
    // canvas's pixel limit); null otherwise. The result is composed from it.
    BitmapRef fullSize;
};

} // namespace pimavo
