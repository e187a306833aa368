// The JPEG a service gets: the picture at no more than the longest side asked for (and the
// service's own limit), written with the photo's metadata. The command line shares files this way;
// the editor's result goes through the same writer.
#pragma once

#include "engine/Bitmap.h"

#include <QString>

namespace pimavo {
class ImageProperties;
}

namespace pimavo::sharing {

// `longestSide` 0: as it is. False with a sentence in `error` when it could not be written.
bool writeSharedJpeg(const Bitmap& picture, const ImageProperties* properties, int longestSide,
                     const QString& out, QString* error);
// The photo's location (GPS) goes only `withLocation`.
bool writeSharedJpeg(const QString& photo, int longestSide, const QString& out, QString* error,
                     bool withLocation = true);

} // namespace pimavo::sharing
