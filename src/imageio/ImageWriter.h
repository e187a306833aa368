// Writing pictures to files, as Save and Save As do.
//
// One operation writes a bitmap to a path in a type, with the metadata of the photo it came from.
// Writing is atomic (AtomicFile.h): the file is first written completely (pixels and metadata) under
// a temporary name in the target folder, flushed to disk, then renamed over the target. Any failure
// leaves the target exactly as it was and no temporary file behind.
#pragma once

#include "ImageProperties.h"
#include "engine/Bitmap.h"

#include <functional>
#include <string>
#include <string_view>

namespace pimavo {

struct SaveOptions {
    std::string mimeType = "image/jpeg";
    double quality = 0.9;                // lossy formats: 0 (smallest) to 1 (best)
    std::string tiffCompression = "zip"; // "none", "lzw", "zip" (deflate) or "packbits"
    // A save that can be stopped: asked with the fraction done as rows are encoded (false stops
    // it), and with 1 once the file is complete, just before it replaces the target (false there
    // abandons it). A stopped save leaves the target exactly as it was. Called on the writing thread.
    std::function<bool(double done)> proceed;
};

// Whether files of the type keep a picture's transparency (PNG, TIFF, WebP, HEIF, AVIF, OpenEXR,
// JPEG 2000). The other types get the picture composed onto white.
bool typeKeepsTransparency(const std::string& mimeType);

// Writes the bitmap; `properties` may be null for a picture without a file of its own. Answers
// false with a message naming the file and the reason. A bitmap with alpha keeps it in the types
// that hold it (stored unassociated, as those files expect) and is composed onto white in the
// others.
// `waitForRow`, when given, is asked before row y is read and answers once it is there (a bitmap
// still being decoded); false means it never will be, and the save fails.
bool writeImageFile(const Bitmap& bitmap, const std::string& path, const SaveOptions& options,
                    const ImageProperties* properties, std::string* error,
                    const std::function<bool(int)>& waitForRow = {});

// What a file of a type, as writeImageFile writes it, can hold of a photo.
struct TypeRoom {
    bool exif = false, iptc = false, xmp = false, icc = false;
    int bits = 8; // the deepest components it keeps
};
TypeRoom roomOfType(std::string_view mimeType);

// What of a photo a file of the type would go without.
struct TypeLoss {
    bool exif = false, iptc = false, xmp = false, icc = false;
    int bits = 0; // the photo's depth when the type keeps less, else 0
    bool any() const { return exif || iptc || xmp || icc || bits; }
};
TypeLoss lossOfType(std::string_view mimeType, const ImageProperties* properties, int bitsPerComponent);

// Tests of the failure path: while on, the metadata step fails as a full disk would make it.
void simulateMetadataFailureForTesting(bool on);

} // namespace pimavo
