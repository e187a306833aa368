// Where the picture lies in the canvas area, and how zooming, scrolling and the hand tool move it.
//
// All rectangles are in the canvas area's coordinates, y up from its bottom-left corner, in view
// points. The area keeps a strip on the right (the drawing toolbar) and one at the top (the top
// bar) free of picture; both are zero when the host lays those out beside the area itself.
//
// The picture rectangle (`realFrame`) may extend beyond the area; the visible frame is its part that
// is not under a scroller or a reserved strip. No widget is needed: the canvas view asks this class
// where to draw and mirrors the scroller states onto its scroll bars.
#pragma once

#include "engine/Geometry.h"

#include <cmath>
#include <functional>
#include <optional>

namespace pimavo {

// What the canvas needs of a scroll bar: shown or not, its track, a knob proportion and a value
// from 0 (left, top) to 1 (right, bottom).
struct ScrollerState {
    bool hidden = true;
    double trackLength = 0; // along the scroller, points
    double thickness = 18;  // across it, points
    double knobProportion = 0.5;
    double value = 0.5;
};

enum class ScrollerPart { Knob, DecrementPage, IncrementPage, Other };

struct CanvasAreaLayout {
    double rightReserved = 309; // the drawing toolbar
    double topReserved = 49;    // the top bar
    double widthMargin = 0;     // taken off the scroller tracks
};

class ViewGeometry {
public:
    // Zoom steps in per cent of the photo's own size (100: one screen pixel per photo pixel), as
    // photographers know them.
    static constexpr double kZoomLadder[] = {12.5, 100.0 / 6, 25,  100.0 / 3, 50,  200.0 / 3,
                                             100,  200,       300, 400,       800, 1600};
    static constexpr double kMinimumZoomOutSide = 300;

    explicit ViewGeometry(CanvasAreaLayout layout = {}) : layout_(layout) {}

    // The canvas area's size; the owner lays out the scroller tracks to match.
    void setAreaSize(SizeF size) { area_ = size; }
    SizeF areaSize() const { return area_; }
    ScrollerState& horizontalScroller() { return h_; }
    ScrollerState& verticalScroller() { return v_; }
    const ScrollerState& horizontalScroller() const { return h_; }
    const ScrollerState& verticalScroller() const { return v_; }
    bool isCornerSquareHidden() const { return h_.hidden && v_.hidden; }

    // The working picture's size in pixels (set by fitting).
    void setImageSize(SizeF size) { imageSize_ = size; }
    SizeF imageSize() const { return imageSize_; }
    // The scale, in view points per working pixel, of one view point per pixel of the photo as
    // decoded.
    void setScaleFactorFromPhoto(double f) { scaleFactorFromPhoto_ = f; }
    // Screen pixels per view point. Actual size (100 %) is one photo pixel per screen pixel, as
    // photographers judge sharpness, so at 2x it is half a point; and the picture's edges lie on
    // whole screen pixels, so that at 125 % or 150 % desktop scale actual size is not resampled.
    void setDevicePixelRatio(double ratio) { dpr_ = ratio > 0 ? ratio : 1; }
    double devicePixelRatio() const { return dpr_; }

    double scale() const { return scale_; }
    void setScale(double s) { scale_ = s; }
    // The whole picture; the visible frame until the first validation.
    RectF realFrame() const { return realFrame_.isEmpty() ? frame_ : realFrame_; }
    // The visible part of the picture: where the canvas shows it.
    RectF frame() const { return frame_; }

    // Stores the picture rectangle (rounded), shows or hides the scrollers, centres the picture on
    // any axis it does not overflow, and answers the visible frame (also stored as frame()).
    RectF validateFrame(RectF r);
    // Keeps an overflowing picture from leaving a gap on either side.
    RectF clampPosition(RectF r) const;

    // The zoom in per cent of the photo's own size, in screen pixels.
    double zoomPercent() const { return scale_ / actualSizeScale() * 100; }

    // Zoom commands; each answers whether the picture changed. A step goes to the next zoom of the
    // ladder; `anchor` (area coordinates) stays over the same picture point, by default the
    // visible frame's centre.
    bool zoomIn(std::optional<PointF> anchor = std::nullopt);
    bool zoomOut(std::optional<PointF> anchor = std::nullopt);
    // Twice or half the zoom, within the ladder's ends.
    bool zoomDoubling(bool in, std::optional<PointF> anchor = std::nullopt);
    // A zoom typed in per cent, taken to the ladder's ends.
    bool zoomToPercent(double percent);
    // The scale, in view points per working pixel, keeping `anchor` over its picture point; the
    // brush stays one working pixel wide (past what the brush allows, nothing changes) and a
    // picture that fits is not made smaller than 300 points on a side.
    bool zoomTo(double scale, std::optional<PointF> anchor = std::nullopt);
    // Fits the picture into `r` (the null/empty rectangle: the default area), never above scale 1.
    void zoomToFitRect(RectF r);
    void zoomToActualSize();

    // Scroll bar actions.
    void horizontalScroll(ScrollerPart part, double knobValue = 0);
    void verticalScroll(ScrollerPart part, double knobValue = 0);

    // Trackpad scrolling: deltas accumulate until at least one point has gathered on an axis.
    void beginScrollGesture() { deltaX_ = deltaY_ = 0; }
    void addScrollDelta(double dx, double dy) {
        deltaX_ += dx;
        deltaY_ += dy;
    }
    // Applies the gathered deltas, answers whether the picture moved.
    bool applyScrollDeltas();
    // Pinch: a step in or out for a magnification of at least 0.01.
    bool magnify(double magnification);

    // The hand tool: grab at a point, then move with the pointer (area coordinates).
    void beginHandMove(PointF p);
    void handMove(PointF p);

    // The brush, in view points, kept at least one working pixel wide.
    double brushSize() const { return brushSize_; }
    double storedBrushSize() const { return storedBrushSize_; }
    // A brush size chosen on the toolbar (or handed back by it).
    void setBrushSize(double z);
    // The toolbar's brush control: moves its slider to a size (within its limits) and hands the size
    // back through setBrushSize. Without one, sizes up to 400 are taken directly.
    std::function<void(double)> toolbarSetBrushSize;
    // Told after the brush size changed.
    std::function<void(double)> brushSizeChanged;

private:
    double actualSizeScale() const { return scaleFactorFromPhoto_ / dpr_; }
    // To the nearest whole screen pixel; the float variant rounds as the picture's frame always has.
    double snap(double v) const { return std::round(v * dpr_) / dpr_; }
    double snapf32(double v) const { return double(std::lround(float(v * dpr_))) / dpr_; }
    double pictureAreaWidth() const { return area_.width - layout_.rightReserved; }
    double pictureAreaHeight() const { return area_.height - layout_.topReserved; }
    RectF centringArea() const;
    // The position clamp of one axis (only while that axis's scroller shows).
    RectF clampX(RectF r) const;
    RectF clampY(RectF r) const;
    // What a scroller overlaps the picture by when a picture of that extent makes it show, else 0.
    double horizontalOverlapFor(double width) const;
    double verticalOverlapFor(double height) const;
    void askToolbarForBrushSize(double z);
    PointF frameCentre() const;

    CanvasAreaLayout layout_;
    SizeF area_;
    SizeF imageSize_;
    double scale_ = 1;
    double scaleFactorFromPhoto_ = 1;
    double dpr_ = 1;
    RectF realFrame_{0, 0, 0, 0};
    RectF frame_{0, 0, 0, 0};
    ScrollerState h_, v_;
    double brushSize_ = 40;
    double storedBrushSize_ = 0;
    bool isZoom_ = false;
    double deltaX_ = 0, deltaY_ = 0;
    PointF startPoint_;
};

} // namespace pimavo
