// What the tool panel asks of its owner (the main window controller), which forwards each change to
// the canvas and the picture's pipeline. The panel itself holds no picture state.
#pragma once

#include "engine/Image.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace pimavo {

class ToolPanel;

class ToolPanelDelegate {
public:
    virtual ~ToolPanelDelegate() = default;
    virtual void invertMaskForDrawingToolbarController(ToolPanel* sender) = 0;
    virtual void showMask(ToolPanel* sender, bool on) = 0;
    virtual void eraseMask(ToolPanel* sender, bool on) = 0;
    virtual void moveImage(ToolPanel* sender, bool on) = 0;
    virtual void solidColorSelected(ToolPanel* sender, bool on) = 0;
    virtual void customColor(ToolPanel* sender, std::optional<QColor> color) = 0;
    virtual void clearMaskForDrawingToolbarController(ToolPanel* sender) = 0;
    virtual void brushSizeChanged(ToolPanel* sender, double size) = 0;
    virtual void softnessChanged(ToolPanel* sender, double softness) = 0;
    virtual void opacityChanged(ToolPanel* sender, double opacity) = 0;
    virtual void intensityChanged(ToolPanel* sender, double intensivity) = 0;
    virtual void vignetteChanged(ToolPanel* sender, double value) = 0;
    virtual void presetDidChanged(ToolPanel* sender, int preset) = 0;
    virtual void exposureChanged(ToolPanel* sender, double value) = 0;
    virtual void brightnessChanged(ToolPanel* sender, double value) = 0;
    virtual void saturationChanged(ToolPanel* sender, double value) = 0;
    virtual void contrastChanged(ToolPanel* sender, double value) = 0;
    virtual void hueChanged(ToolPanel* sender, double value) = 0;
    virtual void blurChanged(ToolPanel* sender, double value) = 0;
    virtual void brightnessBackgroundChanged(ToolPanel* sender, double value) = 0;
    virtual void contrastBackgroundChanged(ToolPanel* sender, double value) = 0;
    virtual void saturationBackgroundChanged(ToolPanel* sender, double value) = 0;
    virtual void blurBackgroundChanged(ToolPanel* sender, double value) = 0;
    // None for the plain grey background.
    virtual void backgroundFilterNameChanged(ToolPanel* sender,
                                               std::optional<QString> name) = 0;
    virtual void showColorPickerView(ToolPanel* sender, bool show) = 0;
    virtual QImage previewImageForDrawingToolbarController(ToolPanel* sender, QSize size,
                                                           double brushSize, double brushSoftness,
                                                           double brushOpacity) = 0;
    virtual void applyMask(ToolPanel* sender, const Image& mask) = 0;
    virtual QCursor brushCursorForDrawingToolbarController(ToolPanel* sender) = 0;
};

} // namespace pimavo
