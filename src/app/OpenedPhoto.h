// What the editing window holds of the photo open in it, besides the painting and settings the
// edit session keeps: the picture, the photo as first opened, its file, type and metadata, and the
// reduced copies that very large photos are painted on.
#pragma once

#include "canvas/CanvasPhoto.h"
#include "imageio/ImageProperties.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pimavo {

struct OpenedPhoto {
    BitmapRef image;    // the picture the window holds
    BitmapRef original; // what Revert goes back to
    std::optional<ImageProperties> properties;
    QString mimeType;
    QString file; // the file the window represents
    // The photo's file as it was opened, for projects: a Save over it must not lose it.
    std::shared_ptr<const std::string> originalBytes;
    QString originalName;
    // Reopened from a project made after Apply: `original` is the applied picture, and the photo as
    // first opened is still in originalBytes, decoded when Revert asks for it.
    bool originalIsApplied = false;
    QString pendingWarning;         // about the photo being opened: said once it is on screen
    bool incomplete = false;        // the photo's file ended early: what is grey was never read
    bool savedSinceOpening = false; // the window wrote its picture somewhere since the photo opened
    QString suggestedName;          // for Save As when the picture has no file (a recovered one)

    // The ICC profile the picture's values are in (empty: sRGB), for showing and printing it.
    std::vector<uint8_t> colourProfile() const;
    // The photo in originalBytes as decoded; nothing when it cannot be had.
    BitmapRef photoFromOriginalBytes() const;
    // Photos above the canvas's pixel limit are painted on a reduced copy, kept for the picture on
    // screen and the photo as opened.
    void rememberWorkingCopy(const BitmapRef& photo, const BitmapRef& reduced);
    // What a canvas of that photo paints on: the photo, or a reduced copy that stands for it.
    CanvasPhoto canvasPhotoFor(const BitmapRef& photo);

private:
    std::vector<std::pair<BitmapRef, BitmapRef>> workingCopies_;
};

} // namespace pimavo
