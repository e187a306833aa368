// The metadata items of HEIF files (HEIC, AVIF) that Exiv2 does not handle: the EXIF of a file
// Pimavo has just written, and XMP kept in the metadata box itself, which Exiv2 does not read.
//
// The HEIF encoder writes an EXIF item of its own making, which loses what it does not know of a
// camera's metadata; Exiv2 cannot write HEIF at all. So the item is pointed at a block of ours
// instead: the block goes into a data box of its own at the end of the file, and the item's entry in
// the location table is rewritten in place to point at it, with its whole position in the extent
// (some readers ignore a base offset).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pimavo {

// Makes the file's EXIF item hold `tiffBlock` (TIFF-structured, as after "Exif\0\0" in a JPEG).
// False with the reason when the file is no HEIF file, has no EXIF item, or its location table has
// no room for where the block lies.
bool putHeifExif(const std::string& path, const std::vector<uint8_t>& tiffBlock, std::string* why);

// The XMP packet of a HEIF file, wherever its item lies; empty when it has none or it cannot be read.
std::string readHeifXmp(const std::string& path);

} // namespace pimavo
