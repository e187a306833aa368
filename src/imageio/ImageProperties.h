// The metadata of an opened photo, kept to be written back when the picture is saved: EXIF, IPTC,
// XMP and the ICC profile, as the file had them.
//
// Besides the raw metadata, the properties answer the few dictionary-style questions the editor
// asks: the orientation the file declared, its bits per component ("Depth"), and the values of the
// "{TIFF}" group (Make, Model, Software, ... — the EXIF image directory). Values are copied on
// write, so copies are cheap and independent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pimavo {

class ImageProperties {
public:
    ImageProperties();
    ~ImageProperties();
    ImageProperties(const ImageProperties&);
    ImageProperties& operator=(const ImageProperties&);
    ImageProperties(ImageProperties&&) noexcept;
    ImageProperties& operator=(ImageProperties&&) noexcept;

    // Reads the metadata of a file. A file whose format carries no metadata we can read gives
    // empty properties, not an error.
    static ImageProperties readFromFile(const std::string& path);

    // The orientation the file declared, as read (EXIF first, then XMP).
    std::optional<int> declaredOrientation() const;
    // Removes every orientation entry: the pixels are upright once decoded.
    void removeOrientation();

    // Whether the metadata says where the photo was taken (EXIF or XMP GPS entries).
    bool hasLocation() const;
    // Removes where the photo was taken, for a copy that leaves the user's hands. The camera's own
    // EXIF block then goes rebuilt rather than carried as it was, since the location is in it.
    void removeLocation();
    // Bits per component of the file's pixels ("Depth"); 8 when unknown.
    int depth() const;
    void setDepth(int bits);

    // "{TIFF}" group entries, by their short names ("Software", "Make", ...).
    std::optional<std::string> tiffValue(std::string_view key) const;
    void setTiffValue(std::string_view key, std::string_view value);

    // An EXIF entry by its full key ("Exif.Photo.ColorSpace", "Exif.Iop.InteroperabilityIndex"), as text.
    std::optional<std::string> exifValue(std::string_view key) const;

    // Sets an entry the photo has (by its full key) to `value`; one it lacks stays absent.
    void replaceExifValue(std::string_view key, std::string_view value);

    const std::vector<uint8_t>& iccProfile() const;
    void setIccProfile(std::vector<uint8_t> profile);

    // Every metadata key present ("Exif.Image.Make", "Xmp.dc.subject", "Iptc.Application2.City", ...),
    // plus "ICCProfile" when there is a profile.
    std::vector<std::string> keys() const;
    bool isEmpty() const;
    // Whether a saved JPEG gets the source's EXIF block as the camera wrote it (see ExifBlock.h),
    // rather than one rebuilt tag by tag.
    bool carriesExifBlock() const;
    // Whether the source was a JPEG with a JFIF segment (a saved JPEG then keeps one).
    bool sourceHasJfif() const;
    // The source's EXIF block as a saved picture of width × height should carry it (see ExifBlock.h),
    // for formats that hold such a block whole (PNG's eXIf chunk); nothing when there is none.
    std::optional<std::vector<uint8_t>> exifBlockForSaving(int width, int height) const;
    // The EXIF, TIFF-structured, for an encoder that writes it itself (HEIF): the source's block
    // where it can go as it is, else one rebuilt; nothing when there is no EXIF.
    std::optional<std::vector<uint8_t>> exifForEncoder(int width, int height) const;
    // All of the metadata as segments a JPEG encoder writes as they are (marker, payload), when the
    // source's own segments can carry all of it into a saved picture of width × height; nothing
    // when some of it must be rebuilt (then writeToFile does it). The ICC profile is not among them.
    std::optional<std::vector<std::pair<int, std::string>>> jpegSegmentsForSaving(int width,
                                                                                  int height) const;

    // Writes the metadata into an image file that already holds the picture's pixels: orientation 1,
    // pixel dimensions width × height, no stale EXIF thumbnail, structural tags of the source
    // format dropped. Formats that carry no metadata are left as they are. Answers false with a
    // message when writing fails.
    // `exifWritten`: the encoder already wrote the EXIF block itself.
    bool writeToFile(const std::string& path, int width, int height, std::string* error,
                     bool exifWritten = false) const;

    struct Data;

private:
    Data& mutate();
    std::shared_ptr<Data> d_;
};

// The "Software" text written into saved files: "Pimavo" and its version.
std::string softwareName();

} // namespace pimavo
