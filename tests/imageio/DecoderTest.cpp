// Opening files: upright pixels for every orientation, depths kept, metadata prepared, and every
// kind of bad file refused with a message instead of a crash.
#include "LogCapture.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"
#include "imageio/ImageioTestSupport.h"

#include <OpenImageIO/imageio.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <tiffio.h>

namespace pimavo::test {
namespace {

// Stored pixel (x, y) of a W × H file with orientation o is shown at this position of the upright
// picture, by the EXIF definitions (6: the stored picture must be turned 90° clockwise, ...).
void shownAt(int o, int W, int H, int x, int y, int& ux, int& uy) {
    switch (o) {
    case 2:
        ux = W - 1 - x, uy = y;
        break;
    case 3:
        ux = W - 1 - x, uy = H - 1 - y;
        break;
    case 4:
        ux = x, uy = H - 1 - y;
        break;
    case 5:
        ux = y, uy = x;
        break;
    case 6:
        ux = H - 1 - y, uy = x;
        break;
    case 7:
        ux = H - 1 - y, uy = W - 1 - x;
        break;
    case 8:
        ux = y, uy = W - 1 - x;
        break;
    default:
        ux = x, uy = y;
        break;
    }
}

// The largest difference from the test pattern, or the mean difference when `mean` is set.
double compareWithPattern(const Bitmap& b, int channels, bool mean) {
    double worst = 0, sum = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            for (int c = 0; c < 3; ++c) {
                const double d =
                    std::abs(photoComponent(b, x, y, c) - testPattern(x, y, channels == 1 ? 0 : c));
                worst = std::max(worst, d);
                sum += d;
            }
    return mean ? sum / (3.0 * b.width() * b.height()) : worst;
}

// What the decode logged: its debug line, and its warnings.
DecodedImage decodeQuietly(const std::string& path, std::string* printed = nullptr,
                           std::string* warned = nullptr) {
    LogCapture log;
    testing::internal::CaptureStdout();
    DecodeResult r = decodeImageFile(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    if (printed) *printed = log.text(logging::Channel::Io, logging::Level::Debug);
    if (warned) *warned = log.text(logging::Channel::Io, logging::Level::Warning);
    EXPECT_TRUE(r.image) << r.error;
    return r.image ? std::move(*r.image) : DecodedImage{};
}

TEST(Decoder, EveryOrientationComesOutUpright) {
    TempDir dir;
    const int UW = 11, UH = 7; // the upright picture: red grows to the right, green upwards
    auto gradient = [&](int x, int y, int c) {
        return c == 0 ? x / double(UW - 1) : c == 1 ? 1 - y / double(UH - 1) : 0.5;
    };
    for (const char* ext : {"tif", "jpg"}) {
        for (int o = 1; o <= 8; ++o) {
            SCOPED_TRACE(testing::Message() << ext << " orientation " << o);
            const bool swap = o >= 5;
            const int W = swap ? UH : UW, H = swap ? UW : UH; // as stored
            const std::string path = dir.file("o" + std::to_string(o) + "." + ext);
            ASSERT_TRUE(writeTestImage(
                path, W, H, 3, 8,
                [&](int x, int y, int c) {
                    int ux, uy;
                    shownAt(o, W, H, x, y, ux, uy);
                    return gradient(ux, uy, c);
                },
                o));
            std::string printed;
            DecodedImage img = decodeQuietly(path, &printed);
            ASSERT_TRUE(img.bitmap);
            EXPECT_EQ(printed, "Image orientation: " + std::to_string(o) + ", bpc: 8\n");
            EXPECT_EQ(img.orientation, o);
            ASSERT_EQ(img.bitmap->width(), UW);
            ASSERT_EQ(img.bitmap->height(), UH);
            // Smooth ramps survive JPEG well; any wrong turn or mirror is off by a third or more.
            const double tol = std::string(ext) == "jpg" ? 0.12 : 0.51 / 255;
            for (int y = 0; y < UH; ++y)
                for (int x = 0; x < UW; ++x)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_NEAR(photoComponent(*img.bitmap, x, y, c), gradient(x, y, c), tol)
                            << x << "," << y;
            EXPECT_FALSE(img.properties.declaredOrientation());
        }
    }
}

TEST(Decoder, DepthsAndChannelLayouts) {
    TempDir dir;
    struct Case {
        const char* name;
        int channels, bits;
        int wantBits;
        const char* mimeType;
        double tolerance;
        int orientation; // what the writer declares: TIFF always names one
    } cases[] = {
        {"a.tif", 3, 16, 16, "image/tiff", 1.01 / 65535, 1},
        {"b.png", 3, 16, 16, "image/png", 1.01 / 65535, -1},
        {"c.png", 3, 8, 8, "image/png", 0.51 / 255, -1},
        {"d.exr", 3, 32, 32, "image/x-exr", 1e-6, -1},
        {"e.exr", 3, -16, 32, "image/x-exr", 1e-3, -1},
        {"f.tif", 3, 32, 32, "image/tiff", 1e-6, 1},
        {"grey.png", 1, 8, 8, "image/png", 0.51 / 255, -1},
        {"g.bmp", 3, 8, 8, "image/bmp", 0.51 / 255, -1},
        {"h.jp2", 3, 8, 8, "image/jp2", 0.1, -1},
        {"i.webp", 3, 8, 8, "image/webp", 0.15, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        // Big enough for the wavelet levels of JPEG 2000.
        ASSERT_TRUE(writeTestImage(path, 64, 40, c.channels, c.bits, testPattern));
        std::string printed;
        DecodedImage img = decodeQuietly(path, &printed);
        ASSERT_TRUE(img.bitmap);
        EXPECT_EQ(img.bitmap->bitsPerComponent(), c.wantBits);
        EXPECT_EQ(img.bitmap->layout(), *photoLayout(c.wantBits));
        EXPECT_EQ(img.bitsPerComponent, c.wantBits);
        EXPECT_EQ(img.properties.depth(), c.wantBits);
        EXPECT_EQ(img.mimeType, c.mimeType);
        EXPECT_EQ(printed, "Image orientation: " + std::to_string(c.orientation) +
                               ", bpc: " + std::to_string(c.wantBits) + "\n");
        // Lossy codecs (tolerance above a tenth) are judged by their mean error.
        const bool lossy = c.tolerance >= 0.05;
        EXPECT_LT(compareWithPattern(*img.bitmap, c.channels, lossy), lossy ? 0.06 : c.tolerance);
    }
}

TEST(Decoder, TransparencyIsComposedOverBlack) {
    TempDir dir;
    const std::string path = dir.file("alpha.png");
    ASSERT_TRUE(
        writeTestImage(path, 2, 1, 4, 8, [](int x, int, int c) { return c == 3 ? (x ? 0.0 : 0.5) : 1.0; }));
    DecodedImage img = decodeQuietly(path);
    ASSERT_TRUE(img.bitmap);
    EXPECT_NEAR(photoComponent(*img.bitmap, 0, 0, 0), 0.5, 1.0 / 255);
    EXPECT_EQ(photoComponent(*img.bitmap, 1, 0, 1), 0.0);
}

TEST(Decoder, PropertiesAreReadyForSaving) {
    TempDir dir;
    const std::string path = dir.file("tagged.jpg");
    ASSERT_TRUE(writeTestImage(path, 8, 6, 3, 8, testPattern, 6));
    run("exiftool -q -overwrite_original -Make=Pimakers -Model='Test One' " + path);
    DecodedImage img = decodeQuietly(path);
    EXPECT_EQ(img.properties.tiffValue("Make"), "Pimakers");
    EXPECT_EQ(img.properties.tiffValue("Software"), softwareName());
    EXPECT_EQ(softwareName(), std::string("Pimavo ") + PIMAVO_TEST_VERSION);
    EXPECT_FALSE(img.properties.declaredOrientation());
    for (const std::string& k : img.properties.keys())
        EXPECT_EQ(k.find("Orientation"), std::string::npos) << k;
    // The header alone tells the same story.
    std::string error;
    auto header = readImageHeader(path, &error);
    ASSERT_TRUE(header) << error;
    EXPECT_EQ(header->width, 6);
    EXPECT_EQ(header->height, 8);
    EXPECT_EQ(header->orientation, 6);
}

TEST(Decoder, BadFilesGiveAMessageNotACrash) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("good.png"), 16, 16, 3, 8, testPattern));
    ASSERT_TRUE(writeTestImage(dir.file("good.jpg"), 64, 64, 3, 8, testPattern));
    ASSERT_TRUE(writeTestImage(dir.file("good.tif"), 16, 16, 3, 8, testPattern));
    const std::string png = readFile(dir.file("good.png")), jpg = readFile(dir.file("good.jpg")),
                      tif = readFile(dir.file("good.tif"));
    writeFile(dir.file("empty.jpg"), "");
    writeFile(dir.file("text.jpg"), "this is not a photograph\n");
    // Cut before any of its picture: nothing to show.
    const std::size_t sos = jpg.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    writeFile(dir.file("truncated.jpg"), jpg.substr(0, sos + 14));
    writeFile(dir.file("truncated.png"), png.substr(0, png.size() / 2));
    writeFile(dir.file("truncated.tif"), tif.substr(0, 200));
    std::string garbage = png;
    for (std::size_t i = 40; i < garbage.size(); i += 7) garbage[i] = char(garbage[i] ^ 0x5A);
    writeFile(dir.file("garbled.png"), garbage);
    // A PNG header claiming 100000 × 100000 pixels.
    std::string huge = png;
    const unsigned char dims[8] = {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0};
    huge.replace(16, 8, reinterpret_cast<const char*>(dims), 8);
    writeFile(dir.file("huge.png"), huge);
    std::filesystem::create_directory(dir.file("folder.jpg"));

    const char* names[] = {"missing.jpg",   "empty.jpg",   "text.jpg", "truncated.jpg", "truncated.png",
                           "truncated.tif", "garbled.png", "huge.png", "folder.jpg"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        DecodeResult r = decodeImageFile(dir.file(name));
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_FALSE(r.image);
        EXPECT_NE(r.error.find(name), std::string::npos) << r.error;
    }
    // The real content decides, not the name: a PNG called .jpg opens.
    writeFile(dir.file("misnamed.jpg"), png);
    DecodedImage img = decodeQuietly(dir.file("misnamed.jpg"));
    ASSERT_TRUE(img.bitmap);
    EXPECT_EQ(img.mimeType, "image/png");
}

// A camera file cut short (a pulled card, a partial copy) opens with what it holds and the rest
// grey, and says so; the complete file says nothing.
TEST(Decoder, AJpegCutShortOpensWithTheMissingPartGrey) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("whole.jpg"), 320, 240, 3, 8, testPattern));
    std::vector<std::string> files = {dir.file("whole.jpg")};
    // Progressive files keep the whole picture coarse in their first scan.
    const std::string progressive = dir.file("progressive.jpg");
    if (std::system(
            ("vips copy " + dir.file("whole.jpg") + " " + progressive + "[interlace] 2>/dev/null").c_str()) ==
        0)
        files.push_back(progressive);
    for (const std::string& whole : files) {
        SCOPED_TRACE(whole);
        const std::string bytes = readFile(whole);
        const DecodedImage reference = decodeQuietly(whole);
        ASSERT_TRUE(reference.bitmap);
        EXPECT_TRUE(reference.warning.empty()) << reference.warning;
        const std::string cut = dir.file("cut.jpg");
        writeFile(cut, bytes.substr(0, bytes.size() * 6 / 10));
        std::string said;
        const DecodedImage partial = decodeQuietly(cut, nullptr, &said);
        ASSERT_TRUE(partial.bitmap);
        EXPECT_NE(partial.warning.find("“cut.jpg” is incomplete"), std::string::npos) << partial.warning;
        // Said as it is: a grey part for a baseline file, less detail for a progressive one.
        EXPECT_NE(partial.warning.find(whole == files[0] ? "shown grey" : "detail"), std::string::npos)
            << partial.warning;
        EXPECT_NE(said.find(partial.warning), std::string::npos) << said;
        ASSERT_EQ(partial.bitmap->width(), 320);
        ASSERT_EQ(partial.bitmap->height(), 240);
        const Bitmap& p = *partial.bitmap;
        const Bitmap& r = *reference.bitmap;
        if (whole == files[0]) {
            // A baseline file: the rows it holds are the photo's own, the last row is grey.
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 320; x += 7)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_EQ(photoComponent(p, x, y, c), photoComponent(r, x, y, c)) << x << "," << y;
        } else {
            // A progressive file: the whole picture, coarser.
            double diff = 0;
            for (int y = 0; y < 240; y += 5)
                for (int x = 0; x < 320; x += 5)
                    diff += std::abs(photoComponent(p, x, y, 1) - photoComponent(r, x, y, 1));
            EXPECT_LT(diff / (48 * 64), 0.08);
        }
        if (whole == files[0]) {
            for (int x = 0; x < 320; x += 13)
                for (int c = 0; c < 3; ++c) EXPECT_NEAR(photoComponent(p, x, 239, c), 0.5, 0.02) << x;
        }
    }
}

// A JPEG decoded while its rows are already being used gives what a whole decode gives; files that
// must be turned, or are no JPEG, are left to the whole decode.
TEST(Decoder, RowsHandedOverWhileDecodingMatchAWholeDecode) {
    TempDir dir;
    ASSERT_TRUE(writeTestImage(dir.file("plain.jpg"), 301, 203, 3, 8, testPattern));
    ASSERT_TRUE(writeTestImage(dir.file("turned.jpg"), 301, 203, 3, 8, testPattern, 6));
    ASSERT_TRUE(writeTestImage(dir.file("plain.png"), 31, 23, 3, 8, testPattern));
    const std::string plain = readFile(dir.file("plain.jpg"));
    writeFile(dir.file("cut.jpg"), plain.substr(0, plain.size() * 6 / 10));
    writeFile(dir.file("headers.jpg"), plain.substr(0, plain.find("\xFF\xDA") + 14));
    struct Case {
        const char* name;
        bool streamed, opens;
    } cases[] = {{"plain.jpg", true, true},
                 {"cut.jpg", true, true},
                 {"headers.jpg", true, false},
                 {"turned.jpg", false, true},
                 {"plain.png", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        std::vector<float> seen;
        int calls = 0;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const auto streamed =
            decodeImageFileStreaming(path, [&](const DecodedImage& image, const auto& waitForRow) {
                ++calls;
                // Read each row as soon as it is said to be there, as an encoder does.
                for (int y = 0; y < image.bitmap->height(); ++y) {
                    if (!waitForRow(y)) break;
                    for (int x = 0; x < image.bitmap->width(); x += 7)
                        seen.push_back(photoComponent(*image.bitmap, x, y, 1));
                }
            });
        const DecodeResult whole = decodeImageFile(path);
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(streamed.has_value(), c.streamed);
        EXPECT_EQ(bool(whole.image), c.opens);
        if (!streamed) {
            EXPECT_EQ(calls, 0);
            continue;
        }
        EXPECT_EQ(calls, 1);
        ASSERT_EQ(bool(streamed->image), c.opens) << streamed->error;
        if (!c.opens) {
            EXPECT_NE(streamed->error.find(c.name), std::string::npos);
            continue;
        }
        EXPECT_EQ(streamed->image->warning, whole.image->warning);
        std::vector<float> expected;
        for (int y = 0; y < whole.image->bitmap->height(); ++y)
            for (int x = 0; x < whole.image->bitmap->width(); x += 7)
                expected.push_back(photoComponent(*whole.image->bitmap, x, y, 1));
        EXPECT_EQ(seen, expected);
    }
}

// A reduced decode is for showing a photo while the whole is decoded: upright like the whole, no
// smaller than asked, and the same picture; a file that cannot be reduced cheaply is refused.
TEST(Decoder, AReducedDecodeIsTheWholePictureSmaller) {
    TempDir dir;
    const auto smooth = [](int x, int y, int c) {
        return c == 0 ? x / 1200.0 : c == 1 ? y / 800.0 : 0.5 + 0.4 * std::sin((x + y) / 90.0);
    };
    ASSERT_TRUE(writeTestImage(dir.file("plain.jpg"), 1201, 801, 3, 8, smooth));
    // Stored on its side: upright pixel (x, y) is stored at (y, 1200 − x).
    ASSERT_TRUE(writeTestImage(
        dir.file("turned.jpg"), 801, 1201, 3, 8, [&](int x, int y, int c) { return smooth(1200 - y, x, c); },
        6));
    ASSERT_TRUE(writeTestImage(dir.file("plain.png"), 120, 80, 3, 8, smooth));
    struct Case {
        const char* name;
        int minWidth, minHeight; // upright
        int width, height;       // expected; 0: refused
    } cases[] = {
        {"plain.jpg", 600, 400, 601, 401},  // 1/2: 600 × 400 would fit, the DCT rounds up
        {"plain.jpg", 300, 200, 301, 201},  // 1/4
        {"plain.jpg", 140, 90, 151, 101},   // 1/8
        {"plain.jpg", 602, 400, 0, 0},      // only the whole is that big
        {"turned.jpg", 1000, 500, 0, 0},    // upright 1201 × 801: no half is 1000 wide
        {"turned.jpg", 300, 200, 301, 201}, // upright, as the whole is
        {"plain.png", 30, 20, 0, 0},        // no cheap reduction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " at least " << c.minWidth << " x " << c.minHeight);
        testing::internal::CaptureStdout();
        const DecodeResult reduced = decodeImageFileReduced(dir.file(c.name), c.minWidth, c.minHeight);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        if (c.width == 0) {
            EXPECT_FALSE(reduced.image);
            continue;
        }
        ASSERT_TRUE(reduced.image) << reduced.error;
        const Bitmap& small = *reduced.image->bitmap;
        ASSERT_EQ(small.width(), c.width);
        ASSERT_EQ(small.height(), c.height);
        EXPECT_TRUE(reduced.image->warning.empty());
        EXPECT_FALSE(reduced.image->properties.declaredOrientation());
        // Each reduced pixel against the upright ramp at the centre of the block it stands for.
        const double k = 1201.0 / c.width;
        double worst = 0;
        for (int y = 0; y < small.height() - 1; y += 3)
            for (int x = 0; x < small.width() - 1; x += 3)
                for (int ch = 0; ch < 3; ++ch)
                    worst = std::max(worst, std::abs(photoComponent(small, x, y, ch) -
                                                     smooth(int((x + 0.5) * k), int((y + 0.5) * k), ch)));
        EXPECT_LT(worst, 0.05);
    }
}

// A camera raw file: a linear DNG as a raw converter writes one, turned by its orientation. It
// opens upright, keeps 16 bits, and its camera metadata reaches a saved JPEG.
TEST(Decoder, ACameraRawFileOpensUprightAtSixteenBits) {
    TempDir dir;
    const std::string raw = dir.file("camera.dng");
    constexpr int W = 64, H = 48;
    {
        TIFF* t = TIFFOpen(raw.c_str(), "w");
        ASSERT_TRUE(t);
        static const TIFFFieldInfo dngTags[] = {
            {50706, 4, 4, TIFF_BYTE, FIELD_CUSTOM, 1, 0, const_cast<char*>("DNGVersion")},
            {50708, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("UniqueCameraModel")},
            {50721, -1, -1, TIFF_SRATIONAL, FIELD_CUSTOM, 1, 1, const_cast<char*>("ColorMatrix1")},
            {50728, -1, -1, TIFF_RATIONAL, FIELD_CUSTOM, 1, 1, const_cast<char*>("AsShotNeutral")},
        };
        TIFFMergeFieldInfo(t, dngTags, 4);
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, 0);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, W);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, H);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 16);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, 34892); // linear raw
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ORIENTATION, 6); // turned a quarter clockwise to be upright
        TIFFSetField(t, TIFFTAG_MAKE, "Pimakers");
        TIFFSetField(t, TIFFTAG_MODEL, "Raw One");
        uint8_t version[4] = {1, 4, 0, 0};
        TIFFSetField(t, 50706, version);
        TIFFSetField(t, 50708, "Pimakers Raw One");
        float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, neutral[3] = {1, 1, 1};
        TIFFSetField(t, 50721, 9, identity);
        TIFFSetField(t, 50728, 3, neutral);
        // Red in the stored left half, blue in the stored bottom half.
        std::vector<uint16_t> row(W * 3);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                row[std::size_t(x) * 3] = x < W / 2 ? 50000 : 2000;
                row[std::size_t(x) * 3 + 1] = 20000;
                row[std::size_t(x) * 3 + 2] = y < H / 2 ? 3000 : 40000;
            }
            ASSERT_EQ(TIFFWriteScanline(t, row.data(), uint32_t(y), 0), 1);
        }
        TIFFClose(t);
    }
    DecodedImage img = decodeQuietly(raw);
    ASSERT_TRUE(img.bitmap);
    EXPECT_EQ(img.mimeType, "image/x-dcraw");
    EXPECT_EQ(img.bitsPerComponent, 16);
    ASSERT_EQ(img.bitmap->width(), H);
    ASSERT_EQ(img.bitmap->height(), W);
    // Upright, the stored left half is on top and the stored bottom half on the left.
    const Bitmap& b = *img.bitmap;
    EXPECT_GT(photoComponent(b, H / 2, W / 4, 0), photoComponent(b, H / 2, 3 * W / 4, 0) + 0.2);
    EXPECT_GT(photoComponent(b, H / 4, W / 2, 2), photoComponent(b, 3 * H / 4, W / 2, 2) + 0.2);
    // Sixteen bits kept: levels between those an 8-bit picture can hold (multiples of 257).
    bool fine = false;
    for (int y = 0; y < b.height() && !fine; ++y)
        for (int x = 0; x < b.width() && !fine; ++x) {
            const double v = photoComponent(b, x, y, 1) * 65535;
            fine = std::fmod(std::round(v), 257.0) != 0;
        }
    EXPECT_TRUE(fine);
    const std::string out = dir.file("saved.jpg");
    SaveOptions options;
    options.mimeType = "image/jpeg";
    std::string error;
    ASSERT_TRUE(writeImageFile(b, out, options, &img.properties, &error)) << error;
    EXPECT_EQ(run("exiftool -s3 -n -Make -Model -Orientation -ImageWidth -ImageHeight '" + out + "'"),
              "Pimakers\nRaw One\n1\n48\n64\n");
}

// The codecs of our own (JPEG, PNG) against the general library reading the very same files: every
// storage variant a photo or mask may come in must give the same pixels.
TEST(Decoder, OwnCodecsReadEveryVariantAsTheLibraryDoes) {
    TempDir dir;
    const std::string ref = dir.file("ref.png");
    ASSERT_TRUE(writeTestImage(ref, 48, 32, 3, 8, testPattern));
    struct Case {
        const char* name;
        const char* command; // makes the file from ref.png with vips; %s is the folder
        double tolerance;    // per component, 0..1
    } cases[] = {
        {"interlaced.png", "vips pngsave %s/ref.png %s/interlaced.png --interlace", 0.5 / 255},
        {"palette.png", "vips pngsave %s/ref.png %s/palette.png --palette --bitdepth 8", 0.5 / 255},
        {"grey2.png",
         "vips colourspace %s/ref.png %s/g.v b-w && vips pngsave %s/g.v %s/grey2.png --bitdepth 2",
         0.5 / 255},
        {"deep.png", "vips colourspace %s/ref.png %s/d.v rgb16 && vips pngsave %s/d.v %s/deep.png",
         0.5 / 65535},
        {"grey.jpg", "vips colourspace %s/ref.png %s/gj.v b-w && vips jpegsave %s/gj.v %s/grey.jpg",
         1.5 / 255},
        {"cmyk.jpg", "vips colourspace %s/ref.png %s/c.v cmyk && vips jpegsave %s/c.v %s/cmyk.jpg",
         1.5 / 255},
        {"progressive.jpg", "vips jpegsave %s/ref.png %s/progressive.jpg --interlace", 1.5 / 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string command = c.command;
        for (std::size_t at; (at = command.find("%s")) != std::string::npos;)
            command.replace(at, 2, dir.path());
        run(command + " 2>&1");
        const std::string path = dir.file(c.name);
        DecodedImage ours = decodeQuietly(path);
        ASSERT_TRUE(ours.bitmap);
        const int w = ours.bitmap->width(), h = ours.bitmap->height();
        auto theirs = OIIO::ImageInput::open(path);
        ASSERT_TRUE(theirs);
        const OIIO::ImageSpec& spec = theirs->spec();
        ASSERT_EQ(spec.width, w);
        ASSERT_EQ(spec.height, h);
        std::vector<float> pixels(std::size_t(w) * h * spec.nchannels);
        ASSERT_TRUE(theirs->read_image(0, 0, 0, spec.nchannels, OIIO::TypeDesc::FLOAT, pixels.data()));
        const bool grey = spec.nchannels < 3;
        double worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k) {
                    const double want = pixels[(std::size_t(y) * w + x) * spec.nchannels + (grey ? 0 : k)];
                    worst = std::max(worst, std::abs(photoComponent(*ours.bitmap, x, y, k) - want));
                }
        EXPECT_LE(worst, c.tolerance);
    }
}

} // namespace
} // namespace pimavo::test
