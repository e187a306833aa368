// The canvas's share of a project document: the painting, the working size and the picture's
// settings, taken from a canvas and put back on one. The photo and the tool panel's brush belong to
// whoever owns the canvas (the window, the command line) and are theirs to add.
#pragma once

#include "CanvasModel.h"
#include "document/ProjectDocument.h"

namespace pimavo {

// Cheap enough for the main thread at any moment: the layers and the working-size picture are
// copy-on-write image values, and nothing is rendered or encoded.
void takeCanvasState(CanvasModel& canvas, ProjectDocument& project);

// The treatment, the look and the adjustments, outside the history, the look made at full size.
void applySettingsWhole(CanvasModel& canvas, const PictureSettings& settings);

// The mask and the colour layer, outside the history. Layers of another working size than the
// canvas's are stretched over it.
void restoreProjectPainting(CanvasModel& canvas, const ProjectDocument& project);

// Changes some of a canvas's picture settings directly, outside any history (the command line,
// benchmarks, tests): changePictureSettings(canvas, [](PictureSettings& s) { s.vignette = 1; }).
template <typename Change> void changePictureSettings(CanvasModel& canvas, Change change) {
    PictureSettings settings = canvas.pictureSettings();
    change(settings);
    canvas.setPictureSettings(settings);
}

} // namespace pimavo
