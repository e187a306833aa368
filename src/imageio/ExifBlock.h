// A photo's EXIF block, carried into a saved JPEG byte for byte.
//
// Rebuilding EXIF tag by tag moves every value, and the maker notes of many cameras hold offsets
// that point to absolute places in the block: after a rebuild they point into nothing, and every
// tool reads the camera's settings wrong. So the block is kept as the camera wrote it, and only what
// the saved file must say differently is changed in place: Orientation 1 (the pixels are upright),
// the pixel dimensions, Software, the modification time, and no thumbnail (it would show the unedited photo).
// A value that does not fit where it was goes at the end of the block, where it moves nothing else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pimavo {

// The metadata segments of a JPEG file as they are stored; each empty when the file has none.
struct JpegMetadata {
    std::vector<uint8_t> exifBlock; // the TIFF-structured payload after "Exif\0\0"
    std::string xmp;                // the XMP segment's payload: namespace, then the packet
    std::string photoshop;          // the APP13 payload: the IPTC record and the digest of it
    bool jfif = false;              // whether it has a JFIF segment
};
JpegMetadata readJpegMetadata(const std::string& path);

// When a picture is saved, as its metadata gives it: EXIF's "YYYY:MM:DD hh:mm:ss" in local time,
// the zone as "+hh:mm", and both together as XMP writes a date.
struct SaveTime {
    std::string dateTime, offset, xmp;
    static SaveTime now();
};

// The block as a saved picture of width × height should carry it; nullopt when the block is not
// sound enough to change in place (the caller then rebuilds the EXIF instead).
std::optional<std::vector<uint8_t>> exifBlockForSaving(std::vector<uint8_t> block, int width, int height,
                                                       std::string_view software, const SaveTime& saved);

// Whether an XMP packet can go into a saved picture as it is: it must not state the orientation,
// the pixel dimensions or when it was changed, which the save changes.
bool xmpNeedsNoChange(const std::string& xmpSegment);
// Whether a Photoshop segment can go into a saved picture as it is: it must hold no thumbnail.
bool photoshopNeedsNoChange(const std::string& photoshopSegment);

// Makes `block` the eXIf chunk of a PNG file, right after its header chunk, in place of any it had.
// False with the reason when the file is no PNG or cannot be rewritten.
bool putPngExifChunk(const std::string& path, const std::vector<uint8_t>& block, std::string* why);

// Makes a TIFF file carry `block`: the block goes first in the file, so that every offset in it (maker
// notes' too) still points where it did; the file's own structure follows it, moved by the block's
// size; and a new image directory at the end joins the file's own entries to the block's descriptive
// ones (Make, Model, the Exif and GPS directories, ...). The file and the block must share a byte
// order. False with the reason when the file cannot take it (the caller then rebuilds the EXIF).
bool putTiffExifBlock(const std::string& path, const std::vector<uint8_t>& block, std::string* why);
// Whether a block is stored big-endian.
bool exifBlockIsBigEndian(const std::vector<uint8_t>& block);

// The segments as a JPEG encoder writes them (marker, payload), in the order a camera has them.
std::vector<std::pair<int, std::string>> jpegSegments(const JpegMetadata& metadata);

// Writes the given segments into a JPEG file, after its start marker and any JFIF segment, in place
// of the segments of those kinds it had; an empty one is left out. False with the reason when the
// file is no JPEG or cannot be rewritten.
bool putJpegMetadata(const std::string& path, const JpegMetadata& metadata, std::string* why);

} // namespace pimavo
