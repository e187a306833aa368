// The tool panel drives the canvas beside it: its tools, brush and mask commands reach the canvas
// view directly, and the canvas answers with the colours it painted with, the brush sizes its keys
// ask for and the presses that close the panel's colour chooser. (The picture's settings go
// through the edit session both are bound to.)
#pragma once

namespace pimavo {

class CanvasView;
class ToolPanel;

// Connects the two for as long as both exist.
void connectPanelToCanvas(ToolPanel* panel, CanvasView* canvas);

} // namespace pimavo
