#include "CanvasProject.h"

namespace pimavo {

namespace {

Image fitted(const Image& layer, const RectF& work) {
    if (!layer) return layer;
    const RectF e = layer.extent();
    if (e == work) return layer;
    return layer.imageByClampingToExtent()
        .imageByApplyingTransform(Transform2D::scale(work.width() / e.width(), work.height() / e.height()))
        .imageByCroppingToRect(work);
}

} // namespace

void takeCanvasState(CanvasModel& canvas, ProjectDocument& project) {
    const RectF work = canvas.imageA_orig().extent();
    project.workingWidth = int(work.width());
    project.workingHeight = int(work.height());
    project.mask = canvas.painting().mask();
    project.colorLayer = canvas.painting().colorDrawingMask();
    project.picture = canvas.zoomedImageForDisplay(false);
    project.settings = canvas.pictureSettings();
}

void applySettingsWhole(CanvasModel& canvas, const PictureSettings& settings) {
    canvas.setPictureSettings(settings);
    // The look made whole at once, as a save from the command line needs it.
    canvas.finishPendingLook();
}

void restoreProjectPainting(CanvasModel& canvas, const ProjectDocument& project) {
    const RectF work = canvas.imageA_orig().extent();
    canvas.painting().restorePainting(fitted(project.mask, work), fitted(project.colorLayer, work));
}

} // namespace pimavo
