// The accumulation buffer: snapshots never change, writes stay inside their rectangle, and values
// are stored clamped and rounded.
#include "EngineTestSupport.h"
#include "engine/PaintBuffer.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

Image colour(double r, double g, double b, double a = 1) {
    return Image::imageWithColor({r, g, b, a});
}

Image over(const Image& s, const Image& d) {
    auto f = filter("source-over");
    f->setValue("inputImage", s);
    f->setValue("inputBackgroundImage", d);
    return f->outputImage();
}

TEST(Accumulator, SnapshotsNeverChangeAfterLaterWrites) {
    // 150 × 100 spans several storage tiles, so writes touch some tiles and not others.
    auto acc = PaintBuffer::imageAccumulatorWithExtent({0, 0, 150, 100}, PixelFormat::RGBA16);
    ASSERT_TRUE(acc);
    const IntRect all{0, 0, 150, 100};
    const PixelGrid empty = renderGrid(acc->image(), all);
    for (float v : empty.px) ASSERT_EQ(v, 0.0f);

    acc->setImage(colour(1, 0, 0));
    const Image red = acc->image();
    acc->setImage(colour(0, 0, 1), {10, 10, 80, 30});
    const Image partBlue = acc->image();
    acc->setImage(colour(0, 1, 0), {0, 0, 150, 100});

    const PixelGrid r = renderGrid(red, all), pb = renderGrid(partBlue, all),
                    g = renderGrid(acc->image(), all);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 150; ++x) {
            ASSERT_EQ(r.at(x, y), (Px{1, 0, 0, 1})) << x << "," << y;
            const bool inBlue = x >= 10 && x < 90 && y >= 10 && y < 40;
            ASSERT_EQ(pb.at(x, y), (inBlue ? Px{0, 0, 1, 1} : Px{1, 0, 0, 1})) << x << "," << y;
            ASSERT_EQ(g.at(x, y), (Px{0, 1, 0, 1})) << x << "," << y;
        }
    }
}

TEST(Accumulator, WritesOnlyTheDirtyRectangleEvenFromItsOwnImage) {
    auto acc = PaintBuffer::imageAccumulatorWithExtent({0, 0, 130, 70}, PixelFormat::RGBA16);
    acc->setImage(colour(0.2, 0.2, 0.2));
    // Lighten a fractional rectangle from the buffer's own content: pixels it touches change.
    acc->setImage(over(colour(1, 1, 1, 0.5), acc->image()), {60.5, 20.2, 10, 30.1});
    const PixelGrid g = renderGrid(acc->image(), {0, 0, 130, 70});
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 130; ++x) {
            const bool touched = x >= 60 && x < 71 && y >= 20 && y < 51;
            const double want = touched ? 0.5 + 0.2 * 0.5 : 0.2;
            ASSERT_NEAR(g.at(x, y)[0], want, 1.0 / 65535) << x << "," << y;
        }
}

TEST(Accumulator, TakingAnotherBuffersSnapshotThenWritingLeavesBothIntact) {
    // Restoring a snapshot of a like buffer shares its tiles; later writes to either must not show
    // in the other, in whole and in partly covered tiles alike.
    const RectF extent{0, 0, 300, 200};
    auto a = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::RGBA16);
    auto b = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::RGBA16);
    a->setImage(colour(0.25, 0.5, 0.75));
    a->setImage(colour(1, 0, 0), {20, 30, 60, 40});
    const Image before = a->image();
    b->setImage(before);                                 // whole: every tile shared
    b->setImage(colour(0, 1, 0), {100.5, 50, 150, 100}); // then written, crossing tile edges
    a->setImage(colour(0, 0, 1), {0, 150, 300, 50});
    const IntRect all{0, 0, 300, 200};
    const PixelGrid gb = renderGrid(b->image(), all), gbefore = renderGrid(before, all);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            // The snapshot keeps its red patch on the base colour; the later blue band is not in it.
            const bool red = x >= 20 && x < 80 && y >= 30 && y < 70;
            ASSERT_EQ(gbefore.at(x, y), (red ? Px{1, 0, 0, 1} : gbefore.at(5, 5))) << x << "," << y;
            // The second buffer is the snapshot with its own green patch.
            const bool green = x >= 100 && x < 251 && y >= 50 && y < 150;
            ASSERT_EQ(gb.at(x, y), (green ? Px{0, 1, 0, 1} : gbefore.at(x, y))) << x << "," << y;
        }
    // A buffer of another format renders the snapshot instead: same pixels, 8-bit rounding.
    auto c = PaintBuffer::imageAccumulatorWithExtent(extent, PixelFormat::ARGB8);
    c->setImage(before);
    EXPECT_NEAR(renderGrid(c->image(), all).at(5, 5)[1], 0.5, 1.0 / 255);
}

// Opaque grey, 8-bit levels and opaque colour are kept more compactly than other colour; whatever mix
// a buffer is given, in whole tiles or in parts of them, it must read back what a plain 16-bit buffer
// would hold.
TEST(Accumulator, GreyAndColourContentReadsBackAsWritten) {
    const int W = 300, H = 200;
    // Values a quarter step off 16-bit levels, so that rounding is never in doubt.
    auto level = [](int k) { return (k % 65535 + 0.25) / 65535; };
    auto grey = [&](int x, int y) {
        const double v = level(x * 211 + y * 3371);
        return Px{v, v, v, 1};
    };
    auto colourAt = [&](int x, int y) { return Px{level(20000 + 60 * x), 0.2, level(45000 - 70 * y), 1}; };
    // 8-bit levels, as a photo from an 8-bit file holds: kept a byte per component.
    auto byte = [](int k) { return (k % 256) / 255.0; };
    auto greyBytes = [&](int x, int y) {
        const double v = byte(x * 7 + y * 13);
        return Px{v, v, v, 1};
    };
    auto colourBytes = [&](int x, int y) { return Px{byte(x), byte(3 * y), byte(x + y), 1}; };
    struct Write {
        const char* what;
        std::function<Px(int, int)> fn;
        RectF rect;
    } writes[] = {
        {"8-bit translucent colour in part of empty tiles",
         [&](int x, int y) {
             const Px c = colourBytes(x, y);
             return Px{c[0] * 0.6, c[1] * 0.6, c[2] * 0.6, 0.6};
         },
         {100, 40, 90, 70}},
        // Translucent pixels kept: the tiles go from bytes to four 16-bit components.
        {"16-bit colour in part of translucent 8-bit tiles", colourAt, {120, 50, 30, 20}},
        {"8-bit grey everywhere", greyBytes, {0, 0, W, H}},
        // Grey below row 70 and colour above it, all 8-bit levels: tiles go from grey to bytes.
        {"8-bit grey then 8-bit colour within tiles",
         [&](int x, int y) { return y < 70 ? greyBytes(x, y) : colourBytes(x, y); },
         {0, 0, W, H}},
        {"16-bit colour in part of 8-bit tiles", colourAt, {30, 90, 60, 50}},
        {"grey everywhere", grey, {0, 0, W, H}},
        // The grey kept is not 8-bit levels: the tiles go to 16 bits.
        {"8-bit colour in part of grey tiles", colourBytes, {140, 10, 50, 40}},
        {"colour in part of some tiles", colourAt, {50.5, 20, 40, 30}},
        // Grey below row 70 and colour above it: tiles turn to colour part way through.
        {"grey then colour within tiles",
         [&](int x, int y) { return y < 70 ? grey(x, y) : colourAt(x, y); },
         {0, 0, W, H}},
        {"translucent grey",
         [](int, int) {
             return Px{0.25, 0.25, 0.25, 0.5};
         },
         {200, 100, 60, 60}},
        {"grey again over colour", grey, {0, 0, 256, 128}},
        // Opaque colour below row 100 and translucent colour above it: tiles go from three planes to
        // four components part way through.
        {"colour then translucent within tiles",
         [&](int x, int y) {
             const Px c = colourAt(x, y);
             return y < 100 ? c : Px{c[0] * 0.5, c[1] * 0.5, c[2] * 0.5, 0.5};
         },
         {0, 0, W, H}},
        {"colour everywhere", colourAt, {0, 0, W, H}},
        {"translucent patch in part of colour tiles",
         [](int, int) {
             return Px{0.1, 0.2, 0.3, 0.5};
         },
         {20, 30, 50, 20}},
        {"grey in part of a grey tile",
         [](int, int) {
             return Px{0.5, 0.5, 0.5, 1};
         },
         {10, 10, 5, 5}},
    };
    auto acc = PaintBuffer::imageAccumulatorWithExtent({0, 0, double(W), double(H)}, PixelFormat::RGBA16);
    std::vector<Px> want(std::size_t(W) * H, Px{0, 0, 0, 0});
    std::vector<Image> snapshots;
    std::vector<std::vector<Px>> wanted;
    auto q = [](double v) { return std::round(std::clamp(v, 0.0, 1.0) * 65535) / 65535; };
    for (const Write& w : writes) {
        acc->setImage(makeImage(W, H, w.fn), w.rect);
        const IntRect r = IntRect::enclosing(w.rect);
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x) {
                const Px p = w.fn(x, y);
                want[std::size_t(y) * W + x] = {q(p[0]), q(p[1]), q(p[2]), q(p[3])};
            }
        snapshots.push_back(acc->image());
        wanted.push_back(want);
    }
    // Every snapshot still holds what was written up to it.
    for (std::size_t k = 0; k < snapshots.size(); ++k) {
        const PixelGrid g = renderGrid(snapshots[k], {0, 0, W, H});
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                for (int c = 0; c < 4; ++c)
                    ASSERT_NEAR(g.at(x, y)[c], wanted[k][std::size_t(y) * W + x][c], 1e-7)
                        << "after " << writes[k].what << " at " << x << "," << y << " component " << c;
    }
}

TEST(Accumulator, StoresClampedRoundedValues) {
    struct Case {
        PixelFormat format;
        Px in;
        double step;
    } cases[] = {
        {PixelFormat::RGBA16, {0.123456, -0.5, 1.7, 1}, 1.0 / 65535},
        {PixelFormat::ARGB8, {0.123456, -0.5, 1.7, 1}, 1.0 / 255},
    };
    for (const Case& c : cases) {
        auto acc = PaintBuffer::imageAccumulatorWithExtent({0, 0, 3, 3}, c.format);
        ASSERT_TRUE(acc);
        acc->setImage(makeImage(3, 3, [&](int, int) { return c.in; }));
        const Px got = renderGrid(acc->image(), {1, 1, 2, 2}).at(1, 1);
        EXPECT_NEAR(got[0], std::round(0.123456 / c.step) * c.step, 1e-7);
        EXPECT_EQ(got[1], 0.0);
        EXPECT_EQ(got[2], 1.0);
        EXPECT_EQ(got[3], 1.0);
    }
}

TEST(Accumulator, ClearAndOutsideTheExtent) {
    auto acc = PaintBuffer::imageAccumulatorWithExtent({10, 20, 30, 40}, PixelFormat::RGBA16);
    acc->setImage(colour(1, 1, 1));
    const Image before = acc->image();
    acc->clear();
    EXPECT_EQ(renderGrid(acc->image(), {10, 20, 40, 60}).at(15, 25), (Px{0, 0, 0, 0}));
    EXPECT_EQ(renderGrid(before, {10, 20, 40, 60}).at(15, 25), (Px{1, 1, 1, 1}));
    EXPECT_EQ(renderGrid(before, {0, 0, 50, 70}).at(5, 5), (Px{0, 0, 0, 0}));
    EXPECT_TRUE(acc->image().extent() == RectF(10, 20, 30, 40));
    // Writing outside the extent, or no image, changes nothing.
    acc->setImage(colour(1, 0, 0), {100, 100, 10, 10});
    acc->setImage(Image(), {10, 20, 30, 40});
    EXPECT_EQ(renderGrid(acc->image(), {10, 20, 40, 60}).at(15, 25), (Px{0, 0, 0, 0}));
}

TEST(Accumulator, RefusesUnusableExtentsAndFormats) {
    EXPECT_FALSE(PaintBuffer::imageAccumulatorWithExtent(RectF::infinite(), PixelFormat::RGBA16));
    EXPECT_FALSE(PaintBuffer::imageAccumulatorWithExtent({0, 0, 0, 10}, PixelFormat::RGBA16));
    EXPECT_FALSE(PaintBuffer::imageAccumulatorWithExtent({0, 0, 10, 10}, PixelFormat::RGBAf));
}

} // namespace
} // namespace pimavo::test
