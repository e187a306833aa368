// Rendering into caller buffers and bitmaps, and what happens on bad use.
#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "engine/Cancellation.h"
#include "engine/Evaluator.h"
#include "engine/TileCache.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace pimavo::test {
namespace {

// One opaque and one half-transparent pixel side by side.
Image twoPixels() {
    return makeImage(2, 1, [](int x, int) { return x == 0 ? Px{0.2, 0.4, 0.6, 1} : Px{0.25, 0.1, 0, 0.5}; });
}

TEST(Rendering, IntoEachFormat) {
    struct Case {
        PixelFormat format;
        std::vector<uint8_t> want; // raw bytes of the two pixels (floats compared separately)
    } cases[] = {
        {PixelFormat::ARGB8, {255, 51, 102, 153, 128, 64, 26, 0}},
        {PixelFormat::RGBA8, {51, 102, 153, 255, 64, 26, 0, 128}},
        {PixelFormat::BGRA8, {153, 102, 51, 255, 0, 26, 64, 128}},
    };
    Renderer ctx;
    for (const Case& c : cases) {
        std::vector<uint8_t> buf(8, 7);
        ASSERT_TRUE(ctx.render(twoPixels(), {0, 0, 2, 1}, c.format, buf.data(), 8));
        EXPECT_EQ(buf, c.want) << int(c.format);
    }
    uint16_t px16[8];
    ASSERT_TRUE(ctx.render(twoPixels(), {0, 0, 2, 1}, PixelFormat::RGBA16, px16, 16));
    EXPECT_EQ(px16[0], 13107);
    EXPECT_EQ(px16[7], 32768);
}

// Integer formats clamp to 0..1 and round to the nearest level; NaN stores as 0. Rows long enough
// for the vector paths, with every component order, against a plain reference.
TEST(Rendering, IntegerFormatsClampAndRoundEveryValue) {
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values = {nan,   -inf, -1,     -0.001, 0,    0.0019, 0.0021, 0.25, 0.5,
                                        0.999, 1,    1.0001, 2,      1e10, inf,    0.3,    0.7,  0.123};
    const int W = 37; // whole groups of eight and a remainder
    auto value = [&](int x, int k) { return values[std::size_t(x * 4 + k) % values.size()]; };
    const Image img = makeImage(W, 1, [&](int x, int) {
        return Px{value(x, 0), value(x, 1), value(x, 2), value(x, 3)};
    });
    auto level = [](double v, double top) {
        return std::isnan(v) ? 0.0 : std::floor(std::clamp(v, 0.0, 1.0) * top + 0.5);
    };
    struct Case {
        PixelFormat format;
        int order[4]; // where r, g, b, a sit in a pixel
    } cases[] = {
        {PixelFormat::ARGB8, {1, 2, 3, 0}},
        {PixelFormat::RGBA8, {0, 1, 2, 3}},
        {PixelFormat::BGRA8, {2, 1, 0, 3}},
        {PixelFormat::RGBA16, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        const bool wide = c.format == PixelFormat::RGBA16;
        std::vector<uint8_t> buf(std::size_t(W) * 4 * (wide ? 2 : 1), 7);
        ASSERT_TRUE(Renderer().render(img, {0, 0, double(W), 1}, c.format, buf.data(), buf.size()));
        for (int x = 0; x < W; ++x)
            for (int k = 0; k < 4; ++k) {
                const std::size_t at = std::size_t(x) * 4 + c.order[k];
                const double got = wide ? double(reinterpret_cast<const uint16_t*>(buf.data())[at]) : buf[at];
                ASSERT_EQ(got, level(value(x, k), wide ? 65535 : 255))
                    << "pixel " << x << " component " << k << " value " << value(x, k);
            }
    }
}

TEST(Rendering, FirstBufferRowIsTheTop) {
    const Image img = makeImage(1, 3, [](int, int y) { return Px{y / 2.0, 0, 0, 1}; });
    uint8_t buf[12];
    Renderer().render(img, {0, 0, 1, 3}, PixelFormat::RGBA8, buf, 4);
    EXPECT_EQ(buf[0], 255); // y = 2
    EXPECT_EQ(buf[4], 128);
    EXPECT_EQ(buf[8], 0);
}

TEST(Rendering, BitmapsByBitsPerComponent) {
    // 8 to 15 bits: 8-bit XRGB; 16 to 23: 16-bit RGBX; 32 to 39: float RGBX; anything else: none.
    struct Case {
        int bits;
        int wantBits; // 0: no bitmap
        AlphaInfo layout;
    } cases[] = {
        {8, 8, AlphaInfo::NoneSkipFirst},
        {12, 8, AlphaInfo::NoneSkipFirst},
        {16, 16, AlphaInfo::NoneSkipLast},
        {20, 16, AlphaInfo::NoneSkipLast},
        {32, 32, AlphaInfo::NoneSkipLast},
        {24, 0, {}},
        {64, 0, {}},
        {4, 0, {}},
    };
    const Image img = makeImage(5, 3, [](int x, int y) {
                          return Px{x / 4.0, y / 2.0, 0.5, 1};
                      }).imageByApplyingTransform(Transform2D::translation(0.5, 0)); // extent 5 × 3 at 0.5
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        LogCapture log;
        testing::internal::CaptureStdout();
        auto bm = Renderer().createBitmap(img, c.bits);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        const std::string out = log.text(logging::Channel::Engine, logging::Level::Warning);
        if (c.wantBits == 0) {
            EXPECT_FALSE(bm);
            EXPECT_EQ(out, "Wrong bits per component: " + std::to_string(c.bits) + "\n");
            continue;
        }
        ASSERT_TRUE(bm);
        EXPECT_EQ(out, "");
        EXPECT_EQ(bm->width(), 5);
        EXPECT_EQ(bm->height(), 3);
        EXPECT_EQ(bm->bitsPerComponent(), c.wantBits);
        EXPECT_EQ(bm->layout().alphaInfo, c.layout);
        EXPECT_EQ(bm->bytesPerRow(), std::size_t(c.wantBits / 8 * 4 * 5));
        // Rendered from (0, 0): the column at x = 2 covers half of two source pixels.
        const int red = c.layout == AlphaInfo::NoneSkipFirst ? 1 : 0;
        EXPECT_NEAR(bm->component(2, 0, red), (1 / 4.0 + 2 / 4.0) / 2, 1.0 / 255);
        EXPECT_NEAR(bm->component(2, 0, red + 1), 1.0, 1.0 / 255); // top row is y = 2
    }
}

TEST(Rendering, BadUseIsHarmless) {
    Renderer ctx;
    std::vector<uint8_t> buf(64, 7);
    EXPECT_FALSE(ctx.render(Image(), {0, 0, 4, 4}, PixelFormat::RGBA8, buf.data(), 16));
    EXPECT_FALSE(ctx.render(twoPixels(), {0, 0, 0, 4}, PixelFormat::RGBA8, buf.data(), 16));
    EXPECT_FALSE(ctx.render(twoPixels(), RectF::null(), PixelFormat::RGBA8, buf.data(), 16));
    EXPECT_FALSE(ctx.render(twoPixels(), {0, 0, 4, 4}, PixelFormat::RGBA8, nullptr, 16));
    EXPECT_EQ(buf, std::vector<uint8_t>(64, 7));
    EXPECT_FALSE(ctx.createBitmap(Image(), 8));
    EXPECT_FALSE(ctx.createBitmap(Image::imageWithColor(Rgba::white()), 8)); // infinite
    // Outside the image is transparent.
    ASSERT_TRUE(ctx.render(twoPixels(), {-1, 0, 4, 1}, PixelFormat::RGBA8, buf.data(), 16));
    EXPECT_EQ(std::vector<uint8_t>(buf.begin(), buf.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(buf.begin() + 12, buf.begin() + 16), (std::vector<uint8_t>{0, 0, 0, 0}));
}

// A render under a flag that is set stops: nothing when set before it starts, and part way when set
// while it runs (from another thread, once its first tiles are done), through whole-image blurs and
// tiled regions alike. Renders outside the scope, and under a flag never set, are untouched.
TEST(Rendering, ACancelledRenderStopsAndGivesNothing) {
    const Image big = makeImage(1200, 900, [](int x, int y) { return Px{x % 7 / 7.0, y % 5 / 5.0, 0.5, 1}; });
    struct Case {
        const char* what;
        double sigma; // 30: one whole-image block; 2: tiles of a region node
    } cases[] = {{"whole-image blur", 30}, {"tiled blur", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto f = filter("gaussian-blur");
        f->setValue("inputImage", big);
        f->setValue("inputRadius", c.sigma);
        const Image blurred = f->outputImage().imageByCroppingToRect(big.extent());
        TileCache::shared().clear();
        eval::resetEvaluationCount();
        const auto whole = Renderer().createBitmap(blurred, 16);
        const uint64_t all = eval::evaluationCount();
        ASSERT_TRUE(whole);

        {
            CancelFlag never;
            CancellationScope scope(&never);
            TileCache::shared().clear();
            const auto again = Renderer().createBitmap(blurred, 16);
            ASSERT_TRUE(again);
            EXPECT_EQ(std::memcmp(again->row(0), whole->row(0), whole->bytesPerRow() * whole->height()), 0);
        }
        {
            CancelFlag before;
            before.cancel();
            CancellationScope scope(&before);
            TileCache::shared().clear();
            eval::resetEvaluationCount();
            EXPECT_FALSE(Renderer().createBitmap(blurred, 16));
            EXPECT_EQ(eval::evaluationCount(), 0u);
        }
        {
            CancelFlag midway;
            TileCache::shared().clear();
            eval::resetEvaluationCount();
            std::atomic<bool> finished{false};
            std::thread canceller([&] {
                while (!finished && eval::evaluationCount() == 0) std::this_thread::yield();
                midway.cancel();
            });
            bool rendered = false;
            {
                CancellationScope scope(&midway);
                rendered = Renderer().createBitmap(blurred, 16).has_value();
            }
            finished = true;
            canceller.join();
            EXPECT_FALSE(rendered);
            EXPECT_LT(eval::evaluationCount(), all);
        }
        // Outside the scope again: whole, and the same.
        TileCache::shared().clear();
        const auto after = Renderer().createBitmap(blurred, 16);
        ASSERT_TRUE(after);
        EXPECT_EQ(std::memcmp(after->row(0), whole->row(0), whole->bytesPerRow() * whole->height()), 0);
    }
}

TEST(Filters, UnknownNamesAndMissingInputsGiveNothing) {
    EXPECT_EQ(Operation::filterWithName("no-such-filter"), nullptr);
    EXPECT_EQ(Operation::filterWithName(""), nullptr);
    for (const std::string& name : Operation::filterNames()) {
        SCOPED_TRACE(name);
        auto f = Operation::filterWithName(name);
        ASSERT_TRUE(f);
        const FilterAttributes& a = f->attributes();
        const bool takesImages = std::any_of(a.inputs.begin(), a.inputs.end(), [](const FilterInputDecl& d) {
            return d.kind == InputKind::Image;
        });
        if (takesImages) {
            EXPECT_FALSE(f->outputImage()) << "no images set";
        }
        // Every input of the wrong type, or removed, makes the output nothing.
        for (const FilterInputDecl& d : a.inputs) {
            auto g = Operation::filterWithName(name);
            for (const FilterInputDecl& i : a.inputs) {
                if (i.kind == InputKind::Image) g->setValue(i.key, makeImage(4, 4, patternA));
            }
            ASSERT_TRUE(g->outputImage()) << "all inputs set";
            g->setValue(d.key, std::string("not a value"));
            EXPECT_FALSE(g->outputImage()) << d.key;
        }
    }
}

TEST(Filters, DefaultsComeFromTheDeclarations) {
    auto f = Operation::filterWithName("gaussian-blur");
    EXPECT_EQ(f->numberInput("inputRadius"), 10.0);
    f->setValue("inputRadius", 3.0);
    f->setDefaults();
    EXPECT_EQ(f->numberInput("inputRadius"), 10.0);
    auto c = Operation::filterWithName("checkerboard");
    EXPECT_EQ(c->vectorInput("inputCenter"), Vec4(150, 150));
    EXPECT_EQ(c->numberInput("inputWidth"), 80.0);
}

TEST(Filters, RegistrationAddsNamesOnce) {
    struct Noop : Operation {
        using Operation::Operation;
        Image outputImage() const override { return Image::imageWithColor(Rgba::white()); }
    };
    auto ctor = [](std::string_view n) { return std::make_shared<Noop>(std::string(n)); };
    EXPECT_TRUE(Operation::registerFilterName("TestNoop", ctor, {}));
    EXPECT_FALSE(Operation::registerFilterName("TestNoop", ctor, {}));
    EXPECT_FALSE(Operation::registerFilterName("gaussian-blur", ctor, {}));
    auto f = Operation::filterWithName("TestNoop");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->name(), "TestNoop");
    EXPECT_TRUE(f->outputImage());
}

} // namespace
} // namespace pimavo::test
