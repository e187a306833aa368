// The painting canvas: shows the picture its CanvasModel composes, fitted in the view, and turns
// presses and drags into brush strokes on it. The model holds all picture state; the view maps the
// pointer into the picture and redraws what a stroke touched.
#pragma once

#include "CanvasModel.h"
#include "SampleCIView.h"

#include <QCursor>
#include <memory>

namespace pimavo {

class CIMicroPaintView : public SampleCIView {
    Q_OBJECT
public:
    CIMicroPaintView(BitmapRef photo, CanvasOwner* owner, QWidget* parent = nullptr);
    ~CIMicroPaintView() override;

    CanvasModel& model() { return *model_; }
    // Recomposes the whole picture and redraws it (after any change of the model's settings).
    void validateImage();
    // Shows the untouched photo, and back to the picture.
    void showCompareView();
    void hideCompareView() { validateImage(); }

    // The pointer over the canvas: the brush at its on-screen size (or the arrow while disabled).
    QCursor currentBrushCursor();
    // The brush while drawing, for a diameter (0: the brush size); rebuilt only when it changes.
    QCursor additionalDrawingCursorWithDiametr(double diameter);
    // Refreshes the pointer after a change of brush or tool.
    void validateCursor();
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitPicture();
    void redrawTouched(const CGRect& touched);

    std::unique_ptr<CanvasModel> model_;
    bool enabled_ = true;
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
