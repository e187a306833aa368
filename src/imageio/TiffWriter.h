// TIFF files written with their strips compressed in parallel: deflate is by far the slowest part
// of saving a large TIFF, and strips are independent of each other.
#pragma once

#include "engine/Bitmap.h"

#include <string>
#include <vector>

namespace pimavo {

// Writes the bitmap's RGB as a TIFF (RGBA with unassociated alpha for a bitmap whose alpha is
// straight) ("none", "lzw", "zip" or "packbits" compression), with the
// software name and an optional ICC profile. Answers false with a reason.
// `bigEndian` chooses the file's byte order (that of an EXIF block it is to carry).
bool writeTiff(const Bitmap& bitmap, const std::string& path, const std::string& compression,
               const std::vector<uint8_t>& iccProfile, std::string& why, bool bigEndian = false);

} // namespace pimavo
