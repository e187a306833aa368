#include "CanvasProject.h"

namespace pimavo {

namespace {

// The canvas's values in the order of PictureSettings::kAdjustmentNames.
struct AdjustmentAccess {
    double (CanvasModel::*get)() const;
    void (CanvasModel::*set)(double);
};
constexpr AdjustmentAccess kAccess[PictureSettings::kAdjustmentCount] = {
    {&CanvasModel::exposure, &CanvasModel::setExposure},
    {&CanvasModel::brightness, &CanvasModel::setBrightness},
    {&CanvasModel::saturation, &CanvasModel::setSaturation},
    {&CanvasModel::contrast, &CanvasModel::setContrast},
    {&CanvasModel::hue, &CanvasModel::setHue},
    {&CanvasModel::blur, &CanvasModel::setBlur},
    {&CanvasModel::vignetteValue, &CanvasModel::setVignetteValue},
    {&CanvasModel::brightnessBackground, &CanvasModel::setBrightnessBackground},
    {&CanvasModel::contrastBackground, &CanvasModel::setContrastBackground},
    {&CanvasModel::saturationBackground, &CanvasModel::setSaturationBackground},
    {&CanvasModel::blurBackground, &CanvasModel::setBlurBackground},
};

Image fitted(const Image& layer, const RectF& work) {
    if (!layer) return layer;
    const RectF e = layer.extent();
    if (e == work) return layer;
    return layer.imageByClampingToExtent()
        .imageByApplyingTransform(
            Transform2D::scale(work.width() / e.width(), work.height() / e.height()))
        .imageByCroppingToRect(work);
}

} // namespace

void takeCanvasState(CanvasModel& canvas, ProjectDocument& project) {
    const RectF work = canvas.imageA_orig().extent();
    project.workingWidth = int(work.width());
    project.workingHeight = int(work.height());
    project.mask = canvas.mask();
    project.colorLayer = canvas.colorDrawingMask();
    project.picture = canvas.zoomedImageForDisplay(false);
    project.settings.treatment = PictureSettings::treatmentNamed(canvas.backgroundFilterName().toStdString())
                                     .value_or(Treatment::Grayscale);
    project.settings.look = canvas.preset();
    std::array<double, PictureSettings::kAdjustmentCount> values{};
    for (int i = 0; i < PictureSettings::kAdjustmentCount; ++i) values[std::size_t(i)] = (canvas.*kAccess[i].get)();
    project.settings.setAdjustments(values);
}

void applyProjectSettings(CanvasModel& canvas, const ProjectDocument& project) {
    const PictureSettings& s = project.settings;
    if (s.look != canvas.preset()) {
        canvas.processPreset(s.look);
        canvas.applyPreset(s.look);
    }
    canvas.setBackgroundFilterName(QString::fromLatin1(PictureSettings::treatmentName(s.treatment)));
    const auto values = s.adjustments();
    for (int i = 0; i < PictureSettings::kAdjustmentCount; ++i) (canvas.*kAccess[i].set)(values[std::size_t(i)]);
}

void restoreProjectPainting(CanvasModel& canvas, const ProjectDocument& project) {
    const RectF work = canvas.imageA_orig().extent();
    canvas.restorePainting(fitted(project.mask, work), fitted(project.colorLayer, work));
}

} // namespace pimavo
