// Saving: metadata survives as an independent tool reads it, depths survive, and failures never
// touch the original file or leave temporary files behind.
#include "imageio/ExifBlock.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "imageio/ImageioTestSupport.h"

#include <OpenImageIO/imageio.h>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace pimavo::test {
namespace {

DecodedImage open(const std::string& path) {
    testing::internal::CaptureStdout();
    DecodeResult r = decodeImageFile(path);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(r.image) << r.error;
    return r.image ? std::move(*r.image) : DecodedImage{};
}

std::string exiftool(const std::string& args) {
    return run("exiftool -s3 " + args + " 2>/dev/null");
}

TEST(Writer, MetadataSurvivesSavingInEveryMetadataFormat) {
    TempDir dir;
    const std::string src = dir.file("camera.jpg");
    ASSERT_TRUE(writeTestImage(src, 40, 30, 3, 8, testPattern, 6));
    writeFile(dir.file("profile.icc"), tinyIccProfile());
    run("exiftool -q -overwrite_original -Make=Pimakers -Model='Test One' '-DateTimeOriginal=2024:05:06 "
        "07:08:09' "
        "'-UserComment=Red ladybird' -GPSLatitude=48.8583 -GPSLatitudeRef=N -GPSLongitude=2.2945 "
        "-GPSLongitudeRef=E "
        "-XMP-dc:Subject=insects '-ICC_Profile<=" +
        dir.file("profile.icc") + "' " + src);
    ASSERT_EQ(exiftool("-Make " + src), "Pimakers\n");
    DecodedImage img = open(src);
    ASSERT_TRUE(img.bitmap);

    for (const char* type : {"image/jpeg", "image/tiff", "image/png"}) {
        SCOPED_TRACE(type);
        const std::string out = dir.file(std::string("saved.") + extensionForMimeType(type));
        SaveOptions options;
        options.mimeType = type;
        std::string error;
        ASSERT_TRUE(writeImageFile(*img.bitmap, out, options, &img.properties, &error)) << error;
        const std::string tags =
            exiftool("-Make -Model -DateTimeOriginal -UserComment -GPSLatitudeRef -Orientation# "
                     "-Software -Subject -ImageWidth -ImageHeight " +
                     out);
        EXPECT_EQ(tags, "Pimakers\nTest One\n2024:05:06 07:08:09\nRed ladybird\nNorth\n1\n" + softwareName() +
                            "\ninsects\n30\n40\n");
        EXPECT_NE(exiftool("-n -GPSLatitude " + out).find("48.8583"), std::string::npos);
        EXPECT_EQ(run("exiftool -b -ICC_Profile " + out), tinyIccProfile());
        EXPECT_EQ(exiftool("-ThumbnailImage " + out), "");
    }
}

// Every tag of a file as exiftool lists it ("[Group] Name : value"), but those a save changes on
// purpose: the orientation, who wrote it, the pixel dimensions, the thumbnail, and what is derived
// from them or from the file itself.
std::set<std::string> keptTags(const std::string& path) {
    std::set<std::string> out;
    std::istringstream in(run("exiftool -s -G1 -a -n '" + path + "' 2>/dev/null"));
    for (std::string line; std::getline(in, line);) {
        const std::string group = line.substr(0, line.find(']') + 1);
        std::istringstream words(line.substr(group.size()));
        std::string name;
        words >> name;
        static const std::set<std::string> ownGroups = {"[System]", "[File]", "[Composite]", "[ExifTool]",
                                                        "[IFD1]"};
        static const std::set<std::string> changed = {"Orientation",     "Software",   "ExifImageWidth",
                                                      "ExifImageHeight", "ModifyDate", "OffsetTime",
                                                      "MetadataDate"};
        if (!ownGroups.count(group) && !changed.count(name)) out.insert(line);
    }
    return out;
}

// The warnings of exiftool's validation, but those that only say a TIFF holds what a camera JPEG's
// EXIF has (tags TIFF does not define, the deflate compression TIFF 6 did not list).
int validationWarnings(const std::string& path) {
    std::istringstream said(run("exiftool -validate -warning -a '" + path + "' 2>/dev/null"));
    int n = 0;
    for (std::string line; std::getline(said, line);)
        if (line.rfind("Warning ", 0) == 0 && line.find("not allowed in TIFF") == std::string::npos &&
            line.find("tag 0x0103 Compression") == std::string::npos &&
            line.find("GPSProcessingMethod") == std::string::npos)
            ++n;
    return n;
}

// A camera's EXIF goes into a saved JPEG as the camera wrote it: maker notes whose offsets point
// into the block read back the same, and only what the save changes on purpose differs.
struct MetadataCase {
    std::string name, path;
};

void expectMetadataCarriedWhole(TempDir& dir, const std::vector<MetadataCase>& cases);

TEST(Writer, CameraMetadataIsCarriedWhole) {
    TempDir dir;
    std::vector<MetadataCase> cases;
    // Files we make: every way a camera stores Software (none, in the entry, in a short or a long
    // text elsewhere), with an orientation and a thumbnail to drop; with and without a time of
    // change to bring up to date (in EXIF with its zone, and in XMP).
    struct Made {
        const char* name;
        const char* software;
        const char* changed; // exiftool's arguments for when the file was last changed
    } made[] = {{"no software", "", ""},
                {"inline software", "Cam", "'-ModifyDate=2008:05:05 10:11:12'"},
                {"short software", "Cam 1.0", "'-ModifyDate=2008:05:05 10:11:12' -OffsetTime=-07:00"},
                {"long software", "Camera firmware version 1.00.000.000",
                 "'-ModifyDate=2008:05:05 10:11:12' '-XMP-xmp:ModifyDate=2008:05:05 10:11:12-07:00'"}};
    writeFile(dir.file("thumb.jpg"), "");
    ASSERT_TRUE(writeTestImage(dir.file("thumb.jpg"), 16, 12, 3, 8, testPattern));
    for (const auto& [name, software, changed] : made) {
        const std::string path = dir.file(std::string(name) + ".jpg");
        ASSERT_TRUE(writeTestImage(path, 64, 48, 3, 8, testPattern));
        run("exiftool -q -overwrite_original -Make=Pimakers -Model='Test One' -Orientation#=6 "
            "'-DateTimeOriginal=2024:05:06 07:08:09' -ExposureTime=0.01 -FNumber=2.8 -ISO=200 "
            "-GPSLatitude=48.8583 -GPSLatitudeRef=N -ExifImageWidth=64 -ExifImageHeight=48 "
            "'-ThumbnailImage<=" +
            dir.file("thumb.jpg") + "' '-Software=" + software + "' " + changed + " '" + path + "'");
        ASSERT_NE(run("exiftool -s3 -ThumbnailLength '" + path + "'"), "");
        cases.push_back({name, path});
    }
    expectMetadataCarriedWhole(dir, cases);
}

// The same with files real cameras wrote, maker notes and all. They are not part of the project;
// the test says it was skipped when they are not beside it.
TEST(Writer, RealCameraMetadataIsCarriedWhole) {
    std::vector<MetadataCase> cases;
    for (const char* camera : {"canon-powershot-sx60.jpg", "sanyo-vpc-g250.jpg"}) {
        const std::string path = std::string(PIMAVO_CAMERA_SAMPLES) + "/" + camera;
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << "skipped: the camera samples are missing (" << path << ")";
        cases.push_back({camera, path});
    }
    TempDir dir;
    expectMetadataCarriedWhole(dir, cases);
}

void expectMetadataCarriedWhole(TempDir& dir, const std::vector<MetadataCase>& cases) {
    // Into a JPEG everything is carried as stored; into a PNG the EXIF block is, in its own chunk, while
    // XMP and IPTC are written anew (a toolkit line, no Photoshop digest), and JFIF is JPEG's own.
    // Into a TIFF the block goes first in the file, where its offsets stay good; the file's own
    // directory describes the pixels, as JPEG's structure tags no longer do.
    for (const char* type : {"image/jpeg", "image/png", "image/tiff"}) {
        const bool png = std::string(type) == "image/png", tiff = std::string(type) == "image/tiff";
        auto compared = [png, tiff](std::set<std::string> tags) {
            static const char* const pixelTags[] = {"BitsPerSample",
                                                    "Compression",
                                                    "ImageHeight",
                                                    "ImageWidth",
                                                    "PhotometricInterpretation",
                                                    "PlanarConfiguration",
                                                    "Predictor",
                                                    "RowsPerStrip",
                                                    "SampleFormat",
                                                    "SamplesPerPixel",
                                                    "StripByteCounts",
                                                    "StripOffsets",
                                                    "YCbCrPositioning"};
            // XMP that says when the photo was changed is written anew, by another toolkit.
            std::erase_if(tags,
                          [](const std::string& t) { return t.find("XMPToolkit") != std::string::npos; });
            if (png || tiff)
                std::erase_if(tags, [&](const std::string& t) {
                    if (t.rfind("[JFIF]", 0) == 0 || t.rfind("[Photoshop]", 0) == 0 ||
                        (png && t.rfind("[PNG]", 0) == 0))
                        return true;
                    if (tiff && t.rfind("[IFD0]", 0) == 0)
                        for (const char* p : pixelTags)
                            if (t.find(std::string(" ") + p + " ") != std::string::npos) return true;
                    return false;
                });
            return tags;
        };
        for (const MetadataCase& c : cases) {
            SCOPED_TRACE(c.name + " as " + type);
            DecodedImage img = open(c.path);
            ASSERT_TRUE(img.bitmap);
            const std::string out = dir.file(png ? "saved.png" : tiff ? "saved.tif" : "saved.jpg");
            SaveOptions options;
            options.mimeType = type;
            std::string error;
            const SaveTime start = SaveTime::now();
            ASSERT_TRUE(writeImageFile(*img.bitmap, out, options, &img.properties, &error)) << error;
            const SaveTime end = SaveTime::now();
            const auto before = compared(keptTags(c.path)), after = compared(keptTags(out));
            std::vector<std::string> lost, gained;
            std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                                std::back_inserter(lost));
            std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                                std::back_inserter(gained));
            EXPECT_TRUE(lost.empty() && gained.empty()) << "lost:\n"
                                                        << testing::PrintToString(lost) << "\ngained:\n"
                                                        << testing::PrintToString(gained);
            EXPECT_EQ(exiftool("-n -Orientation -Software -ExifImageWidth -ExifImageHeight '" + out + "'"),
                      "1\n" + softwareName() + "\n" + std::to_string(img.bitmap->width()) + "\n" +
                          std::to_string(img.bitmap->height()) + "\n");
            EXPECT_EQ(exiftool("-ThumbnailImage '" + out + "'"), "");
            // Changed when it was saved, wherever the source said when it was changed.
            const std::string modified = exiftool("-d '%Y:%m:%d %H:%M:%S' -EXIF:ModifyDate '" + out + "'");
            EXPECT_TRUE(modified >= start.dateTime + "\n" && modified <= end.dateTime + "\n") << modified;
            const std::pair<const char*, std::string> alongside[] = {
                {"-EXIF:OffsetTime", start.offset + "\n"},
                {"-XMP:ModifyDate", modified.substr(0, modified.size() - 1) + start.offset + "\n"}};
            for (const auto& [tag, want] : alongside) {
                if (exiftool(std::string(tag) + " '" + c.path + "'").empty()) continue;
                EXPECT_EQ(exiftool(std::string(tag) + " '" + out + "'"), want) << tag;
            }
            EXPECT_LE(validationWarnings(out), validationWarnings(c.path));
            if (tiff) {
                // The pixels, moved behind the block, are still where the file says they are.
                auto in = OIIO::ImageInput::open(out);
                ASSERT_TRUE(in) << OIIO::geterror();
                std::vector<float> px(std::size_t(in->spec().width) * std::size_t(in->spec().height) * 3);
                ASSERT_TRUE(in->read_image(0, 0, 0, 3, OIIO::TypeDesc::FLOAT, px.data()));
                const int w = in->spec().width;
                for (const auto& [x, y] : {std::pair{0, 0}, std::pair{w / 2, in->spec().height / 2}})
                    for (int ch = 0; ch < 3; ++ch)
                        EXPECT_NEAR(
                            px[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3 + std::size_t(ch)],
                            photoComponent(*img.bitmap, x, y, ch), 0.5 / 255);
            }
        }
    }
}

TEST(Writer, DepthsAndPixelsSurviveLosslessFormats) {
    TempDir dir;
    struct Case {
        const char* source;
        int bits;
        const char* type;
        int wantBits;
        double tolerance;
    } cases[] = {
        {"a.tif", 16, "image/tiff", 16, 1.01 / 65535}, {"b.png", 16, "image/png", 16, 1.01 / 65535},
        {"c.exr", 32, "image/x-exr", 32, 1e-6},        {"d.tif", 32, "image/tiff", 32, 1e-6},
        {"e.png", 8, "image/tiff", 8, 0.51 / 255},     {"f.tif", 16, "image/jpeg", 8, 0.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        ASSERT_TRUE(writeTestImage(dir.file(c.source), 9, 5, 3, c.bits, testPattern));
        DecodedImage img = open(dir.file(c.source));
        const std::string out = dir.file(std::string("out-") + c.source + "." + extensionForMimeType(c.type));
        SaveOptions options;
        options.mimeType = c.type;
        std::string error;
        ASSERT_TRUE(writeImageFile(*img.bitmap, out, options, &img.properties, &error)) << error;
        DecodedImage back = open(out);
        ASSERT_TRUE(back.bitmap);
        EXPECT_EQ(back.bitmap->bitsPerComponent(), c.wantBits);
        // Lossless formats must give the pixels back; JPEG only about (judged by the mean error).
        double worst = 0, sum = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x)
                for (int ch = 0; ch < 3; ++ch) {
                    const double d = std::abs(photoComponent(*back.bitmap, x, y, ch) - testPattern(x, y, ch));
                    worst = std::max(worst, d);
                    sum += d;
                }
        if (c.tolerance >= 0.05)
            EXPECT_LT(sum / (9 * 5 * 3), c.tolerance);
        else
            EXPECT_LE(worst, c.tolerance);
    }
}

// PNG is deflated in bands on several threads; the bands must join into one picture that another
// library reads back exactly, at every depth, for sizes that end a band anywhere.
TEST(Writer, PngReadsBackExactlyElsewhere) {
    TempDir dir;
    struct Case {
        int width, height, bits, storedBits;
    } cases[] = {{1, 1, 8, 8}, {333, 1201, 8, 8}, {517, 700, 16, 16}, {64, 3000, 32, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "@" + std::to_string(c.bits));
        auto layout = photoLayout(c.bits);
        auto bitmap = Bitmap::make(c.width, c.height, *layout);
        ASSERT_TRUE(bitmap);
        // Grain over a gradient, as a photo has: every filter and every band boundary is exercised.
        uint32_t noise = 12345;
        auto value = [&](int x, int y, int ch) {
            noise = noise * 1664525u + 1013904223u;
            const double v =
                (x + 2.0 * y + 50.0 * ch) / (c.width + 2.0 * c.height + 150) + double(noise >> 24) / 2048;
            return std::clamp(v, 0.0, 1.0);
        };
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    bitmap->setComponent(x, y, (layout->alphaFirst() ? 1 : 0) + ch, float(value(x, y, ch)));
        const std::string out = dir.file("out.png");
        SaveOptions options;
        options.mimeType = "image/png";
        std::string error;
        ASSERT_TRUE(writeImageFile(*bitmap, out, options, nullptr, &error)) << error;
        auto in = OIIO::ImageInput::open(out);
        ASSERT_TRUE(in) << OIIO::geterror();
        const OIIO::ImageSpec& spec = in->spec();
        ASSERT_EQ(spec.width, c.width);
        ASSERT_EQ(spec.height, c.height);
        ASSERT_EQ(spec.nchannels, 3);
        EXPECT_EQ(int(spec.format.size()) * 8, c.storedBits);
        std::vector<float> pixels(std::size_t(c.width) * std::size_t(c.height) * 3);
        ASSERT_TRUE(in->read_image(0, 0, 0, 3, OIIO::TypeDesc::FLOAT, pixels.data()));
        const double step = c.storedBits == 8 ? 1.0 / 255 : 1.0 / 65535;
        double worst = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    worst = std::max(
                        worst,
                        std::abs(double(pixels[(std::size_t(y) * std::size_t(c.width) + std::size_t(x)) * 3 +
                                               std::size_t(ch)]) -
                                 photoComponent(*bitmap, x, y, ch)));
        EXPECT_LE(worst, step * 0.51);
    }
}

// A save that fails must leave the original byte for byte, and nothing else in the folder.
TEST(Writer, FailuresLeaveTheOriginalUntouched) {
    TempDir dir;
    const std::string original = dir.file("photo.jpg");
    ASSERT_TRUE(writeTestImage(original, 20, 10, 3, 8, testPattern));
    const std::string before = readFile(original);
    DecodedImage img = open(original);
    ASSERT_TRUE(img.bitmap);

    struct Case {
        const char* label;
        std::function<void(SaveOptions&, ImageProperties&)> prepare;
        std::function<bool(int)> waitForRow = {};
    } cases[] = {
        // Permissions do not stop root; the immutable attribute does.
        {"read-only folder",
         [&](SaveOptions&, ImageProperties&) {
             ::chmod(dir.path().c_str(), 0555);
             if (::geteuid() == 0) run("chattr +i " + dir.path() + " 2>/dev/null");
         }},
        // The metadata step fails after the pixels were written.
        {"metadata that cannot be written",
         [&](SaveOptions&, ImageProperties&) { simulateMetadataFailureForTesting(true); }},
        {"unwritable type",
         [&](SaveOptions& o, ImageProperties&) { o.mimeType = "image/vnd.microsoft.icon"; }},
        // The picture being decoded as it is written stops short.
        {"rows that never come, as JPEG", [](SaveOptions&, ImageProperties&) {}, [](int y) { return y < 5; }},
        {"rows that never come, as PNG", [](SaveOptions& o, ImageProperties&) { o.mimeType = "image/png"; },
         [](int y) { return y < 5; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SaveOptions options;
        ImageProperties props = img.properties;
        c.prepare(options, props);
        if (std::string(c.label) == "read-only folder" && ::access(dir.path().c_str(), W_OK) == 0 &&
            std::filesystem::exists(dir.path()) && ::geteuid() == 0) {
            // Where the file system has no immutable attribute, root cannot be kept out.
            const std::string probe = dir.file("probe");
            writeFile(probe, "x");
            const bool blocked = !std::filesystem::exists(probe);
            std::filesystem::remove(probe);
            if (!blocked) continue;
        }
        std::string error;
        EXPECT_FALSE(writeImageFile(*img.bitmap, original, options, &props, &error, c.waitForRow));
        simulateMetadataFailureForTesting(false);
        EXPECT_NE(error.find("photo.jpg"), std::string::npos) << error;
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(readFile(original), before);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"photo.jpg"});
    }
}

TEST(Writer, ReplacesAtomicallyAndKeepsPermissions) {
    TempDir dir;
    const std::string path = dir.file("photo.tif");
    ASSERT_TRUE(writeTestImage(path, 4, 4, 3, 8, testPattern));
    ::chmod(path.c_str(), 0640);
    DecodedImage img = open(path);
    SaveOptions options;
    options.mimeType = "image/tiff";
    std::string error;
    ASSERT_TRUE(writeImageFile(*img.bitmap, path, options, &img.properties, &error)) << error;
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"photo.tif"});
}

// A save through a symbolic link replaces the file the link leads to, from that file's folder, and
// leaves every link a link; the picture read back by an independent tool is the new one.
TEST(Writer, SavingThroughALinkReplacesTheFileItPointsTo) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("photos"));
    std::filesystem::create_directories(dir.file("links"));
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::string>> links; // link → what it names, in order
        std::string saved;                                      // the path the save is given
    } cases[] = {
        {"absolute link in another folder", {{"links/a.tif", dir.file("photos/a.tif")}}, "links/a.tif"},
        {"relative link", {{"links/b.tif", "../photos/b.tif"}}, "links/b.tif"},
        {"chain of two links",
         {{"links/c1.tif", "c2.tif"}, {"links/c2.tif", "../photos/c.tif"}},
         "links/c1.tif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // The file the chain ends at.
        std::string end = c.links.back().second;
        if (end.front() != '/') end = dir.file("links/" + end);
        ASSERT_TRUE(writeTestImage(end, 6, 4, 3, 8, [](int, int, int) { return 0.2; }));
        for (const auto& [link, to] : c.links) std::filesystem::create_symlink(to, dir.file(link));
        ::chmod(end.c_str(), 0640);
        DecodedImage img = open(end);
        Bitmap white(8, 5, PixelLayout{8, AlphaInfo::NoneSkipLast});
        for (std::byte& b : white.bytes()) b = std::byte(255);
        SaveOptions options;
        options.mimeType = "image/tiff";
        std::string error;
        ASSERT_TRUE(writeImageFile(white, dir.file(c.saved), options, &img.properties, &error)) << error;
        for (const auto& [link, to] : c.links)
            EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link))) << link;
        EXPECT_EQ(run("vipsheader -f width " + end + " 2>&1"), "8\n");
        EXPECT_EQ(run("vips avg " + end + " 2>&1"), "255.000000\n");
        struct stat st;
        ASSERT_EQ(::stat(end.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
    }
    // No temporary file in either folder.
    for (const std::string sub : {"photos", "links"})
        for (const auto& entry : std::filesystem::directory_iterator(dir.file(sub)))
            EXPECT_EQ(entry.path().filename().string().find(".pimavo-"), std::string::npos) << entry.path();
}

TEST(Writer, WritableTypes) {
    const auto types = writableMimeTypes();
    for (const char* t : {"image/jpeg", "image/tiff", "image/png", "image/x-exr", "image/bmp"})
        EXPECT_NE(std::find(types.begin(), types.end(), t), types.end()) << t;
    for (const char* t : {"image/x-icns", "image/vnd.microsoft.icon", "application/pdf", "image/x-dcraw"})
        EXPECT_EQ(std::find(types.begin(), types.end(), t), types.end()) << t;
}

} // namespace
} // namespace pimavo::test
