// How assistive tools (screen readers, switch access) see the program's own widgets: the sliders
// as sliders with their values, a segment switch as a list of tabs, image buttons as buttons named
// by their title or tool tip, a pop-up list as a list of items, an in-window dialog as a dialog
// named by its message. Qt's own widgets need nothing from here.
#pragma once

class QPainter;
class QRectF;
class QString;
class QWidget;

namespace pimavo {

// Registers the interfaces with Qt's accessibility. The widgets call it when they are made, so it
// is in place before any tool asks; calls after the first cost nothing.
void installWidgetAccessibility();

// The text of the label that names `widget` on screen (a QLabel whose buddy it is), mnemonic
// marks removed; empty when no label names it.
QString labelText(const QWidget* widget);

// The ring that shows which control has the keyboard focus: in the accent colour, or in the ink
// colour on a control that is itself drawn in the accent (a chosen tool, the current tab).
void paintFocusRing(QPainter& painter, const QRectF& rect, double radius, bool onAccent = false);

} // namespace pimavo
