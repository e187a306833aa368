// Transparency from the file to the file: decoded into an RGBA bitmap (colour associated), turned
// with it, and written back by every type that holds it (vips reads the files), onto white by the
// others.
#include "ImageioTestSupport.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace pimavo::test {
namespace {

// The bands vips reads at one pixel.
std::vector<double> vipsPixel(const std::string& path, int x, int y) {
    std::istringstream in(run("vips getpoint '" + path + "' " + std::to_string(x) + " " + std::to_string(y)));
    std::vector<double> out;
    for (double v; in >> v;) out.push_back(v);
    return out;
}

// 90 × 60 made by vips: opaque orange on the left third, orange at a quarter of full alpha in the
// middle, transparent on the right.
std::string makeCutOut(const TempDir& dir, const std::string& name, const std::string& format) {
    const std::string v = dir.path() + "/a.v", out = dir.path() + "/" + name;
    run("vips black " + v + " 90 60 --bands 4");
    run("vips draw_rect " + v + " '250 120 20 255' 0 0 30 60 --fill");
    run("vips draw_rect " + v + " '250 120 20 64' 30 0 30 60 --fill");
    run("vips copy " + v + " " + dir.path() + "/" + name + format);
    return out;
}

TEST(Alpha, DecodedFilesKeepTheirTransparencyAssociatedAndTurned) {
    TempDir dir;
    // Cases: the file, the vips format options, the bits the bitmap gets.
    const struct {
        const char* name;
        const char* options;
        int bits;
    } cases[] = {{"a.png", "", 8}, {"a16.png", "", 16}, {"a.tif", "", 8}, {"a.webp", "[lossless]", 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = makeCutOut(dir, c.name, c.options);
        if (c.bits == 16) {
            const std::string d = dir.path();
            run("vips linear " + d + "/a.v " + d + "/l.v 257 0");
            run("vips cast " + d + "/l.v " + d + "/s.v ushort");
            run("vips copy " + d + "/s.v " + path + " --interpretation rgb16");
        }
        DecodeResult r = decodeImageFile(path, false);
        ASSERT_TRUE(r.image) << r.error;
        const Bitmap& b = *r.image->bitmap;
        ASSERT_TRUE(b.layout().hasAlpha());
        EXPECT_TRUE(b.layout().premultiplied());
        EXPECT_EQ(b.bitsPerComponent(), c.bits);
        EXPECT_TRUE(hasTransparency(b));
        // Opaque, a quarter, nothing: the colour multiplied by alpha.
        const int red = 0, a = 3;
        EXPECT_NEAR(b.component(10, 30, a), 1, 1e-3);
        EXPECT_NEAR(b.component(10, 30, red), 250 / 255.0, 2e-3);
        EXPECT_NEAR(b.component(45, 30, a), 64 / 255.0, 2e-3);
        EXPECT_NEAR(b.component(45, 30, red), 250 / 255.0 * 64 / 255, 4e-3);
        EXPECT_EQ(b.component(80, 30, a), 0);
        // Turned a quarter (orientation 6), the transparency turns with the pixels.
        const auto turned = bitmapWithOrientation(b, 6);
        ASSERT_TRUE(turned && turned->layout().hasAlpha());
        EXPECT_EQ(turned->width(), 60);
        EXPECT_NEAR(turned->component(30, 10, a), 1, 1e-3); // the left edge is now the top
        EXPECT_EQ(turned->component(30, 80, a), 0);
    }
}

TEST(Alpha, WrittenFilesKeepTheTransparencyOrLieOnWhite) {
    TempDir dir;
    DecodeResult r = decodeImageFile(makeCutOut(dir, "in.png", ""), false);
    ASSERT_TRUE(r.image);
    // Cases: the type, the file, its bands as vips reads them, the tolerance of the lossy ones.
    const struct {
        const char* type;
        const char* name;
        std::size_t bands;
        double tolerance;
    } cases[] = {{"image/png", "o.png", 4, 1},
                 {"image/tiff", "o.tif", 4, 1},
                 {"image/webp", "o.webp", 4, 6},
                 {"image/jpeg", "o.jpg", 3, 6},
                 {"image/bmp", "o.bmp", 3, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.path() + "/" + c.name;
        SaveOptions options;
        options.mimeType = c.type;
        options.quality = 1;
        std::string error;
        ASSERT_TRUE(writeImageFile(*r.image->bitmap, out, options, nullptr, &error)) << error;
        EXPECT_EQ(typeKeepsTransparency(c.type), c.bands == 4);
        const auto opaque = vipsPixel(out, 10, 30), quarter = vipsPixel(out, 45, 30),
                   clear = vipsPixel(out, 80, 30);
        ASSERT_EQ(opaque.size(), c.bands);
        EXPECT_NEAR(opaque[0], 250, c.tolerance);
        if (c.bands == 4) {
            // Stored unassociated: the colour itself, with its alpha.
            EXPECT_NEAR(quarter[0], 250, c.tolerance + 3);
            EXPECT_NEAR(quarter[3], 64, 1);
            EXPECT_EQ(clear[3], 0);
        } else {
            // On white: a quarter of orange over white, and white where nothing was.
            EXPECT_NEAR(quarter[1], 120 * 0.25 + 255 * 0.75, c.tolerance);
            for (double v : clear) EXPECT_NEAR(v, 255, c.tolerance);
        }
    }
}

} // namespace
} // namespace pimavo::test
