// The owner of a canvas without a window (command line, benchmarks, tests): it keeps the edit
// session itself, so that undo and redo work on the canvas as in the editor.
#pragma once

#include "CanvasModel.h"
#include "session/EditSession.h"

namespace pimavo {

struct HeadlessOwner : CanvasOwner {
    EditSession session;
    EditSession* editSession() override { return &session; }
};

// Changes some of a canvas's picture settings directly, outside any history:
// changePictureSettings(canvas, [](PictureSettings& s) { s.vignette = 1; }).
template <typename Change> void changePictureSettings(CanvasModel& canvas, Change change) {
    PictureSettings settings = canvas.pictureSettings();
    change(settings);
    canvas.setPictureSettings(settings);
}

} // namespace pimavo
