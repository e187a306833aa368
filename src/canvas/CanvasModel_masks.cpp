// The mask and the solid-colour layer, and their steps in the session's history.
//
// The buffers are copy-on-write: a value taken from one never changes when the buffer is painted
// later, so every mask handed out (to undo, to the display) stays what it was.
#include "CanvasModel.h"
#include "core/Strings.h"
#include "session/EditSession.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"

namespace pimavo {

namespace {
Image constant(double r, double g, double b, double a = 1) {
    return Image::imageWithColor({r, g, b, a});
}
} // namespace

void CanvasModel::createMaskBuffer() {
    const RectF extent = imageA_orig_.extent();
    if (accumulator_ && accumulator_->extent() == extent) return;
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::RGBA16);
    if (!buffer) return;
    buffer->setImage(constant(0, 0, 0));
    if (accumulator_) {
        buffer->setImage(ops::sourceOver(accumulator_->image(), constant(0, 0, 0)));
    }
    accumulator_ = buffer;
    mask_ = accumulator_->image();
    brightnessContrastBackgroundChanged_ = true;
    setImageA(colorizeBackgroundImage(imageA_orig_));
    validateMask();
}

bool CanvasModel::isMaskCleared() const {
    if (!mask_) return true;
    auto bitmap = Renderer().createBitmap(mask_, 8);
    return bitmap ? isBlackColorImage(*bitmap) : true;
}

void CanvasModel::recordLayers(const QString& stepName, qint64 bytes) {
    if (EditSession* s = session()) s->changeLayers(stepName, undoMask(), undoColorMask(), bytes);
}

namespace {
// A change of the whole mask shares none of its tiles with the one before (16-bit grey).
qint64 wholeMaskBytes(const RectF& extent) { return qint64(extent.width()) * qint64(extent.height()) * 2; }
} // namespace

void CanvasModel::setMask(const Image& m) {
    if (maskCleared_) needUpdateAccumulator_ = true;
    maskCleared_ = m.isNull();
    if (!accumulator_) createMaskBuffer();
    if (accumulator_) accumulator_->setImage(m ? m : constant(0, 0, 0));
    mask_ = accumulator_ ? accumulator_->image() : Image();
    previousMask_ = Image();
    validateMask();
    needUpdateAccumulator_ = needUpdateColorAccumulator_ = true;
    undoMask();
}

void CanvasModel::applyMask(const Image& m, const QString& stepName) {
    setMask(m);
    recordLayers(stepName, wholeMaskBytes(imageA_orig_.extent()));
}

void CanvasModel::clearMask() { applyMask(Image(), Strings::shared().localized("Clear Mask")); }

void CanvasModel::loadLayers(const Image& m, const Image& layer) {
    setMask(m);
    applyNewColorMask(layer);
    validateMask();
}

void CanvasModel::restorePainting(const Image& m, const Image& layer) {
    if (!accumulator_) createMaskBuffer();
    if (accumulator_ && m) {
        accumulator_->setImage(m);
        mask_ = accumulator_->image();
        maskCleared_ = false;
    }
    previousMask_ = Image();
    needUpdateAccumulator_ = false;
    applyNewColorMask(layer);
    validateMask();
    if (EditSession* s = session()) s->resetLayers(undoMask(), undoColorMask());
}

void CanvasModel::invertMask() {
    const QString step = Strings::shared().localized("Invert Mask");
    if (maskCleared_) {
        applyMask(constant(1, 1, 1).imageByCroppingToRect(imageA_orig_.extent()), step);
        return;
    }
    applyMask(ops::colorInvert(mask_), step);
}

Image CanvasModel::undoMask() {
    // The buffer goes back to holding the mask (a stroke may have used it for itself); values
    // taken from it earlier are copy-on-write snapshots and stay as they were.
    if (needUpdateAccumulator_ && accumulator_) {
        accumulator_->setImage(mask_ ? mask_ : constant(0, 0, 0));
        needUpdateAccumulator_ = false;
    }
    return mask_;
}

Image CanvasModel::undoColorMask() {
    if (needUpdateColorAccumulator_) {
        colorAccumulator_.reset();
        if (colorDrawingMask_) {
            auto buffer = colorImageAccumulator();
            if (buffer) buffer->setImage(colorDrawingMask_);
        }
        needUpdateColorAccumulator_ = false;
    }
    return colorDrawingMask_;
}

std::shared_ptr<PaintBuffer> CanvasModel::colorImageAccumulator() {
    if (!colorAccumulator_) {
        const RectF extent = accumulator_ ? accumulator_->extent() : imageA_orig_.extent();
        colorAccumulator_ = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::RGBA16);
        if (colorAccumulator_) colorAccumulator_->setImage(constant(1, 1, 1));
    }
    return colorAccumulator_;
}

void CanvasModel::applyNewColorMask(const Image& layer) {
    if (layer == colorDrawingMask_ && layer) return;
    colorAccumulator_.reset();
    colorDrawingMask_ = Image();
    if (layer) {
        auto buffer = colorImageAccumulator();
        if (buffer) {
            buffer->setImage(layer);
            colorDrawingMask_ = buffer->image();
        }
    }
}

void CanvasModel::applyColorDrawingMask(const Image& layer) {
    applyNewColorMask(layer);
    validateMask();
}

void CanvasModel::applyColorMask() {
    if (!colorMask_) return;
    if (!mask_ && accumulator_) mask_ = accumulator_->image();
    if (accumulator_ && lastColoredMask_) accumulator_->setImage(lastColoredMask_);
    if (accumulator_) mask_ = accumulator_->image();
    previousMask_ = Image();
    maskCleared_ = false;
    validateMask();
    needUpdateAccumulator_ = needUpdateColorAccumulator_ = true;
    undoMask();
    colorMask_ = Image();
    recordLayers(Strings::shared().localized("Pick Colours"), wholeMaskBytes(imageA_orig_.extent()));
}

void CanvasModel::maskBufferWritten() {
    needUpdateAccumulator_ = true;
    maskCleared_ = false;
    if (accumulator_) mask_ = accumulator_->image();
    validateMask();
}

void CanvasModel::colorBufferWritten() {
    needUpdateColorAccumulator_ = true;
    if (colorAccumulator_) colorDrawingMask_ = colorAccumulator_->image();
    validateMask();
}

} // namespace pimavo
