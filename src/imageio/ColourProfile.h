// Colour profiles and the conversions between them, through LittleCMS 2.
//
// The engine works on a photo's values as they are stored; these conversions serve only what leaves
// it for another colour space: the screen (each view converts its 8-bit pixels as it paints), the
// printer, and copies for the web, which assumes sRGB.
//
// A profile is held as the bytes of an ICC file. Empty bytes stand for sRGB, the colour space of a
// picture that declares none, and so do bytes LittleCMS cannot read as an RGB profile: such a
// picture is shown and written as its values are.
#pragma once

#include "engine/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pimavo {

class ImageProperties;

// Profiles made by LittleCMS from their published primaries, white point and tone curves.
const std::vector<uint8_t>& srgbProfile();
const std::vector<uint8_t>& adobeRgbProfile(); // Adobe RGB (1998)
const std::vector<uint8_t>& displayP3Profile();

// The profile the photo's values are in: the one embedded in the file; else Adobe RGB when only
// its EXIF says so (DCF's "R03" interoperability index with an uncalibrated colour space, or the
// colour space value 2 some cameras write); else empty, for sRGB.
std::vector<uint8_t> photoProfile(const ImageProperties& properties);

// A conversion from one profile to another (relative colorimetric). Immutable and safe to share
// between threads.
class ColourTransform {
public:
    // The conversion between two profiles, made once and kept for later calls. Null when there is
    // nothing to do: the two are the same colour space (no 8-bit value moves by more than a level,
    // however differently the profiles describe it), or either cannot be read.
    static std::shared_ptr<const ColourTransform> between(std::span<const uint8_t> from,
                                                          std::span<const uint8_t> to);
    ~ColourTransform();
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;

    // Converts 8-bit pixels in place, laid out as Qt's 32-bit formats lie in memory (B, G, R, A);
    // alpha is left as it is.
    void convertBgra8(uint8_t* pixels, int width, int height, std::ptrdiff_t bytesPerRow) const;
    // Converts a bitmap of any layout in place.
    void convert(Bitmap& bitmap) const;

    struct Handles;

private:
    explicit ColourTransform(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> h_;
};

// The profile of the screen pictures are shown on; empty (sRGB) until one is set. Each change
// counts a generation, so that views can tell their conversion is out of date.
void setScreenProfile(std::vector<uint8_t> profile);
std::vector<uint8_t> screenProfile();
uint64_t screenProfileGeneration();

// From a photo's profile to the screen's; null when its values show as they are.
std::shared_ptr<const ColourTransform> displayTransform(std::span<const uint8_t> photoProfile);

} // namespace pimavo
