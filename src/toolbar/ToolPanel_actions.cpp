// The tool panel's controls: tools, treatments, preset types, brush presets, sliders, resets.
#include "ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/GradientSlider.h"
#include "widgets/ValueSlider.h"

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

void ToolPanel::selectTool(Tool tool) {
    tool_ = tool;
    drawMaskButton_->setState(tool == Paint);
    eraseMaskButton_->setState(tool == Erase);
    solidColorButton_->setState(tool == SolidColor);
    movingImageButton_->setState(tool == Hand);
    setPaintPage(tool == Hand ? 0 : int(tool));
    placeBrushPane(tool, tool != Hand);
}

void ToolPanel::setPaintPage(int page) {
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

void ToolPanel::placeBrushPane(Tool tool, bool enabled) {
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

void ToolPanel::drawMaskButtonClick() {
    selectTool(Paint);
    emit moveImageChanged(false);
    emit eraseMaskChanged(false);
    emit customColorChanged(QColor());
    emit solidColorChanged(false);
}

void ToolPanel::eraseMaskButtonClick() {
    selectTool(Erase);
    closeColorPanel();
    emit moveImageChanged(false);
    emit eraseMaskChanged(true);
    emit customColorChanged(QColor());
    emit solidColorChanged(false);
}

void ToolPanel::solidColorButtonClick() {
    selectTool(SolidColor);
    if (selectedColor_) emit customColorChanged(customColor());
    emit solidColorChanged(true);
    emit moveImageChanged(false);
    emit eraseMaskChanged(false);
}

void ToolPanel::movingImageButtonClick() {
    selectTool(Hand);
    closeColorPanel();
    emit moveImageChanged(true);
    emit solidColorChanged(false);
}

void ToolPanel::switchDrawingMode() {
    if (drawMaskButton_->state() == 1)
        eraseMaskButtonClick();
    else
        drawMaskButtonClick();
}

void ToolPanel::switchShowMaskMode() {
    showMaskButton_->setState(showMaskButton_->state() == 1 ? 0 : 1);
    showMaskButton_->sendAction();
}

// ---- background -------------------------------------------------------------------------------

namespace {
template <typename Panel> std::vector<ValueSlider*> brushSliders(const Panel& p) {
    return {p.brushSizeSlider(), p.softnessSlider(), p.opacitySlider(), p.intensitySlider()};
}
template <typename Panel> std::vector<ValueSlider*> pictureSliders(const Panel& p) {
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

ToolPanel::Settings ToolPanel::settings() const {
    Settings s;
    for (ValueSlider* slider : brushSliders(*this)) s.brush.push_back(slider->doubleValue());
    for (ValueSlider* slider : pictureSliders(*this)) s.picture.push_back(slider->doubleValue());
    s.treatment = treatment_;
    s.look = selectedPresetIndex_;
    return s;
}

std::vector<double> ToolPanel::pictureSlidersFor(const std::vector<double>& values) {
    std::vector<double> out = values;
    // Inverse of what adjustmentChanged sends; exact for every value a slider can send. Indices as
    // in pictureSliders: contrast 3, background contrast 8.
    for (std::size_t i : {std::size_t(3), std::size_t(8)})
        if (i < out.size()) out[i] = out[i] <= 1 ? 4 * out[i] : out[i] + 3;
    return out;
}

void ToolPanel::restoreSettings(const Settings& s, bool picture) {
    auto apply = [](const std::vector<ValueSlider*>& sliders, const std::vector<double>& values) {
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

void ToolPanel::validateResetButtons() {
    const auto offDefault = [](std::initializer_list<ValueSlider*> sliders) {
        for (ValueSlider* s : sliders)
            if (s->doubleValue() != s->defaultValue()) return true;
        return false;
    };
    resetButton_->setEnabled(offDefault({exposureSlider_, brightnessSlider_, saturationSlider_, contrastSlider_,
                                         hueSlider_, blurSlider_, vignetteSlider_}));
    resetButton2_->setEnabled(offDefault(
        {brightnessBackgroundSlider_, contrastBackgroundSlider_, saturationBackgroundSlider_, blurBackgroundSlider_}));
}

void ToolPanel::treatmentButtonClick(int index) {
    treatment_ = index;
    for (int i = 0; i < 4; ++i) treatmentButtons_[std::size_t(i)]->setState(i == index);
    // The eraser shows the tone erasing brings back.
    eraseMaskButton_->setImages(index == 0 ? "grayscale" : index == 3 ? "bluetone" : "sepia");
    static const char* names[4] = {nullptr, "CISepiaTone", "Aged", "SilverBlue"};
    emit backgroundFilterChanged(names[index] ? QString::fromLatin1(names[index]) : QString());
}

void ToolPanel::presetTypeButtonClick(int type) {
    auto mark = [this](int t) {
        for (int i = 0; i < 4; ++i) presetTypeButtons_[std::size_t(i)]->setState(i == t);
    };
    if (type == selectedPresetIndex_) {
        mark(type);
        return;
    }
    selectedPresetIndex_ = type;
    // Every choice takes at once: the canvas gives up on a look nobody waits for any more.
    emit presetChanged(type);
    if (type >= 0 && type <= 3) mark(type);
}

// ---- brush ------------------------------------------------------------------------------------

void ToolPanel::deselectBrushPresets() {
    for (ImageButton* b : presetButtons_) b->setState(0);
}

void ToolPanel::presetButtonClick(int tag) {
    if (tag < 0 || tag >= 12) return;
    deselectBrushPresets();
    presetButtons_[std::size_t(tag)]->setState(1);
    const BrushPreset& p = kBrushPresets[tag];
    brushSizeSlider_->setDoubleValue(p.size);
    softnessSlider_->setDoubleValue(p.softness);
    opacitySlider_->setDoubleValue(p.opacity);
    validateAllBrushes();
}

void ToolPanel::validateAllBrushes() {
    emit brushSizeChanged(brushSizeSlider_->doubleValue());
    emit softnessChanged(softnessSlider_->doubleValue());
    emit opacityChanged(opacitySlider_->doubleValue());
    validateBrushPreview();
}

void ToolPanel::brushSliderValueChanged() {
    deselectBrushPresets();
    emit brushSizeChanged(brushSizeSlider_->doubleValue());
    showBrushWhileDragging(brushSizeSlider_);
    validateBrushPreview();
}

void ToolPanel::showBrushWhileDragging(ValueSlider* slider) {
    // Asked once the canvas has the new value: the pointer shows the brush as it now is.
    if (brushCursorProvider && slider->isChangingContinue()) slider->setSelectionCursor(brushCursorProvider());
}

void ToolPanel::setBrushSize(double size) {
    if (!(size >= brushSizeSlider_->minValue() && size <= brushSizeSlider_->maxValue())) return;
    brushSizeSlider_->setDoubleValue(size);
    emit brushSizeChanged(brushSizeSlider_->doubleValue());
    validateBrushPreview();
}

void ToolPanel::validateBrushPreview() {
    if (!brushPreviewProvider || !brushPreviewImageView_) return;
    // Drawn at the screen's pixel density, so that the dab is as sharp as the canvas paints it.
    const qreal dpr = brushPreviewImageView_->devicePixelRatioF();
    const QSize size = brushPreviewImageView_->size() * dpr;
    const QImage preview = brushPreviewProvider(size, brushSizeSlider_->doubleValue() * dpr,
                                                softnessSlider_->doubleValue(), opacitySlider_->doubleValue());
    QPixmap pixmap = QPixmap::fromImage(preview);
    pixmap.setDevicePixelRatio(dpr);
    brushPreviewImageView_->setPixmap(pixmap);
}

// ---- adjustments ------------------------------------------------------------------------------

void ToolPanel::adjustmentChanged(ValueSlider* s) {
    const double v = s->doubleValue();
    if (s == vignetteSlider_) {
        resetButton_->setEnabled(true);
        emit vignetteChanged(v);
        return;
    }
    const bool background = s == brightnessBackgroundSlider_ || s == contrastBackgroundSlider_ ||
                            s == saturationBackgroundSlider_ || s == blurBackgroundSlider_;
    (background ? resetButton2_ : resetButton_)->setEnabled(true);
    if (s == exposureSlider_)
        emit exposureChanged(v);
    else if (s == brightnessSlider_)
        emit brightnessChanged(v);
    else if (s == saturationSlider_)
        emit saturationChanged(v);
    else if (s == contrastSlider_)
        emit contrastChanged(contrastFromSlider(v));
    else if (s == hueSlider_)
        emit hueChanged(v);
    else if (s == blurSlider_)
        emit blurChanged(v);
    else if (s == brightnessBackgroundSlider_)
        emit brightnessBackgroundChanged(v);
    else if (s == contrastBackgroundSlider_)
        emit contrastBackgroundChanged(contrastFromSlider(v));
    else if (s == saturationBackgroundSlider_)
        emit saturationBackgroundChanged(v);
    else if (s == blurBackgroundSlider_)
        emit blurBackgroundChanged(v);
}

void ToolPanel::resetButtonClick() {
    emit exposureChanged(exposureSlider_->defaultValue());
    emit brightnessChanged(brightnessSlider_->defaultValue());
    emit saturationChanged(saturationSlider_->defaultValue());
    emit contrastChanged(0.25 * contrastSlider_->defaultValue());
    emit hueChanged(hueSlider_->defaultValue());
    emit blurChanged(blurSlider_->defaultValue());
    emit vignetteChanged(vignetteSlider_->defaultValue());
    // Every slider of the colour page, the vignette with them: a reset that left one behind would
    // leave the picture neither as it was nor as the sliders say.
    for (ValueSlider* s : {exposureSlider_, brightnessSlider_, saturationSlider_, contrastSlider_, hueSlider_,
                        blurSlider_, vignetteSlider_})
        s->setDoubleValue(s->defaultValue());
    resetButton_->setEnabled(false);
}

void ToolPanel::resetButton2Click() {
    emit brightnessBackgroundChanged(brightnessBackgroundSlider_->defaultValue());
    emit contrastBackgroundChanged(0.25 * contrastBackgroundSlider_->defaultValue());
    emit blurBackgroundChanged(blurBackgroundSlider_->defaultValue());
    emit saturationBackgroundChanged(saturationBackgroundSlider_->defaultValue());
    for (ValueSlider* s : {brightnessBackgroundSlider_, contrastBackgroundSlider_, blurBackgroundSlider_,
                        saturationBackgroundSlider_})
        s->setDoubleValue(s->defaultValue());
    resetButton2_->setEnabled(false);
}

void ToolPanel::tabButton1Click() {
    tabView_->setCurrentIndex(0);
    tabButton1_->setState(1);
    tabButton2_->setState(0);
}

void ToolPanel::tabButton2Click() {
    tabView_->setCurrentIndex(1);
    tabButton1_->setState(0);
    tabButton2_->setState(1);
}

} // namespace pimavo
