// Opening photo files: pixels upright, at the file's own depth, with the file's metadata.
//
// The decoder is chosen by the file's content, among photo formats only (never video or other
// containers, whatever the name says). Its header is checked before any pixel is asked for: at most
// 512 megapixels, and the memory the pixels need must be there. A file that fails any step gives no
// image and a message that names it; nothing a file contains can crash or hang the caller.
#pragma once

#include "ImageProperties.h"
#include "engine/Bitmap.h"

#include <functional>
#include <optional>
#include <string>

namespace pimavo {

inline constexpr double kMaxDecodePixels = 512.0 * 1000 * 1000;

struct DecodedImage {
    BitmapRef bitmap;           // upright, in the photo layout of its depth (ImageGeometry.h)
    ImageProperties properties; // orientation removed, "{TIFF}" Software set, depth recorded
    std::string mimeType;       // "image/jpeg", ...
    int orientation = -1;       // as the file declared it; -1 when it declared none
    int bitsPerComponent = 8;   // of the bitmap ("Depth"): 8, 16, or 32 for any float
    // Set when the file is incomplete or damaged and part of the picture is shown grey: names the
    // file and says so. The picture is still the user's to work on; nothing may call it whole.
    std::string warning;
};

struct DecodeResult {
    std::optional<DecodedImage> image;
    std::string error;  // set when image is empty: names the file and says why
    std::string reason; // the why alone, a clause without the file's name ("it is damaged (…)")
};

// The file's metadata as a saved copy of its upright pixels of that depth should carry it, as
// decoding prepares it (orientation removed, "{TIFF}" Software set, depth recorded).
ImageProperties propertiesForSaving(const std::string& path, int depth);

// Decodes a file as the editor opens it, logging "Image orientation: %d, bpc: %u" (debug, pimavo.io)
// on success unless `announce` is false (files the program wrote itself, such as its caches); an
// announced decode also logs its warning, if any, as a warning.
DecodeResult decodeImageFile(const std::string& path, bool announce = true);

// Decodes a file at a reduced size no smaller than minWidth × minHeight (upright), as its decoder
// makes it cheaply (a JPEG's DCT scaling), for showing while the whole is decoded. Fails for files
// that cannot be reduced that way; logs nothing.
DecodeResult decodeImageFileReduced(const std::string& path, int minWidth, int minHeight);

// Decodes a file whose rows come upright and in order (a JPEG that needs no turning) while `use` is
// already at work on it: `use` gets the image with its bitmap still being filled, and `waitForRow(y)`,
// which answers once row y is there (false when decoding failed). Decoding and, say, encoding the
// picture again then run side by side. The result is that of decodeImageFile once `use` returned
// and decoding ended; nothing, without calling `use`, for a file that must be decoded whole.
std::optional<DecodeResult> decodeImageFileStreaming(
    const std::string& path,
    const std::function<void(const DecodedImage& image, const std::function<bool(int)>& waitForRow)>& use);

// What the file is, from its header only: no pixels are decoded.
struct ImageHeader {
    int width = 0, height = 0; // after orientation
    int bitsPerComponent = 8;
    int orientation = -1;
    std::string mimeType;
};
std::optional<ImageHeader> readImageHeader(const std::string& path, std::string* error = nullptr);

} // namespace pimavo
