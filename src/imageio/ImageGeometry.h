// Geometry and bitmap helpers the rest of the program builds on: fitting and covering sizes,
// drawing a picture to cover a box, rendering an image value into a bitmap of a chosen depth,
// applying an EXIF orientation, and the all-black test.
//
// A picture here is a Bitmap whose point size equals its pixel size. Photo bitmaps come in three
// layouts, by bits per component: 8-bit XRGB (first component ignored), 16-bit RGBX and float RGBX
// (last component ignored), rows tightly packed. A photo with transparency has RGBA instead, its
// colour premultiplied by alpha (as decoders deliver it and the engine works), at any depth.
#pragma once

#include "engine/Bitmap.h"
#include "engine/Geometry.h"
#include "engine/Image.h"

#include <cstdint>
#include <optional>

namespace pimavo {

// The photo layout for a depth of 8, 16 or 32 bits, with alpha or without; nullopt for any other.
std::optional<PixelLayout> photoLayout(int bitsPerComponent, bool alpha = false);

// Fitting (w, h) into (W, H): a square gives the smaller side of the target; otherwise the aspect
// ratio, rounded to single precision, decides which side is bound.
SizeF scaledSizeToFitSize(SizeF size, SizeF target);
// The size (w, h) takes to cover (W, H) entirely, aspect kept (ratios in single precision).
SizeF scaledSizeToCoverSize(SizeF size, SizeF target);

// Alignment of a covering picture inside its box: which part stays visible. "Top" is high y.
enum CoverAlignment : unsigned {
    kAlignCenter = 0,
    kAlignTopCenter = 1,
    kAlignTopLeft = 2,
    kAlignTopRight = 3,
    kAlignLeftCenter = 4,
    kAlignBottomCenter = 5,
    kAlignBottomLeft = 6, // also any code above 8
    kAlignBottomRight = 7,
    kAlignRightCenter = 8,
};

// Where the covering picture of size `drawn` is placed inside `box` (its origin, y up).
PointF coverOrigin(SizeF drawn, SizeF box, unsigned alignment);

// A new picture of size `target` (rounded to whole pixels) covered by the bitmap, centred, high
// quality. The result has the bitmap's depth and an alpha channel (premultiplied RGBA).
std::optional<Bitmap> scaledImageToCoverSize(const Bitmap& bitmap, SizeF target);
// The same with an explicit alignment and an optional black frame around the box. The
// interpolation level is accepted for compatibility; resampling is always high quality.
std::optional<Bitmap> scaledImageToCoverSizeWithInterpolation(const Bitmap& bitmap, SizeF target,
                                                              int interpolation, bool box = false,
                                                              unsigned alignment = kAlignCenter);

// Renders an image value from (0, 0) over its extent's whole-pixel size into a photo bitmap:
// 8 to 15 bits give 8-bit, 16 to 23 16-bit, 32 to 39 float; other depths log
// "Wrong bits per component: %d" and give nothing. With `alpha` the bitmap keeps the transparency.
std::optional<Bitmap> bitmapOfImage(const Image& image, int bitsPerComponent, bool alpha = false);

// Whether any pixel of the bitmap is less than opaque (false for layouts without alpha).
bool hasTransparency(const Bitmap& bitmap);

// The bitmap redrawn with an EXIF orientation applied (1 to 8; any other value, -1 included, leaves
// it as it is), in the photo layout of its depth, with alpha when the bitmap has it; 5 to 8 swap
// width and height. Nothing for depths other than 8, 16 and 32 bits.
std::optional<Bitmap> bitmapWithOrientation(const Bitmap& bitmap, int orientation);

// True when every pixel's red, green and blue are 0; false for an empty bitmap.
bool isBlackColorImage(const Bitmap& bitmap);
// Whether the pixel (x, y) of an 8-bit ARGB buffer (bytesPerPixel apart, rows `width` pixels long)
// has red + green + blue = 0.
bool checkBlackColorInPixel(int x, int y, int width, const uint8_t* data, int bytesPerPixel);

// An 8-bit premultiplied ARGB bitmap of the given size, zero-filled, 4 × width bytes per row. On
// failure logs the warning "Memory not allocated!" or "Context not created!" and gives nothing,
// which includes sizes whose byte count does not fit in 31 bits.
std::optional<Bitmap> CreateARGBBitmapContext(int width, int height);

} // namespace pimavo
