// The photo formats of phones and the web (HEIC, AVIF, WebP, JPEG XL): which files open, which
// types are told apart, and what of a phone photo's metadata every saved type keeps, as exiftool
// reads it back.
#include "imageio/ExifBlock.h"
#include "imageio/HeifExif.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "imageio/ImageioTestSupport.h"

#include <OpenImageIO/imageio.h>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace pimavo::test {
namespace {

std::string exiftool(const std::string& args) {
    return run("exiftool -s3 " + args + " 2>/dev/null");
}

DecodeResult quietDecode(const std::string& path) {
    testing::internal::CaptureStdout();
    DecodeResult r = decodeImageFile(path);
    testing::internal::GetCapturedStdout();
    return r;
}

// A phone photo made from a camera's JPEG: its EXIF (maker notes too), a place, a keyword and a
// colour profile, in a HEIF file coded as `compression` ("hevc" or "av1"). Empty when the tools
// cannot make one.
std::string phonePhoto(const TempDir& dir, const std::string& name, const std::string& compression) {
    const std::string camera = std::string(PIMAVO_CAMERA_SAMPLES) + "/canon-powershot-sx60.jpg";
    const std::string out = dir.file(name);
    run("vips thumbnail '" + camera + "' '" + dir.file("small.v") + "' 240 2>&1");
    run("vips icc_export '" + dir.file("small.v") + "' '" + dir.file("profiled.v") +
        "' --output-profile srgb 2>&1");
    run("vips heifsave '" + dir.file("profiled.v") + "' '" + out + "' --compression " + compression +
        " -Q 70 2>&1");
    run("exiftool -q -q -overwrite_original -tagsFromFile '" + camera +
        "' -exif:all -GPSLatitude=48.8583 -GPSLatitudeRef=N -GPSLongitude=2.2945 -GPSLongitudeRef=E "
        "-XMP-dc:Subject=insects '" +
        out + "' 2>&1");
    return exiftool("-Make '" + out + "'") == "Canon\n" ? out : std::string();
}

bool cameraSamplesPresent() {
    return std::filesystem::exists(std::string(PIMAVO_CAMERA_SAMPLES) + "/canon-powershot-sx60.jpg");
}

TEST(PhotoFormats, PhonePhotosKeepTheirMetadataInEveryTypeThatHoldsIt) {
    if (!cameraSamplesPresent()) GTEST_SKIP() << "skipped: the camera samples (../shared) are missing";
    TempDir dir;
    const struct {
        const char* name;
        const char* compression;
        const char* mimeType;
    } sources[] = {{"phone.heic", "hevc", "image/heic"}, {"phone.avif", "av1", "image/avif"}};
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const std::string path = phonePhoto(dir, source.name, source.compression);
        if (path.empty()) {
            ADD_FAILURE() << "vips or exiftool could not make " << source.name;
            continue;
        }
        DecodeResult opened = quietDecode(path);
        ASSERT_TRUE(opened.image) << opened.error;
        EXPECT_EQ(opened.image->mimeType, source.mimeType);
        // Read as HEIF: the camera's tags, none of a video reader's.
        const auto keys = opened.image->properties.keys();
        EXPECT_NE(std::find(keys.begin(), keys.end(), "Exif.Photo.DateTimeOriginal"), keys.end());
        EXPECT_NE(std::find(keys.begin(), keys.end(), "ICCProfile"), keys.end());
        for (const std::string& key : keys) EXPECT_EQ(key.rfind("Xmp.video", 0), std::string::npos) << key;

        for (const std::string& type : writableMimeTypes()) {
            SCOPED_TRACE(type);
            const std::string out = dir.file("saved." + extensionForMimeType(type));
            SaveOptions options;
            options.mimeType = type;
            std::string error;
            ASSERT_TRUE(
                writeImageFile(*opened.image->bitmap, out, options, &opened.image->properties, &error))
                << error;
            const TypeRoom room = roomOfType(type);
            EXPECT_EQ(exiftool("-EXIF:Make -EXIF:Model -EXIF:DateTimeOriginal '" + out + "'"),
                      room.exif ? "Canon\nCanon PowerShot SX60 HS\n2015:02:09 22:47:44\n" : "");
            EXPECT_EQ(exiftool("-n -EXIF:GPSLatitudeRef '" + out + "'"), room.exif ? "N\n" : "");
            EXPECT_EQ(exiftool("-XMP-dc:Subject '" + out + "'"), room.xmp ? "insects\n" : "");
            EXPECT_EQ(exiftool("-ICC_Profile:ProfileDescription '" + out + "'"), room.icc ? "sRGB\n" : "");
            // The saved file opens again, with what it was given.
            DecodeResult again = quietDecode(out);
            ASSERT_TRUE(again.image) << again.error;
            EXPECT_EQ(again.image->bitmap->width(), opened.image->bitmap->width());
            if (room.exif) {
                EXPECT_EQ(again.image->properties.tiffValue("Make").value_or(""), "Canon");
            }
        }
    }
}

// A writer that adds XMP to a HEIF file may keep it inside the metadata box rather than among the
// pictures' data; it is the photo's all the same.
TEST(PhotoFormats, XmpKeptInsideAHeifMetadataBoxIsCarried) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("p.png"), 96, 64, 3, 8, testPattern));
    const std::string heic = dir.file("phone.heic"), jpeg = dir.file("saved.jpg");
    run("vips heifsave '" + dir.file("p.png") + "' '" + heic + "' --compression hevc 2>&1");
    run("exiftool -q -q -overwrite_original -Make=Apple -XMP-dc:Subject=ladybird '" + heic + "' 2>&1");
    ASSERT_EQ(exiftool("-XMP-dc:Subject '" + heic + "'"), "ladybird\n");
    DecodeResult opened = quietDecode(heic);
    ASSERT_TRUE(opened.image) << opened.error;
    SaveOptions options;
    std::string error;
    ASSERT_TRUE(writeImageFile(*opened.image->bitmap, jpeg, options, &opened.image->properties, &error))
        << error;
    EXPECT_EQ(exiftool("-Make -XMP-dc:Subject '" + jpeg + "'"), "Apple\nladybird\n");
}

TEST(PhotoFormats, OpenedListIsWhatTheDecodersRead) {
    // JPEG XL opens only where the decoder library has a reader for it.
    const std::string inputs = "," + std::string(OIIO::get_string_attribute("input_format_list")) + ",";
    const bool jxl = inputs.find(",jpegxl,") != std::string::npos;
    const struct {
        const char* extension;
        bool opens;
    } cases[] = {
        {"jpg", true},  {"JPEG", true}, {"png", true},  {"tif", true},  {"heic", true}, {"HEIC", true},
        {"heif", true}, {"avif", true}, {"webp", true}, {"nef", true},  {"cr3", true},  {"dng", true},
        {"exr", true},  {"jp2", true},  {"bmp", true},  {"jxl", jxl},   {"gif", false}, {"mp4", false},
        {"mov", false}, {"dcm", false}, {"vdb", false}, {"txt", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isReadableExtension(c.extension), c.opens) << c.extension;
    const auto& list = readableFileTypes();
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size()) << "no duplicates";
    for (const std::string& ext : list) EXPECT_TRUE(isReadableExtension(ext)) << ext;
}

TEST(PhotoFormats, TypesAreToldApartByNameAndByContent) {
    const std::pair<const char*, const char*> byName[] = {{"a.heic", "image/heic"}, {"a.HEIF", "image/heic"},
                                                          {"a.avif", "image/avif"}, {"a.webp", "image/webp"},
                                                          {"a.jpg", "image/jpeg"},  {"a.tif", "image/tiff"}};
    for (const auto& [name, type] : byName) EXPECT_EQ(mimeTypeForExtension(name).value_or(""), type) << name;

    const auto writable = writableMimeTypes();
    for (const char* type : {"image/avif", "image/webp"})
        EXPECT_NE(std::find(writable.begin(), writable.end(), type), writable.end()) << type;

    // An AVIF named as a HEIC is still an AVIF: saving it again keeps its coding.
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("p.png"), 64, 48, 3, 8, testPattern));
    run("vips heifsave '" + dir.file("p.png") + "' '" + dir.file("real.avif") + "' --compression av1 2>&1");
    run("vips heifsave '" + dir.file("p.png") + "' '" + dir.file("real.heic") + "' --compression hevc 2>&1");
    std::filesystem::copy_file(dir.file("real.avif"), dir.file("named.heic"));
    const std::pair<const char*, const char*> byContent[] = {
        {"real.avif", "image/avif"}, {"real.heic", "image/heic"}, {"named.heic", "image/avif"}};
    for (const auto& [name, type] : byContent) {
        DecodeResult r = quietDecode(dir.file(name));
        ASSERT_TRUE(r.image) << name << ": " << r.error;
        EXPECT_EQ(r.image->mimeType, type) << name;
    }
}

TEST(PhotoFormats, PngExifIsRefusedWhereTheChunksDoNotHoldTogether) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("p.png"), 16, 16, 3, 8, testPattern));
    const std::string png = readFile(dir.file("p.png"));
    const std::size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"text.png", "no picture at all, only words that are long enough"},
        {"long-header.png", png.substr(0, 8) + std::string("\0\0\x0D\0", 4) + png.substr(12)},
        {"long-data.png", png.substr(0, idat - 4) + "\x7F\xFF\xFF\xFF" + png.substr(idat)},
    };
    const std::vector<uint8_t> block = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0};
    for (const Case& c : cases) {
        writeFile(dir.file(c.name), c.bytes);
        std::string why;
        EXPECT_FALSE(putPngExifChunk(dir.file(c.name), block, &why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
        EXPECT_EQ(readFile(dir.file(c.name)), c.bytes) << c.name << " was changed";
    }
}

TEST(PhotoFormats, HeifExifIsRefusedWhereItHasNoPlace) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("p.jpg"), 32, 32, 3, 8, testPattern));
    writeFile(dir.file("short.heic"), std::string("\0\0\0\x18"
                                                  "ftypheic",
                                                  12));
    writeFile(dir.file("empty.heic"), std::string("\0\0\0\x10"
                                                  "ftypheic\0\0\0\0",
                                                  16));
    // A real one cut short, and one whose location table claims more items than it holds.
    ASSERT_TRUE(writeTestImage(dir.file("p.png"), 64, 48, 3, 8, testPattern));
    run("vips heifsave '" + dir.file("p.png") + "' '" + dir.file("whole.heic") + "' --compression hevc 2>&1");
    const std::string whole = readFile(dir.file("whole.heic"));
    ASSERT_GT(whole.size(), 400u);
    writeFile(dir.file("cut.heic"), whole.substr(0, 200));
    std::string crowded = whole;
    const std::size_t iloc = crowded.find("iloc");
    ASSERT_NE(iloc, std::string::npos);
    crowded[iloc + 4 + 4 + 2] = char(0xFF), crowded[iloc + 4 + 4 + 3] = char(0xFF);
    writeFile(dir.file("crowded.heic"), crowded);
    // A metadata box whose 64-bit size wraps its end round to before its start.
    writeFile(dir.file("wrapped.heic"), std::string("\0\0\0\x10"
                                                    "ftypheic\0\0\0\0"
                                                    "\0\0\0\x01"
                                                    "meta\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xF8",
                                                    32) +
                                            std::string(16, '\0'));
    // Bytes after the last box: a box appended after them would not be found.
    writeFile(dir.file("trailing.heic"), whole + std::string(3, '\0'));
    const std::vector<uint8_t> block = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0};
    for (const char* name :
         {"p.jpg", "short.heic", "empty.heic", "cut.heic", "crowded.heic", "wrapped.heic", "trailing.heic"}) {
        const std::string before = readFile(dir.file(name));
        std::string why;
        EXPECT_FALSE(putHeifExif(dir.file(name), block, &why)) << name;
        EXPECT_FALSE(why.empty()) << name;
        EXPECT_EQ(readFile(dir.file(name)), before) << name << " was changed";
        EXPECT_EQ(readHeifXmp(dir.file(name)), "") << name;
    }
}

} // namespace
} // namespace pimavo::test
