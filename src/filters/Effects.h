// Typed calls for the program's own filters (kernel filters, the brush dab, the drama look).
//
// As in engine/Operations.h: each builds the registered filter with the inputs given and answers
// its output image, the same pixels as the filter built by name; names and input keys are spelt
// once, in Effects.cpp. filterRegistration() is called on first use.
#pragma once

#include "engine/Color.h"
#include "engine/Geometry.h"
#include "engine/Image.h"

namespace pimavo::effects {

// Looks of one image; `amount` 0 leaves it, 1 is the full look.
Image aged(const Image& image, double amount);
Image silverBlue(const Image& image, double amount);
// The vignette picture stretched over the image from its clamped edges, darkening by `amount`.
Image vignette(const Image& image, const Image& picture, double amount);

// Masks (coverage in the colour channels).
Image setAlpha(const Image& image, double alpha);
Image invertAlpha(const Image& image);
Image mergeMasks(const Image& mask, const Image& added);         // `added` stretched over `mask`
Image mergeMasksSubtract(const Image& mask, const Image& taken); // `taken` stretched over `mask`
Image composeTwoMasks(const Image& dabs, const Image& mask);     // paint: the dabs laid on the mask
Image erase(const Image& dabs, const Image& mask);               // erase: the dabs taken off the mask
Image colorErase(const Image& dabs, const Image& layer);
// The dabs laid on a colour layer in `color`.
Image colorDraw(const Image& dabs, const Image& layer, Rgba color);

// One round dab of the brush: colour0 inside radius0, fading to colour1 at radius1.
struct BrushDab {
    PointF center;
    Rgba color0{1, 1, 1, 0}, color1{1, 1, 1, 0};
    double radius0 = 10, radius1 = 100;
    double softness = 1;
    double opacity = 1;
};
Image brushDab(const BrushDab& dab);

// The drama look: local contrast from a large blur (HDR), a high pass, and sharpening.
struct Drama {
    double radiusHDR = 0;
    double radiusHighPass = 0, amountHighPass = 0;
    double radiusSharpen = 0, amountSharpen = 0;
};
Image drama(const Image& image, const Drama& settings);
// Its stages, on luma and chroma (YCbCr) images: the local contrast of `yuv` against the large
// blur `hdr`; the high pass against the blur `blurred`; sharpening against the blur `blurred`.
Image dramaLocalContrast(const Image& yuv, const Image& hdr);
Image dramaHighPass(const Image& image, const Image& blurred, double amount);
Image dramaSharpen(const Image& image, const Image& blurred, double amount);

} // namespace pimavo::effects
