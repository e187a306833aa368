// Constructors of the built-in nodes, for Image's own operations and for the filter families.
// Each answers nullptr when an input is missing.
#pragma once

#include "../Bitmap.h"
#include "../Color.h"
#include "../ImageNode.h"

#include <array>
#include <optional>

namespace pimavo {

NodeRef makeBitmapNode(BitmapRef bitmap);
NodeRef makeConstantColorNode(const Rgba& color);
// Nothing at all: an empty extent and no inputs to evaluate.
NodeRef makeEmptyNode();
// The premultiplied colour of a constant-colour node, or nothing for any other node.
std::optional<std::array<float, 4>> constantColorOf(const NodeRef& node);
NodeRef makeCropNode(NodeRef input, const RectF& rect);
NodeRef makeAffineTransformNode(NodeRef input, const Transform2D& transform);
// The input's edge pixels repeated outward; infinite and empty inputs are answered as they are.
NodeRef makeClampNode(NodeRef input);

// out = M · in + bias, on unpremultiplied colour, then premultiplied again. Rows are r, g, b, a.
struct ColorMatrix {
    std::array<std::array<float, 4>, 4> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    std::array<float, 4> bias{0, 0, 0, 0};
};
NodeRef makeColorMatrixNode(NodeRef input, const ColorMatrix& matrix);
// Gaussian blur with σ = sigma; below 0.16 the input itself.
NodeRef makeGaussianBlurNode(NodeRef input, double sigma);

} // namespace pimavo
