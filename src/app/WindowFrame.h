// The editing window's size and place as the user left it, kept in the settings ("window/frame").
#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace pimavo {

class Settings;

// Where a frame saved as `saved` goes now that the screens' available areas are `screens` (the
// first the primary): on the screen it overlaps most, moved and shrunk to fit it; `fallback`
// centred on the primary screen when it overlaps none or none was saved.
QRect frameOnScreens(const QRect& saved, const QList<QRect>& screens, QSize fallback);

// Puts the window where it was left, on a screen that is there now; without one, a default size on
// the primary screen. Maximised when it was.
void restoreFrame(QWidget& window, const Settings& settings);
// Whether the desktop places windows itself and lets none choose or learn its place (Wayland).
bool windowsPlacedByCompositor();

// Keeps the window's frame as it is when neither maximised nor in full screen.
void saveFrame(const QWidget& window, Settings& settings);

} // namespace pimavo
