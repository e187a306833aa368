// The names of the steps, as the Edit menu shows them after Undo and Redo ("Undo Invert Mask"): one
// translation context wherever a step is made, so that each name is translated once.
#pragma once

#include <QCoreApplication>

namespace pimavo {

struct UndoStep {
    Q_DECLARE_TR_FUNCTIONS(pimavo::UndoStep)
};

} // namespace pimavo
