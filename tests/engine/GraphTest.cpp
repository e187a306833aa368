// How graphs are evaluated: shared nodes once, deep chains without trouble, cached blocks reused,
// parallel renders consistent; and kernels applied through the kernel hook.
#include "EngineTestSupport.h"
#include "engine/Evaluator.h"
#include "engine/Kernel.h"
#include "engine/TileCache.h"

#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace pimavo::test {
namespace {

Image over(const Image& s, const Image& d) {
    auto f = filter("source-over");
    f->setValue("inputImage", s);
    f->setValue("inputBackgroundImage", d);
    return f->outputImage();
}

Image halve(const Image& i) {
    auto f = filter("color-matrix");
    f->setValue("inputImage", i);
    f->setValue("inputAVector", Vec4(0, 0, 0, 0.5));
    return f->outputImage();
}

// Source-in over a constant colour takes a shortcut; it must give what the general composition
// gives over an image of that colour, for every kind of source pixel and colour.
TEST(Graph, SourceInOverAConstantMatchesTheGeneralComposition) {
    for (const Rgba& colour :
         {Rgba{1, 1, 1, 0.75}, Rgba{0.2, 0.4, 0.9, 0.3}, Rgba{0, 0, 0, 0}, Rgba{1, 0, 0, 1}}) {
        SCOPED_TRACE(colour.alpha);
        const Image source = makeImage(23, 17, patternA);
        auto in = filter("source-in");
        in->setValue("inputImage", source);
        in->setValue("inputBackgroundImage", Image::imageWithColor(colour));
        const Image shortcut = in->outputImage();
        const float a = float(colour.alpha);
        const Image plane = makeImage(23, 17, [&](int, int) {
            return Px{colour.red * a, colour.green * a, colour.blue * a, a};
        });
        in->setValue("inputBackgroundImage", plane);
        const Image general = in->outputImage();
        EXPECT_EQ(shortcut.extent(), general.extent());
        const IntRect area{-2, -2, 25, 19};
        const PixelGrid x = renderGrid(shortcut, area), y = renderGrid(general, area);
        for (std::size_t i = 0; i < x.px.size(); ++i) ASSERT_NEAR(x.px[i], y.px[i], 1e-6) << i;
    }
}

TEST(Graph, SharedNodeIsEvaluatedOncePerSpan) {
    // Each level feeds both inputs of the next: evaluated naively, level 24 would cost 2^24 per pixel.
    Image img = makeImage(64, 8, patternA);
    constexpr int kLevels = 24;
    for (int i = 0; i < kLevels; ++i) img = over(halve(img), img);
    eval::resetEvaluationCount();
    const PixelGrid g = renderGrid(img, {0, 0, 64, 8});
    // 8 rows, one span each, (bitmap + 2 nodes per level) evaluations per span.
    EXPECT_LE(eval::evaluationCount(), uint64_t(8 * (1 + 2 * kLevels)));
    // Alpha: a_{n+1} = a_n / 2 + a_n (1 − a_n / 2), checked at one pixel.
    double a = patternA(5, 3)[3];
    for (int i = 0; i < kLevels; ++i) a = a / 2 + a * (1 - a / 2);
    EXPECT_NEAR(g.at(5, 3)[3], a, 1e-5);
}

TEST(Graph, RegionNodesSharedByManyConsumers) {
    // Shifted copies make each level need its input over a different rectangle; the work may grow
    // with the square of the depth, never exponentially (2^16 renders of 20 rows would be millions).
    Image img = makeImage(40, 20, patternA);
    for (int i = 0; i < 16; ++i) {
        const Image left = img.imageByApplyingTransform(Transform2D::translation(1, 0));
        img = over(halve(left), img);
    }
    eval::resetEvaluationCount();
    renderGrid(img, {0, 0, 60, 20});
    EXPECT_LT(eval::evaluationCount(), 20000u);
}

TEST(Graph, DeepChainsRender) {
    Image img = makeImage(16, 16, patternA);
    for (int i = 0; i < 5000; ++i) img = img.imageByCroppingToRect({0, 0, 16.0 - (i % 2) * 0.25, 16});
    for (int i = 0; i < 3000; ++i) img = over(halve(img), Image::emptyImage());
    EXPECT_NO_FATAL_FAILURE(renderGrid(img, {0, 0, 16, 16}));
}

TEST(Graph, BlocksAreComputedOnceAndShared) {
    auto blur = filter("gaussian-blur");
    blur->setValue("inputImage", makeImage(300, 200, patternA));
    blur->setValue("inputRadius", 12.0);
    const Image out = blur->outputImage();
    TileCache::shared().clear();
    eval::resetEvaluationCount();
    const PixelGrid first = renderGrid(out, {0, 0, 300, 200});
    const uint64_t afterFirst = eval::evaluationCount();
    const PixelGrid again = renderGrid(out, {100, 50, 200, 150});
    EXPECT_EQ(eval::evaluationCount(), afterFirst) << "the second render recomputed the blur";
    EXPECT_EQ(again.at(120, 60), first.at(120, 60));

    // Many threads asking at once get the same pixels, computed once.
    TileCache::shared().clear();
    eval::resetEvaluationCount();
    std::vector<PixelGrid> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] { results[t] = renderGrid(out, {0, 0, 300, 200}); });
    for (auto& t : threads) t.join();
    for (const PixelGrid& r : results) EXPECT_EQ(r.px, first.px);
    EXPECT_LT(eval::evaluationCount(), 2 * afterFirst);
}

TEST(Graph, CacheStaysWithinItsCapacity) {
    TileCache cache(1000);
    for (int i = 0; i < 10; ++i)
        cache.getOrCompute({1, i, 0}, [] {
            return std::make_shared<Tile>(IntRect{0, 0, 4, 4});
        }); // 256 bytes
    EXPECT_LE(cache.bytesUsed(), 1000u);
    EXPECT_TRUE(cache.find({1, 9, 0}));
    EXPECT_FALSE(cache.find({1, 0, 0}));
    cache.purgeNode(1);
    EXPECT_EQ(cache.entryCount(), 0u);
}

// A native program standing in for a compiled kernel: out = sample(s, coord + offset) * gain.
class ShiftProgram final : public KernelProgram {
public:
    ShiftProgram(bool pointWise) : pointWise_(pointWise) {}
    const std::string& name() const override { return name_; }
    bool isPointWise() const override { return pointWise_; }
    void evalSpan(const KernelSpanContext& c, SpanBuffer& out) const override {
        const float gain = std::get<float>(c.arguments[1]);
        const float dx = c.userInfo && !c.userInfo->empty() ? (*c.userInfo)[0] : 0.0f;
        SpanBuffer s;
        const SpanBuffer* src = nullptr;
        if (pointWise_) {
            src = c.samples[0];
        } else {
            float xs[kSpanWidth], ys[kSpanWidth];
            for (int i = 0; i < c.pos.n; ++i) xs[i] = c.pos.x + i + 0.5f + dx, ys[i] = c.pos.y + 0.5f;
            c.access->sample(0, xs, ys, c.pos.n, s);
            src = &s;
        }
        for (int i = 0; i < c.pos.n; ++i) {
            out.r[i] = src->r[i] * gain, out.g[i] = src->g[i] * gain;
            out.b[i] = src->b[i] * gain, out.a[i] = src->a[i] * gain;
        }
    }

private:
    bool pointWise_;
    std::string name_ = "Shift";
};

TEST(Kernels, PointWiseAndRegionKernelsThroughTheHook) {
    const Image src = makeImage(30, 10, patternA);
    const PixelGrid g = makeGrid(30, 10, patternA);
    const Sampler s = Sampler::samplerWithImage(src);

    const Image pw = Kernel(std::make_shared<ShiftProgram>(true)).apply(s.extent(), {s, 0.5f});
    ASSERT_TRUE(pw);
    const PixelGrid a = renderGrid(pw, {0, 0, 30, 10});
    EXPECT_NEAR(a.at(7, 3)[0], g.at(7, 3)[0] * 0.5, 1e-6);

    KernelApplyOptions opts;
    opts.userInfo = {3.0f};
    const Image shifted =
        Kernel(std::make_shared<ShiftProgram>(false))
            .apply(s.extent(), {s, 2.0f}, opts, [](int, const RectF& r) { return r.offsetBy(3, 0); });
    const PixelGrid b = renderGrid(shifted, {0, 0, 30, 10});
    EXPECT_NEAR(b.at(7, 3)[1], g.at(10, 3)[1] * 2, 1e-6);
    EXPECT_EQ(b.at(28, 3), (Px{0, 0, 0, 0})); // reads beyond the source
    eval::setTileSize(4);
    EXPECT_EQ(renderGridInPieces(shifted, {0, 0, 30, 10}, 3).px, b.px);
    eval::setTileSize(eval::kDefaultTileSize);

    // A sampler without an image gives no image.
    EXPECT_FALSE(Kernel(std::make_shared<ShiftProgram>(true)).apply({0, 0, 4, 4}, {Sampler(), 1.0f}));
}

} // namespace
} // namespace pimavo::test
