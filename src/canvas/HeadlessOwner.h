// The owner of a canvas without a window (command line, benchmarks, tests): it keeps the undo
// history itself and hands undone masks straight back to the model.
#pragma once

#include "CanvasModel.h"
#include "core/UndoManager.h"

namespace pimavo {

struct HeadlessOwner : CanvasOwner {
    UndoManager undo;
    CanvasModel* canvas = nullptr; // set once the model exists
    UndoManager* undoManager() override { return &undo; }
    void applyMask(const Image& mask) override { canvas->applyMask(mask); }
    void applyColorDrawingMask(const Image& layer) override { canvas->applyColorDrawingMask(layer); }
};

} // namespace pimavo
