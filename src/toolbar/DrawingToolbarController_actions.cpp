// The tool panel's controls: tools, treatments, preset types, brush presets, sliders, resets.
#include "DrawingToolbarController.h"
#include "widgets/TQButton.h"
#include "widgets/TQGradientSlider.h"
#include "widgets/TQSlider.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QStackedWidget>

namespace pimavo {

namespace {

// The brush presets: size, softness, opacity.
struct BrushPreset {
    double size, softness, opacity;
};
constexpr BrushPreset kBrushPresets[12] = {
    {35, 4, 1.0}, {35, 90, 0.8},  {22, 90, 0.75}, {35, 5, 0.42}, {35, 100, 0.4},  {24, 100, 0.4},
    {16, 4, 1.0}, {13, 90, 0.82}, {10, 90, 0.5},  {17, 5, 0.45}, {15, 100, 0.36}, {10, 100, 0.3},
};

// Contrast sliders run 3.5 to 4.5; the pipeline takes 0.875 to 1.5 with 1 in the middle.
double contrastFromSlider(double v) {
    return v <= 4 ? 0.25 * v : v - 3;
}

} // namespace

// ---- tools ------------------------------------------------------------------------------------

void DrawingToolbarController::selectTool(Tool tool) {
    tool_ = tool;
    drawMaskButton_->setState(tool == Paint);
    eraseMaskButton_->setState(tool == Erase);
    solidColorButton_->setState(tool == SolidColor);
    movingImageButton_->setState(tool == Hand);
    setPaintPage(tool == Hand ? 0 : int(tool));
    placeBrushPane(tool, tool != Hand);
}

void DrawingToolbarController::setPaintPage(int page) {
    // The brush presets belong to painting and erasing alike.
    if (auto* presets = findChild<QWidget*>("brushPresets");
        presets && page < 2 && presets->parentWidget() != paintTabView_->widget(page)) {
        presets->setParent(paintTabView_->widget(page));
        presets->show();
    }
    const int heights[3] = {100, 115, 155};
    paintTabView_->resize(paintTabView_->width(), heights[page]);
    if (paintTabView_->currentIndex() == page) return;
    paintTabView_->setCurrentIndex(page);
    // The new page fades in.
    QWidget* shown = paintTabView_->currentWidget();
    auto* fade = new QGraphicsOpacityEffect(shown);
    fade->setOpacity(0);
    shown->setGraphicsEffect(fade);
    auto* a = new QPropertyAnimation(fade, "opacity", shown);
    a->setDuration(200);
    a->setEndValue(1.0);
    connect(a, &QPropertyAnimation::finished, shown, [shown] { shown->setGraphicsEffect(nullptr); });
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

void DrawingToolbarController::placeBrushPane(Tool tool, bool enabled) {
    const QRect target = brushPaneFrame(tool).adjusted(8, 0, -8, 0);
    brushPane_->setEnabled(enabled);
    if (brushPane_->geometry() == target) return;
    if (!isVisible()) {
        brushPane_->setGeometry(target);
        return;
    }
    auto* a = new QPropertyAnimation(brushPane_, "geometry", brushPane_);
    a->setDuration(200);
    a->setEasingCurve(QEasingCurve::OutCubic);
    a->setEndValue(target);
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

void DrawingToolbarController::drawMaskButtonClick() {
    selectTool(Paint);
    if (!delegate_) return;
    delegate_->moveImage(this, false);
    delegate_->eraseMask(this, false);
    delegate_->customColor(this, std::nullopt);
    delegate_->solidColorSelected(this, false);
}

void DrawingToolbarController::eraseMaskButtonClick() {
    selectTool(Erase);
    closeColorPanel();
    if (!delegate_) return;
    delegate_->moveImage(this, false);
    delegate_->eraseMask(this, true);
    delegate_->customColor(this, std::nullopt);
    delegate_->solidColorSelected(this, false);
}

void DrawingToolbarController::solidColorButtonClick() {
    selectTool(SolidColor);
    if (!delegate_) return;
    if (selectedColor_) delegate_->customColor(this, colorWithIntensity());
    delegate_->solidColorSelected(this, true);
    delegate_->moveImage(this, false);
    delegate_->eraseMask(this, false);
}

void DrawingToolbarController::movingImageButtonClick() {
    selectTool(Hand);
    closeColorPanel();
    if (!delegate_) return;
    delegate_->moveImage(this, true);
    delegate_->solidColorSelected(this, false);
}

void DrawingToolbarController::switchDrawingMode() {
    if (drawMaskButton_->state() == 1)
        eraseMaskButtonClick();
    else
        drawMaskButtonClick();
}

void DrawingToolbarController::switchShowMaskMode() {
    showMaskButton_->setState(showMaskButton_->state() == 1 ? 0 : 1);
    showMaskButton_->sendAction();
}

// ---- background -------------------------------------------------------------------------------

namespace {
template <typename Panel> std::vector<TQSlider*> brushSliders(const Panel& p) {
    return {p.brushSizeSlider(), p.softnessSlider(), p.opacitySlider(), p.intensivitySlider()};
}
template <typename Panel> std::vector<TQSlider*> pictureSliders(const Panel& p) {
    return {p.exposureSlider(),
            p.brightnessSlider(),
            p.saturationSlider(),
            p.contrastSlider(),
            p.hueSlider(),
            p.blurSlider(),
            p.vignetteSlider(),
            p.brightnessBackgroundSlider(),
            p.contrastBackgroundSlider(),
            p.saturationBackgroundSlider(),
            p.blurBackgroundSlider()};
}
} // namespace

DrawingToolbarController::Settings DrawingToolbarController::settings() const {
    Settings s;
    for (TQSlider* slider : brushSliders(*this)) s.brush.push_back(slider->doubleValue());
    for (TQSlider* slider : pictureSliders(*this)) s.picture.push_back(slider->doubleValue());
    s.treatment = treatment_;
    s.look = selectedPresetIndex_;
    return s;
}

std::vector<double> DrawingToolbarController::pictureSlidersFor(const std::vector<double>& values) {
    std::vector<double> out = values;
    // Inverse of what adjustmentChanged sends; exact for every value a slider can send. Indices as
    // in pictureSliders: contrast 3, background contrast 8.
    for (std::size_t i : {std::size_t(3), std::size_t(8)})
        if (i < out.size()) out[i] = out[i] <= 1 ? 4 * out[i] : out[i] + 3;
    return out;
}

void DrawingToolbarController::restoreSettings(const Settings& s, bool picture) {
    auto apply = [](const std::vector<TQSlider*>& sliders, const std::vector<double>& values) {
        for (std::size_t i = 0; i < sliders.size() && i < values.size(); ++i) {
            if (sliders[i]->doubleValue() == values[i]) continue;
            sliders[i]->setDoubleValue(values[i]);
            sliders[i]->sendAction();
        }
    };
    apply(brushSliders(*this), s.brush);
    if (s.treatment != treatment_) treatmentButtonClick(s.treatment);
    if (!picture) return;
    apply(pictureSliders(*this), s.picture);
    if (s.look != selectedPresetIndex_) presetTypeButtonClick(s.look);
    validateResetButtons();
}

void DrawingToolbarController::validateResetButtons() {
    const auto offDefault = [](std::initializer_list<TQSlider*> sliders) {
        for (TQSlider* s : sliders)
            if (s->doubleValue() != s->defaultValue()) return true;
        return false;
    };
    resetButton_->setEnabled(offDefault({exposureSlider_, brightnessSlider_, saturationSlider_, contrastSlider_,
                                         hueSlider_, blurSlider_, vignetteSlider_}));
    resetButton2_->setEnabled(offDefault(
        {brightnessBackgroundSlider_, contrastBackgroundSlider_, saturationBackgroundSlider_, blurBackgroundSlider_}));
}

void DrawingToolbarController::treatmentButtonClick(int index) {
    treatment_ = index;
    for (int i = 0; i < 4; ++i) treatmentButtons_[std::size_t(i)]->setState(i == index);
    // The eraser shows the tone erasing brings back.
    eraseMaskButton_->setImages(index == 0 ? "grayscale" : index == 3 ? "bluetone" : "sepia");
    static const char* names[4] = {nullptr, "CISepiaTone", "Aged", "SilverBlue"};
    if (delegate_)
        delegate_->backgroundFilterNameDidChange(
            this, names[index] ? std::optional<QString>(QString::fromLatin1(names[index])) : std::nullopt);
}

void DrawingToolbarController::presetTypeButtonClick(int type) {
    auto mark = [this](int t) {
        for (int i = 0; i < 4; ++i) presetTypeButtons_[std::size_t(i)]->setState(i == t);
    };
    if (type == selectedPresetIndex_) {
        mark(type);
        return;
    }
    selectedPresetIndex_ = type;
    // Every choice takes at once: the canvas gives up on a look nobody waits for any more.
    if (delegate_) delegate_->presetDidChanged(this, type);
    if (type >= 0 && type <= 3) mark(type);
}

// ---- brush ------------------------------------------------------------------------------------

void DrawingToolbarController::deselectBrushPresets() {
    for (TQButton* b : presetButtons_) b->setState(0);
}

void DrawingToolbarController::presetButtonClick(int tag) {
    if (tag < 0 || tag >= 12) return;
    deselectBrushPresets();
    presetButtons_[std::size_t(tag)]->setState(1);
    const BrushPreset& p = kBrushPresets[tag];
    brushSizeSlider_->setDoubleValue(p.size);
    softnessSlider_->setDoubleValue(p.softness);
    opacitySlider_->setDoubleValue(p.opacity);
    validateAllBrushes();
}

void DrawingToolbarController::validateAllBrushes() {
    if (delegate_) {
        delegate_->brushSizeDidChange(this, brushSizeSlider_->doubleValue());
        delegate_->softnessDidChange(this, softnessSlider_->doubleValue());
        delegate_->opacityDidChange(this, opacitySlider_->doubleValue());
    }
    validateBrushPreview();
}

void DrawingToolbarController::brushSliderValueChanged() {
    deselectBrushPresets();
    if (delegate_) delegate_->brushSizeDidChange(this, brushSizeSlider_->doubleValue());
    showBrushWhileDragging(brushSizeSlider_);
    validateBrushPreview();
}

void DrawingToolbarController::showBrushWhileDragging(TQSlider* slider) {
    // Asked once the canvas has the new value: the pointer shows the brush as it now is.
    if (delegate_ && slider->isChangingContinue())
        slider->setSelectionCursor(delegate_->brushCursorForDrawingToolbarController(this));
}

void DrawingToolbarController::setBrushSize(double size) {
    if (!(size >= brushSizeSlider_->minValue() && size <= brushSizeSlider_->maxValue())) return;
    brushSizeSlider_->setDoubleValue(size);
    if (delegate_) delegate_->brushSizeDidChange(this, brushSizeSlider_->doubleValue());
    validateBrushPreview();
}

void DrawingToolbarController::validateBrushPreview() {
    if (!delegate_ || !brushPreviewImageView_) return;
    // Drawn at the screen's pixel density, so that the dab is as sharp as the canvas paints it.
    const qreal dpr = brushPreviewImageView_->devicePixelRatioF();
    const QSize size = brushPreviewImageView_->size() * dpr;
    const QImage preview = delegate_->previewImageForDrawingToolbarController(
        this, size, brushSizeSlider_->doubleValue() * dpr, softnessSlider_->doubleValue(),
        opacitySlider_->doubleValue());
    QPixmap pixmap = QPixmap::fromImage(preview);
    pixmap.setDevicePixelRatio(dpr);
    brushPreviewImageView_->setPixmap(pixmap);
}

// ---- adjustments ------------------------------------------------------------------------------

void DrawingToolbarController::adjustmentChanged(TQSlider* s) {
    if (!delegate_) return;
    const double v = s->doubleValue();
    if (s == vignetteSlider_) {
        resetButton_->setEnabled(true);
        delegate_->vignetteDidChange(this, v);
        return;
    }
    const bool background = s == brightnessBackgroundSlider_ || s == contrastBackgroundSlider_ ||
                            s == saturationBackgroundSlider_ || s == blurBackgroundSlider_;
    (background ? resetButton2_ : resetButton_)->setEnabled(true);
    if (s == exposureSlider_)
        delegate_->exposureDidChange(this, v);
    else if (s == brightnessSlider_)
        delegate_->brightnessDidChange(this, v);
    else if (s == saturationSlider_)
        delegate_->saturationDidChange(this, v);
    else if (s == contrastSlider_)
        delegate_->contrastDidChange(this, contrastFromSlider(v));
    else if (s == hueSlider_)
        delegate_->hueDidChange(this, v);
    else if (s == blurSlider_)
        delegate_->blurDidChange(this, v);
    else if (s == brightnessBackgroundSlider_)
        delegate_->brightnessBackgroundDidChange(this, v);
    else if (s == contrastBackgroundSlider_)
        delegate_->contrastBackgroundDidChange(this, contrastFromSlider(v));
    else if (s == saturationBackgroundSlider_)
        delegate_->saturationBackgroundDidChange(this, v);
    else if (s == blurBackgroundSlider_)
        delegate_->blurBackgroundDidChange(this, v);
}

void DrawingToolbarController::resetButtonClick() {
    if (delegate_) {
        delegate_->exposureDidChange(this, exposureSlider_->defaultValue());
        delegate_->brightnessDidChange(this, brightnessSlider_->defaultValue());
        delegate_->saturationDidChange(this, saturationSlider_->defaultValue());
        delegate_->contrastDidChange(this, 0.25 * contrastSlider_->defaultValue());
        delegate_->hueDidChange(this, hueSlider_->defaultValue());
        delegate_->blurDidChange(this, blurSlider_->defaultValue());
        delegate_->vignetteDidChange(this, vignetteSlider_->defaultValue());
    }
    // Every slider of the colour page, the vignette with them: a reset that left one behind would
    // leave the picture neither as it was nor as the sliders say.
    for (TQSlider* s : {exposureSlider_, brightnessSlider_, saturationSlider_, contrastSlider_, hueSlider_,
                        blurSlider_, vignetteSlider_})
        s->setDoubleValue(s->defaultValue());
    resetButton_->setEnabled(false);
}

void DrawingToolbarController::resetButton2Click() {
    if (delegate_) {
        delegate_->brightnessBackgroundDidChange(this, brightnessBackgroundSlider_->defaultValue());
        delegate_->contrastBackgroundDidChange(this, 0.25 * contrastBackgroundSlider_->defaultValue());
        delegate_->blurBackgroundDidChange(this, blurBackgroundSlider_->defaultValue());
        delegate_->saturationBackgroundDidChange(this, saturationBackgroundSlider_->defaultValue());
    }
    for (TQSlider* s : {brightnessBackgroundSlider_, contrastBackgroundSlider_, blurBackgroundSlider_,
                        saturationBackgroundSlider_})
        s->setDoubleValue(s->defaultValue());
    resetButton2_->setEnabled(false);
}

void DrawingToolbarController::tabButton1Click() {
    tabView_->setCurrentIndex(0);
    tabButton1_->setState(1);
    tabButton2_->setState(0);
}

void DrawingToolbarController::tabButton2Click() {
    tabView_->setCurrentIndex(1);
    tabButton1_->setState(0);
    tabButton2_->setState(1);
}

} // namespace pimavo
