// Sizes, covering, orientation and the pixel tests of the geometry helpers.
#include "LogCapture.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageioTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

TEST(GeometryHelpers, FittingAndCoveringSizes) {
    struct Case {
        SizeF size, target, fit, cover;
    } cases[] = {
        {{100, 200}, {200, 100}, {50, 100}, {200, 400}},
        {{300, 300}, {200, 100}, {100, 100}, {200, 200}},
        {{200, 100}, {100, 100}, {100, 50}, {200, 100}},
        {{100, 200}, {100, 100}, {50, 100}, {100, 200}},
        {{640, 480}, {1920, 1080}, {1440, 1080}, {1920, 1440}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width << "x" << c.size.height << " -> " << c.target.width
                                        << "x" << c.target.height);
        const SizeF fit = scaledSizeToFitSize(c.size, c.target),
                    cover = scaledSizeToCoverSize(c.size, c.target);
        EXPECT_NEAR(fit.width, c.fit.width, 1e-3);
        EXPECT_NEAR(fit.height, c.fit.height, 1e-3);
        EXPECT_NEAR(cover.width, c.cover.width, 1e-3);
        EXPECT_NEAR(cover.height, c.cover.height, 1e-3);
    }
}

TEST(GeometryHelpers, CoveringAlignmentPlacesThePicture) {
    // A 200 × 100 picture covering 100 × 100: the nine codes, and codes above 8 act as bottom-left.
    struct Case {
        unsigned code;
        double x;
    } cases[] = {{0, -50}, {1, -50}, {2, 0},    {3, -100}, {4, 0},
                 {5, -50}, {6, 0},   {7, -100}, {8, -100}, {42, 0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(coverOrigin({200, 100}, {100, 100}, c.code).x, c.x) << c.code;
    // Vertically, on a tall picture: top codes show the high-y end.
    EXPECT_DOUBLE_EQ(coverOrigin({100, 200}, {100, 100}, kAlignTopLeft).y, -100);
    EXPECT_DOUBLE_EQ(coverOrigin({100, 200}, {100, 100}, kAlignLeftCenter).y, -50);
    EXPECT_DOUBLE_EQ(coverOrigin({100, 200}, {100, 100}, kAlignBottomLeft).y, 0);

    // Drawn for real: a picture red on its left half and blue on its right.
    Bitmap src(200, 100, *photoLayout(8));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) src.setComponent(x, y, x < 100 ? 1 : 3, 1.0f);
    auto left = scaledImageToCoverSizeWithInterpolation(src, {100, 100}, 3, false, kAlignTopLeft);
    auto right = scaledImageToCoverSizeWithInterpolation(src, {100, 100}, 3, false, kAlignTopRight);
    auto boxed = scaledImageToCoverSizeWithInterpolation(src, {100, 100}, 3, true, kAlignCenter);
    ASSERT_TRUE(left && right && boxed);
    EXPECT_EQ(left->width(), 100);
    EXPECT_GT(left->component(50, 50, 0), 0.99f);  // red shows on the left
    EXPECT_GT(right->component(50, 50, 2), 0.99f); // blue on the right
    EXPECT_EQ(boxed->component(0, 40, 0), 0.0f);   // black frame
    EXPECT_EQ(boxed->component(0, 40, 3), 1.0f);
    EXPECT_GT(boxed->component(1, 40, 0), 0.99f);
}

// The orientation transforms as the platform states them, y up, last step first.
Transform2D orientationTransform(int o, double W, double H) {
    using T = Transform2D;
    switch (o) {
    case 2:
        return T::identity().translatedBy(W, 0).scaledBy(-1, 1);
    case 3:
        return T::identity().translatedBy(W, H).rotatedBy(M_PI);
    case 4:
        return T::identity().translatedBy(0, H).scaledBy(1, -1);
    case 5:
        return T::identity().translatedBy(H, W).scaledBy(-1, 1).rotatedBy(3 * M_PI / 2);
    case 6:
        return T::identity().translatedBy(0, W).rotatedBy(3 * M_PI / 2);
    case 7:
        return T::identity().scaledBy(-1, 1).rotatedBy(M_PI / 2);
    case 8:
        return T::identity().translatedBy(H, 0).rotatedBy(M_PI / 2);
    default:
        return T::identity();
    }
}

TEST(GeometryHelpers, OrientationMatchesTheTransformTable) {
    const int W = 9, H = 6;
    for (int bits : {8, 16, 32}) {
        Bitmap src(W, H, *photoLayout(bits));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                for (int c = 0; c < 3; ++c)
                    src.setComponent(x, y, (bits == 8) + c,
                                     float(std::round(testPattern(x, y, c) * 255) / 255));
        const Image image = Image::imageWithBitmap(src);
        for (int o : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
            SCOPED_TRACE(testing::Message() << "bits " << bits << " orientation " << o);
            auto got = bitmapWithOrientation(src, o);
            ASSERT_TRUE(got);
            const bool swap = o >= 5 && o <= 8;
            ASSERT_EQ(got->width(), swap ? H : W);
            ASSERT_EQ(got->height(), swap ? W : H);
            EXPECT_EQ(got->bitsPerComponent(), bits);
            // The same picture drawn through the table's transform by the engine.
            const Image moved = image.imageByApplyingTransform(orientationTransform(o, W, H));
            auto want =
                Renderer().createBitmap(moved, RectF(0, 0, got->width(), got->height()), got->layout());
            ASSERT_TRUE(want);
            for (int y = 0; y < got->height(); ++y)
                for (int x = 0; x < got->width(); ++x)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_NEAR(photoComponent(*got, x, y, c), photoComponent(*want, x, y, c), 1e-4)
                            << x << "," << y;
        }
    }
}

TEST(GeometryHelpers, OrientationSwapsLargeSizesAndRefusesOtherDepths) {
    Bitmap big(400, 300, *photoLayout(8));
    EXPECT_EQ(bitmapWithOrientation(big, 6)->width(), 300);
    EXPECT_EQ(bitmapWithOrientation(big, -1)->width(), 400);
    Bitmap odd(4, 4, {12, AlphaInfo::NoneSkipFirst});
    EXPECT_FALSE(bitmapWithOrientation(odd, 1));
    // Alpha is composed over black.
    Bitmap rgba(1, 1, {8, AlphaInfo::Last});
    rgba.setComponent(0, 0, 0, 1.0f);
    rgba.setComponent(0, 0, 3, 0.5f);
    EXPECT_NEAR(photoComponent(*bitmapWithOrientation(rgba, 1), 0, 0, 0), 0.5, 1.0 / 255);
}

TEST(GeometryHelpers, BlackTest) {
    Bitmap b(5, 4, *photoLayout(16));
    EXPECT_TRUE(isBlackColorImage(b));
    b.setComponent(4, 3, 2, 1.0f / 255); // blue 1 in 8-bit terms
    EXPECT_FALSE(isBlackColorImage(b));
    EXPECT_FALSE(isBlackColorImage(Bitmap()));
}

TEST(GeometryHelpers, ARGBContextFailuresAreReported) {
    struct Case {
        int w, h;
        const char* message; // nullptr: succeeds
    } cases[] = {{3, 2, nullptr},
                 {0, 5, "Context not created!\n"},
                 {-1, 5, "Context not created!\n"},
                 {40000, 20000, "Memory not allocated!\n"},
                 {600000000, 1, "Memory not allocated!\n"}};
    for (const Case& c : cases) {
        LogCapture log;
        auto ctx = CreateARGBBitmapContext(c.w, c.h);
        const std::string err = log.text(logging::Channel::Io, logging::Level::Warning);
        if (!c.message) {
            ASSERT_TRUE(ctx);
            EXPECT_EQ(ctx->bytesPerRow(), std::size_t(4 * c.w));
            EXPECT_EQ(ctx->layout().alphaInfo, AlphaInfo::PremultipliedFirst);
            for (std::byte v : ctx->bytes()) EXPECT_EQ(v, std::byte(0));
        } else {
            EXPECT_FALSE(ctx);
            EXPECT_EQ(err, c.message) << c.w << "x" << c.h;
        }
    }
}

} // namespace
} // namespace pimavo::test
