#include "Image.h"

#include "builtin/Nodes.h"

namespace pimavo {

Image Image::imageWithBitmap(BitmapRef bitmap) {
    return Image(makeBitmapNode(std::move(bitmap)));
}

Image Image::imageWithBitmap(Bitmap bitmap) {
    return imageWithBitmap(std::make_shared<const Bitmap>(std::move(bitmap)));
}

Image Image::imageWithColor(const Rgba& color) {
    return Image(makeConstantColorNode(color));
}

Image Image::emptyImage() {
    return Image(makeEmptyNode());
}

RectF Image::extent() const {
    return node_ ? node_->extent() : RectF::null();
}

Image Image::imageByCroppingToRect(const RectF& rect) const {
    if (!node_) return {};
    return Image(makeCropNode(node_, rect));
}

Image Image::imageByApplyingTransform(const Transform2D& transform) const {
    if (!node_) return {};
    if (transform.isIdentity()) return *this;
    return Image(makeAffineTransformNode(node_, transform));
}

Image Image::imageByClampingToExtent() const {
    if (!node_) return {};
    return Image(makeClampNode(node_));
}

} // namespace pimavo
