// The screen's colour profile, as the desktop publishes it, for the views to convert to.
//
// On X11 a colour manager (colord's session helper, a calibration tool) puts the ICC profile of the
// first monitor in the `_ICC_PROFILE` property of the root window, and of the n-th after it in
// `_ICC_PROFILE_n`; the editor takes the profile of the monitor its active window is on, and takes it
// again when the window moves to another. Where there is none, and on
// Wayland, which has no such property, the profile colord holds for the screen is used. Without
// either the screen is taken for sRGB. The profile is read at start-up and again whenever the editor
// becomes active, so that a profile changed in the desktop's settings shows once the user comes back.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QApplication;
class QDBusConnection;

namespace pimavo {

// The profile of monitor `monitor` (0 the first: `_ICC_PROFILE`, then `_ICC_PROFILE_1`…) of the X
// display `display` (nullptr: $DISPLAY); nothing when the display cannot be reached or has no
// profile for that monitor.
std::optional<std::vector<uint8_t>> readX11ScreenProfile(const char* display = nullptr, int monitor = 0);

// The default profile colord (on `bus`, the system bus in use) holds for the display whose output is
// named `output` ("DP-1"), or for its first display when none is; nothing when colord does not answer
// within `timeoutMs`, knows no display with a profile, or the profile's file cannot be read.
std::optional<std::vector<uint8_t>> readColordDisplayProfile(const QDBusConnection& bus,
                                                             const QString& output, int timeoutMs = 1000);

// Reads the screen's profile now and repaints every window if it changed; answers whether
// it did.
bool refreshScreenProfile();
// Reads it now and whenever the application becomes active.
void followScreenProfile(QApplication& app);

} // namespace pimavo
