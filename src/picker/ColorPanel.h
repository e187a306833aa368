// The system colour panel: one non-modal colour dialog for the whole program, which stays open
// while the user goes on working.
#pragma once

class QColorDialog;

namespace pimavo {

QColorDialog* sharedColorPanel();
// Whether the shared panel exists and is on screen.
bool isColorPanelShown();

} // namespace pimavo
