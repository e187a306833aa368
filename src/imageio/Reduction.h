// Reducing photos above the canvas's pixel limit, so that the copy the editor paints on stays
// workable. The picture saved, copied, printed or shared is composed from the photo as decoded,
// whatever its size; a reduced copy stands in for it only when the user agrees to one, because the
// memory the full-size picture needs is not there.
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
std::optional<Bitmap> resizeImageToCoverSize(const Bitmap& bitmap, SizeF target, int bitsPerComponent);

// Reduces below the limit on another thread and hands the result (nothing on failure) to the
// handler, on that thread.
void resizeInBackground(BitmapRef bitmap, int bitsPerComponent,
                        std::function<void(std::optional<Bitmap>)> handler);
// The size a photo of that size has once reduced (itself when it is not above the limit).
SizeF reducedSize(int width, int height);
// The same reduction, on the calling thread.
std::optional<Bitmap> reducedBelowLimit(const BitmapRef& bitmap, int bitsPerComponent);

// Memory the system can still give this process, in bytes ("MemAvailable"). The environment
// variable PIMAVO_AVAILABLE_MEMORY_MB stands in for it where the low-memory path is tried.
double availableMemory();

// Tests of the failure path: while on, every reduction in the background fails.
void simulateReductionFailureForTesting(bool on);

} // namespace pimavo
