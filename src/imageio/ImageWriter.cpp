#include "ImageWriter.h"

#include "ImageTypes.h"
#include "TiffWriter.h"

#include <OpenImageIO/imageio.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pimavo {

namespace {

namespace fs = std::filesystem;

std::atomic<bool> gFailMetadata{false};

bool syncPath(const std::string& path, bool directory) {
    const int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The pixel type a format stores best for a bitmap depth.
OIIO::TypeDesc storedType(const std::string& format, int bits) {
    if (format == "jpeg" || format == "bmp" || format == "webp" || format == "heif")
        return OIIO::TypeDesc::UINT8;
    if (format == "openexr") return bits == 32 ? OIIO::TypeDesc::FLOAT : OIIO::TypeDesc::HALF;
    if (format == "png" || format == "jpeg2000")
        return bits == 8 ? OIIO::TypeDesc::UINT8 : OIIO::TypeDesc::UINT16;
    return bits == 8 ? OIIO::TypeDesc::UINT8 : bits == 16 ? OIIO::TypeDesc::UINT16 : OIIO::TypeDesc::FLOAT;
}

bool writePixels(const Bitmap& bitmap, const std::string& tempPath, const std::string& format,
                 const SaveOptions& options, const ImageProperties* properties, std::string& why) {
    if (format == "tiff")
        return writeTiff(bitmap, tempPath, options.tiffCompression,
                         properties ? properties->iccProfile() : std::vector<uint8_t>{}, why);
    auto out = OIIO::ImageOutput::create(format);
    if (!out) {
        why = "this type cannot be written";
        return false;
    }
    const int bits = bitmap.bitsPerComponent();
    OIIO::ImageSpec spec(bitmap.width(), bitmap.height(), 3, storedType(format, bits));
    const int quality = std::clamp(int(std::lround(options.quality * 100)), 1, 100);
    // Quality is for lossy formats only: lossless encoders read it as effort (zip level 9 is slow).
    if (format == "jpeg" || format == "webp" || format == "heif" || format == "jpeg2000")
        spec.attribute("CompressionQuality", quality);
    if (format == "tiff") spec.attribute("compression", options.tiffCompression);
    if (format == "openexr") spec.attribute("compression", "zip");
    if (format == "jpeg") spec.attribute("compression", "jpeg:" + std::to_string(quality));
    spec.attribute("Software", softwareName());
    if (properties && !properties->iccProfile().empty()) {
        const auto& icc = properties->iccProfile();
        spec.attribute("ICCProfile", OIIO::TypeDesc(OIIO::TypeDesc::UINT8, int(icc.size())), icc.data());
    }
    if (!out->open(tempPath, spec)) {
        why = out->geterror();
        return false;
    }
    // The bitmap's ignored component is skipped by starting at red and stepping whole pixels.
    const OIIO::TypeDesc have = bits == 8    ? OIIO::TypeDesc::UINT8
                                : bits == 16 ? OIIO::TypeDesc::UINT16
                                             : OIIO::TypeDesc::FLOAT;
    const int bpc = bits / 8;
    const std::byte* first = bitmap.row(0) + (bitmap.layout().alphaFirst() ? bpc : 0);
    const bool ok =
        out->write_image(have, first, OIIO::stride_t(4 * bpc), OIIO::stride_t(bitmap.bytesPerRow()));
    if (!ok) why = out->geterror();
    if (!out->close() && ok) {
        why = out->geterror();
        return false;
    }
    return ok;
}

} // namespace

bool writeImageFile(const Bitmap& bitmap, const std::string& path, const SaveOptions& options,
                    const ImageProperties* properties, std::string* error) {
    const std::string name = fs::path(path).filename().string();
    auto fail = [&](const std::string& why) {
        if (error) *error = "“" + name + "” could not be saved: " + why + ".";
        return false;
    };
    if (bitmap.isNull()) return fail("there is no picture");
    const auto writable = writableUTTypes();
    if (std::find(writable.begin(), writable.end(), options.utType) == writable.end())
        return fail("Pimavo cannot write the type " + options.utType);
    const std::string format = formatForUTType(options.utType);

    std::error_code ec;
    fs::path dir = fs::path(path).parent_path();
    if (dir.empty()) dir = ".";
    if (!fs::is_directory(dir, ec)) return fail("the folder does not exist");
    if (fs::is_directory(path, ec)) return fail("a folder of that name is in the way");

    // A temporary file beside the target, so that the final rename stays on one file system.
    // It keeps the type's extension: some encoders choose their container by it.
    const std::string suffix = "." + extensionForUTType(options.utType);
    std::string temp = (dir / ("." + name + ".pimavo-XXXXXX" + suffix)).string();
    std::vector<char> tmpl(temp.begin(), temp.end());
    tmpl.push_back('\0');
    const int fd = ::mkstemps(tmpl.data(), int(suffix.size()));
    if (fd < 0) return fail(std::string("the folder cannot be written to (") + std::strerror(errno) + ")");
    ::close(fd);
    temp = tmpl.data();
    auto abandon = [&](const std::string& why) {
        ::unlink(temp.c_str());
        return fail(why);
    };

    try {
        std::string why;
        if (!writePixels(bitmap, temp, format, options, properties, why)) return abandon(why);
        if (gFailMetadata) return abandon("the metadata could not be written (simulated failure)");
        if (properties && !properties->writeToFile(temp, bitmap.width(), bitmap.height(), &why))
            return abandon(why);
    } catch (const std::exception& e) {
        return abandon(e.what());
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        ::chmod(temp.c_str(), st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(temp.c_str(), 0666 & ~mask);
    }
    if (!syncPath(temp, false)) return abandon("the file could not be written to disk");
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return abandon(std::string("the file could not be replaced (") + std::strerror(errno) + ")");
    syncPath(dir.string(), true);
    return true;
}

void simulateMetadataFailureForTesting(bool on) {
    gFailMetadata = on;
}

} // namespace pimavo
