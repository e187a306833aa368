// The program's own filters: registration, each kernel's contract, the brush dab's geometry, the
// drama chain's arithmetic, and whole-versus-tiled rendering of every kernel.
#include "../engine/EngineTestSupport.h"
#include "LogCapture.h"
#include "engine/Evaluator.h"
#include "engine/PaintBuffer.h"
#include "engine/TileCache.h"
#include "engine/kernel/NativeKernels.h"
#include "filters/BinaryColorKernelFilter.h"
#include "filters/BinaryKernelFilter.h"
#include "filters/BrushDab.h"
#include "filters/DramaEffect.h"
#include "filters/FilterRegistration.h"
#include "filters/KernelFilter.h"
#include "filters/Resources.h"
#include "filters/StretchedPairFilter.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <typeinfo>

namespace pimavo::test {
namespace {

class Filters : public ::testing::Test {
protected:
    static void SetUpTestSuite() { filterRegistration(); }
};

Image grey(double v, int w = 16, int h = 12) {
    return makeImage(w, h, [v](int, int) { return Px{v, v, v, 1}; });
}

Image dab(PointF c, double r0, double r1, double opacity, double rimAlpha = 0) {
    auto f = Operation::filterWithName("CIFilterRadialBrush");
    f->setValue("inputCenter", Vec4(c.x, c.y));
    f->setValue("inputColor0", Rgba{1, 1, 1, 1});
    f->setValue("inputColor1", Rgba{1, 1, 1, rimAlpha});
    f->setValue("inputRadius0", r0);
    f->setValue("inputRadius1", r1);
    f->setValue("inputSoftness", 1.0);
    f->setValue("inputOpacity", opacity);
    return f->outputImage();
}

Image two(const char* name, const Image& a, const Image& b, std::optional<Rgba> color = {},
          std::optional<double> p1 = {}) {
    auto f = Operation::filterWithName(name);
    if (!f) return {};
    f->setValue("inputImage", a);
    f->setValue("inputImageSecond", b);
    if (color) f->setValue("inputColor", *color);
    if (p1) f->setValue("inputParam1", *p1);
    return f->outputImage();
}

TEST_F(Filters, NamesAreOurOwnAndFormerNamesStillFindTheOperation) {
    for (const std::string& name : Operation::filterNames()) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        }));
        ASSERT_FALSE(Operation::attributesForName(name)->formerNames.empty());
    }
    struct Case {
        const char* former;
        const char* name;
    } cases[] = {{"CIGaussianBlur", "gaussian-blur"},
                 {"CISourceOverCompositing", "source-over"},
                 {"CIColorControls", "color-controls"},
                 {"CIAffineTransform", "affine-transform"},
                 {"CIFilterDramaFX", "drama"},
                 {"CIFilterRadialBrush", "radial-brush"},
                 {"RadialBrush", "radial-brush"},
                 {"SetAlpha", "set-alpha"},
                 {"EraseFilter", "erase"},
                 {"DramaFXHelperHDR", "drama-local-contrast"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.former);
        const FilterAttributes* byFormer = Operation::attributesForName(c.former);
        ASSERT_TRUE(byFormer);
        EXPECT_EQ(byFormer, Operation::attributesForName(c.name));
        EXPECT_EQ(byFormer->displayName, c.name);
        auto op = Operation::filterWithName(c.former);
        ASSERT_TRUE(op);
        EXPECT_EQ(typeid(*op), typeid(*Operation::filterWithName(c.name)));
    }
    // A former name is taken: nothing else registers under it.
    EXPECT_FALSE(Operation::registerFilterName(
        "CIGaussianBlur", [](std::string_view) { return Operation::filterWithName("gaussian-blur"); }, {}));
    FilterAttributes clash;
    clash.formerNames = {"SetAlpha"};
    EXPECT_FALSE(Operation::registerFilterName(
        "new-set-alpha", [](std::string_view) { return Operation::filterWithName("set-alpha"); }, clash));
    EXPECT_FALSE(Operation::attributesForName("new-set-alpha"));
}

TEST_F(Filters, EachIsRegisteredAndCreatedByName) {
    const auto names = Operation::filterNames();
    const std::vector<std::string> ours = {"aged",
                                           "silver-blue",
                                           "vignette",
                                           "merge-masks",
                                           "merge-masks-subtract",
                                           "set-alpha",
                                           "compose-two-masks",
                                           "erase",
                                           "color-erase",
                                           "color-draw",
                                           "invert-alpha",
                                           "radial-brush",
                                           "drama-local-contrast",
                                           "drama-high-pass",
                                           "drama-sharpen",
                                           "drama"};
    for (const std::string& n : ours) {
        EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
        EXPECT_TRUE(Operation::filterWithName(n)) << n;
        const FilterAttributes* a = Operation::attributesForName(n);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->displayName, n);
        EXPECT_EQ(a->categories, programFilterCategories());
    }
    EXPECT_TRUE(std::dynamic_pointer_cast<StretchedPairFilter>(Operation::filterWithName("MergeMasks")));
    EXPECT_TRUE(
        std::dynamic_pointer_cast<BinaryColorKernelFilter>(Operation::filterWithName("ColorDrawFilter")));
    EXPECT_TRUE(std::dynamic_pointer_cast<BrushDab>(Operation::filterWithName("CIFilterRadialBrush")));
    EXPECT_TRUE(std::dynamic_pointer_cast<DramaEffect>(Operation::filterWithName("CIFilterDramaFX")));
    // The parameters are described, never set.
    const FilterAttributes custom = KernelFilter::customAttributes();
    ASSERT_EQ(custom.inputs.size(), 3u);
    EXPECT_EQ(std::get<double>(custom.inputs[0].defaultValue), 0.5);
    EXPECT_FALSE(Operation::filterWithName("Aged")->numberInput("inputParam1"));
}

TEST_F(Filters, MissingOrBrokenKernelsGiveNoImage) {
    EXPECT_FALSE(KernelFilter::registerFilter("no-such-kernel", "NoSuchKernel"));
    EXPECT_EQ(Operation::filterWithName("NoSuchKernel"), nullptr);
    KernelFilter missing("NoSuchKernel");
    missing.setValue("inputImage", grey(0.5));
    EXPECT_FALSE(missing.filterKernel());
    EXPECT_FALSE(missing.outputImage());

    addResource("BrokenKernel", "cifilter", "kernel vec4 broken(sampler s) {\n  return sample(s, \n}\n");
    LogCapture log;
    KernelFilter broken("BrokenKernel");
    const std::string err = log.text(logging::Channel::Filters, logging::Level::Warning);
    EXPECT_FALSE(broken.filterKernel());
    EXPECT_EQ(err.rfind("BrokenKernel.cifilter:3:1: ", 0), 0u) << err;
    broken.setValue("inputImage", grey(0.5));
    EXPECT_FALSE(broken.outputImage());
    removeAddedResource("BrokenKernel", "cifilter");
}

TEST_F(Filters, DabCoversItsSquareAndFallsOff) {
    const Image hard = dab({50, 50}, 10, 10, 0.6);
    EXPECT_TRUE(hard.extent() == RectF(40, 40, 20, 20)) << hard.extent().description();
    const PixelGrid g = renderGrid(hard, {36, 36, 64, 64});
    for (int y = 36; y < 64; ++y)
        for (int x = 36; x < 64; ++x) {
            const double d = std::hypot(x + 0.5 - 50, y + 0.5 - 50);
            const Px p = g.at(x, y);
            if (x < 40 || y < 40 || x >= 60 || y >= 60 || d > 10.01) {
                ASSERT_EQ(p[3], 0.0) << x << "," << y;
            } else if (d < 9.99) {
                ASSERT_NEAR(p[3], 0.6, 1e-6) << x << "," << y;
            }
            if (p[3] > 0) {
                ASSERT_NEAR(p[0], p[3], 1e-6); // white, premultiplied
            }
        }
    // Soft: full at the centre, fading with distance, gone at radius 1.
    const PixelGrid s = renderGrid(dab({50, 50}, 0, 10, 1.0), {40, 40, 60, 60});
    double previous = 1.1;
    for (int x = 50; x < 60; ++x) {
        const double a = s.at(x, 49)[3];
        EXPECT_LT(a, previous) << x;
        previous = a;
    }
    EXPECT_GT(s.at(50, 50)[3], 0.95);
    EXPECT_LT(s.at(59, 50)[3], 0.02);
}

TEST_F(Filters, MaskKernelsKeepTheirContracts) {
    struct Case {
        const char* label;
        std::function<Image()> build;
        double want; // the red channel, everywhere
    } cases[] = {
        {"ComposeTwoMasks with a half dab",
         [] {
             return two("ComposeTwoMasks",
                        makeImage(16, 12,
                                  [](int, int) {
                                      return Px{0.5, 0.5, 0.5, 0.5};
                                  }),
                        grey(0.2));
         },
         0.6},
        {"EraseFilter darkens by coverage",
         [] {
             return two("EraseFilter",
                        makeImage(16, 12,
                                  [](int, int) {
                                      return Px{0.5, 0.5, 0.5, 0.5};
                                  }),
                        grey(0.8));
         },
         0.4},
        {"ColorDrawFilter paints towards the colour",
         [] {
             return two("ColorDrawFilter",
                        makeImage(16, 12,
                                  [](int, int) {
                                      return Px{0.5, 0.5, 0.5, 0.5};
                                  }),
                        grey(1.0), Rgba{0.2, 0.1, 0.9, 1});
         },
         0.6},
        {"ColorDrawFilter without coverage keeps white",
         [] {
             return two("ColorDrawFilter",
                        makeImage(16, 12,
                                  [](int, int) {
                                      return Px{0, 0, 0, 0};
                                  }),
                        grey(1.0), Rgba{0.2, 0.1, 0.9, 1});
         },
         1.0},
        {"ColorEraseFilter goes back to white",
         [] {
             return two("ColorEraseFilter",
                        makeImage(16, 12,
                                  [](int, int) {
                                      return Px{1, 1, 1, 1};
                                  }),
                        grey(0.3));
         },
         1.0},
        {"MergeMasks is the union", [] { return two("MergeMasks", grey(0.3), grey(0.7)); }, 0.7},
        {"MergeMasks keeps A's white", [] { return two("MergeMasks", grey(0.9), grey(0.1)); }, 0.9},
        {"MergeMasksSubtract removes B's white",
         [] { return two("MergeMasksSubtract", grey(0.9), grey(1.0)); }, 0.0},
        {"MergeMasksSubtract keeps A where B is black",
         [] { return two("MergeMasksSubtract", grey(0.9), grey(0.0)); }, 0.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const Image out = c.build();
        ASSERT_TRUE(out);
        const PixelGrid g = renderGrid(out, {0, 0, 16, 12});
        EXPECT_NEAR(g.at(7, 5)[0], c.want, 1e-6);
    }
    // A real dab: white where it covers, the mask untouched outside.
    const PixelGrid painted =
        renderGrid(two("ComposeTwoMasks", dab({8, 6}, 3, 3, 1.0), grey(0.2)), {0, 0, 16, 12});
    EXPECT_NEAR(painted.at(8, 6)[0], 1.0, 1e-6);
    EXPECT_NEAR(painted.at(0, 0)[0], 0.0, 1e-6); // outside the dab's square: cropped to the dab
}

TEST_F(Filters, GeometryOfTheTwoImageClasses) {
    // A second image larger than the first: the result has the first one's extent.
    const Image small = grey(0.3, 10, 8), large = grey(0.7, 40, 30);
    EXPECT_TRUE(two("ComposeTwoMasks", small, large).extent() == RectF(0, 0, 10, 8));
    // The stretched second image: 100 × 50 with 400 × 400 reads it scaled by 0.25 and 0.125.
    addResource("SecondProbe", "cifilter",
                "kernel vec4 probe(sampler a, sampler b) { return sample(b, samplerCoord(b)); }");
    ASSERT_TRUE(StretchedPairFilter::registerFilter("SecondProbe", "SecondProbe"));
    const Image first = grey(0.5, 100, 50);
    const Image second = makeImage(400, 400, [](int x, int y) { return Px{x / 400.0, y / 400.0, 0, 1}; });
    const Image out = two("SecondProbe", first, second);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out.extent() == RectF(0, 0, 100, 50));
    const PixelGrid g = renderGrid(out, {0, 0, 100, 50});
    // Output pixel (x, y) shows the second image around (x / 0.25, y / 0.125), averaged over the
    // 4 × 8 source pixels it covers.
    for (auto [x, y] : {std::pair{10, 5}, std::pair{73, 41}}) {
        EXPECT_NEAR(g.at(x, y)[0], (4 * x + 1.5) / 400.0, 1e-4);
        EXPECT_NEAR(g.at(x, y)[1], (8 * y + 3.5) / 400.0, 1e-4);
    }
    // Stretched, a second image keeps its colour to the border: a white region picked on a smaller
    // picture makes the whole mask white, its outermost pixels too, whichever way it is stretched.
    for (const SizeF size : {SizeF{37, 23}, SizeF{250, 130}}) {
        const Image white = grey(1.0, int(size.width), int(size.height));
        const PixelGrid merged = renderGrid(two("MergeMasks", grey(0.0, 100, 50), white), {0, 0, 100, 50});
        for (int x = 0; x < 100; ++x)
            for (int y : {0, 49})
                ASSERT_NEAR(merged.at(x, y)[0], 1.0, 1e-5) << size.width << ": " << x << "," << y;
        for (int y = 0; y < 50; ++y)
            for (int x : {0, 99})
                ASSERT_NEAR(merged.at(x, y)[0], 1.0, 1e-5) << size.width << ": " << x << "," << y;
    }
}

TEST_F(Filters, TonesAndAlpha) {
    const Image photo = makeImage(20, 10, [](int x, int y) {
        return Px{0.1 + 0.04 * x, 0.8 - 0.05 * y, 0.3, 1};
    });
    const PixelGrid original = renderGrid(photo, {0, 0, 20, 10});
    for (const char* name : {"Aged", "SilverBlue"}) {
        SCOPED_TRACE(name);
        auto f = Operation::filterWithName(name);
        f->setValue("inputImage", photo);
        f->setValue("inputParam1", 0.0);
        const PixelGrid none = renderGrid(f->outputImage(), {0, 0, 20, 10});
        for (std::size_t i = 0; i < none.px.size(); ++i) ASSERT_NEAR(none.px[i], original.px[i], 2e-6);
        f->setValue("inputParam1", 1.0);
        const PixelGrid full = renderGrid(f->outputImage(), {0, 0, 20, 10});
        for (int x = 0; x < 20; x += 3) {
            const Px p = full.at(x, 4);
            if (std::string(name) == "Aged") {
                EXPECT_GT(p[0], p[1]); // warm
                EXPECT_GT(p[1], p[2]);
            } else {
                EXPECT_GT(p[2], p[0]); // cool
            }
        }
    }
    auto alpha = Operation::filterWithName("SetAlpha");
    alpha->setValue("inputImage", makeImage(2, 1, [](int, int) { return Px{0.2, 0.1, 0.05, 0.5}; }));
    alpha->setValue("inputParam1", 1.0);
    EXPECT_EQ(renderGrid(alpha->outputImage(), {0, 0, 1, 1}).at(0, 0), (Px{0.4f, 0.2f, 0.1f, 1}));
}

TEST_F(Filters, DramaChainKeepsSignedColourDifferences) {
    // With helpers that pass their first image through, the chain is two inverse colour matrices.
    const char* helpers[] = {"DramaFXHelperHDR", "DramaFXHelperHighPass", "DramaFXHelperSharpen"};
    std::vector<std::string> saved;
    for (const char* h : helpers) {
        saved.emplace_back(*resourceData(h, "cifilter"));
        addResource(h, "cifilter",
                    "kernel vec4 pass(sampler a, sampler b, float k) { return sample(a, samplerCoord(a)); }");
    }
    const Image photo = makeImage(24, 16, [](int x, int y) {
        if (x == 3 && y == 3) return Px{1, 0, 0, 1}; // pure red: Cb is negative
        return Px{std::fmod(0.13 * x, 1.0), std::fmod(0.07 * y + 0.2, 1.0), 0.5 + 0.02 * (x - y), 1};
    });
    auto drama = Operation::filterWithName("CIFilterDramaFX");
    drama->setValue("inputImage", photo);
    for (auto [k, v] : {std::pair{"inputRadiusHDR", 9.0},
                        {"inputRadiusHighPass", 5.0},
                        {"inputAmountHighPass", 1.75},
                        {"inputRadiusSharpen", 4.0},
                        {"inputAmountSharpen", 1.5}})
        drama->setValue(k, v);
    const Image out = drama->outputImage();
    ASSERT_TRUE(out);
    EXPECT_TRUE(out.extent() == photo.extent());
    const PixelGrid got = renderGrid(out, {0, 0, 24, 16}), want = renderGrid(photo, {0, 0, 24, 16});
    for (std::size_t i = 0; i < got.px.size(); ++i) ASSERT_NEAR(got.px[i], want.px[i], 1e-3) << i;
    for (std::size_t i = 0; i < 3; ++i) addResource(helpers[i], "cifilter", saved[i]);

    // The real helpers: the answer has the input's extent, and grey stays grey.
    const Image greyPhoto = makeImage(40, 30, [](int x, int) {
        return Px{0.2 + 0.015 * x, 0.2 + 0.015 * x, 0.2 + 0.015 * x, 1};
    });
    drama->setValue("inputImage", greyPhoto);
    const Image real = drama->outputImage();
    EXPECT_TRUE(real.extent() == greyPhoto.extent());
    const PixelGrid g = renderGrid(real, {0, 0, 40, 30});
    for (int x = 0; x < 40; x += 7) {
        const Px p = g.at(x, 15);
        EXPECT_NEAR(p[0], p[1], 1e-4);
        EXPECT_NEAR(p[1], p[2], 1e-4);
    }
}

TEST_F(Filters, EveryKernelRendersIdenticallyInTiles) {
    const Image a = makeImage(37, 23, patternA), b = makeImage(31, 29, patternB);
    std::vector<std::pair<std::string, Image>> outputs;
    for (const char* one : {"Aged", "SilverBlue", "SetAlpha", "InvertAlpha"}) {
        auto f = Operation::filterWithName(one);
        f->setValue("inputImage", a);
        f->setValue("inputParam1", 0.7);
        outputs.emplace_back(one, f->outputImage());
    }
    for (const char* name :
         {"Vignette", "MergeMasks", "MergeMasksSubtract", "ComposeTwoMasks", "EraseFilter",
          "ColorEraseFilter", "DramaFXHelperHDR", "DramaFXHelperHighPass", "DramaFXHelperSharpen"})
        outputs.emplace_back(name, two(name, a, b, {}, 0.6));
    outputs.emplace_back("ColorDrawFilter", two("ColorDrawFilter", a, b, Rgba{0.9, 0.2, 0.1, 1}));
    outputs.emplace_back("RadialBrush", dab({12.3, 9.7}, 2, 8.5, 0.8));
    for (const auto& [name, image] : outputs) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(image);
        const IntRect region = IntRect::enclosing(image.extent()).grownBy(2, 2);
        eval::setTileSize(eval::kDefaultTileSize);
        const PixelGrid whole = renderGrid(image, region);
        TileCache::shared().clear();
        eval::setTileSize(8);
        EXPECT_EQ(renderGridInPieces(image, region, 7).px, whole.px);
        eval::setTileSize(eval::kDefaultTileSize);
    }
}

} // namespace
} // namespace pimavo::test

namespace pimavo::test {
namespace {

Image layered(const std::vector<Image>& dabs) {
    Image together = dabs.front();
    for (std::size_t i = 1; i < dabs.size(); ++i) {
        auto over = Operation::filterWithName("CISourceOverCompositing");
        over->setValue("inputImage", dabs[i]);
        over->setValue("inputBackgroundImage", together);
        together = over->outputImage();
    }
    return together;
}

Image dabsOnMask(const char* maskKernel) {
    const std::vector<Image> dabs = {dab({-3, 4}, 0, 9, 1.0), dab({10.5, 12.2}, 2.5, 9.0, 0.8),
                                     dab({24, 14}, 6, 6, 0.5), dab({36, 20}, 0, 14, 0.3),
                                     dab({20, 6}, 1, 8, 0.7, 0.4)};
    const Image mask = makeImage(40, 24, patternMask);
    return kernel::layDabsOnMask(dabs, two(maskKernel, layered(dabs), mask));
}

// The brush's kernels run as hand-written loops: they must compute what the kernel texts say, for
// soft and hard dabs, partial opacity, and masks with every kind of content underneath.
TEST(NativeKernels, TheBrushLoopsMatchTheKernelTexts) {
    filterRegistration();
    struct Case {
        const char* what;
        std::function<Image()> make;
    } cases[] = {
        {"soft dab",
         [] {
             return dab({20.3, 11.7}, 2.5, 9.0, 0.8);
         }},
        {"hard dab",
         [] {
             return dab({7, 7}, 6.0, 6.0, 1.0);
         }},
        {"compose",
         [] {
             return two("ComposeTwoMasks", dab({15, 9}, 0, 12, 0.6), makeImage(40, 24, patternMask));
         }},
        {"erase",
         [] {
             return two("EraseFilter", dab({15, 9}, 3, 10, 0.5), makeImage(40, 24, patternMask));
         }},
        {"compose over signed",
         [] { return two("ComposeTwoMasks", makeImage(40, 24, patternA), makeImage(40, 24, patternB)); }},
        // Several dabs of a stroke, some reaching past the mask's edge, laid in one loop.
        {"dabs laid on a mask", [] { return dabsOnMask("ComposeTwoMasks"); }},
        {"dabs erasing a mask", [] { return dabsOnMask("EraseFilter"); }},
    };
    const IntRect area{0, 0, 40, 24};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kernel::setNativeKernelsEnabled(false);
        const PixelGrid interpreted = renderGrid(c.make(), area);
        kernel::setNativeKernelsEnabled(true);
        const PixelGrid native = renderGrid(c.make(), area);
        ASSERT_EQ(interpreted.px.size(), native.px.size());
        double worst = 0;
        for (std::size_t i = 0; i < native.px.size(); ++i)
            worst = std::max(worst, double(std::abs(native.px[i] - interpreted.px[i])));
        EXPECT_LT(worst, 1e-5);
    }
}

// The one-loop compositions read mask buffers themselves, as one lane where a buffer is opaque grey
// and as four elsewhere; every kind of content must give the pixels of the filters' graph.
TEST(NativeKernels, StrokeCompositionsMatchTheirGraphsOnEveryBuffer) {
    filterRegistration();
    const int W = 300, H = 200;
    auto greyWave = [](int x, int y) {
        const double v = 0.5 + 0.45 * std::sin(x * 0.05) * std::cos(y * 0.07);
        return Px{v, v, v, 1};
    };
    auto coloured = [](int x, int y) { return Px{0.2 + 0.002 * x, 0.6, 0.9 - 0.003 * y, 1}; };
    struct Content {
        const char* what;
        std::function<void(PaintBuffer&)> fill;
    } contents[] = {
        {"grey", [&](PaintBuffer& a) { a.setImage(makeImage(W, H, greyWave)); }},
        {"grey with a coloured patch",
         [&](PaintBuffer& a) {
             a.setImage(makeImage(W, H, greyWave));
             a.setImage(makeImage(W, H, coloured), {140, 60, 90, 50});
         }},
        {"partly empty",
         [&](PaintBuffer& a) {
             a.setImage(makeImage(W, H, greyWave), {0, 0, 200, 120});
         }},
    };
    auto buffer = [&](const Content& c) {
        auto a = PaintBuffer::imageAccumulatorWithExtent({0, 0, double(W), double(H)}, PixelFormat::RGBA16);
        c.fill(*a);
        return a->image();
    };
    const IntRect area{0, 0, W, H};
    // The mask as it is, as the mask of a blend (which reads one lane of it) and under a
    // compositing (which reads all four).
    auto uses = [&](const Image& mask) {
        auto blend = Operation::filterWithName("CIBlendWithMask");
        blend->setValue("inputImage", makeImage(W, H, patternA));
        blend->setValue("inputBackgroundImage", makeImage(W, H, patternB));
        blend->setValue("inputMaskImage", mask);
        auto over = Operation::filterWithName("CISourceOverCompositing");
        over->setValue("inputImage", makeImage(W, H, patternA));
        over->setValue("inputBackgroundImage", mask);
        return std::vector<Image>{mask, blend->outputImage(), over->outputImage()};
    };
    auto expectSame = [&](const Image& fused, const Image& graph) {
        EXPECT_NE(fused.node(), graph.node()); // the one loop is in use
        const auto fusedUses = uses(fused), graphUses = uses(graph);
        for (std::size_t u = 0; u < fusedUses.size(); ++u) {
            const PixelGrid a = renderGrid(fusedUses[u], area), b = renderGrid(graphUses[u], area);
            double worst = 0;
            for (std::size_t i = 0; i < a.px.size(); ++i)
                worst = std::max(worst, double(std::abs(a.px[i] - b.px[i])));
            EXPECT_LT(worst, 1e-6) << "use " << u;
        }
    };
    for (const Content& strokeContent : contents)
        for (const Content& beforeContent : contents) {
            SCOPED_TRACE(std::string("stroke ") + strokeContent.what + ", before " + beforeContent.what);
            const Image stroke = buffer(strokeContent), before = buffer(beforeContent);
            const float opacity = 0.75f;
            auto in = Operation::filterWithName("CISourceInCompositing");
            in->setValue("inputImage", stroke);
            in->setValue("inputBackgroundImage", Image::imageWithColor({1, 1, 1, opacity}));
            const Image graph = two("ComposeTwoMasks", before, in->outputImage());
            expectSame(kernel::layStrokeOnMask(stroke, opacity, before, graph), graph);
        }
    for (const char* maskKernel : {"ComposeTwoMasks", "EraseFilter"})
        for (const Content& maskContent : contents) {
            SCOPED_TRACE(std::string(maskKernel) + " on " + maskContent.what);
            // The last has a translucent rim: it covers its whole square, not only its circle.
            const std::vector<Image> dabs = {dab({100, 80}, 0, 60, 1.0), dab({160, 90}, 20, 70, 0.6),
                                             dab({210, 120}, 10, 75, 0.5, 0.3)};
            const Image graph = two(maskKernel, layered(dabs), buffer(maskContent));
            expectSame(kernel::layDabsOnMask(dabs, graph), graph);
        }
}

// Only grey dabs have the one-loop composition; any other keeps the filters' own graph.
TEST(NativeKernels, ColouredDabsKeepTheirGraph) {
    filterRegistration();
    auto f = Operation::filterWithName("CIFilterRadialBrush");
    f->setValue("inputCenter", Vec4(10, 10));
    f->setValue("inputColor0", Rgba{1, 0, 0, 1});
    f->setValue("inputRadius0", 2.0);
    f->setValue("inputRadius1", 8.0);
    const std::vector<Image> dabs = {f->outputImage(), dab({12, 9}, 0, 9, 1.0)};
    const Image composed = two("ComposeTwoMasks", layered(dabs), makeImage(40, 24, patternMask));
    EXPECT_EQ(kernel::layDabsOnMask(dabs, composed).node(), composed.node());
    const std::vector<Image> grey = {dab({12, 9}, 0, 9, 1.0)};
    const Image greyComposed = two("ComposeTwoMasks", grey.front(), makeImage(40, 24, patternMask));
    EXPECT_NE(kernel::layDabsOnMask(grey, greyComposed).node(), greyComposed.node());
    // Nor does a composition that is not one of the mask kernels.
    const Image other = two("CIMultiplyBlendMode", grey.front(), makeImage(40, 24, patternMask));
    EXPECT_EQ(kernel::layDabsOnMask(grey, other).node(), other.node());
}

// The loops are in use for the kernels as written; an edited kernel text falls back to the
// interpreter, and this says so, so that the loop is brought up to date with it.
TEST(NativeKernels, TheBrushKernelsHaveTheirLoops) {
    for (const char* name : {"RadialBrush", "ComposeTwoMasks", "EraseFilter"}) {
        SCOPED_TRACE(name);
        const auto text = resourceData(name, "cifilter");
        ASSERT_TRUE(text);
        std::string error;
        const auto kernels = Kernel::kernelsWithString(std::string(*text), name, &error);
        ASSERT_EQ(kernels.size(), 1u) << error;
        EXPECT_TRUE(kernel::hasNativeLoop(*kernels.front().program()));
    }
}

} // namespace
} // namespace pimavo::test
