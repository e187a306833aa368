// The solid colour: selection, intensity, the colour well, recent colours and the colour panel.
#include "ToolPanel.h"
#include "core/Settings.h"
#include "picker/ColorPanel.h"
#include "picker/ColorSwatch.h"
#include "picker/SwatchCell.h"
#include "widgets/GradientSlider.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QColorDialog>
#include <QMouseEvent>
#include <algorithm>

namespace pimavo {

namespace {

pimavo::Settings::Colour stored(const QColor& c) {
    return {float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF())};
}

} // namespace

std::optional<QColor> ToolPanel::colorWithIntensity() const {
    if (!selectedColor_) return std::nullopt;
    const double a = intensitySlider_->doubleValue();
    const double c[3] = {selectedColor_->redF(), selectedColor_->greenF(), selectedColor_->blueF()};
    double out[3];
    for (int i = 0; i < 3; ++i) out[i] = a < 0 ? c[i] + c[i] * a : c[i] + (1 - c[i]) * a;
    return QColor::fromRgbF(float(out[0]), float(out[1]), float(out[2]), 1.0f);
}

void ToolPanel::selectColor(const QColor& color) {
    if (!color.isValid()) return;
    selectedColor_ = deviceRGB(color);
    userSettings_->setSelectedColour(stored(*selectedColor_));
    intensitySlider_->setDoubleValue(intensitySlider_->defaultValue());
    intensitySlider_->setColor(*selectedColor_);
    showSelectedColor();
    // Only the solid-colour tool paints with the colour: choosing one while painting or erasing
    // must not turn the brush into a recolouring one.
    if (tool_ == SolidColor) emit customColorChanged(customColor());
}

void ToolPanel::intensityChanged() {
    showSelectedColor();
    if (tool_ == SolidColor) emit customColorChanged(customColor());
}

QColor ToolPanel::customColor() const {
    return colorWithIntensity().value_or(QColor());
}

void ToolPanel::showSelectedColor() {
    const auto shown = colorWithIntensity();
    selectedColorView_->setFillColor(shown ? *shown : QColor());
    selectedColorView_->setVisible(shown.has_value());
    questionMarkView_->setVisible(!shown.has_value());
}

QList<SwatchCell*> ToolPanel::recentColorCells() const {
    QList<SwatchCell*> cells = rescentColorsView_->findChildren<SwatchCell*>();
    std::sort(cells.begin(), cells.end(), [](auto* a, auto* b) { return a->viewId() < b->viewId(); });
    return cells;
}

void ToolPanel::addToRecentColors(const QColor& color) {
    if (!color.isValid()) return;
    QList<pimavo::Settings::Colour> recent = userSettings_->recentColours();
    const pimavo::Settings::Colour entry = stored(deviceRGB(color));
    recent.removeAll(entry);
    recent.prepend(entry);
    userSettings_->setRecentColours(recent);
    redisplayRecentColors();
}

void ToolPanel::redisplayRecentColors() {
    const QList<pimavo::Settings::Colour> recent = userSettings_->recentColours();
    const QList<SwatchCell*> cells = recentColorCells();
    for (int i = 0; i < cells.size(); ++i) {
        QColor c;
        if (i < recent.size()) {
            const pimavo::Settings::Colour& v = recent[i];
            c = QColor::fromRgbF(v[0], v[1], v[2], v[3]);
        }
        cells[i]->setFillColor(c);
        cells[i]->setVisible(c.isValid());
    }
}

// ---- the system colour panel ------------------------------------------------------------------

void ToolPanel::showColorPanelButtonClick() {
    if (colorPanel_) {
        closeColorPanel();
        return;
    }
    QColorDialog* panel = sharedColorPanel();
    colorPanel_ = panel;
    connect(panel, &QColorDialog::currentColorChanged, this, [this](const QColor& c) {
        if (colorPanel_) selectColor(c);
    });
    panel->installEventFilter(this);
    emit colorPanelShown();
    if (selectedColor_) {
        const QSignalBlocker quiet(panel);
        panel->setCurrentColor(*selectedColor_);
    }
    panel->setWindowOpacity(1);
    panel->show();
    panel->raise();
    panel->activateWindow();
    qApp->installEventFilter(this);
    monitoring_ = true;
}

void ToolPanel::closeColorPanel() {
    if (!colorPanel_) return;
    QWidget* panel = colorPanel_;
    colorPanel_ = nullptr;
    if (monitoring_) {
        qApp->removeEventFilter(this);
        monitoring_ = false;
    }
    panel->removeEventFilter(this);
    disconnect(panel, nullptr, this, nullptr);
    panel->close();
    panel->setWindowOpacity(0);
    emit colorPanelHidden();
}

void ToolPanel::customColorPickerShouldBeClosed() {
    closeColorPanel();
}

bool ToolPanel::eventFilter(QObject* watched, QEvent* event) {
    if (colorPanel_ && watched == colorPanel_ && event->type() == QEvent::Hide) {
        // Closed from its own title bar: the same as closing it here.
        closeColorPanel();
        return false;
    }
    if (monitoring_ && (event->type() == QEvent::MouseButtonPress) && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        const auto* me = static_cast<QMouseEvent*>(event);
        const bool mouse = me->button() == Qt::LeftButton || me->button() == Qt::RightButton;
        if (mouse && colorPanel_ && w->window() != colorPanel_->window()) {
            closeColorPanel();
            return true;
        }
    }
    return FramedPanel::eventFilter(watched, event);
}

} // namespace pimavo
