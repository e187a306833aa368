#include "PanelBinding.h"

#include "canvas/CanvasView.h"
#include "toolbar/ToolPanel.h"

namespace pimavo {

void connectPanelToCanvas(ToolPanel* panel, CanvasView* canvas) {
    CanvasModel* model = &canvas->model();
    // What changes the picture on screen redraws it; what changes the brush or tool, the pointer.
    auto redrawn = [canvas](auto change) {
        return [canvas, change](auto... value) {
            change(value...);
            canvas->validateImage();
        };
    };
    auto repointed = [canvas](auto change) {
        return [canvas, change](auto... value) {
            change(value...);
            canvas->validateCursor();
        };
    };
    QObject::connect(panel, &ToolPanel::invertMaskRequested, canvas,
                     redrawn([model] { model->painting().invertMask(); }));
    QObject::connect(panel, &ToolPanel::clearMaskRequested, canvas,
                     redrawn([model] { model->painting().clearMask(); }));
    QObject::connect(panel, &ToolPanel::showMaskChanged, canvas,
                     redrawn([model](bool on) { model->setShowMask(on); }));
    QObject::connect(panel, &ToolPanel::eraseMaskChanged, canvas,
                     repointed([model](bool on) { model->painting().brush().erase = on; }));
    QObject::connect(panel, &ToolPanel::moveImageChanged, canvas, &CanvasView::setMoveImage);
    QObject::connect(panel, &ToolPanel::solidColorChanged, canvas,
                     [model](bool on) { model->painting().brush().solidColor = on; });
    QObject::connect(panel, &ToolPanel::customColorChanged, canvas, repointed([model](const QColor& c) {
                         model->painting().brush().colour =
                             c.isValid() ? std::optional(Rgba{c.redF(), c.greenF(), c.blueF(), c.alphaF()})
                                         : std::nullopt;
                     }));
    QObject::connect(panel, &ToolPanel::brushSizeChanged, canvas,
                     repointed([canvas](double size) { canvas->setBrushSize(size); }));
    QObject::connect(panel, &ToolPanel::softnessChanged, canvas,
                     repointed([model](double v) { model->painting().brush().softness = v; }));
    QObject::connect(panel, &ToolPanel::opacityChanged, canvas,
                     repointed([model](double v) { model->painting().brush().opacity = v; }));

    // With the colour chooser open the canvas shows the arrow, and a press on it closes the chooser.
    QObject::connect(panel, &ToolPanel::colorPanelShown, canvas,
                     [canvas] { canvas->setColorPickerShowed(true); });
    QObject::connect(panel, &ToolPanel::colorPanelHidden, canvas,
                     [canvas] { canvas->setColorPickerShowed(false); });
    QObject::connect(canvas, &CanvasView::colorPickerCloseRequested, panel,
                     &ToolPanel::customColorPickerShouldBeClosed);
    QObject::connect(model, &CanvasModel::colorUsed, panel, &ToolPanel::addToRecentColors);
    QObject::connect(canvas, &CanvasView::brushSizeRequested, panel, &ToolPanel::setBrushSize);
}

} // namespace pimavo
