#include "Effects.h"

#include "FilterRegistration.h"
#include "engine/Operation.h"

#include <cassert>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace pimavo::effects {
namespace {

using Inputs = std::initializer_list<std::pair<std::string_view, OperationValue>>;

Image apply(std::string_view name, Inputs inputs) {
    filterRegistration();
    const Operation::Ptr op = Operation::filterWithName(name);
    assert(op && "every typed filter is registered");
    if (!op) return {};
    for (const auto& [key, value] : inputs) op->setValue(key, value);
    return op->outputImage();
}

Image pair(std::string_view name, const Image& first, const Image& second) {
    return apply(name, {{"inputImage", first}, {"inputImageSecond", second}});
}

} // namespace

Image aged(const Image& image, double amount) {
    return apply("aged", {{"inputImage", image}, {"inputParam1", amount}});
}

Image silverBlue(const Image& image, double amount) {
    return apply("silver-blue", {{"inputImage", image}, {"inputParam1", amount}});
}

Image vignette(const Image& image, const Image& picture, double amount) {
    return apply("vignette", {{"inputImage", image}, {"inputImageSecond", picture}, {"inputParam1", amount}});
}

Image setAlpha(const Image& image, double alpha) {
    return apply("set-alpha", {{"inputImage", image}, {"inputParam1", alpha}});
}

Image invertAlpha(const Image& image) {
    return apply("invert-alpha", {{"inputImage", image}});
}

Image mergeMasks(const Image& mask, const Image& added) {
    return pair("merge-masks", mask, added);
}

Image mergeMasksSubtract(const Image& mask, const Image& taken) {
    return pair("merge-masks-subtract", mask, taken);
}

Image composeTwoMasks(const Image& dabs, const Image& mask) {
    return pair("compose-two-masks", dabs, mask);
}

Image erase(const Image& dabs, const Image& mask) {
    return pair("erase", dabs, mask);
}

Image colorErase(const Image& dabs, const Image& layer) {
    return pair("color-erase", dabs, layer);
}

Image colorDraw(const Image& dabs, const Image& layer, Rgba color) {
    return apply("color-draw", {{"inputImage", dabs}, {"inputImageSecond", layer}, {"inputColor", color}});
}

Image brushDab(const BrushDab& dab) {
    return apply("radial-brush", {{"inputCenter", Vec4(dab.center.x, dab.center.y)},
                                  {"inputColor0", dab.color0},
                                  {"inputColor1", dab.color1},
                                  {"inputRadius0", dab.radius0},
                                  {"inputRadius1", dab.radius1},
                                  {"inputSoftness", dab.softness},
                                  {"inputOpacity", dab.opacity}});
}

Image drama(const Image& image, const Drama& settings) {
    return apply("drama", {{"inputImage", image},
                           {"inputRadiusHDR", settings.radiusHDR},
                           {"inputRadiusHighPass", settings.radiusHighPass},
                           {"inputAmountHighPass", settings.amountHighPass},
                           {"inputRadiusSharpen", settings.radiusSharpen},
                           {"inputAmountSharpen", settings.amountSharpen}});
}

Image dramaLocalContrast(const Image& yuv, const Image& hdr) {
    return pair("drama-local-contrast", yuv, hdr);
}

Image dramaHighPass(const Image& image, const Image& blurred, double amount) {
    return apply("drama-high-pass",
                 {{"inputImage", image}, {"inputImageSecond", blurred}, {"inputParam1", amount}});
}

Image dramaSharpen(const Image& image, const Image& blurred, double amount) {
    return apply("drama-sharpen",
                 {{"inputImage", image}, {"inputImageSecond", blurred}, {"inputParam1", amount}});
}

} // namespace pimavo::effects
