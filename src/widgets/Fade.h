// Fading a widget in and out.
#pragma once

#include <functional>

class QWidget;

namespace pimavo {

// Fades a widget's opacity to `to` (0 to 1) in `ms`; `then` runs at the end. One fade at a time per
// widget: a new one takes over from the opacity the last one reached, and the last one's `then`
// never runs.
void fade(QWidget* widget, double to, int ms, std::function<void()> then = {});

} // namespace pimavo
