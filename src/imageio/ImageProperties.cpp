#include "ImageProperties.h"

#include "ExifBlock.h"
#include "FailureText.h"
#include "HeifExif.h"
#include "Version.h"

#include <exiv2/exiv2.hpp>
#include <fstream>
#include <mutex>

namespace pimavo {

struct ImageProperties::Data {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    std::vector<uint8_t> icc;
    int depth = 8;
    JpegMetadata stored; // of a JPEG source, as the camera wrote it
};

namespace {

void initialiseExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        // HEIF and AVIF are read as what they are, not as video by the QuickTime reader.
        Exiv2::enableBMFF(true);
        // Exiv2 reports oddities of ordinary files as warnings on stderr; failures still throw.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    });
}

// Tags that describe how the source file stored its pixels; they are wrong for any other file.
bool isStructuralTag(const std::string& key) {
    static const char* const kTags[] = {
        "ImageWidth",
        "ImageLength",
        "BitsPerSample",
        "Compression",
        "PhotometricInterpretation",
        "StripOffsets",
        "SamplesPerPixel",
        "RowsPerStrip",
        "StripByteCounts",
        "PlanarConfiguration",
        "TileWidth",
        "TileLength",
        "TileOffsets",
        "TileByteCounts",
        "SubIFDs",
        "NewSubfileType",
        "SubfileType",
        "SampleFormat",
        "JPEGTables",
        "Predictor",
        "ExtraSamples",
        "FillOrder",
        "JPEGInterchangeFormat",
        "JPEGInterchangeFormatLength",
        "YCbCrSubSampling",
        "YCbCrPositioning",
        "YCbCrCoefficients",
        "TransferFunction",
        "CFARepeatPatternDim",
        "CFAPattern",
        "InterColorProfile",
        "XMLPacket",
        "IPTCNAA",
        "ImageResources",
    };
    const std::string prefix = "Exif.Image.";
    if (key.rfind(prefix, 0) != 0) return false;
    const std::string tag = key.substr(prefix.size());
    if (tag.rfind("DNG", 0) == 0) return true; // raw-converter instructions
    for (const char* t : kTags)
        if (tag == t) return true;
    return false;
}

// Directories of other images inside the source file (raw previews, thumbnails).
bool isForeignGroup(const std::string& group) {
    return group == "Thumbnail" || group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0 ||
           (group.rfind("Image", 0) == 0 && group != "Image");
}

bool isMakerNoteGroup(const Exiv2::Exifdatum& d) {
    const std::string g = d.groupName();
    return g != "Image" && g != "Photo" && g != "GPSInfo" && g != "Iop" && !isForeignGroup(g);
}

Exiv2::ExifData exifForSaving(const Exiv2::ExifData& source, int width, int height, bool keepMakerNotes,
                              const std::string& software, const SaveTime& saved) {
    Exiv2::ExifData exif;
    for (const Exiv2::Exifdatum& d : source) {
        const std::string key = d.key();
        if (isStructuralTag(key) || isForeignGroup(d.groupName())) continue;
        if (!keepMakerNotes && (isMakerNoteGroup(d) || key == "Exif.Photo.MakerNote")) continue;
        exif.add(d);
    }
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(width);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(height);
    exif["Exif.Image.Software"] = software;
    exif["Exif.Image.DateTime"] = saved.dateTime;
    if (exif.findKey(Exiv2::ExifKey("Exif.Photo.OffsetTime")) != exif.end())
        exif["Exif.Photo.OffsetTime"] = saved.offset;
    Exiv2::ExifThumb(exif).erase();
    return exif;
}

} // namespace

ImageProperties::ImageProperties() : d_(std::make_shared<Data>()) {}
ImageProperties::~ImageProperties() = default;
ImageProperties::ImageProperties(const ImageProperties&) = default;
ImageProperties& ImageProperties::operator=(const ImageProperties&) = default;
ImageProperties::ImageProperties(ImageProperties&&) noexcept = default;
ImageProperties& ImageProperties::operator=(ImageProperties&&) noexcept = default;

ImageProperties::Data& ImageProperties::mutate() {
    if (!d_) d_ = std::make_shared<Data>();
    if (d_.use_count() > 1) d_ = std::make_shared<Data>(*d_);
    return *d_;
}

ImageProperties ImageProperties::readFromFile(const std::string& path) {
    initialiseExiv2();
    ImageProperties p;
    try {
        auto image = Exiv2::ImageFactory::open(path);
        if (!image.get()) return p;
        image->readMetadata();
        Data& d = p.mutate();
        d.exif = image->exifData();
        if (image->mimeType() == "image/jpeg") d.stored = readJpegMetadata(path);
        d.iptc = image->iptcData();
        d.xmp = image->xmpData();
        // Exiv2 reads a HEIF file's XMP only when it lies among the pictures' data.
        if (d.xmp.empty() && image->imageType() == Exiv2::ImageType::bmff)
            if (const std::string packet = readHeifXmp(path); !packet.empty())
                if (Exiv2::XmpParser::decode(d.xmp, packet) != 0) d.xmp.clear();
        if (image->iccProfileDefined()) {
            const Exiv2::DataBuf* buf = image->iccProfile();
            d.icc.assign(buf->pData_, buf->pData_ + buf->size_);
        }
    } catch (const std::exception&) {
        // A format Exiv2 does not know, or metadata it cannot parse: the photo opens without it.
        return ImageProperties();
    }
    return p;
}

std::optional<int> ImageProperties::declaredOrientation() const {
    try {
        auto e = d_->exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (e != d_->exif.end() && e->count() > 0) return int(e->toLong());
        auto x = d_->xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation"));
        if (x != d_->xmp.end() && x->count() > 0) return int(x->toLong());
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

void ImageProperties::removeOrientation() {
    Data& d = mutate();
    for (auto it = d.exif.begin(); it != d.exif.end();) {
        if (it->tagName() == "Orientation")
            it = d.exif.erase(it);
        else
            ++it;
    }
    auto x = d.xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation"));
    if (x != d.xmp.end()) d.xmp.erase(x);
}

namespace {
bool isLocationKey(const std::string& key) {
    return key.starts_with("Exif.GPSInfo.") || key == "Exif.Image.GPSTag" || key.starts_with("Xmp.exif.GPS");
}
} // namespace

bool ImageProperties::hasLocation() const {
    for (const auto& e : d_->exif)
        if (isLocationKey(e.key())) return true;
    for (const auto& e : d_->xmp)
        if (isLocationKey(e.key())) return true;
    return false;
}

void ImageProperties::removeLocation() {
    if (!hasLocation()) return;
    Data& d = mutate();
    for (auto it = d.exif.begin(); it != d.exif.end();)
        it = isLocationKey(it->key()) ? d.exif.erase(it) : std::next(it);
    const long xmpEntries = d.xmp.count();
    for (auto it = d.xmp.begin(); it != d.xmp.end();)
        it = isLocationKey(it->key()) ? d.xmp.erase(it) : std::next(it);
    // The packets as the camera wrote them still hold the location: rebuilt from what is left.
    d.stored.exifBlock.clear();
    if (d.xmp.count() != xmpEntries) d.stored.xmp.clear();
}

int ImageProperties::depth() const {
    return d_->depth;
}

void ImageProperties::setDepth(int bits) {
    mutate().depth = bits;
}

std::optional<std::string> ImageProperties::tiffValue(std::string_view key) const {
    try {
        auto e = d_->exif.findKey(Exiv2::ExifKey("Exif.Image." + std::string(key)));
        if (e != d_->exif.end()) return e->toString();
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<std::string> ImageProperties::exifValue(std::string_view key) const {
    try {
        auto e = d_->exif.findKey(Exiv2::ExifKey(std::string(key)));
        if (e != d_->exif.end() && e->count() > 0) return e->toString();
    } catch (const std::exception&) {
        // Not a key Exiv2 knows: the photo has no such entry.
    }
    return std::nullopt;
}

void ImageProperties::replaceExifValue(std::string_view key, std::string_view value) {
    if (!exifValue(key)) return;
    Data& d = mutate();
    try {
        auto e = d.exif.findKey(Exiv2::ExifKey(std::string(key)));
        if (e != d.exif.end()) e->setValue(std::string(value));
    } catch (const std::exception&) {
        // A value the entry's type cannot hold: left as it was.
    }
    // Written back tag by tag from now on, since the block as the camera wrote it says otherwise.
    d.stored.exifBlock.clear();
}

void ImageProperties::setTiffValue(std::string_view key, std::string_view value) {
    try {
        const Exiv2::ExifKey k("Exif.Image." + std::string(key));
        mutate().exif[k.key()] = std::string(value);
    } catch (const std::exception&) {
        // Not a tag of the image directory: nothing to set.
    }
}

const std::vector<uint8_t>& ImageProperties::iccProfile() const {
    return d_->icc;
}

void ImageProperties::setIccProfile(std::vector<uint8_t> profile) {
    mutate().icc = std::move(profile);
}

std::vector<std::string> ImageProperties::keys() const {
    std::vector<std::string> out;
    for (const auto& e : d_->exif) out.push_back(e.key());
    for (const auto& e : d_->iptc) out.push_back(e.key());
    for (const auto& e : d_->xmp) out.push_back(e.key());
    if (!d_->icc.empty()) out.push_back("ICCProfile");
    return out;
}

bool ImageProperties::carriesExifBlock() const {
    return !d_->stored.exifBlock.empty();
}

bool ImageProperties::sourceHasJfif() const {
    return d_->stored.jfif;
}

std::optional<std::vector<uint8_t>> ImageProperties::exifBlockForSaving(int width, int height) const {
    if (d_->stored.exifBlock.empty() || d_->exif.empty()) return std::nullopt;
    return pimavo::exifBlockForSaving(d_->stored.exifBlock, width, height,
                                      tiffValue("Software").value_or(softwareName()), SaveTime::now());
}

std::optional<std::vector<std::pair<int, std::string>>>
ImageProperties::jpegSegmentsForSaving(int width, int height) const {
    const JpegMetadata& s = d_->stored;
    JpegMetadata carried;
    if (!d_->exif.empty()) {
        if (s.exifBlock.empty()) return std::nullopt;
        auto block = pimavo::exifBlockForSaving(
            s.exifBlock, width, height, tiffValue("Software").value_or(softwareName()), SaveTime::now());
        if (!block) return std::nullopt;
        carried.exifBlock = std::move(*block);
    }
    if (!d_->xmp.empty()) {
        if (s.xmp.empty() || !xmpNeedsNoChange(s.xmp)) return std::nullopt;
        carried.xmp = s.xmp;
    }
    if (!d_->iptc.empty()) {
        if (s.photoshop.empty() || !photoshopNeedsNoChange(s.photoshop)) return std::nullopt;
        carried.photoshop = s.photoshop;
    }
    return jpegSegments(carried);
}

std::optional<std::vector<uint8_t>> ImageProperties::exifForEncoder(int width, int height) const {
    if (d_->exif.empty()) return std::nullopt;
    if (auto block = exifBlockForSaving(width, height)) return block;
    initialiseExiv2();
    // Some maker notes cannot be re-encoded; the EXIF then goes without them.
    for (bool keepMakerNotes : {true, false}) {
        try {
            Exiv2::ExifData exif =
                exifForSaving(d_->exif, width, height, keepMakerNotes,
                              tiffValue("Software").value_or(softwareName()), SaveTime::now());
            Exiv2::Blob blob;
            Exiv2::ExifParser::encode(blob, Exiv2::bigEndian, exif);
            if (!blob.empty()) return std::vector<uint8_t>(blob.begin(), blob.end());
        } catch (const std::exception&) {
        }
    }
    return std::nullopt;
}

bool ImageProperties::isEmpty() const {
    return d_->exif.empty() && d_->iptc.empty() && d_->xmp.empty() && d_->icc.empty();
}

bool ImageProperties::writeToFile(const std::string& path, int width, int height, std::string* error,
                                  bool exifWritten) const {
    initialiseExiv2();
    std::string software = tiffValue("Software").value_or(softwareName());
    const SaveTime saved = SaveTime::now();
    // Into a JPEG, a JPEG source's own segments go as they were: EXIF changed only in place, XMP
    // and IPTC as they are when the save changes nothing in them. What cannot go so is rebuilt.
    JpegMetadata carried;
    bool intoJpeg = false, intoWebp = false;
    {
        std::ifstream in(path, std::ios::binary);
        char magic[12] = {};
        const bool read = bool(in.read(magic, 12));
        intoJpeg = read && uint8_t(magic[0]) == 0xFF && uint8_t(magic[1]) == 0xD8;
        intoWebp = read && std::string_view(magic, 4) == "RIFF" && std::string_view(magic + 8, 4) == "WEBP";
    }
    // Exiv2 writes a WebP's colour profile under the wrong chunk name when the same write first
    // turns a simple WebP into an extended one: the profile goes in a write of its own, after.
    const bool iccApart = intoWebp && !d_->icc.empty();
    if (intoJpeg) {
        const JpegMetadata& s = d_->stored;
        if (!s.exifBlock.empty())
            if (auto b = pimavo::exifBlockForSaving(s.exifBlock, width, height, software, saved))
                carried.exifBlock = std::move(*b);
        if (!s.xmp.empty() && xmpNeedsNoChange(s.xmp)) carried.xmp = s.xmp;
        if (!s.photoshop.empty() && photoshopNeedsNoChange(s.photoshop)) carried.photoshop = s.photoshop;
    }
    const bool carriesSome = !carried.exifBlock.empty() || !carried.xmp.empty() || !carried.photoshop.empty();
    std::string firstError;
    // Some maker notes cannot be re-encoded; the picture is then saved without them.
    for (bool keepMakerNotes : {true, false}) {
        try {
            auto image = Exiv2::ImageFactory::open(path);
            if (!image.get()) return true;
            image->readMetadata();
            // Each kind of metadata goes in where the format has room for it; formats declare
            // their support unreliably, so ask by trying.
            auto attempt = [](auto&& set) {
                try {
                    set();
                } catch (const Exiv2::AnyError& e) {
                    if (e.code() != Exiv2::kerInvalidSettingForImage) throw;
                }
            };
            attempt([&] {
                if (!carried.exifBlock.empty() || exifWritten) {
                    image->setExifData(Exiv2::ExifData());
                    return;
                }
                image->setExifData(exifForSaving(d_->exif, width, height, keepMakerNotes, software, saved));
            });
            attempt([&] { image->setIptcData(carried.photoshop.empty() ? d_->iptc : Exiv2::IptcData()); });
            attempt([&] {
                if (!carried.xmp.empty()) {
                    image->setXmpData(Exiv2::XmpData());
                    return;
                }
                Exiv2::XmpData xmp = d_->xmp;
                for (const char* k : {"Xmp.tiff.ImageWidth", "Xmp.exif.PixelXDimension"})
                    if (xmp.findKey(Exiv2::XmpKey(k)) != xmp.end()) xmp[k] = std::to_string(width);
                for (const char* k : {"Xmp.tiff.ImageLength", "Xmp.exif.PixelYDimension"})
                    if (xmp.findKey(Exiv2::XmpKey(k)) != xmp.end()) xmp[k] = std::to_string(height);
                for (const char* k : {"Xmp.xmp.ModifyDate", "Xmp.xmp.MetadataDate"})
                    if (xmp.findKey(Exiv2::XmpKey(k)) != xmp.end()) xmp[k] = saved.xmp;
                image->setXmpData(xmp);
            });
            if (!d_->icc.empty() && !iccApart) {
                attempt([&] {
                    Exiv2::DataBuf buf(d_->icc.data(), long(d_->icc.size()));
                    image->setIccProfile(buf, false);
                });
            }
            try {
                image->writeMetadata();
            } catch (const Exiv2::AnyError& e) {
                if (e.code() == Exiv2::kerWritingImageFormatUnsupported)
                    return true; // no metadata in this format
                throw;
            }
            if (carriesSome) {
                std::string why;
                if (!putJpegMetadata(path, carried, &why)) {
                    if (error) *error = failure::compose(failure::kMetadataNotWritten, {why});
                    return false;
                }
            }
            if (iccApart) {
                auto again = Exiv2::ImageFactory::open(path);
                again->readMetadata();
                Exiv2::DataBuf buf(d_->icc.data(), long(d_->icc.size()));
                again->setIccProfile(buf, false);
                again->writeMetadata();
            }
            return true;
        } catch (const Exiv2::AnyError& e) {
            if (e.code() == Exiv2::kerFileContainsUnknownImageType)
                return true; // a format Exiv2 does not know
            if (firstError.empty()) firstError = e.what();
        } catch (const std::exception& e) {
            if (firstError.empty()) firstError = e.what();
        }
    }
    if (error) *error = failure::compose(failure::kMetadataNotWritten, {firstError});
    return false;
}

std::string softwareName() {
    return std::string(PIMAVO_NAME) + " " + PIMAVO_VERSION;
}

} // namespace pimavo
