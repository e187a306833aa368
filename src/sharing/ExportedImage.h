// The JPEG copies of the picture that the sharing window hands to the mail client and to the photo
// services, and the output sizes it offers for them.
//
// Copies live in "SharingPhotos" in the program's cache folder. They are written whole before anyone
// is told their name, and they are removed only when the sharing window goes (or the editor quits):
// a mail client or a browser may still be reading one long after it was handed over.
#pragma once

#include "engine/Bitmap.h"
#include "imageio/ImageProperties.h"

#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace pimavo::sharing {

// The sizes a picture of `size` pixels can be shared at: its own first, then each of 1600, 1280,
// 1024, 800 and 640 that is smaller than its longer side, as that longer side with the shorter one
// in proportion (rounded down: the list and the file say the same).
std::vector<QSize> possibleResolutions(QSize size);

// "%ld x %ld", as the size button and the size list show a size.
QString resolutionTitle(QSize size);

// The folder of the copies: "SharingPhotos" in the user's cache folder.
QString sharingExportFolder();

// The first free name in `folder`: "PimavoExportedImage.jpg", then "PimavoExportedImage 2.jpg", ...
QString uniqueExportPath(const QString& folder, const QString& base = QStringLiteral("PimavoExportedImage"));

// Where a copy the user posts by hand is kept: the Pictures folder (the home folder without one).
QString handOverFolder();

// Copies `path` into `folder` as "Pimavo for SERVICE.jpg" (then "... 2.jpg", ...), a copy that
// outlives the sharing window: the user may post it much later. Its path, or empty with `error` set.
QString keepHandOverCopy(const QString& path, const QString& service, QString* error,
                         const QString& folder = handOverFolder());

struct ExportedImage {
    QString path;  // empty on failure
    QString error; // why, for the user; empty on success
    QSize size;    // of the written picture
};

// Writes `image` as a JPEG whose longer side is `longestSide` pixels (0 or more than the picture's
// own: its own size) with the photo's metadata, where it was taken only `withLocation`. Safe on
// any thread.
ExportedImage exportImage(const Bitmap& image, const ImageProperties* properties, int longestSide,
                          const QString& folder = sharingExportFolder(), bool withLocation = true);

// Removes the folder and everything in it.
void clearExportFolder(const QString& folder = sharingExportFolder());

} // namespace pimavo::sharing
