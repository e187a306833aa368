#include "CIImage.h"

#include "builtin/Nodes.h"

namespace pimavo {

CIImage CIImage::imageWithBitmap(BitmapRef bitmap) {
    return CIImage(makeBitmapNode(std::move(bitmap)));
}

CIImage CIImage::imageWithBitmap(Bitmap bitmap) {
    return imageWithBitmap(std::make_shared<const Bitmap>(std::move(bitmap)));
}

CIImage CIImage::imageWithColor(const CIColor& color) {
    return CIImage(makeConstantColorNode(color));
}

CIImage CIImage::emptyImage() {
    return CIImage(makeEmptyNode());
}

CGRect CIImage::extent() const {
    return node_ ? node_->extent() : CGRect::null();
}

CIImage CIImage::imageByCroppingToRect(const CGRect& rect) const {
    if (!node_) return {};
    return CIImage(makeCropNode(node_, rect));
}

CIImage CIImage::imageByApplyingTransform(const CGAffineTransform& transform) const {
    if (!node_) return {};
    if (transform.isIdentity()) return *this;
    return CIImage(makeAffineTransformNode(node_, transform));
}

CIImage CIImage::imageByClampingToExtent() const {
    if (!node_) return {};
    return CIImage(makeClampNode(node_));
}

} // namespace pimavo
