// Image: an immutable, lazily evaluated picture.
//
// A value holds a shared node of the image graph; copying it is cheap and nothing is computed until
// a context renders it. A default-constructed Image is "no image": every operation on it answers
// no image, and rendering it does nothing. Two values are equal when they hold the same node.
#pragma once

#include "Bitmap.h"
#include "Color.h"
#include "Geometry.h"
#include "ImageNode.h"

#include <memory>

namespace pimavo {

class Image {
public:
    Image() = default;
    explicit Image(NodeRef node) : node_(std::move(node)) {}

    // The bitmap is shared, not copied; its top row is the image's top (highest y) row and the
    // image occupies (0, 0, width, height).
    static Image imageWithBitmap(BitmapRef bitmap);
    static Image imageWithBitmap(Bitmap bitmap);
    // An infinite image of one colour.
    static Image imageWithColor(const Rgba& color);
    // An image with an empty extent.
    static Image emptyImage();

    bool isNull() const { return !node_; }
    explicit operator bool() const { return bool(node_); }

    // Null rectangle for no image.
    RectF extent() const;

    Image imageByCroppingToRect(const RectF& rect) const;
    Image imageByApplyingTransform(const Transform2D& transform) const;
    // The image with its edge pixels repeated outward without end (an infinite extent). Enlarging
    // it and cropping back then keeps the edge's own colour where sampling would otherwise reach
    // past the border and fade into transparency.
    Image imageByClampingToExtent() const;

    const NodeRef& node() const { return node_; }

    friend bool operator==(const Image& a, const Image& b) { return a.node_ == b.node_; }

private:
    NodeRef node_;
};

} // namespace pimavo
