// The painting canvas: shows the picture its CanvasModel composes, fitted in the view, and turns
// presses and drags into brush strokes on it. The model holds all picture state; the view maps the
// pointer into the picture and redraws what a stroke touched.
#pragma once

#include "CanvasModel.h"
#include "RenderedImageView.h"
#include "ViewGeometry.h"

#include <QCursor>
#include <memory>

class QScrollBar;

namespace pimavo {

class CanvasView : public RenderedImageView {
    Q_OBJECT
public:
    // `layout` names the strips of the view that the host covers (a toolbar, a top bar).
    CanvasView(CanvasPhoto photo, EditSession* session, QWidget* parent = nullptr,
               CanvasAreaLayout layout = {0, 0, 0});
    ~CanvasView() override;

    CanvasModel& model() { return *model_; }
    // Recomposes the whole picture and redraws it (after any change of the model's settings).
    void validateImage();
    // Shows the untouched photo, and back to the picture.
    void showCompareView();
    void hideCompareView() { validateImage(); }

    // The pointer over the canvas: the brush at its on-screen size (or the arrow while disabled).
    QCursor currentBrushCursor();
    // The brush while drawing, for a diameter (0: the brush size); rebuilt only when it changes.
    QCursor additionalDrawingCursorWithDiameter(double diameter);
    // Refreshes the pointer after a change of brush or tool.
    void validateCursor();
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on);
    // The window has an overlay or dialog up: no zooming or wheel handling meanwhile.
    void setInteractionBlocked(bool blocked) { interactionBlocked_ = blocked; }
    bool isInteractionBlocked() const { return interactionBlocked_; }

    // Zoom and scrolling.
    void zoomIn();
    void zoomOut();
    void zoomToFitRect(const RectF& r = RectF());
    void zoomToActualSize();
    // The zoom in per cent of the photo's own size, and a zoom typed in per cent.
    double zoomPercent() const { return geometry_.zoomPercent(); }
    void zoomToPercent(double percent);
    const ViewGeometry& geometry() const { return geometry_; }
    // The brush diameter in view points, kept at least one working pixel wide.
    void setBrushSize(double size) { geometry_.setBrushSize(size); }
    // The hand tool, chosen on the toolbar or held with the space bar.
    void setMoveImage(bool on);
    void setMoveImageUsingSpace(bool on);
    bool isHandTool() const { return moveImage_ || moveImageUsingSpace_; }
    bool isMoveImageUsingSpace() const { return moveImageUsingSpace_; }
    // Modifier keys changed (forwarded by the window): Ctrl leaves the space-bar hand, so that
    // Ctrl-space shortcuts do not leave the canvas stuck in it.
    void flagsChanged(Qt::KeyboardModifiers modifiers);
    // The keyboard went elsewhere (a dialog, another window): keys held now will be let go there,
    // unseen, so nothing may stay armed by them.
    void releaseHeldKeys();
    // Redraws once more a tenth of a second later, after a zoom has settled.
    void delayedSetNeedDisplay();
    // A colour chooser is open: the pointer closes it instead of painting.
    bool isColorPickerShowed() const { return colorPickerShowed_; }
    // The tool panel's colour chooser opened or closed.
    void setColorPickerShowed(bool shown);

signals:
    // The picture was zoomed (by a command, the wheel, fitting or a resize).
    void zoomChanged(double percent);
    // A press while disabled for the before/after comparison: it ends the comparison.
    void compareCloseRequested();
    // A press or drag while the colour chooser is open: it closes the chooser.
    void colorPickerCloseRequested();
    // The brush asked for another size (the [ and ] keys, zooming below one working pixel): the
    // panel's slider moves there and hands the size back through setBrushSize. Unheard, the view
    // takes sizes up to 400 itself.
    void brushSizeRequested(double size);
    // Something the user should be told, as an alert over the window.
    void alertRequested(const QString& message, const QString& informativeText);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool event(QEvent* event) override;

private:
    // A press, drag and release of the mouse or the pen; `pressure` 0 to 1 (a mouse presses fully).
    void pointerPressed(const QPointF& at, double pressure);
    void pointerDragged(const QPointF& at, double pressure);
    void pointerReleased();
    void layOutArea();
    // Shows the picture where the geometry puts it, and the scroll bars as it says.
    void applyGeometry();
    void scrollBarAction(QScrollBar* bar, int action);
    // The scroll bars and corner square as the geometry says (all hidden while disabled).
    void mirrorScrollers();
    // After a zoom step that changed the picture.
    void zoomed(bool changed);
    PointF areaPoint(const QPointF& p) const { return {p.x(), height() - p.y()}; }
    void redrawTouched(const RectF& touched);
    // The picture is the full-resolution one: its magnified pixels show as squares where they are
    // the photo's.
    void showFullResolution(bool on);
    // The drawing cursor at the pressure's share of the brush.
    void showDrawingCursor(double pressure);

    std::unique_ptr<CanvasModel> model_;
    bool enabled_ = true;
    ViewGeometry geometry_;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
    QWidget* cornerSquare_ = nullptr;
    bool fitted_ = false;     // zoomed to fit at least once
    bool userZoomed_ = false; // a zoom command since the last fit: resizing keeps the scale
    bool moveImage_ = false, moveImageUsingSpace_ = false, dragged_ = false;
    bool scrollPending_ = false;
    bool penDown_ = false;            // a pen stroke: its moves and release come as tablet events
    bool drawingCursorShown_ = false; // the drawing cursor is the one set
    bool interactionBlocked_ = false;
    bool colorPickerShowed_ = false;
    bool comparing_ = false; // the untouched photo is shown
    QCursor drawingCursor_;
    struct CursorKey {
        int diameter = -1;
        double inner = -1, opacity = -1;
        bool erase = false;
        double dpr = 0;
        bool operator==(const CursorKey&) const = default;
    } drawingCursorKey_;
};

} // namespace pimavo
