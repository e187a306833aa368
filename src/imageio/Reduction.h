// Reducing photos above the editor's pixel limit, so that every picture it edits stays workable.
#pragma once

#include "engine/Bitmap.h"
#include "engine/Geometry.h"

#include <functional>
#include <optional>

namespace pimavo {

inline constexpr double kPixelLimit = 32000000.0;

// Whether a photo of that size is above the limit (width × height as floating-point values).
bool needsReduction(int width, int height);
// The side of the square the reduced photo must fit: floor(sqrt(long / short × limit)) − 1.
int reductionSide(int width, int height);

// The bitmap scaled uniformly to fit `target`, rendered at `bitsPerComponent` (8, 16 or 32).
std::optional<Bitmap> resizeImageToCoverSize(const Bitmap& bitmap, CGSize target, int bitsPerComponent);

// Reduces below the limit on another thread and hands the result (nothing on failure) to the
// handler, on that thread.
void resizeInBackground(BitmapRef bitmap, int bitsPerComponent,
                        std::function<void(std::optional<Bitmap>)> handler);

// Tests of the failure path: while on, every reduction in the background fails.
void simulateReductionFailureForTesting(bool on);

} // namespace pimavo
