// The typed calls (engine/Operations.h, filters/Effects.h) give the pixels of the operation built by
// name with the same inputs, keys spelt here: a typed call that reached the wrong operation, or set
// a value under a wrong key, renders differently. Every value differs from the declared default.
#include "../engine/EngineTestSupport.h"
#include "engine/Operations.h"
#include "filters/Effects.h"
#include "filters/FilterRegistration.h"

#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace pimavo::test {
namespace {

using Inputs = std::initializer_list<std::pair<const char*, OperationValue>>;

Image byName(const char* name, Inputs inputs) {
    filterRegistration();
    auto f = Operation::filterWithName(name);
    if (!f) return {};
    for (const auto& [key, value] : inputs) f->setValue(key, value);
    return f->outputImage();
}

double worstDifference(const Image& a, const Image& b, const IntRect& rect) {
    const PixelGrid ga = renderGrid(a, rect), gb = renderGrid(b, rect);
    double worst = 0;
    for (std::size_t i = 0; i < ga.px.size(); ++i)
        worst = std::max(worst, double(std::abs(ga.px[i] - gb.px[i])));
    return worst;
}

TEST(TypedCalls, GiveThePixelsOfTheOperationBuiltByName) {
    const Image a = makeImage(24, 18, patternA), b = makeImage(24, 18, patternB);
    const Image mask = makeImage(24, 18, patternMask);
    const Image opaque = makeImage(24, 18, [](int x, int y) { return Px{x / 23.0, y / 17.0, 0.4, 1}; });
    const Vec4 r(0.9, 0.1, 0, 0), g(0.2, 0.7, 0.1, 0), bl(0, 0.3, 0.8, 0), al(0, 0, 0.1, 0.9),
        bias(0.05, 0, 0.1, 0);
    const Transform2D turn = Transform2D::scale(0.5, 0.75);
    ops::Checkerboard board;
    board.center = {3, 4};
    board.color0 = {0.2, 0.4, 0.6, 1};
    board.color1 = {0.9, 0.1, 0.3, 0.5};
    board.width = 5;
    board.sharpness = 0.5;
    effects::BrushDab dab;
    dab.center = {12, 9};
    dab.color0 = {1, 1, 1, 1};
    dab.color1 = {1, 1, 1, 0.25};
    dab.radius0 = 3;
    dab.radius1 = 8;
    dab.softness = 0.5;
    dab.opacity = 0.7;
    const Rgba colour{0.8, 0.3, 0.1, 1};
    struct Case {
        const char* label;
        Image typed, named;
    } cases[] = {
        {"color matrix", ops::colorMatrix(a, r, g, bl, al, bias),
         byName("color-matrix", {{"inputImage", a},
                                 {"inputRVector", r},
                                 {"inputGVector", g},
                                 {"inputBVector", bl},
                                 {"inputAVector", al},
                                 {"inputBiasVector", bias}})},
        {"exposure", ops::exposureAdjust(a, 0.7),
         byName("exposure-adjust", {{"inputImage", a}, {"inputEV", 0.7}})},
        {"colour controls", ops::colorControls(a, 0.3, 0.1, 1.4),
         byName("color-controls", {{"inputImage", a},
                                   {"inputSaturation", 0.3},
                                   {"inputBrightness", 0.1},
                                   {"inputContrast", 1.4}})},
        {"hue", ops::hueAdjust(a, 1.1), byName("hue-adjust", {{"inputImage", a}, {"inputAngle", 1.1}})},
        {"sepia", ops::sepiaTone(a, 0.6), byName("sepia-tone", {{"inputImage", a}, {"inputIntensity", 0.6}})},
        {"invert", ops::colorInvert(a), byName("color-invert", {{"inputImage", a}})},
        {"source over", ops::sourceOver(a, b),
         byName("source-over", {{"inputImage", a}, {"inputBackgroundImage", b}})},
        {"source in", ops::sourceIn(a, b),
         byName("source-in", {{"inputImage", a}, {"inputBackgroundImage", b}})},
        {"multiply", ops::multiplyBlend(a, b),
         byName("multiply-blend", {{"inputImage", a}, {"inputBackgroundImage", b}})},
        {"overlay", ops::overlayBlend(a, b),
         byName("overlay-blend", {{"inputImage", a}, {"inputBackgroundImage", b}})},
        {"blend with mask", ops::blendWithMask(a, b, mask),
         byName("blend-with-mask",
                {{"inputImage", a}, {"inputBackgroundImage", b}, {"inputMaskImage", mask}})},
        {"constant colour", ops::constantColor(colour), byName("constant-color", {{"inputColor", colour}})},
        {"checkerboard", ops::checkerboard(board),
         byName("checkerboard", {{"inputCenter", Vec4(3, 4)},
                                 {"inputColor0", board.color0},
                                 {"inputColor1", board.color1},
                                 {"inputWidth", 5.0},
                                 {"inputSharpness", 0.5}})},
        {"affine", ops::affineTransform(a, turn),
         byName("affine-transform", {{"inputImage", a}, {"inputTransform", turn}})},
        {"blur", ops::gaussianBlur(a, 2.5),
         byName("gaussian-blur", {{"inputImage", a}, {"inputRadius", 2.5}})},
        {"pixellate", ops::pixellate(a, {2, 3}, 4),
         byName("pixellate", {{"inputImage", a}, {"inputCenter", Vec4(2, 3)}, {"inputScale", 4.0}})},
        {"aged", effects::aged(opaque, 0.6), byName("Aged", {{"inputImage", opaque}, {"inputParam1", 0.6}})},
        {"silver blue", effects::silverBlue(opaque, 0.6),
         byName("SilverBlue", {{"inputImage", opaque}, {"inputParam1", 0.6}})},
        {"vignette", effects::vignette(opaque, mask, 0.8),
         byName("Vignette", {{"inputImage", opaque}, {"inputImageSecond", mask}, {"inputParam1", 0.8}})},
        {"set alpha", effects::setAlpha(a, 0.5),
         byName("SetAlpha", {{"inputImage", a}, {"inputParam1", 0.5}})},
        {"invert alpha", effects::invertAlpha(a), byName("InvertAlpha", {{"inputImage", a}})},
        {"merge masks", effects::mergeMasks(mask, opaque),
         byName("MergeMasks", {{"inputImage", mask}, {"inputImageSecond", opaque}})},
        {"merge masks subtract", effects::mergeMasksSubtract(mask, opaque),
         byName("MergeMasksSubtract", {{"inputImage", mask}, {"inputImageSecond", opaque}})},
        {"compose two masks", effects::composeTwoMasks(mask, opaque),
         byName("ComposeTwoMasks", {{"inputImage", mask}, {"inputImageSecond", opaque}})},
        {"erase", effects::erase(mask, opaque),
         byName("EraseFilter", {{"inputImage", mask}, {"inputImageSecond", opaque}})},
        {"colour erase", effects::colorErase(mask, opaque),
         byName("ColorEraseFilter", {{"inputImage", mask}, {"inputImageSecond", opaque}})},
        {"colour draw", effects::colorDraw(mask, opaque, colour),
         byName("ColorDrawFilter",
                {{"inputImage", mask}, {"inputImageSecond", opaque}, {"inputColor", colour}})},
        {"brush dab", effects::brushDab(dab),
         byName("radial-brush", {{"inputCenter", Vec4(12, 9)},
                                 {"inputColor0", dab.color0},
                                 {"inputColor1", dab.color1},
                                 {"inputRadius0", 3.0},
                                 {"inputRadius1", 8.0},
                                 {"inputSoftness", 0.5},
                                 {"inputOpacity", 0.7}})},
        {"drama", effects::drama(opaque, {6, 3, 1.5, 1, 1.2}),
         byName("drama", {{"inputImage", opaque},
                          {"inputRadiusHDR", 6.0},
                          {"inputRadiusHighPass", 3.0},
                          {"inputAmountHighPass", 1.5},
                          {"inputRadiusSharpen", 1.0},
                          {"inputAmountSharpen", 1.2}})},
        {"drama local contrast", effects::dramaLocalContrast(opaque, mask),
         byName("DramaFXHelperHDR", {{"inputImage", opaque}, {"inputImageSecond", mask}})},
        {"drama high pass", effects::dramaHighPass(opaque, mask, 1.3),
         byName("DramaFXHelperHighPass",
                {{"inputImage", opaque}, {"inputImageSecond", mask}, {"inputParam1", 1.3}})},
        {"drama sharpen", effects::dramaSharpen(opaque, mask, 1.3),
         byName("DramaFXHelperSharpen",
                {{"inputImage", opaque}, {"inputImageSecond", mask}, {"inputParam1", 1.3}})},
    };
    const IntRect rect{-2, -2, 26, 20};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(c.named);
        ASSERT_TRUE(c.typed);
        EXPECT_EQ(c.typed.extent(), c.named.extent());
        EXPECT_EQ(worstDifference(c.typed, c.named, rect), 0.0);
    }
}

TEST(TypedCalls, AMissingImageGivesNoImage) {
    const Image a = makeImage(8, 8, patternA);
    struct Case {
        const char* label;
        Image out;
    } cases[] = {
        {"blur", ops::gaussianBlur(Image(), 2)},
        {"source over, no bottom", ops::sourceOver(a, Image())},
        {"blend, no mask", ops::blendWithMask(a, a, Image())},
        {"merge masks, no second", effects::mergeMasks(a, Image())},
        {"drama", effects::drama(Image(), {6, 3, 1.5, 1, 1.2})},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.out) << c.label;
}

} // namespace
} // namespace pimavo::test
