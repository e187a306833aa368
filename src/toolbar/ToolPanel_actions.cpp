// The tool panel's controls: tools, treatments, preset types, brush presets, sliders, resets.
#include "ToolPanel.h"
#include "session/EditSession.h"
#include "widgets/GradientSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QStackedWidget>
#include <algorithm>
#include <cmath>

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
// The inverse; exact for every value a slider can send.
double contrastToSlider(double v) {
    return v <= 1 ? 4 * v : v + 3;
}
// The contrast sliders among the picture's sliders (in the order of PictureSettings::adjustments).
constexpr std::size_t kContrast = 3, kBackgroundContrast = 8;

} // namespace

void ToolPanel::describeBrushPresets() {
    for (std::size_t tag = 0; tag < presetButtons_.size(); ++tag) {
        const BrushPreset& p = kBrushPresets[tag];
        //: A brush preset as a screen reader describes it: %1 its size, %2 and %3 per cent
        presetButtons_[tag]->setAccessibleDescription(tr("Size %1, softness %2 %, opacity %3 %")
                                                          .arg(p.size)
                                                          .arg(p.softness)
                                                          .arg(std::lround(p.opacity * 100)));
    }
}

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

std::vector<double> ToolPanel::brush() const {
    std::vector<double> values;
    for (ValueSlider* slider : brushSliders(*this)) values.push_back(slider->doubleValue());
    return values;
}

void ToolPanel::restoreBrush(const std::vector<double>& values) {
    const auto sliders = brushSliders(*this);
    for (std::size_t i = 0; i < sliders.size() && i < values.size(); ++i) {
        if (sliders[i]->doubleValue() == values[i]) continue;
        sliders[i]->setDoubleValue(values[i]);
        sliders[i]->sendAction();
    }
}

void ToolPanel::bindTo(EditSession* session) {
    if (session_) disconnect(session_, nullptr, this, nullptr);
    session_ = session;
    if (!session) return;
    connect(session, &EditSession::pictureSettingsChanged, this, &ToolPanel::showPictureSettings);
    showPictureSettings(session->pictureSettings());
}

PictureSettings ToolPanel::pictureSettings() const {
    return session_ ? session_->pictureSettings() : shown_;
}

void ToolPanel::showPictureSettings(const PictureSettings& settings) {
    shown_ = settings;
    const auto values = settings.adjustments();
    const auto sliders = pictureSliders(*this);
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        const double position =
            i == kContrast || i == kBackgroundContrast ? contrastToSlider(values[i]) : values[i];
        // The slider being dragged is where the pointer put it already.
        if (sliders[i]->doubleValue() != position) sliders[i]->setDoubleValue(position);
    }
    const int treatment = int(settings.treatment);
    for (int i = 0; i < 4; ++i) treatmentButtons_[std::size_t(i)]->setState(i == treatment);
    // The eraser shows the tone erasing brings back.
    eraseMaskButton_->setImages(treatment == 0 ? "grayscale" : treatment == 3 ? "bluetone" : "sepia");
    selectedPresetIndex_ = settings.look;
    for (int i = 0; i < 4; ++i) presetTypeButtons_[std::size_t(i)]->setState(i == settings.look);
    validateResetButtons();
}

void ToolPanel::editPicture(const char* step, const std::function<void(PictureSettings&)>& change) {
    PictureSettings next = pictureSettings();
    change(next);
    if (session_)
        session_->setPictureSettings(next, UndoStep::tr(step));
    else
        showPictureSettings(next);
}

void ToolPanel::validateResetButtons() {
    const auto offDefault = [](std::initializer_list<ValueSlider*> sliders) {
        for (ValueSlider* s : sliders)
            if (s->doubleValue() != s->defaultValue()) return true;
        return false;
    };
    resetButton_->setEnabled(offDefault({exposureSlider_, brightnessSlider_, saturationSlider_,
                                         contrastSlider_, hueSlider_, blurSlider_, vignetteSlider_}));
    resetButton2_->setEnabled(offDefault({brightnessBackgroundSlider_, contrastBackgroundSlider_,
                                          saturationBackgroundSlider_, blurBackgroundSlider_}));
}

void ToolPanel::treatmentButtonClick(int index) {
    if (index < 0 || index > 3) return;
    editPicture(QT_TRANSLATE_NOOP("pimavo::UndoStep", "Treatment"),
                [index](PictureSettings& s) { s.treatment = Treatment(index); });
}

void ToolPanel::presetTypeButtonClick(int type) {
    if (type < 0 || type > 3) return;
    // Every choice takes at once: the canvas gives up on a look nobody waits for any more.
    editPicture(QT_TRANSLATE_NOOP("pimavo::UndoStep", "Look"), [type](PictureSettings& s) { s.look = type; });
    // The current one clicked again stays chosen.
    for (int i = 0; i < 4; ++i) presetTypeButtons_[std::size_t(i)]->setState(i == selectedPresetIndex_);
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
    if (brushCursorProvider && slider->isChangingContinue())
        slider->setSelectionCursor(brushCursorProvider());
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
    const QImage preview =
        brushPreviewProvider(size, brushSizeSlider_->doubleValue() * dpr, softnessSlider_->doubleValue(),
                             opacitySlider_->doubleValue());
    QPixmap pixmap = QPixmap::fromImage(preview);
    pixmap.setDevicePixelRatio(dpr);
    brushPreviewImageView_->setPixmap(pixmap);
}

// ---- adjustments ------------------------------------------------------------------------------

void ToolPanel::adjustmentChanged(ValueSlider* slider) {
    static constexpr std::array<const char*, PictureSettings::kAdjustmentCount> kStepNames = {
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Exposure"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Brightness"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Saturation"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Contrast"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Hue"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Blur"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Vignette"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Background Brightness"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Background Contrast"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Background Saturation"),
        QT_TRANSLATE_NOOP("pimavo::UndoStep", "Background Blur")};
    const auto sliders = pictureSliders(*this);
    const std::size_t i = std::size_t(std::find(sliders.begin(), sliders.end(), slider) - sliders.begin());
    if (i >= sliders.size()) return;
    const double v = slider->doubleValue();
    const double value = i == kContrast || i == kBackgroundContrast ? contrastFromSlider(v) : v;
    editPicture(kStepNames[i], [i, value](PictureSettings& s) {
        s.setAdjustment(PictureSettings::kAdjustmentNames[i], value);
    });
}

void ToolPanel::resetButtonClick() {
    // Every setting of the colour page, the vignette with them: a reset that left one behind would
    // leave the picture neither as it was nor as the sliders say.
    editPicture(QT_TRANSLATE_NOOP("pimavo::UndoStep", "Adjustments"), [](PictureSettings& s) {
        s.foreground = {};
        s.vignette = 0;
    });
}

void ToolPanel::resetButton2Click() {
    editPicture(QT_TRANSLATE_NOOP("pimavo::UndoStep", "Adjustments"),
                [](PictureSettings& s) { s.background = {}; });
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
