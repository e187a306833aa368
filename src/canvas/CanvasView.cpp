#include "CanvasView.h"

#include "BrushCursor.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

namespace pimavo {

namespace {
// Scroll bar positions are fractions of the scrollable length, held at this resolution.
constexpr int kScrollResolution = 10000;
constexpr int kScrollerThickness = 18;

// The brush picture (drawn at its device pixel ratio) as a cursor whose hot spot is its centre.
// Qt takes hot spots in points, but its X11 platform hands them to the server unscaled, beside
// the picture in device pixels: at 2× the brush would be centred off the point it paints. There
// the hot spot is given in device pixels.
QCursor centredCursor(const QImage& picture, int diameter) {
    const double k = QGuiApplication::platformName() == "xcb" ? picture.devicePixelRatio() : 1.0;
    const int hot = int(std::lround(diameter * k)) / 2;
    return QCursor(QPixmap::fromImage(picture), hot, hot);
}
} // namespace

CanvasView::CanvasView(CanvasPhoto photo, EditSession* session, QWidget* parent, CanvasAreaLayout layout)
    : RenderedImageView(parent),
      model_(std::make_unique<CanvasModel>(std::move(photo), session,
                                           CanvasModel::OpenedPhotoCache::AfterFirstFrame)),
      geometry_(layout) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setShowsTransparency(model_->hasAlpha());
    hBar_ = new QScrollBar(Qt::Horizontal, this);
    vBar_ = new QScrollBar(Qt::Vertical, this);
    cornerSquare_ = new QWidget(this);
    cornerSquare_->setAutoFillBackground(true);
    for (QScrollBar* bar : {hBar_, vBar_}) {
        bar->hide();
        bar->setRange(0, kScrollResolution);
        bar->setSingleStep(kScrollResolution / 40);
        bar->setCursor(Qt::ArrowCursor);
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, bar](int action) { scrollBarAction(bar, action); });
    }
    cornerSquare_->hide();
    // An undo or redo brought back another painting, or the picture's settings changed: the model
    // has taken them, the screen follows.
    if (session) {
        connect(session, &EditSession::layersRestored, this, [this] { validateImage(); });
        connect(session, &EditSession::pictureSettingsChanged, this, [this] { validateImage(); });
    }

    // A preset is applied a moment after it is chosen, once computed: the picture changes then,
    // with nobody else asking for a redraw. The comparison stays until it is left.
    model_->setPictureChangedHandler([this] {
        if (!comparing_) validateImage();
    });
    geometry_.setBrushSize(model_->painting().brush().size);
    geometry_.toolbarSetBrushSize = [this](double z) {
        if (isSignalConnected(QMetaMethod::fromSignal(&CanvasView::brushSizeRequested)))
            emit brushSizeRequested(z);
        else
            geometry_.setBrushSize(std::clamp(z, 1.0, 400.0));
    };
    geometry_.brushSizeChanged = [this](double z) {
        model_->painting().brush().size = z;
        validateCursor();
    };
    validateCursor();
}

void CanvasView::setColorPickerShowed(bool shown) {
    colorPickerShowed_ = shown;
    validateCursor();
}

void CanvasView::layOutArea() {
    const RectF e = model_->imageA_orig().extent();
    geometry_.setDevicePixelRatio(devicePixelRatioF());
    model_->setDevicePixelRatio(devicePixelRatioF());
    geometry_.setAreaSize({double(width()), double(height())});
    geometry_.setImageSize({e.width(), e.height()});
    geometry_.setScaleFactorFromPhoto(model_->scaleFactorFromPhoto());
    // The bars run along the bottom and right edges of the picture area, meeting at the corner square.
    // Their tracks are set so that a knob at the end of its bar shows the picture's edge just clear
    // of the other bar, and 10 points from the area's edge at the start.
    geometry_.horizontalScroller().trackLength = width() - 14;
    geometry_.horizontalScroller().thickness = kScrollerThickness;
    geometry_.verticalScroller().trackLength = height() - 20;
    geometry_.verticalScroller().thickness = kScrollerThickness;
    hBar_->setGeometry(0, height() - kScrollerThickness, width() - kScrollerThickness, kScrollerThickness);
    vBar_->setGeometry(width() - kScrollerThickness, 0, kScrollerThickness, height() - kScrollerThickness);
    cornerSquare_->setGeometry(width() - kScrollerThickness, height() - kScrollerThickness,
                               kScrollerThickness, kScrollerThickness);
}

void CanvasView::applyGeometry() {
    const RectF r = geometry_.realFrame();
    const RectF e = model_->imageA_orig().extent();
    const double oldScale = model_->scale();
    setRealFrame(QRectF(r.minX(), height() - r.maxY(), r.width(), r.height()), e.width());
    model_->setScale(geometry_.scale());
    mirrorScrollers();
    // Past one point per photo pixel the picture switches to full resolution.
    if (oldScale != geometry_.scale()) {
        validateImage();
        emit zoomChanged(geometry_.zoomPercent());
    }
    update();
}

void CanvasView::mirrorScrollers() {
    // Disabled, the bars stay hidden whatever the picture needs.
    auto mirror = [this](QScrollBar* bar, const ScrollerState& s) {
        bar->setVisible(enabled_ && !s.hidden);
        const QSignalBlocker block(bar);
        const double p = std::clamp(s.knobProportion, 0.01, 0.99);
        bar->setPageStep(int(std::lround(kScrollResolution * p / (1 - p))));
        bar->setSliderPosition(int(std::lround(s.value * kScrollResolution)));
        bar->setValue(bar->sliderPosition());
    };
    mirror(hBar_, geometry_.horizontalScroller());
    mirror(vBar_, geometry_.verticalScroller());
    cornerSquare_->setVisible(enabled_ && !geometry_.isCornerSquareHidden());
}

void CanvasView::zoomed(bool changed) {
    if (!changed) return;
    userZoomed_ = true;
    applyGeometry();
    delayedSetNeedDisplay();
}

void CanvasView::scrollBarAction(QScrollBar* bar, int action) {
    const bool horizontal = bar == hBar_;
    ScrollerPart part = ScrollerPart::Other;
    switch (action) {
    case QAbstractSlider::SliderPageStepAdd:
        part = ScrollerPart::IncrementPage;
        break;
    case QAbstractSlider::SliderPageStepSub:
        part = ScrollerPart::DecrementPage;
        break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
        part = ScrollerPart::Knob;
        break;
    default:
        return;
    }
    const double value = double(bar->sliderPosition()) / kScrollResolution;
    if (horizontal)
        geometry_.horizontalScroll(part, value);
    else
        geometry_.verticalScroll(part, value);
    applyGeometry();
    // The bar shows where the picture went, not where its own step would have put it.
    const ScrollerState& s = horizontal ? geometry_.horizontalScroller() : geometry_.verticalScroller();
    bar->setSliderPosition(int(std::lround(s.value * kScrollResolution)));
}

void CanvasView::flagsChanged(Qt::KeyboardModifiers modifiers) {
    if ((modifiers & Qt::ControlModifier) && moveImageUsingSpace_) setMoveImageUsingSpace(false);
    validateCursor();
}

void CanvasView::releaseHeldKeys() {
    setMoveImageUsingSpace(false);
    validateCursor();
}

void CanvasView::delayedSetNeedDisplay() {
    QTimer::singleShot(100, this, [this] { update(); });
}

void CanvasView::zoomIn() {
    if (!isInteractionBlocked()) zoomed(geometry_.zoomIn());
}

void CanvasView::zoomOut() {
    if (!isInteractionBlocked()) zoomed(geometry_.zoomOut());
}

void CanvasView::zoomToFitRect(const RectF& r) {
    layOutArea();
    geometry_.zoomToFitRect(r);
    fitted_ = true;
    userZoomed_ = false;
    applyGeometry();
}

void CanvasView::zoomToPercent(double percent) {
    if (!isInteractionBlocked()) zoomed(geometry_.zoomToPercent(percent));
}

void CanvasView::zoomToActualSize() {
    if (isInteractionBlocked()) return;
    geometry_.zoomToActualSize();
    userZoomed_ = true;
    applyGeometry();
}

void CanvasView::setMoveImage(bool on) {
    moveImage_ = on;
    validateCursor();
}

void CanvasView::setMoveImageUsingSpace(bool on) {
    if (moveImageUsingSpace_ == on) return;
    moveImageUsingSpace_ = on;
    validateCursor();
}

QCursor CanvasView::currentBrushCursor() {
    // A click while a colour chooser is open closes it: the pointer says so by not being a brush.
    if (!enabled_ || colorPickerShowed_) return QCursor(Qt::ArrowCursor);
    if (isHandTool()) return QCursor(dragged_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    const int D = std::max(1, int(std::lround(float(model_->painting().brush().size))));
    const double dpr = devicePixelRatioF();
    const QImage picture = drawBrushPicture(D, model_->painting().brush().softness,
                                            model_->painting().brush().erase, false, dpr);
    return centredCursor(picture, D);
}

QCursor CanvasView::additionalDrawingCursorWithDiameter(double diameter) {
    if (diameter == 0) diameter = model_->painting().brush().size;
    const int D = std::max(8, int(std::lround(diameter)));
    const CursorKey key{D, D * (1 - model_->painting().brush().softness / 200),
                        model_->painting().brush().opacity, model_->painting().brush().erase,
                        devicePixelRatioF()};
    if (key == drawingCursorKey_) return drawingCursor_;
    drawingCursorKey_ = key;
    const QImage picture = drawBrushPicture(D, model_->painting().brush().softness,
                                            model_->painting().brush().erase, true, key.dpr);
    drawingCursor_ = centredCursor(picture, D);
    return drawingCursor_;
}

void CanvasView::validateCursor() {
    drawingCursorShown_ = false;
    setCursor(currentBrushCursor());
}

void CanvasView::showDrawingCursor(double pressure) {
    const CursorKey before = drawingCursorKey_;
    const QCursor drawing =
        additionalDrawingCursorWithDiameter(std::max(model_->painting().brush().size * pressure, 1e-3));
    // Set again only when it changed: a mouse drag keeps one cursor from press to release.
    if (drawingCursorShown_ && drawingCursorKey_ == before) return;
    drawingCursorShown_ = true;
    setCursor(drawing);
}

void CanvasView::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    validateCursor();
    // Enabled again, the scroll bars come back as the picture needs them.
    if (on && fitted_) geometry_.validateFrame(geometry_.realFrame());
    mirrorScrollers();
}

CanvasView::~CanvasView() = default;

void CanvasView::showFullResolution(bool on) {
    // Squares are the photo's own pixels only when the canvas works on the photo itself; a reduced
    // copy is stretched smoothly to the photo's size instead, its pixels being no pixels of the photo.
    setSharpMagnification(on && !model_->worksOnReducedCopy());
}

void CanvasView::validateImage() {
    comparing_ = false;
    const Image picture = model_->currentImage();
    showFullResolution(model_->isNowFullSize());
    setImage(picture);
}

void CanvasView::showCompareView() {
    comparing_ = true;
    showFullResolution(model_->isCompareFullSize());
    setImage(model_->originalImage());
}

void CanvasView::showEvent(QShowEvent* event) {
    RenderedImageView::showEvent(event);
    // The first display makes the mask.
    if (!model_->painting().imageAccumulator()) model_->createMaskBuffer();
    if (!fitted_) zoomToFitRect();
    validateImage();
}

void CanvasView::paintEvent(QPaintEvent* event) {
    RenderedImageView::paintEvent(event);
    model_->lookCache().release();
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    RenderedImageView::resizeEvent(event);
    if (!fitted_) return;
    // A fitted picture stays fitted; a zoomed one keeps its scale and stays in bounds.
    if (!userZoomed_) {
        zoomToFitRect();
        return;
    }
    layOutArea();
    geometry_.validateFrame(geometry_.clampPosition(geometry_.realFrame()));
    applyGeometry();
}

void CanvasView::redrawTouched(const RectF& touched) {
    if (touched.isNull()) return;
    const Image picture = model_->currentImage();
    showFullResolution(model_->isNowFullSize());
    setImage(picture, viewRectFromImage(touched));
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // Secondary clicks belong to the window (its background chooser).
        event->ignore();
        return;
    }
    pointerPressed(event->position(), 1);
}

void CanvasView::pointerPressed(const QPointF& at, double pressure) {
    if (!enabled_) {
        // Disabled during the before/after comparison: a press ends it.
        emit compareCloseRequested();
        return;
    }
    if (colorPickerShowed_) emit colorPickerCloseRequested();
    if (model_->painting().brush().solidColor && !model_->painting().brush().colour) {
        emit alertRequested(tr("ReColor undefined"), tr("You must select color for drawing."));
        return;
    }
    if (isHandTool()) {
        dragged_ = true;
        geometry_.beginHandMove(areaPoint(at));
        validateCursor();
        return;
    }
    if (!model_->painting().beginStroke(imagePointFromView(at), pressure)) return;
    showDrawingCursor(pressure);
    // The first dab shows now, before any move: the whole brush around the press (a full-pressure
    // dab is the largest).
    const double r = model_->painting().brush().size / scale();
    const PointF p = model_->painting().lastDrawnPoint();
    redrawTouched(RectF(p.x - r, p.y - r, 2 * r, 2 * r));
}

void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
    // With the hand, a double click fits the picture again.
    if (event->button() == Qt::LeftButton && enabled_ && isHandTool()) {
        zoomToFitRect();
        return;
    }
    mousePressEvent(event);
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    pointerDragged(event->position(), 1);
}

void CanvasView::pointerDragged(const QPointF& at, double pressure) {
    if (!enabled_) return;
    if (colorPickerShowed_) emit colorPickerCloseRequested();
    if (isHandTool()) {
        // Switching to the hand mid-stroke ends the stroke first.
        if (model_->painting().isDrawing()) {
            model_->painting().endStroke();
            validateImage();
        }
        if (!dragged_) {
            dragged_ = true;
            geometry_.beginHandMove(areaPoint(at));
        }
        geometry_.handMove(areaPoint(at));
        applyGeometry();
        return;
    }
    // The hand let go mid-drag: the rest of the drag paints, and its release ends the stroke.
    dragged_ = false;
    const bool starting = !model_->painting().isDrawing();
    redrawTouched(model_->painting().continueStroke(imagePointFromView(at), pressure));
    if (starting) {
        // The drag began with no stroke under way (the hand was let go mid-drag): its first dab
        // was laid just now and shows at once, as a press's does.
        const double r = model_->painting().brush().size / scale();
        const PointF p = model_->painting().lastDrawnPoint();
        redrawTouched(RectF(p.x - r, p.y - r, 2 * r, 2 * r));
    }
    if (model_->painting().isDrawing()) showDrawingCursor(pressure);
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pointerReleased();
}

void CanvasView::pointerReleased() {
    if (dragged_) {
        dragged_ = false;
        validateCursor();
        return;
    }
    model_->painting().endStroke();
    validateImage();
    validateCursor();
}

void CanvasView::tabletEvent(QTabletEvent* event) {
    // The pen's own events, which carry its pressure. Accepted, Qt makes no mouse events of them;
    // the pen's hover and its side buttons are left to become mouse events as usual.
    const double pressure = std::clamp(double(event->pressure()), 0.0, 1.0);
    switch (event->type()) {
    case QEvent::TabletPress:
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        penDown_ = true;
        pointerPressed(event->position(), pressure);
        break;
    case QEvent::TabletMove:
        if (!penDown_) {
            event->ignore();
            return;
        }
        pointerDragged(event->position(), pressure);
        break;
    case QEvent::TabletRelease:
        if (!penDown_) {
            event->ignore();
            return;
        }
        penDown_ = false;
        pointerReleased();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    if (isInteractionBlocked()) return;
    const bool option = event->modifiers() & Qt::AltModifier;
    const bool trackpad = !event->pixelDelta().isNull() || event->phase() != Qt::NoScrollPhase;
    if (trackpad && !option) {
        // Trackpad scrolling moves the picture; small moves gather until they make a point.
        if (event->phase() == Qt::ScrollBegin) geometry_.beginScrollGesture();
        const QPointF d =
            event->pixelDelta().isNull() ? QPointF(event->angleDelta()) / 8 : QPointF(event->pixelDelta());
        geometry_.addScrollDelta(d.x(), d.y());
        if (!scrollPending_) {
            scrollPending_ = true;
            QTimer::singleShot(10, this, [this] {
                scrollPending_ = false;
                if (geometry_.applyScrollDeltas()) applyGeometry();
            });
        }
        return;
    }
    // A mouse wheel, or a trackpad with Alt, zooms a step of the ladder (with Ctrl, twice or half),
    // about the point under the pointer.
    const int dy = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (dy == 0) return;
    const PointF anchor = areaPoint(event->position());
    if (event->modifiers() & Qt::ControlModifier)
        zoomed(geometry_.zoomDoubling(dy > 0, anchor));
    else
        zoomed(dy > 0 ? geometry_.zoomIn(anchor) : geometry_.zoomOut(anchor));
}

bool CanvasView::event(QEvent* event) {
    // Moved to a screen of another scale: actual size is a different number of points there, and
    // the picture's edges must fall on that screen's pixels.
    if (event->type() == QEvent::ScreenChangeInternal && fitted_ &&
        devicePixelRatioF() != geometry_.devicePixelRatio()) {
        const double percent = geometry_.zoomPercent();
        if (userZoomed_) {
            layOutArea();
            geometry_.zoomToPercent(percent);
            applyGeometry();
        } else {
            zoomToFitRect();
        }
    }
    if (event->type() == QEvent::NativeGesture) {
        auto* g = static_cast<QNativeGestureEvent*>(event);
        if (g->gestureType() == Qt::ZoomNativeGesture) {
            if (!isInteractionBlocked()) zoomed(geometry_.magnify(g->value()));
            return true;
        }
    }
    return RenderedImageView::event(event);
}

void CanvasView::keyPressEvent(QKeyEvent* event) {
    // Disabled (the comparison or the picker is up), the canvas takes no keys: they reach the
    // window, which leaves the comparison with any of them.
    if (!enabled_) {
        event->ignore();
        return;
    }
    // The window normally handles keys; these work when the canvas has the focus on its own.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        setMoveImageUsingSpace(true);
        return;
    }
    if (event->key() == Qt::Key_Control) {
        flagsChanged(event->modifiers() | Qt::ControlModifier);
        return;
    }
    if (event->matches(QKeySequence::ZoomIn) || event->key() == Qt::Key_Plus ||
        event->key() == Qt::Key_Equal) {
        zoomIn();
        return;
    }
    if (event->matches(QKeySequence::ZoomOut) || event->key() == Qt::Key_Minus) {
        zoomOut();
        return;
    }
    if (event->key() == Qt::Key_0 && (event->modifiers() & Qt::ControlModifier)) {
        zoomToFitRect();
        return;
    }
    if (event->key() == Qt::Key_1 && (event->modifiers() & Qt::ControlModifier)) {
        zoomToActualSize();
        return;
    }
    RenderedImageView::keyPressEvent(event);
}

void CanvasView::keyReleaseEvent(QKeyEvent* event) {
    if (!enabled_) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        setMoveImageUsingSpace(false);
        return;
    }
    RenderedImageView::keyReleaseEvent(event);
}

void CanvasView::focusOutEvent(QFocusEvent* event) {
    releaseHeldKeys();
    RenderedImageView::focusOutEvent(event);
}

} // namespace pimavo
