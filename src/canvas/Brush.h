// What the canvas paints with.
#pragma once

#include "engine/Color.h"

#include <optional>

namespace pimavo {

struct Brush {
    double size = 40;           // diameter in view points
    double softness = 100;      // 0 (hard edge) to 100
    double opacity = 1;         // 0 to 1
    bool erase = false;         // the stroke takes the photo's colour away again
    bool solidColor = false;    // the solid-colour tool, which paints only once a colour is chosen
    std::optional<Rgba> colour; // recolours with this colour instead of bringing the photo's back
};

} // namespace pimavo
