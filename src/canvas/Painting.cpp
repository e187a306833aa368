// The mask and the solid-colour layer, and their steps in the session's history.
#include "Painting.h"

#include "CanvasModel.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

namespace pimavo {

namespace {
Image constant(double r, double g, double b, double a = 1) {
    return Image::imageWithColor({r, g, b, a});
}
} // namespace

bool Painting::createBuffers(const RectF& extent) {
    if (accumulator_ && accumulator_->extent() == extent) return false;
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::RGBA16);
    if (!buffer) return false;
    buffer->setImage(constant(0, 0, 0));
    if (accumulator_) {
        buffer->setImage(ops::sourceOver(accumulator_->image(), constant(0, 0, 0)));
    }
    accumulator_ = buffer;
    mask_ = accumulator_->image();
    return true;
}

RectF Painting::extent() const {
    return canvas_.imageA_orig().extent();
}

bool Painting::isMaskCleared() const {
    if (!mask_) return true;
    auto bitmap = Renderer().createBitmap(mask_, 8);
    return bitmap ? isBlackColorImage(*bitmap) : true;
}

void Painting::recordLayers(const QString& stepName, qint64 bytes) {
    if (EditSession* s = canvas_.session()) s->changeLayers(stepName, undoMask(), undoColorMask(), bytes);
}

namespace {
// A change of the whole mask shares none of its tiles with the one before (16-bit grey).
qint64 wholeMaskBytes(const RectF& extent) {
    return qint64(extent.width()) * qint64(extent.height()) * 2;
}
} // namespace

void Painting::setMask(const Image& m) {
    if (maskCleared_) needUpdateAccumulator_ = true;
    maskCleared_ = m.isNull();
    if (!accumulator_) canvas_.createMaskBuffer();
    if (accumulator_) accumulator_->setImage(m ? m : constant(0, 0, 0));
    mask_ = accumulator_ ? accumulator_->image() : Image();
    previousMask_ = Image();
    canvas_.validateMask();
    needUpdateAccumulator_ = needUpdateColorAccumulator_ = true;
    undoMask();
}

void Painting::applyMask(const Image& m, const QString& stepName) {
    setMask(m);
    recordLayers(stepName, wholeMaskBytes(extent()));
}

void Painting::clearMask() {
    applyMask(Image(), UndoStep::tr("Clear Mask"));
}

void Painting::loadLayers(const Image& m, const Image& layer) {
    setMask(m);
    applyNewColorMask(layer);
    canvas_.validateMask();
}

void Painting::restorePainting(const Image& m, const Image& layer) {
    if (!accumulator_) canvas_.createMaskBuffer();
    if (accumulator_ && m) {
        accumulator_->setImage(m);
        mask_ = accumulator_->image();
        maskCleared_ = false;
    }
    previousMask_ = Image();
    needUpdateAccumulator_ = false;
    applyNewColorMask(layer);
    canvas_.validateMask();
    if (EditSession* s = canvas_.session()) s->resetLayers(undoMask(), undoColorMask());
}

void Painting::invertMask() {
    const QString step = UndoStep::tr("Invert Mask");
    if (maskCleared_) {
        applyMask(constant(1, 1, 1).imageByCroppingToRect(extent()), step);
        return;
    }
    applyMask(ops::colorInvert(mask_), step);
}

Image Painting::undoMask() {
    // The buffer goes back to holding the mask (a stroke may have used it for itself); values
    // taken from it earlier are copy-on-write snapshots and stay as they were.
    if (needUpdateAccumulator_ && accumulator_) {
        accumulator_->setImage(mask_ ? mask_ : constant(0, 0, 0));
        needUpdateAccumulator_ = false;
    }
    return mask_;
}

Image Painting::undoColorMask() {
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

std::shared_ptr<PaintBuffer> Painting::colorImageAccumulator() {
    if (!colorAccumulator_) {
        const RectF e = accumulator_ ? accumulator_->extent() : extent();
        colorAccumulator_ = PaintBuffer::imageAccumulatorWithExtent(e, PixelFormat::RGBA16);
        if (colorAccumulator_) colorAccumulator_->setImage(constant(1, 1, 1));
    }
    return colorAccumulator_;
}

void Painting::applyNewColorMask(const Image& layer) {
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

void Painting::applyColorDrawingMask(const Image& layer) {
    applyNewColorMask(layer);
    canvas_.validateMask();
}

void Painting::applyColorMask() {
    if (!colorMask_) return;
    if (!mask_ && accumulator_) mask_ = accumulator_->image();
    if (accumulator_ && lastColoredMask_) accumulator_->setImage(lastColoredMask_);
    if (accumulator_) mask_ = accumulator_->image();
    previousMask_ = Image();
    maskCleared_ = false;
    canvas_.validateMask();
    needUpdateAccumulator_ = needUpdateColorAccumulator_ = true;
    undoMask();
    colorMask_ = Image();
    recordLayers(UndoStep::tr("Pick Colours"), wholeMaskBytes(extent()));
}

void Painting::maskBufferWritten() {
    needUpdateAccumulator_ = true;
    maskCleared_ = false;
    if (accumulator_) mask_ = accumulator_->image();
    canvas_.validateMask();
}

void Painting::colorBufferWritten() {
    needUpdateColorAccumulator_ = true;
    if (colorAccumulator_) colorDrawingMask_ = colorAccumulator_->image();
    canvas_.validateMask();
}

void Painting::flatten() {
    if (colorDrawingMask_) colorDrawingMask_ = CanvasModel::accumulatedImageFromImage(colorDrawingMask_);
    if (mask_ && !maskCleared_) mask_ = CanvasModel::accumulatedImageFromImage(mask_);
}

} // namespace pimavo
