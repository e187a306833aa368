#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace pimavo {

namespace {

constexpr double kMargin = 10;      // between an overflowing picture and the area's edges
constexpr double kCentreInset = 15; // around a picture that fits
constexpr double kBrushSliderMaximum = 400;

// A scroller's thickness less the 3 points it overlaps the picture by.
double overlap(const ScrollerState& s) {
    return s.thickness - 3;
}

} // namespace

RectF ViewGeometry::centringArea() const {
    return {kCentreInset, kCentreInset, area_.width - layout_.rightReserved - 2 * kCentreInset,
            area_.height - layout_.topReserved - 2 * kCentreInset};
}

RectF ViewGeometry::clampX(RectF r) const {
    if (h_.hidden) return r;
    const double v = v_.hidden ? 0 : overlap(v_);
    const double AW = pictureAreaWidth();
    r.origin.x = std::min(r.origin.x, kMargin);
    if (r.maxX() < AW - kMargin - v) r.origin.x = AW - kMargin - v - r.width();
    return r;
}

RectF ViewGeometry::clampY(RectF r) const {
    if (v_.hidden) return r;
    const double b = kMargin + (h_.hidden ? 0 : overlap(h_));
    const double AH = pictureAreaHeight();
    r.origin.y = std::min(r.origin.y, b);
    if (r.maxY() < AH - kMargin) r.origin.y = AH - kMargin - r.height();
    return r;
}

RectF ViewGeometry::clampPosition(RectF r) const {
    return clampY(clampX(r));
}

double ViewGeometry::horizontalOverlapFor(double width) const {
    return width + 5 > h_.trackLength - layout_.widthMargin ? overlap(h_) : 0;
}

double ViewGeometry::verticalOverlapFor(double height) const {
    return height + 5 > v_.trackLength - layout_.widthMargin ? overlap(v_) : 0;
}

RectF ViewGeometry::validateFrame(RectF r) {
    realFrame_ = {snapf32(r.minX()), snapf32(r.minY()), snapf32(r.width()), snapf32(r.height())};
    const double w = realFrame_.width(), h = realFrame_.height();
    const double hTrack = h_.trackLength - layout_.widthMargin;
    const double vTrack = v_.trackLength - layout_.widthMargin;
    const RectF centre = centringArea();

    double bottomInset = 0;
    if (w + 5 > hTrack) {
        const double v = verticalOverlapFor(h);
        h_.hidden = false;
        h_.knobProportion = std::clamp(hTrack / (w + v), 0.0, 1.0);
        h_.value = std::clamp((kMargin - realFrame_.minX()) / ((w + v) - hTrack), 0.0, 1.0);
        bottomInset = overlap(h_);
    } else {
        h_.hidden = true;
        realFrame_.origin.x = snap(centre.minX() + centre.width() / 2 - w / 2);
    }
    double rightInset = layout_.rightReserved;
    if (h + 5 > vTrack) {
        v_.hidden = false;
        v_.knobProportion = std::clamp(vTrack / (h + bottomInset), 0.0, 1.0);
        v_.value = std::clamp((realFrame_.minY() - kMargin - bottomInset) / ((h + bottomInset) - vTrack) + 1,
                              0.0, 1.0);
        rightInset += overlap(v_);
    } else {
        v_.hidden = true;
        realFrame_.origin.y = snap(centre.minY() + centre.height() / 2 - h / 2);
    }

    const RectF limits(0, bottomInset, area_.width - rightInset,
                       area_.height - layout_.topReserved - bottomInset);
    frame_ = realFrame_.intersection(limits);
    if (frame_.isNull()) frame_ = {0, 0, 0, 0};
    return frame_;
}

PointF ViewGeometry::frameCentre() const {
    const RectF F = frame_;
    return {F.minX() + F.width() / 2, F.minY() + F.height() / 2};
}

void ViewGeometry::askToolbarForBrushSize(double z) {
    if (toolbarSetBrushSize)
        toolbarSetBrushSize(z);
    else
        setBrushSize(std::min(z, kBrushSliderMaximum));
}

bool ViewGeometry::zoomTo(double s, std::optional<PointF> anchor) {
    if (!(s > 0) || s == scale_ || imageSize_.width <= 0 || imageSize_.height <= 0) return false;
    const double W = imageSize_.width * s, H = imageSize_.height * s;
    if (s > scale_) {
        // The brush must stay at least one working pixel wide; where the toolbar cannot grow it any
        // further, zooming in stops.
        while (brushSize_ / s < 1) {
            if (storedBrushSize_ == 0) storedBrushSize_ = brushSize_;
            isZoom_ = true;
            const double before = brushSize_;
            askToolbarForBrushSize(s);
            if (brushSize_ <= before) {
                isZoom_ = false;
                return false;
            }
        }
    } else {
        // A picture that already fits is not made smaller than 300 points on a side.
        const double AW = pictureAreaWidth(), AH = pictureAreaHeight();
        if ((W <= kMinimumZoomOutSide && H < AH - 40) || (H <= kMinimumZoomOutSide && W < AW - 40))
            return false;
    }
    // The picture point under the anchor stays under it.
    const PointF A = anchor.value_or(frameCentre());
    const RectF R = realFrame();
    const double fx = R.width() > 0 ? (A.x - R.minX()) / R.width() : 0.5;
    const double fy = R.height() > 0 ? (A.y - R.minY()) / R.height() : 0.5;
    const bool out = s < scale_;
    setScale(s);
    if (out && storedBrushSize_ != 0) {
        // The user's own brush size comes back as soon as the scale allows it.
        isZoom_ = true;
        if (s > storedBrushSize_) {
            askToolbarForBrushSize(s);
        } else {
            const double stored = storedBrushSize_;
            storedBrushSize_ = 0;
            askToolbarForBrushSize(stored);
        }
        isZoom_ = false;
    }
    // Validated once for the scroll bars the new size shows, then kept from leaving a gap with them.
    validateFrame({A.x - fx * W, A.y - fy * H, W, H});
    validateFrame(clampPosition(realFrame_));
    return true;
}

bool ViewGeometry::zoomIn(std::optional<PointF> anchor) {
    const double now = zoomPercent() * (1 + 1e-6);
    for (double step : kZoomLadder)
        if (step > now) return zoomTo(step / 100 * actualSizeScale(), anchor);
    return false;
}

bool ViewGeometry::zoomOut(std::optional<PointF> anchor) {
    const double now = zoomPercent() * (1 - 1e-6);
    for (auto it = std::rbegin(kZoomLadder); it != std::rend(kZoomLadder); ++it)
        if (*it < now) return zoomTo(*it / 100 * actualSizeScale(), anchor);
    return false;
}

bool ViewGeometry::zoomDoubling(bool in, std::optional<PointF> anchor) {
    const double percent =
        std::clamp(zoomPercent() * (in ? 2 : 0.5), kZoomLadder[0], kZoomLadder[std::size(kZoomLadder) - 1]);
    return zoomTo(percent / 100 * actualSizeScale(), anchor);
}

bool ViewGeometry::zoomToPercent(double percent) {
    if (!std::isfinite(percent)) return false;
    percent = std::clamp(percent, kZoomLadder[0], kZoomLadder[std::size(kZoomLadder) - 1]);
    return zoomTo(percent / 100 * actualSizeScale());
}

void ViewGeometry::zoomToFitRect(RectF r) {
    if (r.isEmpty()) r = centringArea();
    const double a = float(r.height() / imageSize_.height), b = float(r.width() / imageSize_.width);
    const double s = (a > 1 && b > 1) ? 1 : std::min(a, b);
    setScale(s);
    if (storedBrushSize_ != 0) {
        isZoom_ = true;
        if (storedBrushSize_ > s) {
            const double stored = storedBrushSize_;
            storedBrushSize_ = 0;
            askToolbarForBrushSize(stored);
        }
        isZoom_ = false;
    }
    const double W = imageSize_.width * s, H = imageSize_.height * s;
    validateFrame({snap(r.minX() + (r.width() - W) / 2), snap(r.minY() + (r.height() - H) / 2), W, H});
}

void ViewGeometry::zoomToActualSize() {
    const double s = actualSizeScale();
    const double W = snap(imageSize_.width * s), H = snap(imageSize_.height * s);
    const RectF F = frame_;
    // At this scale a tiny brush would cover less than a working pixel and paint nothing.
    if (brushSize_ / s < 1) {
        if (storedBrushSize_ == 0) storedBrushSize_ = brushSize_;
        isZoom_ = true;
        askToolbarForBrushSize(s);
        isZoom_ = false;
    }
    setScale(s);
    validateFrame({snap(F.minX() + F.width() / 2 - W / 2), snap(F.minY() + F.height() / 2 - H / 2), W, H});
}

void ViewGeometry::setBrushSize(double z) {
    if (z == brushSize_) {
        isZoom_ = false;
        return;
    }
    if (z / scale_ >= 1) {
        brushSize_ = z;
        // A size the user picks replaces the one remembered while zoomed in.
        if (!isZoom_) storedBrushSize_ = 0;
        if (brushSizeChanged) brushSizeChanged(z);
    } else {
        askToolbarForBrushSize(scale_);
    }
    isZoom_ = false;
}

// Each action moves the picture along its axis, then keeps it from leaving a gap on that axis; at
// the end of its track the knob must not carry the picture's edge under the other scroll bar either.
void ViewGeometry::horizontalScroll(ScrollerPart part, double knobValue) {
    RectF r = realFrame();
    const double T = h_.trackLength - layout_.widthMargin;
    switch (part) {
    case ScrollerPart::Knob:
        r.origin.x = kMargin - knobValue * ((r.width() + verticalOverlapFor(r.height())) - T);
        break;
    case ScrollerPart::DecrementPage:
        r.origin.x += T;
        break;
    case ScrollerPart::IncrementPage:
        r.origin.x -= T;
        break;
    case ScrollerPart::Other:
        return;
    }
    validateFrame(clampX(r));
}

void ViewGeometry::verticalScroll(ScrollerPart part, double knobValue) {
    RectF r = realFrame();
    const double T = v_.trackLength - layout_.widthMargin;
    switch (part) {
    case ScrollerPart::Knob: {
        const double i = horizontalOverlapFor(r.width());
        r.origin.y = i + kMargin - (1 - knobValue) * ((r.height() + i) - T);
        break;
    }
    case ScrollerPart::IncrementPage:
        r.origin.y += T;
        break;
    case ScrollerPart::DecrementPage:
        r.origin.y -= T;
        break;
    case ScrollerPart::Other:
        return;
    }
    validateFrame(clampY(r));
}

bool ViewGeometry::applyScrollDeltas() {
    if (std::abs(deltaX_) < 1 && std::abs(deltaY_) < 1) return false;
    const double dx = deltaX_, dy = deltaY_;
    deltaX_ = deltaY_ = 0;
    RectF r = realFrame();
    if (!h_.hidden) r.origin.x += 2 * dx;
    if (!v_.hidden) r.origin.y -= 2 * dy;
    validateFrame(clampPosition(r));
    return true;
}

bool ViewGeometry::magnify(double magnification) {
    if (std::abs(magnification) < 0.01) return false;
    return magnification > 0 ? zoomIn() : zoomOut();
}

void ViewGeometry::beginHandMove(PointF p) {
    const RectF R = realFrame();
    startPoint_ = {p.x - R.minX(), p.y - R.minY()};
}

void ViewGeometry::handMove(PointF p) {
    RectF r = realFrame();
    if (!h_.hidden) r.origin.x = p.x - startPoint_.x;
    if (!v_.hidden) r.origin.y = p.y - startPoint_.y;
    validateFrame(clampPosition(r));
}

} // namespace pimavo
