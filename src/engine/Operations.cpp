#include "Operations.h"

#include "Operation.h"

#include <cassert>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace pimavo::ops {
namespace {

using Inputs = std::initializer_list<std::pair<std::string_view, OperationValue>>;

Image apply(std::string_view name, Inputs inputs) {
    const Operation::Ptr op = Operation::filterWithName(name);
    assert(op && "every typed operation is registered");
    if (!op) return {};
    for (const auto& [key, value] : inputs) op->setValue(key, value);
    return op->outputImage();
}

Vec4 position(PointF p) {
    return Vec4(p.x, p.y);
}

} // namespace

Image colorMatrix(const Image& image, Vec4 r, Vec4 g, Vec4 b, Vec4 a, Vec4 bias) {
    return apply("color-matrix", {{"inputImage", image},
                                  {"inputRVector", r},
                                  {"inputGVector", g},
                                  {"inputBVector", b},
                                  {"inputAVector", a},
                                  {"inputBiasVector", bias}});
}

Image exposureAdjust(const Image& image, double ev) {
    return apply("exposure-adjust", {{"inputImage", image}, {"inputEV", ev}});
}

Image colorControls(const Image& image, double saturation, double brightness, double contrast) {
    return apply("color-controls", {{"inputImage", image},
                                    {"inputSaturation", saturation},
                                    {"inputBrightness", brightness},
                                    {"inputContrast", contrast}});
}

Image hueAdjust(const Image& image, double angle) {
    return apply("hue-adjust", {{"inputImage", image}, {"inputAngle", angle}});
}

Image sepiaTone(const Image& image, double intensity) {
    return apply("sepia-tone", {{"inputImage", image}, {"inputIntensity", intensity}});
}

Image colorInvert(const Image& image) {
    return apply("color-invert", {{"inputImage", image}});
}

Image sourceOver(const Image& top, const Image& bottom) {
    return apply("source-over", {{"inputImage", top}, {"inputBackgroundImage", bottom}});
}

Image sourceIn(const Image& image, const Image& background) {
    return apply("source-in", {{"inputImage", image}, {"inputBackgroundImage", background}});
}

Image multiplyBlend(const Image& image, const Image& background) {
    return apply("multiply-blend", {{"inputImage", image}, {"inputBackgroundImage", background}});
}

Image overlayBlend(const Image& image, const Image& background) {
    return apply("overlay-blend", {{"inputImage", image}, {"inputBackgroundImage", background}});
}

Image blendWithMask(const Image& foreground, const Image& background, const Image& mask) {
    return apply(
        "blend-with-mask",
        {{"inputImage", foreground}, {"inputBackgroundImage", background}, {"inputMaskImage", mask}});
}

Image constantColor(Rgba color) {
    return apply("constant-color", {{"inputColor", color}});
}

Image checkerboard(const Checkerboard& board) {
    return apply("checkerboard", {{"inputCenter", position(board.center)},
                                  {"inputColor0", board.color0},
                                  {"inputColor1", board.color1},
                                  {"inputWidth", board.width},
                                  {"inputSharpness", board.sharpness}});
}

Image affineTransform(const Image& image, const Transform2D& transform) {
    return apply("affine-transform", {{"inputImage", image}, {"inputTransform", transform}});
}

Image gaussianBlur(const Image& image, double radius) {
    return apply("gaussian-blur", {{"inputImage", image}, {"inputRadius", radius}});
}

Image pixellate(const Image& image, PointF center, double scale) {
    return apply("pixellate",
                 {{"inputImage", image}, {"inputCenter", position(center)}, {"inputScale", scale}});
}

} // namespace pimavo::ops
