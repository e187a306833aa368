// Composing the picture: foreground over treated background through the mask, the solid-colour
// layer, the vignette; at working size for the screen, at full resolution for saving.
#include "CanvasModel.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"

#include <cmath>

namespace pimavo {

Image CanvasModel::currentImage() {
    // From one screen pixel per photo pixel on (actual size), the photo's own pixels: the view draws
    // them magnified as squares (RenderedImageView::setSharpMagnification), one photo pixel to one
    // screen pixel at 1:1.
    // A look still being made shows as its quick working-size picture stretched: the window never
    // waits for the full-resolution one.
    nowFullSize_ = isCompareFullSize() && originA_; // none before the photo is decoded
    return nowFullSize_ ? fullSizeImageForDisplay(true) : zoomedImageForDisplay(true);
}

const Image& CanvasModel::originalImage() {
    if (!originalImage_)
        if (const BitmapRef opened = photo()) originalImage_ = Image::imageWithBitmap(opened);
    return originalImage_;
}

bool CanvasModel::isCompareFullSize() const {
    return scale_ * devicePixelRatio_ / scaleFactor_ + 0.0001 >= 1;
}

Image CanvasModel::showMaskImage() const {
    ops::Checkerboard board;
    board.color0 = showMaskColor_;
    board.color1 = Rgba{0, 0, 0, 0.3};
    // Ten view points a square at every zoom: the full-resolution picture, shown from one view point
    // per photo pixel on (exactly 100 % included), counts photo pixels, not working ones.
    board.width = 10 / scale_;
    if (nowFullSize_) board.width *= scaleFactor_;
    return ops::checkerboard(board);
}

Image CanvasModel::opaqueColour(const Image& image) {
    if (!image) return image;
    return ops::colorMatrix(image, Vec4(1, 0, 0, 0), Vec4(0, 1, 0, 0), Vec4(0, 0, 1, 0), Vec4(0, 0, 0, 0),
                            Vec4(0, 0, 0, 1));
}

Image CanvasModel::opaqueOf(const Image& image) {
    if (!image) return image;
    if (auto kept = opaques_.find(image)) return *kept;
    return opaques_.keep(image, {}, opaqueColour(image));
}

Image CanvasModel::opaqueSourceOf(const Image& image) const {
    return opaques_.inputOf(image).value_or(image);
}

Image CanvasModel::composeWith(const Image& source, const Image& foreground, const Image& maskImage,
                               const Image& colorLayer, bool forScreen, const RectF& extent) {
    if (!alpha_) return composeOpaque(source, foreground, maskImage, colorLayer, forScreen, extent);
    const Image opaque =
        composeOpaque(opaqueOf(source), opaqueOf(foreground), maskImage, colorLayer, forScreen, extent);
    return ops::sourceIn(opaque, source);
}

Image CanvasModel::composeOpaque(const Image& source, const Image& foreground, const Image& maskImage,
                                 const Image& colorLayer, bool forScreen, const RectF& extent) {
    if (!maskImage && !(picture_.vignette > 0)) return colorizeResultImage(colorizeBackgroundImage(source));
    Image B = colorizeBackgroundImage(source);
    if (colorLayer) B = ops::multiplyBlend(B, colorLayer);
    if (maskImage && !painting_.isUnpainted()) {
        Image F = colorizeImage(foreground);
        if (showMask_ && forScreen)
            F = ops::overlayBlend(F, showMaskImage()).imageByCroppingToRect(B.extent());
        B = ops::blendWithMask(F, B, maskImage);
    }
    return colorizeResultImage(B.imageByCroppingToRect(extent));
}

Image CanvasModel::zoomedImageForDisplay(bool forScreen) {
    if (picture_.vignette != 0 && needUpdateMasksWhenDrawing_) {
        needUpdateMasksWhenDrawing_ = false;
        painting_.flatten();
    }
    return composeWith(imageA_orig_, imageB_orig_, painting_.mask(), painting_.colorDrawingMask(), forScreen,
                       imageA_orig_.extent());
}

namespace {
// A working-size layer stretched over the full-resolution extent. The working height was rounded
// down, so each axis has its own factor; and the layer is clamped first, so that the pixels along
// the photo's edges read the layer's edge rather than a blend with the transparency beyond it.
Image enlargedToCover(const Image& layer, const RectF& full) {
    const RectF e = layer.extent();
    if (e == full || e.isEmpty() || e.isInfinite()) return layer;
    const Transform2D stretch =
        Transform2D::translation(-e.minX(), -e.minY())
            .concat(Transform2D::scale(full.width() / e.width(), full.height() / e.height()))
            .concat(Transform2D::translation(full.minX(), full.minY()));
    return layer.imageByClampingToExtent().imageByApplyingTransform(stretch).imageByCroppingToRect(full);
}
} // namespace

Image CanvasModel::fullSizeImageForDisplay(bool forScreen) {
    const RectF full = originA_.extent();
    return composeWith(originA_, originB_, enlargedToCover(painting_.mask(), full),
                       enlargedToCover(painting_.colorDrawingMask(), full), forScreen, full);
}

Image CanvasModel::fullSizeSource() {
    if (!fullSize_ || !originA_) return originA_;
    if (fullSource_.preset != preset_ || !fullSource_.image) {
        const Image photo = Image::imageWithBitmap(fullSize_);
        // The look's radii follow the photo's size, so that it looks as it does on the reduced copy.
        fullSource_ = {preset_, preset_ == 0
                                    ? photo
                                    : applyDrama(photo, preset_,
                                                 originA_.extent().width() / fullSize_->width(), alpha_)};
    }
    return fullSource_.image;
}

SizeF CanvasModel::resultSize(ResultSize size) const {
    if (size == ResultSize::Full && fullSize_)
        return {double(fullSize_->width()), double(fullSize_->height())};
    const RectF e = originA_.extent();
    return originA_ ? SizeF{std::trunc(e.width()), std::trunc(e.height())} : SizeF{0, 0};
}

double CanvasModel::resultMemoryNeeded(ResultSize size) const {
    const SizeF s = resultSize(size);
    const double pixels = s.width * s.height;
    double bytes = pixels * 4 * (bits_ <= 8 ? 1 : bits_ <= 16 ? 2 : 4); // the bitmap itself
    // A treated background is flattened into a 16-bit buffer of the picture's size.
    if (picture_.treatment != Treatment::Grayscale) bytes += pixels * 8;
    // Blurs with large radii work on whole float images, each beside its input. The look of the
    // reduced copy is a fixed picture already; at full size it is made from the photo as decoded.
    const bool lookAtFullSize = size == ResultSize::Full && fullSize_ && preset_ != 0;
    const int blurs = (lookAtFullSize ? 3 : 0) + (picture_.foreground.blur != 0 ? 1 : 0) +
                      (picture_.background.blur != 0 ? 1 : 0);
    if (blurs > 0) bytes += pixels * 16 * (blurs + 1);
    return bytes + 256.0 * 1024 * 1024; // the engine's working tiles and what the encoder holds
}

Image CanvasModel::resultValue(ResultSize size) {
    finishPendingLook(); // the saved picture is the look at full resolution
    if (!originA_) return {};
    if (size == ResultSize::Reduced || !fullSize_) return fullSizeImageForDisplay(false);
    const Image source = fullSizeSource();
    const RectF full = source.extent();
    return composeWith(source, source, enlargedToCover(painting_.mask(), full),
                       enlargedToCover(painting_.colorDrawingMask(), full), false, full);
}

std::optional<CanvasModel::ResultSource> CanvasModel::resultSource(ResultSize size) {
    finishPendingLook(); // the saved picture is the look at full resolution
    if (!originA_) return std::nullopt;
    if (!fullSize_) size = ResultSize::Full; // one size only
    if (!haveChanges_ && lastModifiedImage_ && lastResultSize_ == size)
        return ResultSource{lastModifiedImage_, Image(), bits_, alpha_};
    return ResultSource{nullptr, resultValue(size), bits_, alpha_};
}

std::optional<BitmapRef> CanvasModel::resultImage(ResultSize size) {
    if (!fullSize_) size = ResultSize::Full; // one size only
    const std::optional<ResultSource> source = resultSource(size);
    if (!source) return std::nullopt;
    if (source->ready) return source->ready;
    // The last result goes first: a 100-MP picture should not be held twice.
    lastModifiedImage_.reset();
    auto bitmap = Renderer().createBitmap(source->value, source->bits, source->alpha);
    if (!bitmap) return std::nullopt;
    lastModifiedImage_ = std::make_shared<const Bitmap>(std::move(*bitmap));
    lastResultSize_ = size;
    haveChanges_ = false;
    return lastModifiedImage_;
}

std::optional<Bitmap> CanvasModel::getCurrentImage() {
    return Renderer().createBitmap(zoomedImageForDisplay(false), bits_, alpha_);
}

std::optional<BitmapRef> CanvasModel::resultMaskWithColorMask(const Image& region) {
    haveChanges_ = true;
    const bool flattenLater = needUpdateMasksWhenDrawing_;
    // A preview, at the working size the picker shows it at: a full-resolution picture would keep
    // the window busy for half a second per click, and left as the cached result it would be saved
    // even when the pick is cancelled.
    std::optional<Bitmap> preview;
    painting_.previewRegion(
        region, [&] { preview = Renderer().createBitmap(zoomedImageForDisplay(false), bits_, alpha_); });
    needUpdateMasksWhenDrawing_ = flattenLater;
    haveChanges_ = true;
    if (!preview) return std::nullopt;
    return std::make_shared<const Bitmap>(std::move(*preview));
}

} // namespace pimavo
