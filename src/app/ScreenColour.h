// The screen's colour profile, as the desktop publishes it, for the views to convert to.
//
// On X11 a colour manager (colord's session helper, a calibration tool) puts the ICC profile of the
// first screen in the `_ICC_PROFILE` property of the root window. Elsewhere, or without one, the
// screen is taken for sRGB. The property is read at start-up and again whenever the editor becomes
// active, so that a profile changed in the desktop's settings shows once the user comes back.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class QApplication;

namespace pimavo {

// The `_ICC_PROFILE` of the X display `display` (nullptr: $DISPLAY); nothing when the display
// cannot be reached or has no profile.
std::optional<std::vector<uint8_t>> readX11ScreenProfile(const char* display = nullptr);

// Reads the screen's profile now (on xcb) and repaints every window if it changed; answers whether
// it did.
bool refreshScreenProfile();
// Reads it now and whenever the application becomes active.
void followScreenProfile(QApplication& app);

} // namespace pimavo
