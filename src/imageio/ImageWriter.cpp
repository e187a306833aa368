#include "ImageWriter.h"

#include "AtomicFile.h"
#include "ExifBlock.h"
#include "ImageTypes.h"
#include "RasterCodec.h"
#include "TiffWriter.h"
#include "engine/CIContext.h"
#include "engine/CIFilter.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>

namespace pimavo {

namespace {

std::atomic<bool> gFailMetadata{false};

// The bitmap as the writers take a picture with transparency: RGBA with the colour not multiplied
// by alpha (`keep`), or composed onto white without alpha. Rendered through the engine, in tiles.
std::optional<Bitmap> preparedForWriting(const Bitmap& bitmap, bool keep) {
    // The bitmap outlives the image made of it here: no copy of its pixels is needed.
    const CIImage image = CIImage::imageWithBitmap(BitmapRef(&bitmap, [](const Bitmap*) {}));
    const CGRect extent(0, 0, bitmap.width(), bitmap.height());
    if (keep) return CIContext().createBitmap(image, extent, {bitmap.bitsPerComponent(), AlphaInfo::Last});
    auto over = CIFilter::filterWithName("CISourceOverCompositing");
    if (!over) return std::nullopt;
    over->setValue("inputImage", image);
    over->setValue("inputBackgroundImage", CIImage::imageWithColor({1, 1, 1, 1}).imageByCroppingToRect(extent));
    const int bits = bitmap.bitsPerComponent();
    return CIContext().createBitmap(over->outputImage(), extent,
                                    {bits, bits == 8 ? AlphaInfo::NoneSkipFirst : AlphaInfo::NoneSkipLast});
}

// `metadataWritten` is set when the encoder wrote all of the metadata itself. `exifBlock` is the
// EXIF block a TIFF is to carry (the file takes its byte order).
bool writePixels(const Bitmap& bitmap, const std::string& tempPath, const std::string& format,
                 const SaveOptions& options, const ImageProperties* properties, bool& metadataWritten,
                 const std::optional<std::vector<uint8_t>>& exifBlock,
                 const std::function<bool(int)>& waitForRow, std::string& why) {
    if (format == "tiff")
        return writeTiff(bitmap, tempPath, options.tiffCompression,
                         properties ? properties->iccProfile() : std::vector<uint8_t>{}, why,
                         exifBlock && exifBlockIsBigEndian(*exifBlock));
    codec::WriteRequest request;
    request.format = format;
    request.quality = std::clamp(int(std::lround(options.quality * 100)), 1, 100);
    request.software = softwareName();
    if (properties) request.iccProfile = properties->iccProfile();
    // The camera's EXIF block will say who wrote the file, and sits where a JFIF segment would:
    // the saved file carries what the source carried, no more.
    if (properties && properties->carriesExifBlock() && format == "jpeg") {
        request.software.clear();
        request.jfif = properties->sourceHasJfif();
    }
    // A camera JPEG's metadata segments go straight into the new JPEG as the encoder writes it: no
    // second pass over the file to put them in.
    if (properties && format == "jpeg")
        if (auto segments = properties->jpegSegmentsForSaving(bitmap.width(), bitmap.height())) {
            request.segments = std::move(*segments);
            metadataWritten = true;
        }
    // The bitmap's ignored component is skipped by starting at red and stepping whole pixels.
    const int bpc = bitmap.bitsPerComponent() / 8;
    codec::RasterImage image;
    image.width = bitmap.width();
    image.height = bitmap.height();
    image.bits = bitmap.bitsPerComponent();
    image.first = bitmap.row(0) + (bitmap.layout().alphaFirst() ? bpc : 0);
    image.channels = bitmap.layout().hasAlpha() ? 4 : 3; // straight RGBA here (preparedForWriting)
    image.xstride = 4 * bpc;
    image.ystride = std::ptrdiff_t(bitmap.bytesPerRow());
    image.waitForRow = waitForRow;
    if (format == "jpeg") return codec::jpegBackend().write(image, tempPath, request, why);
    if (format == "png") return codec::pngBackend().write(image, tempPath, request, why);
    codec::RasterBackend* library = codec::libraryBackend(&why);
    return library && library->write(image, tempPath, request, why);
}

} // namespace

bool typeKeepsTransparency(const std::string& utType) {
    static const char* const kTypes[] = {"public.png",           "public.tiff",          "org.webmproject.webp",
                                         "public.heic",          "public.heif",          "public.avif",
                                         "com.ilm.openexr-image", "public.jpeg-2000"};
    return std::find(std::begin(kTypes), std::end(kTypes), utType) != std::end(kTypes);
}

bool writeImageFile(const Bitmap& source, const std::string& path, const SaveOptions& options,
                    const ImageProperties* properties, std::string* error,
                    const std::function<bool(int)>& waitForRow) {
    auto fail = [&](const std::string& why) {
        if (error) *error = saveFailureMessage(path, why);
        return false;
    };
    if (source.isNull()) return fail("there is no picture");
    std::optional<Bitmap> prepared;
    if (source.layout().hasAlpha()) {
        if (waitForRow && !waitForRow(source.height() - 1)) return fail("the picture could not be read whole");
        prepared = preparedForWriting(source, typeKeepsTransparency(options.utType));
        if (!prepared) return fail("there is not enough memory to prepare the picture");
    }
    const Bitmap& bitmap = prepared ? *prepared : source;
    if (!hasOwnEncoder(options.utType)) {
        const auto writable = writableUTTypes();
        if (std::find(writable.begin(), writable.end(), options.utType) == writable.end())
            return fail("Pimavo cannot write the type " + options.utType);
    }
    const std::string format = formatForUTType(options.utType);

    return writeFileAtomically(
        path, "." + extensionForUTType(options.utType),
        [&](const std::string& temp, std::string& why) {
            bool metadataWritten = false;
            // A PNG or TIFF takes a camera's EXIF block whole, put in once the rest of the metadata is
            // written (which would not keep a chunk or a layout it does not know).
            std::optional<std::vector<uint8_t>> exifBlock;
            if (properties && (format == "png" || format == "tiff"))
                exifBlock = properties->exifBlockForSaving(bitmap.width(), bitmap.height());
            // Only the JPEG encoder takes rows as they come; the others need the whole picture first.
            if (waitForRow && format != "jpeg" && !waitForRow(bitmap.height() - 1)) {
                why = "the picture could not be read whole";
                return false;
            }
            if (!writePixels(bitmap, temp, format, options, properties, metadataWritten, exifBlock,
                             format == "jpeg" ? waitForRow : std::function<bool(int)>(), why))
                return false;
            if (gFailMetadata) {
                why = "the metadata could not be written (simulated failure)";
                return false;
            }
            if (properties && !metadataWritten &&
                !properties->writeToFile(temp, bitmap.width(), bitmap.height(), &why, exifBlock.has_value()))
                return false;
            if (exifBlock && format == "png" && !putPngExifChunk(temp, *exifBlock, &why)) {
                why = "the metadata could not be written (" + why + ")";
                return false;
            }
            // A TIFF that cannot take the block whole gets its EXIF rebuilt tag by tag instead.
            if (exifBlock && format == "tiff" && !putTiffExifBlock(temp, *exifBlock, &why) &&
                !properties->writeToFile(temp, bitmap.width(), bitmap.height(), &why))
                return false;
            return true;
        },
        error);
}

void simulateMetadataFailureForTesting(bool on) {
    gFailMetadata = on;
}

} // namespace pimavo
