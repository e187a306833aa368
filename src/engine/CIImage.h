// CIImage: an immutable, lazily evaluated picture.
//
// A value holds a shared node of the image graph; copying it is cheap and nothing is computed until
// a context renders it. A default-constructed CIImage is "no image": every operation on it answers
// no image, and rendering it does nothing. Two values are equal when they hold the same node.
#pragma once

#include "Bitmap.h"
#include "Color.h"
#include "Geometry.h"
#include "ImageNode.h"

#include <memory>

namespace pimavo {

class CIImage {
public:
    CIImage() = default;
    explicit CIImage(NodeRef node) : node_(std::move(node)) {}

    // The bitmap is shared, not copied; its top row is the image's top (highest y) row and the
    // image occupies (0, 0, width, height).
    static CIImage imageWithBitmap(BitmapRef bitmap);
    static CIImage imageWithBitmap(Bitmap bitmap);
    // An infinite image of one colour.
    static CIImage imageWithColor(const CIColor& color);
    // An image with an empty extent.
    static CIImage emptyImage();

    bool isNull() const { return !node_; }
    explicit operator bool() const { return bool(node_); }

    // Null rectangle for no image.
    CGRect extent() const;

    CIImage imageByCroppingToRect(const CGRect& rect) const;
    CIImage imageByApplyingTransform(const CGAffineTransform& transform) const;
    // The image with its edge pixels repeated outward without end (an infinite extent). Enlarging
    // it and cropping back then keeps the edge's own colour where sampling would otherwise reach
    // past the border and fade into transparency.
    CIImage imageByClampingToExtent() const;

    const NodeRef& node() const { return node_; }

    friend bool operator==(const CIImage& a, const CIImage& b) { return a.node_ == b.node_; }

private:
    NodeRef node_;
};

} // namespace pimavo
