// Typed calls for the operations the program uses itself.
//
// Each function builds the registered operation of the same meaning with the inputs given and
// answers its output image: the same lazy graph, and so the same pixels, as the operation built by
// name. A missing input image gives no image, as the named operation does. Names and input keys are
// spelt once, in Operations.cpp; the string registry (Operation::filterWithName) remains for the
// command line, which lists and accepts names at run time.
#pragma once

#include "Color.h"
#include "Geometry.h"
#include "Image.h"

namespace pimavo::ops {

// Colour: per-pixel adjustments of premultiplied colour.
Image colorMatrix(const Image& image, Vec4 r, Vec4 g, Vec4 b, Vec4 a, Vec4 bias);
Image exposureAdjust(const Image& image, double ev);
Image colorControls(const Image& image, double saturation, double brightness, double contrast);
Image hueAdjust(const Image& image, double angle); // radians
Image sepiaTone(const Image& image, double intensity);
Image colorInvert(const Image& image);

// Two images: `top` (or `image`) over, in or blended with the background.
Image sourceOver(const Image& top, const Image& bottom);
Image sourceIn(const Image& image, const Image& background);
Image multiplyBlend(const Image& image, const Image& background);
Image overlayBlend(const Image& image, const Image& background);
// The foreground where the mask's green is 1, the background where it is 0.
Image blendWithMask(const Image& foreground, const Image& background, const Image& mask);

// Generators: infinite images.
Image constantColor(Rgba color);
struct Checkerboard {
    PointF center{150, 150};
    Rgba color0 = Rgba::white(), color1 = Rgba::black();
    double width = 80;
    double sharpness = 1;
};
Image checkerboard(const Checkerboard& board);

// Geometry, blur and stylize.
Image affineTransform(const Image& image, const Transform2D& transform);
Image gaussianBlur(const Image& image, double radius); // the radius is the Gaussian's sigma
Image pixellate(const Image& image, PointF center, double scale);

} // namespace pimavo::ops
