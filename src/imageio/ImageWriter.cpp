#include "ImageWriter.h"

#include "AtomicFile.h"
#include "ExifBlock.h"
#include "FailureText.h"
#include "HeifExif.h"
#include "ImageTypes.h"
#include "RasterCodec.h"
#include "TiffWriter.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"

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
    const Image image = Image::imageWithBitmap(BitmapRef(&bitmap, [](const Bitmap*) {}));
    const RectF extent(0, 0, bitmap.width(), bitmap.height());
    if (keep) return Renderer().createBitmap(image, extent, {bitmap.bitsPerComponent(), AlphaInfo::Last});
    const Image onWhite =
        ops::sourceOver(image, Image::imageWithColor({1, 1, 1, 1}).imageByCroppingToRect(extent));
    const int bits = bitmap.bitsPerComponent();
    return Renderer().createBitmap(onWhite, extent,
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
    request.compression = compressionForMimeType(options.mimeType);
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

bool typeKeepsTransparency(const std::string& mimeType) {
    static const char* const kTypes[] = {"image/png",  "image/tiff", "image/webp",  "image/heic",
                                         "image/heif", "image/avif", "image/x-exr", "image/jp2"};
    return std::find(std::begin(kTypes), std::end(kTypes), mimeType) != std::end(kTypes);
}

bool writeImageFile(const Bitmap& source, const std::string& path, const SaveOptions& options,
                    const ImageProperties* properties, std::string* error,
                    const std::function<bool(int)>& waitForRow) {
    auto fail = [&](const std::string& why) {
        if (error) *error = saveFailureMessage(path, why);
        return false;
    };
    if (source.isNull()) return fail(QT_TRANSLATE_NOOP("Failure", "there is no picture"));
    std::optional<Bitmap> prepared;
    if (source.layout().hasAlpha()) {
        if (waitForRow && !waitForRow(source.height() - 1))
            return fail(QT_TRANSLATE_NOOP("Failure", "the picture could not be read whole"));
        prepared = preparedForWriting(source, typeKeepsTransparency(options.mimeType));
        if (!prepared)
            return fail(QT_TRANSLATE_NOOP("Failure", "there is not enough memory to prepare the picture"));
    }
    const Bitmap& bitmap = prepared ? *prepared : source;
    if (!hasOwnEncoder(options.mimeType)) {
        const auto writable = writableMimeTypes();
        if (std::find(writable.begin(), writable.end(), options.mimeType) == writable.end())
            return fail(failure::compose(failure::kTypeNotWritable, {options.mimeType}));
    }
    const std::string format = formatForMimeType(options.mimeType);
    const int height = bitmap.height();
    // The rows the JPEG encoder asks for are where a save can be stopped and its progress seen.
    std::function<bool(int)> rows = waitForRow;
    if (options.proceed)
        rows = [&](int y) { return options.proceed(double(y) / height) && (!waitForRow || waitForRow(y)); };
    auto stopped = [&](std::string& why) {
        why = QT_TRANSLATE_NOOP("Failure", "the save was cancelled");
        return false;
    };

    return writeFileAtomically(
        path, "." + extensionForMimeType(options.mimeType),
        [&](const std::string& temp, std::string& why) {
            bool metadataWritten = false;
            // A PNG or TIFF takes a camera's EXIF block whole, put in once the rest of the metadata is
            // written (which would not keep a chunk or a layout it does not know).
            std::optional<std::vector<uint8_t>> exifBlock;
            if (properties && (format == "png" || format == "tiff"))
                exifBlock = properties->exifBlockForSaving(bitmap.width(), bitmap.height());
            // Only the JPEG encoder takes rows as they come; the others need the whole picture first.
            if (waitForRow && format != "jpeg" && !waitForRow(bitmap.height() - 1)) {
                why = QT_TRANSLATE_NOOP("Failure", "the picture could not be read whole");
                return false;
            }
            if (options.proceed && !options.proceed(0)) return stopped(why);
            if (!writePixels(bitmap, temp, format, options, properties, metadataWritten, exifBlock,
                             format == "jpeg" ? rows : std::function<bool(int)>(), why))
                return options.proceed && !options.proceed(0) ? stopped(why) : false;
            if (gFailMetadata) {
                why = QT_TRANSLATE_NOOP("Failure", "the metadata could not be written (simulated failure)");
                return false;
            }
            // A HEIF file takes only EXIF, and only as the encoder's item pointed at a block of ours;
            // a picture without EXIF gets one that names the program, in place of the encoder's
            // (which is malformed).
            if (format == "heif") {
                ImageProperties own;
                own.setTiffValue("Software", softwareName());
                auto exif =
                    properties ? properties->exifForEncoder(bitmap.width(), bitmap.height()) : std::nullopt;
                if (!exif) exif = own.exifForEncoder(bitmap.width(), bitmap.height());
                if (exif && !putHeifExif(temp, *exif, &why)) {
                    why = failure::compose(failure::kMetadataNotWritten, {why});
                    return false;
                }
                return true;
            }
            if (properties && !metadataWritten &&
                !properties->writeToFile(temp, bitmap.width(), bitmap.height(), &why, exifBlock.has_value()))
                return false;
            if (exifBlock && format == "png" && !putPngExifChunk(temp, *exifBlock, &why)) {
                why = failure::compose(failure::kMetadataNotWritten, {why});
                return false;
            }
            // A TIFF that cannot take the block whole gets its EXIF rebuilt tag by tag instead.
            if (exifBlock && format == "tiff" && !putTiffExifBlock(temp, *exifBlock, &why) &&
                !properties->writeToFile(temp, bitmap.width(), bitmap.height(), &why))
                return false;
            if (options.proceed && !options.proceed(1)) return stopped(why);
            return true;
        },
        error);
}

TypeRoom roomOfType(std::string_view mimeType) {
    // What each writer puts in: Exiv2 where it writes the format, the encoders' own for HEIF (only
    // EXIF) and for OpenEXR and BMP (nothing of it).
    struct Row {
        const char* mimeType;
        TypeRoom room;
    };
    static const Row kRooms[] = {
        {"image/jpeg", {true, true, true, true, 8}},    {"image/tiff", {true, true, true, true, 32}},
        {"image/png", {true, true, true, true, 16}},    {"image/webp", {true, false, true, true, 8}},
        {"image/heic", {true, false, false, false, 8}}, {"image/avif", {true, false, false, false, 8}},
        {"image/jp2", {true, true, true, true, 16}},    {"image/x-exr", {false, false, false, false, 32}},
        {"image/bmp", {false, false, false, false, 8}},
    };
    for (const Row& r : kRooms)
        if (mimeType == r.mimeType) return r.room;
    return {};
}

TypeLoss lossOfType(std::string_view mimeType, const ImageProperties* properties, int bitsPerComponent) {
    const TypeRoom room = roomOfType(mimeType);
    TypeLoss loss;
    if (properties)
        for (const std::string& key : properties->keys()) {
            loss.exif |= !room.exif && key.starts_with("Exif.");
            loss.iptc |= !room.iptc && key.starts_with("Iptc.");
            loss.xmp |= !room.xmp && key.starts_with("Xmp.");
            loss.icc |= !room.icc && key == "ICCProfile";
        }
    if (bitsPerComponent > room.bits) loss.bits = bitsPerComponent;
    return loss;
}

void simulateMetadataFailureForTesting(bool on) {
    gFailMetadata = on;
}

} // namespace pimavo
