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

} // namespace pimavo
