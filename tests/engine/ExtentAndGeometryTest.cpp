// Extents of images through operations, and the geometry they are computed with.
#include "EngineTestSupport.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace pimavo::test {
namespace {

Image photo(int w = 40, int h = 30) {
    return makeImage(w, h, patternA);
}

Image with(const char* name, std::initializer_list<std::pair<const char*, OperationValue>> values) {
    auto f = Operation::filterWithName(name);
    for (const auto& [k, v] : values) f->setValue(k, v);
    return f->outputImage();
}

struct ExtentCase {
    const char* label;
    std::function<Image()> build;
    RectF expected; // null: expect the null rectangle; infinite: expect infinite
};

TEST(Extent, FollowsEachOperation) {
    const Image p = photo();
    const Image gen = Image::imageWithColor(Rgba::white());
    const Image shifted = photo(10, 10).imageByApplyingTransform(Transform2D::translation(35, 25));
    const ExtentCase cases[] = {
        {"bitmap", [&] { return p; }, {0, 0, 40, 30}},
        {"blur 2.2 grows by 7",
         [&] {
             return with("gaussian-blur", {{"inputImage", p}, {"inputRadius", 2.2}});
         },
         {-7, -7, 54, 44}},
        {"blur 10 grows by 30",
         [&] {
             return with("gaussian-blur", {{"inputImage", p}, {"inputRadius", 10.0}});
         },
         {-30, -30, 100, 90}},
        {"blur below 0.16 keeps it",
         [&] {
             return with("gaussian-blur", {{"inputImage", p}, {"inputRadius", 0.1}});
         },
         {0, 0, 40, 30}},
        {"blur of a generator",
         [&] {
             return with("gaussian-blur", {{"inputImage", gen}, {"inputRadius", 4.0}});
         },
         RectF::infinite()},
        {"constant colour", [&] { return gen; }, RectF::infinite()},
        {"checkerboard", [&] { return with("checkerboard", {}); }, RectF::infinite()},
        {"cropped generator",
         [&] {
             return gen.imageByCroppingToRect({1.5, 2, 10, 20});
         },
         {1.5, 2, 10, 20}},
        {"crop beyond the image",
         [&] {
             return p.imageByCroppingToRect({-10, 20, 100, 100});
         },
         {0, 20, 40, 10}},
        {"crop outside the image",
         [&] {
             return p.imageByCroppingToRect({100, 100, 5, 5});
         },
         RectF::null()},
        {"colour adjustment keeps it",
         [&] {
             return with("color-controls", {{"inputImage", p}});
         },
         {0, 0, 40, 30}},
        {"source over: union",
         [&] {
             return with("source-over", {{"inputImage", p}, {"inputBackgroundImage", shifted}});
         },
         {0, 0, 45, 35}},
        {"source in: intersection",
         [&] {
             return with("source-in", {{"inputImage", p}, {"inputBackgroundImage", shifted}});
         },
         {35, 25, 5, 5}},
        {"source in with a generator",
         [&] {
             return with("source-in", {{"inputImage", gen}, {"inputBackgroundImage", p}});
         },
         {0, 0, 40, 30}},
        {"multiply: union",
         [&] {
             return with("multiply-blend", {{"inputImage", p}, {"inputBackgroundImage", shifted}});
         },
         {0, 0, 45, 35}},
        {"blend with mask: (F ∩ M) ∪ B",
         [&] {
             return with("blend-with-mask",
                         {{"inputImage", gen}, {"inputBackgroundImage", shifted}, {"inputMaskImage", p}});
         },
         {0, 0, 45, 35}},
        {"scale by 2",
         [&] { return p.imageByApplyingTransform(Transform2D::scale(2, 0.5)); },
         {0, 0, 80, 15}},
        {"quarter turn",
         [&] { return p.imageByApplyingTransform(Transform2D::rotation(M_PI / 2)); },
         {-30, 0, 30, 40}},
        {"transforms fold",
         [&] {
             return p.imageByApplyingTransform(Transform2D::scale(0.1, 0.1))
                 .imageByApplyingTransform(Transform2D::scale(10, 10));
         },
         {0, 0, 40, 30}},
        {"pixellate grows by half a cell",
         [&] {
             return with("pixellate", {{"inputImage", p}, {"inputScale", 9.0}});
         },
         {-4, -4, 48, 38}},
        {"empty image", [] { return Image::emptyImage(); }, RectF::null()},
    };
    for (const ExtentCase& c : cases) {
        SCOPED_TRACE(c.label);
        const Image img = c.build();
        ASSERT_TRUE(img);
        const RectF e = img.extent();
        if (c.expected.isInfinite()) {
            EXPECT_TRUE(e.isInfinite()) << e.description();
        } else if (c.expected.isNull()) {
            EXPECT_TRUE(e.isEmpty()) << e.description();
        } else {
            EXPECT_NEAR(e.minX(), c.expected.minX(), 1e-9) << e.description();
            EXPECT_NEAR(e.minY(), c.expected.minY(), 1e-9) << e.description();
            EXPECT_NEAR(e.width(), c.expected.width(), 1e-9) << e.description();
            EXPECT_NEAR(e.height(), c.expected.height(), 1e-9) << e.description();
        }
    }
}

TEST(Geometry, TransformsComposeInApplicationOrder) {
    // translatedBy prepends: the translation acts on points first.
    const Transform2D t = Transform2D::scale(2, 3).translatedBy(1, 1);
    const PointF p = t.apply({1, 1});
    EXPECT_DOUBLE_EQ(p.x, 4);
    EXPECT_DOUBLE_EQ(p.y, 6);
    // concat appends: this first, then the argument.
    const PointF q = Transform2D::scale(2, 3).concat(Transform2D::translation(1, 1)).apply({1, 1});
    EXPECT_DOUBLE_EQ(q.x, 3);
    EXPECT_DOUBLE_EQ(q.y, 4);
    const Transform2D r =
        Transform2D::rotation(0.3).concat(Transform2D::translation(5, -2)).scaledBy(1.5, 0.5);
    const PointF back = r.inverted().apply(r.apply({7, 11}));
    EXPECT_NEAR(back.x, 7, 1e-12);
    EXPECT_NEAR(back.y, 11, 1e-12);
}

TEST(Geometry, RectanglesAndPixelCoverage) {
    struct Case {
        RectF r;
        IntRect covering, enclosing;
    } cases[] = {
        {{0, 0, 10, 5}, {0, 0, 10, 5}, {0, 0, 10, 5}},
        {{0.4, 0, 10, 5}, {0, 0, 10, 5}, {0, 0, 11, 5}},
        {{0.6, -0.6, 9.8, 1}, {1, -1, 10, 0}, {0, -1, 11, 1}},
        {{3, 3, 0, 0}, {}, {3, 3, 4, 4}},
        {RectF::null(), {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r.description());
        EXPECT_EQ(IntRect::covering(c.r), c.covering);
        EXPECT_EQ(IntRect::enclosing(c.r), c.enclosing);
    }
    EXPECT_TRUE(RectF::infinite().intersection({1, 2, 3, 4}) == RectF(1, 2, 3, 4));
    EXPECT_TRUE(RectF(0, 0, 1, 1).intersection({5, 5, 1, 1}).isNull());
    EXPECT_TRUE(RectF::null().unionWith({1, 2, 3, 4}) == RectF(1, 2, 3, 4));
    EXPECT_TRUE(RectF(0, 0, 1, 1).unionWith(RectF::infinite()).isInfinite());
    EXPECT_TRUE(RectF::infinite().insetBy(-5, -5).isInfinite());
}

// Clamping repeats the edge pixels outward; an enlargement of the clamped image cropped back to size
// keeps the edge colours where the plain enlargement fades into transparency.
TEST(Clamp, EdgePixelsRepeatAndEnlargementsKeepTheirEdges) {
    const int w = 7, h = 5;
    const Image image = photo(w, h);
    const PixelGrid source = makeGrid(w, h, patternA);
    const Image clamped = image.imageByClampingToExtent();
    EXPECT_TRUE(clamped.extent().isInfinite());
    auto clampedAt = [&](int x, int y) {
        return source.at(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    const IntRect around{-4, -3, w + 5, h + 2};
    for (const PixelGrid& grid : {renderGrid(clamped, around), renderGridInPieces(clamped, around, 3)})
        for (int y = around.y0; y < around.y1; ++y)
            for (int x = around.x0; x < around.x1; ++x) {
                const Px got = grid.at(x, y), want = clampedAt(x, y);
                for (int c = 0; c < 4; ++c) ASSERT_EQ(got[c], want[c]) << x << "," << y;
            }

    struct Case {
        double sx, sy;
    } cases[] = {{3.5, 3.5}, {2, 7.25}, {1.15, 1}, {10, 0.8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sx) + " x " + std::to_string(c.sy));
        const int W = int(std::floor(w * c.sx)), H = int(std::floor(h * c.sy));
        const Image big = clamped.imageByApplyingTransform(Transform2D::scale(c.sx, c.sy))
                              .imageByCroppingToRect(RectF(0, 0, W, H));
        EXPECT_TRUE(big.extent() == RectF(0, 0, W, H));
        const PixelGrid got = renderGrid(big, {0, 0, W, H});
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                // Bilinear between the clamped neighbours of the centre's position.
                const double u = std::clamp((x + 0.5) / c.sx - 0.5, 0.0, w - 1.0),
                             v = std::clamp((y + 0.5) / c.sy - 0.5, 0.0, h - 1.0);
                const Px want = source.bilinear(u + 0.5, v + 0.5);
                for (int k = 0; k < 4; ++k) ASSERT_NEAR(got.at(x, y)[k], want[k], 1e-5) << x << "," << y;
            }
    }
    EXPECT_FALSE(Image().imageByClampingToExtent());
    EXPECT_TRUE(Image::imageWithColor({1, 0, 0, 1}).imageByClampingToExtent().extent().isInfinite());
}

} // namespace
} // namespace pimavo::test
