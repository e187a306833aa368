// The brush as the pointer shows it: a ring of the brush's diameter, an inner ring for its hard
// core, and a plus (paint) or minus (erase) in the middle; the drawing variant is more opaque.
#pragma once

#include <QImage>

namespace pimavo {

// The brush picture for a diameter D (points) and softness (0 to 100), at `devicePixelRatio`.
QImage drawBrushPicture(int diameter, double softness, bool erase, bool drawing, double devicePixelRatio = 1);

} // namespace pimavo
