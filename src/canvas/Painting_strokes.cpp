// Brush strokes: soft round dabs placed along the pointer path and composed into the mask and the
// solid-colour layer, one undo step per stroke.
//
// Paint mode draws the whole stroke into the mask buffer, cleared black at the press, and scales it
// by the stroke's opacity once per event before adding it to the mask as it was at the press: a
// stroke never builds up over itself. At full opacity there is nothing to scale, and adding the
// stroke to the mask gives what adding its dabs one by one gives, so such a stroke works on the mask
// directly, as erase and solid-colour modes do: the redraw while painting reads one buffer, not two.
#include "CanvasModel.h"
#include "Painting.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"
#include "engine/kernel/NativeKernels.h"
#include "session/EditSession.h"

#include <cmath>

namespace pimavo {

namespace {
enum class Mode { Paint, Erase, SolidColor };

Image constant(double r, double g, double b, double a = 1) {
    return Image::imageWithColor({r, g, b, a});
}

// The memory an undo step of a stroke keeps: the mask tiles the stroke rewrote (a mask tile holds one
// 16-bit grey channel) and, for a stroke that rebuilt the colour layer, that layer's tiles.
qint64 strokeMemory(const RectF& bounds, const RectF& extent, bool colorLayer) {
    const int t = PaintBuffer::kTileSize;
    qint64 bytes = 0;
    const IntRect r = IntRect::covering(bounds.intersection(extent));
    const IntRect e = IntRect::covering(extent);
    if (!r.isEmpty()) {
        const qint64 tiles = qint64((r.x1 - 1 - e.x0) / t - (r.x0 - e.x0) / t + 1) *
                             ((r.y1 - 1 - e.y0) / t - (r.y0 - e.y0) / t + 1);
        bytes += tiles * t * t * 2;
        if (colorLayer) bytes += tiles * t * t * 8;
    }
    if (colorLayer) bytes += qint64(e.width()) * e.height() * 2;
    return bytes;
}
} // namespace

bool Painting::beginStroke(PointF point, double pressure) {
    if (brush_.solidColor && !brush_.colour) return false;
    if (!accumulator_) canvas_.createMaskBuffer();
    drawing_ = true;
    strokeBounds_ = RectF::null();
    const bool paint = !brush_.erase && !brush_.colour;
    strokeBuffer_ = paint && strokeAlpha() < 1;
    previousMask_ = strokeBuffer_ ? mask_ : Image();
    if (strokeBuffer_ && accumulator_) accumulator_->setImage(constant(0, 0, 0));
    if (brush_.colour)
        emit canvas_.colorUsed(QColor::fromRgbF(float(brush_.colour->red), float(brush_.colour->green),
                                                float(brush_.colour->blue), float(brush_.colour->alpha)));
    //: A stroke painted with a solid colour
    const QString solid = UndoStep::tr("Colour");
    strokeName_ = brush_.erase ? UndoStep::tr("Erase") : brush_.solidColor ? solid : UndoStep::tr("Paint");
    continueStroke(point, pressure);
    return true;
}

void Painting::drawDabs(const std::vector<PointF>& centres) {
    if (!accumulator_ || centres.empty()) return;
    const Mode mode = brush_.erase ? Mode::Erase : brush_.colour ? Mode::SolidColor : Mode::Paint;
    std::vector<Image> dabs;
    dabs.reserve(centres.size());
    effects::BrushDab shape = brushDab_;
    for (const PointF& m : centres) {
        shape.center = m;
        if (Image dab = effects::brushDab(shape); dab && !dab.extent().isEmpty()) dabs.push_back(dab);
    }
    if (dabs.empty()) return;
    dabCount_ += int(dabs.size());
    // The mask takes all dabs of one event in a single pass over its buffer: laid over one another
    // (source over), white dabs cover what each covers in turn — one minus the product of what each
    // leaves uncovered — which is what composing them into the mask one by one gives.
    Image together = dabs.front();
    for (std::size_t i = 1; i < dabs.size(); ++i) together = ops::sourceOver(dabs[i], together);
    // Only the pixels the dabs cover: an edge pixel whose centre lies outside them at a fractional
    // position is no part of them, and writing it would clear the mask there.
    const RectF dirty = IntRect::covering(together.extent()).toCGRect();
    if (dirty.isEmpty()) return;
    const Image onMask = mode == Mode::Paint ? effects::composeTwoMasks(together, accumulator_->image())
                                             : effects::erase(together, accumulator_->image());
    // The same composition as one loop when the engine has one for it: this pass covers the whole
    // brush, which with a large brush is most of the picture, on every pointer move.
    accumulator_->setImage(kernel::layDabsOnMask(dabs, onMask), dirty);
    if (brush_.colour || colorAccumulator_) {
        // The colour layer is painted dab by dab: its kernel lays colour, not coverage.
        auto layer = colorImageAccumulator();
        if (layer) {
            const Rgba colour = brush_.colour
                                    ? Rgba{brush_.colour->red, brush_.colour->green, brush_.colour->blue, 1}
                                    : Rgba::white();
            for (const Image& dab : dabs)
                layer->setImage(effects::colorDraw(dab, layer->image(), colour),
                                IntRect::covering(dab.extent()).toCGRect());
        }
    }
}

RectF Painting::continueStroke(PointF P, double pressure) {
    if (!drawing_) {
        beginStroke(P, pressure);
        return RectF::null();
    }
    const Mode mode = brush_.erase ? Mode::Erase : brush_.colour ? Mode::SolidColor : Mode::Paint;
    const PointF Q = lastDrawnPoint_;
    lastDrawnPoint_ = P;
    if (mode == Mode::Paint) maskCleared_ = false;
    const double R = brush_.size * 0.5 / canvas_.scale() * pressure;
    const double r0 = R * (1 - brush_.softness / 100), r1 = 2 * R - r0, D = 2 * r1;
    brushDab_.radius0 = r0;
    brushDab_.radius1 = r1;
    brushDab_.opacity = mode == Mode::Erase ? brush_.opacity * brush_.opacity : 1.0;
    brushDab_.color0 = Rgba{1, 1, 1, 1};
    if (D < 1) return RectF::null();

    RectF touched;
    std::vector<PointF> centres;
    if (Q.x == 0 && Q.y == 0) {
        touched = RectF(P.x - r1, P.y - r1, D, D);
    } else {
        const int s = int(r1) < 5 ? 1 : int(r1) / 5;
        const double dx = P.x - Q.x, dy = P.y - Q.y;
        if (std::abs(dx) > std::abs(dy)) {
            if (s > std::abs(dx)) {
                lastDrawnPoint_ = Q;
                return RectF::null();
            }
            for (int i = int(std::min(Q.x, P.x) + 1); i < int(std::max(Q.x, P.x)); i += s)
                centres.push_back({double(i), (Q.y * P.x - Q.x * P.y - (Q.y - P.y) * i) / dx});
        } else {
            if (s > std::abs(dy)) {
                lastDrawnPoint_ = Q;
                return RectF::null();
            }
            for (int j = int(std::min(Q.y, P.y) + 1); j < int(std::max(Q.y, P.y)); j += s)
                centres.push_back({(Q.y * P.x - Q.x * P.y - dx * j) / (Q.y - P.y), double(j)});
        }
        const double x0 = std::min(Q.x, P.x) - r1, y0 = std::min(Q.y, P.y) - r1;
        touched = RectF(x0, y0, std::max(Q.x, P.x) + r1 - x0, std::max(Q.y, P.y) + r1 - y0);
    }
    centres.push_back(P);
    drawDabs(centres);
    touched = RectF(std::floor(float(touched.minX())), std::floor(float(touched.minY())),
                    std::ceil(float(touched.width())), std::ceil(float(touched.height())));
    const RectF margin = touched.insetBy(-1, -1);
    strokeBounds_ = strokeBounds_.isNull() ? margin : strokeBounds_.unionWith(margin);

    // The stroke's result, then the mask it makes.
    needUpdateAccumulator_ = true;
    const Image stroke = accumulator_->image();
    Image A = stroke;
    const double alpha = strokeAlpha();
    if (mode == Mode::Paint && strokeBuffer_) {
        A = ops::sourceIn(A, constant(1, 1, 1, alpha));
    }
    if (colorAccumulator_) colorDrawingMask_ = colorAccumulator_->image();
    needUpdateColorAccumulator_ = true;
    if (previousMask_ && mode == Mode::Paint && strokeBuffer_)
        mask_ = kernel::layStrokeOnMask(stroke, float(alpha), previousMask_,
                                        effects::composeTwoMasks(previousMask_, A));
    else
        mask_ = previousMask_ ? effects::composeTwoMasks(previousMask_, A) : A;
    if (mode != Mode::Paint) maskCleared_ = false;
    canvas_.validateMask();
    return touched;
}

void Painting::endStroke() {
    lastDrawnPoint_ = {0, 0};
    if (drawing_) {
        // The buffer holds the mask again, rendered; the colour buffer the colour layer.
        if (accumulator_) {
            if (previousMask_ && mask_ && !strokeBounds_.isNull()) {
                // Outside the stroke the mask is the one before it: keep those tiles as they are and
                // render only where the stroke went.
                accumulator_->setImage(previousMask_);
                accumulator_->setImage(mask_, strokeBounds_);
            } else {
                accumulator_->setImage(constant(0, 0, 0));
                if (mask_) accumulator_->setImage(mask_);
            }
            mask_ = accumulator_->image();
        }
        needUpdateAccumulator_ = false;
        previousMask_ = Image();
        if (colorDrawingMask_) {
            auto layer = colorImageAccumulator();
            layer->setImage(constant(1, 1, 1));
            layer->setImage(colorDrawingMask_);
            colorDrawingMask_ = layer->image();
        }
        needUpdateColorAccumulator_ = false;
        recordLayers(strokeName_, strokeMemory(strokeBounds_, extent(), bool(colorDrawingMask_)));
    }
    drawing_ = false;
}

// One dab of a paint stroke at one view point per pixel: the radii, the dab and the stroke strength
// continueStroke gives it, so that the preview shows what a press paints.
std::optional<Bitmap> Painting::previewImage(SizeF size, double c, double s, double o) const {
    if (!(size.width >= 1) || !(size.height >= 1)) return std::nullopt;
    const double R = c / 2, r0 = R * (1 - s / 100), r1 = 2 * R - r0;
    effects::BrushDab shape = brushDab_;
    shape.radius0 = r0;
    shape.radius1 = r1;
    shape.color0 = Rgba{1, 1, 1, 1};
    shape.center = {size.width / 2, size.height / 2};
    shape.opacity = 1.0;
    const Image dab = ops::sourceIn(effects::brushDab(shape), constant(1, 1, 1, 1 - (1 - o) * (1 - o)));
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(
        RectF(0, 0, std::max(c, size.width), std::max(c, size.height)), PixelFormat::ARGB8);
    if (!buffer) return std::nullopt;
    buffer->setImage(constant(0, 0, 0));
    buffer->setImage(ops::sourceOver(dab, buffer->image()));
    return Renderer().createBitmap(
        buffer->image().imageByCroppingToRect(RectF(0, 0, size.width, size.height)),
        RectF(0, 0, size.width, size.height), PixelLayout{8, AlphaInfo::PremultipliedLast});
}

} // namespace pimavo
