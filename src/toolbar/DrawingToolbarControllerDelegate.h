// What the tool panel asks of its owner (the main window controller), which forwards each change to
// the canvas and the picture's pipeline. The panel itself holds no picture state.
#pragma once

#include "engine/CIImage.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace pimavo {

class DrawingToolbarController;

class DrawingToolbarControllerDelegate {
public:
    virtual ~DrawingToolbarControllerDelegate() = default;
    virtual void invertMaskForDrawingToolbarController(DrawingToolbarController* sender) = 0;
    virtual void showMask(DrawingToolbarController* sender, bool on) = 0;
    virtual void eraseMask(DrawingToolbarController* sender, bool on) = 0;
    virtual void moveImage(DrawingToolbarController* sender, bool on) = 0;
    virtual void solidColorSelected(DrawingToolbarController* sender, bool on) = 0;
    virtual void customColor(DrawingToolbarController* sender, std::optional<QColor> color) = 0;
    virtual void clearMaskForDrawingToolbarController(DrawingToolbarController* sender) = 0;
    virtual void brushSizeDidChange(DrawingToolbarController* sender, double size) = 0;
    virtual void softnessDidChange(DrawingToolbarController* sender, double softness) = 0;
    virtual void opacityDidChange(DrawingToolbarController* sender, double opacity) = 0;
    virtual void intensivityDidChange(DrawingToolbarController* sender, double intensivity) = 0;
    virtual void vignetteDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void presetDidChanged(DrawingToolbarController* sender, int preset) = 0;
    virtual void exposureDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void brightnessDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void saturationDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void contrastDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void hueDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void blurDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void brightnessBackgroundDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void contrastBackgroundDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void saturationBackgroundDidChange(DrawingToolbarController* sender, double value) = 0;
    virtual void blurBackgroundDidChange(DrawingToolbarController* sender, double value) = 0;
    // None for the plain grey background.
    virtual void backgroundFilterNameDidChange(DrawingToolbarController* sender,
                                               std::optional<QString> name) = 0;
    virtual void showColorPickerView(DrawingToolbarController* sender, bool show) = 0;
    virtual QImage previewImageForDrawingToolbarController(DrawingToolbarController* sender, QSize size,
                                                           double brushSize, double brushSoftness,
                                                           double brushOpacity) = 0;
    virtual void applyMask(DrawingToolbarController* sender, const CIImage& mask) = 0;
    virtual QCursor brushCursorForDrawingToolbarController(DrawingToolbarController* sender) = 0;
};

} // namespace pimavo
