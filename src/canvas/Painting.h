// What the user paints on a canvas: the mask, black where the treated background shows and white
// where the photo's colour comes back, and the solid-colour layer, white where nothing is
// recoloured; the brush strokes that paint them, one step of the session's history per stroke.
//
// Both layers live in 16-bit buffers at the canvas's working size. The buffers are copy-on-write: a
// value taken from one never changes when the buffer is painted later, so every layer handed out
// (to undo, to the screen) stays what it was.
#pragma once

#include "Brush.h"
#include "engine/Image.h"
#include "engine/PaintBuffer.h"
#include "filters/Effects.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace pimavo {

class CanvasModel;

class Painting {
public:
    explicit Painting(CanvasModel& canvas) : canvas_(canvas) {}

    // The buffers, made black at `extent` (a mask painted already is kept); false when they were
    // there already.
    bool createBuffers(const RectF& extent);

    // The mask.
    const Image& mask() const { return mask_; }
    // Nothing painted since the mask was last cleared (the flag; isMaskCleared reads the pixels).
    bool isUnpainted() const { return maskCleared_; }
    bool isMaskCleared() const;
    // Replaces the mask (none clears it), as a step named `stepName` of the session's history.
    void applyMask(const Image& mask, const QString& stepName = {});
    void clearMask();
    void invertMask();
    // Puts back the painting of an earlier canvas of the same photo, outside the history (the step
    // that brings the photo back is the one undo runs).
    void restorePainting(const Image& mask, const Image& colorLayer);
    // The painting an undo or redo brought back.
    void loadLayers(const Image& mask, const Image& colorLayer);
    // The current mask and colour layer, as values later painting cannot change.
    Image undoMask();
    Image undoColorMask();
    std::shared_ptr<PaintBuffer> imageAccumulator() const { return accumulator_; }
    std::shared_ptr<PaintBuffer> colorImageAccumulator();
    // Marks the buffers as written (by painting), so that the next snapshot moves to fresh ones.
    void maskBufferWritten();
    void colorBufferWritten();

    // The solid-colour layer.
    const Image& colorDrawingMask() const { return colorDrawingMask_; }
    void applyNewColorMask(const Image& layer);
    void applyColorDrawingMask(const Image& layer);

    // A colour region picked: previewRegion merges it into the mask while `render` runs, then puts
    // the mask back; applyColorMask makes the merged mask the painting, as a step.
    template <typename Render> void previewRegion(const Image& region, Render render);
    void applyColorMask();
    void clearColorMask() { colorMask_ = Image(); }
    // Both layers rendered into their buffers, so that the pictures made from them stop depending
    // on how they were made.
    void flatten();

    // Brush and strokes. Points are in working-image pixels (y up); the view maps the pointer.
    // The brush the next dab paints with, free to change between strokes.
    Brush& brush() { return brush_; }
    const Brush& brush() const { return brush_; }
    bool isDrawing() const { return drawing_; }
    const PointF& lastDrawnPoint() const { return lastDrawnPoint_; }
    // A press: starts a stroke and draws its first dab. False (nothing drawn, nothing registered)
    // when the solid-colour tool has no colour; the view then shows its alert.
    bool beginStroke(PointF point, double pressure = 1);
    // A drag: draws the dabs from the last one to `point`; answers the touched rectangle (working
    // pixels, null when nothing was drawn).
    RectF continueStroke(PointF point, double pressure = 1);
    // A release.
    void endStroke();
    // A preview of one dab of that brush over black, w × h pixels, 8 bits per component.
    std::optional<Bitmap> previewImage(SizeF size, double brushSize, double softness, double opacity) const;
    // The number of dabs drawn since the canvas was made (tests and diagnostics).
    int dabCount() const { return dabCount_; }

private:
    // The painting as it is now becomes a step of the session's history.
    void recordLayers(const QString& stepName, qint64 bytes);
    void setMask(const Image& mask);
    // Draws the dabs of one pointer event into the mask (and the colour layer).
    void drawDabs(const std::vector<PointF>& centres);
    // What a paint stroke adds at most: the opacity, eased.
    double strokeAlpha() const { return 1 - (1 - brush_.opacity) * (1 - brush_.opacity); }
    RectF extent() const;

    CanvasModel& canvas_;
    std::shared_ptr<PaintBuffer> accumulator_, colorAccumulator_;
    Image mask_, previousMask_, colorDrawingMask_, colorMask_, lastColoredMask_;
    bool maskCleared_ = true, needUpdateAccumulator_ = false, needUpdateColorAccumulator_ = false;

    Brush brush_;
    // Whether the stroke in progress is drawn into the buffer on its own, to be added to the mask
    // from before it (paint mode below full opacity), rather than into the mask.
    bool strokeBuffer_ = false;
    bool drawing_ = false;
    QString strokeName_; // the step the stroke under way makes
    PointF lastDrawnPoint_{0, 0};
    RectF strokeBounds_ = RectF::null(); // working pixels the current stroke has touched
    effects::BrushDab brushDab_;         // the dab the brush lays, but for its centre
    int dabCount_ = 0;
};

template <typename Render> void Painting::previewRegion(const Image& region, Render render) {
    const Image kept = mask_;
    const bool wasCleared = maskCleared_;
    if (!mask_ && accumulator_) mask_ = accumulator_->image();
    colorMask_ = region;
    mask_ = effects::mergeMasks(mask_, region);
    maskCleared_ = false;
    render();
    lastColoredMask_ = mask_;
    mask_ = kept;
    maskCleared_ = wasCleared;
}

} // namespace pimavo
