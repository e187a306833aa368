// File types: their MIME types, the file extensions the editor offers to open, and the formats it
// can write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pimavo {

// The extensions of the files Pimavo opens as photos, lower case, without duplicates: those the
// built-in JPEG and PNG codecs read, then those the general codec module says its decoders read
// for the photo formats above (camera raw, HEIF and AVIF, WebP, JPEG XL, ...). Every place a photo
// enters by name uses this one list. Loads the codec module on first use.
const std::vector<std::string>& readableFileTypes();
// Whether a file with this extension (any case, no dot) is opened as a photo. JPEG and PNG are
// answered without loading the codec module.
bool isReadableExtension(std::string_view extension);
// The type of a file the decoder opened in `format`, as its content says ("heif" holds HEIC or AVIF).
std::string mimeTypeOfFile(std::string_view format, const std::string& path);

// The MIME type of a decoder format ("jpeg" → "image/jpeg"); empty for formats we do not open.
std::string mimeTypeForFormat(std::string_view oiioFormat);
// The decoder format of a MIME type ("image/tiff" → "tiff"); empty when unknown.
std::string formatForMimeType(std::string_view mimeType);
// A conventional extension for a MIME type ("image/jpeg" → "jpg"); empty when unknown.
std::string extensionForMimeType(std::string_view mimeType);
// Every extension in common use for a type, the conventional one first ("image/tiff" → tiff, tif).
std::vector<std::string> extensionsForMimeType(std::string_view mimeType);
// The type a path's extension suggests for writing, or nullopt.
std::optional<std::string> mimeTypeForExtension(std::string_view path);
// The MIME type a stored or typed type name stands for: earlier versions kept reverse-domain type
// ids ("public.jpeg"), which are read as their MIME types; anything else is answered as given.
std::string mimeTypeOfTypeName(std::string_view name);

// The types a picture can be saved as: every format the encoder offers that we know, minus icons
// and PDF.
std::vector<std::string> writableMimeTypes();
// The coding a type asks of its format's encoder ("image/avif" → "avif"); empty when the format
// has only one.
std::string compressionForMimeType(std::string_view mimeType);
// Whether the type is written without the general codec module (JPEG and TIFF).
bool hasOwnEncoder(std::string_view mimeType);

// The decoder formats tried when opening a file, most common first. Formats that are not photos
// (video, medical, volume data) are never tried, whatever a file claims to be.
const std::vector<std::string>& decoderFormats();
// Whether `format` is among them; JPEG and PNG always are, answered without loading any module.
bool isDecoderFormat(std::string_view format);

} // namespace pimavo
