#include "DramaEffect.h"

#include "BinaryKernelFilter.h"
#include "Effects.h"
#include "KernelFilter.h"
#include "engine/Operations.h"

namespace pimavo {

namespace {

FilterAttributes dramaAttributes() {
    FilterAttributes a;
    a.displayName = "drama";
    a.categories = programFilterCategories();
    a.formerNames = {"CIFilterDramaFX"};
    a.inputs = {{"inputImage", InputKind::Image, {}, 0, 0, 0, 0, 0},
                {"inputRadiusHDR", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputRadiusHighPass", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputAmountHighPass", InputKind::Scalar, {}, 0, 0, 0, 0, 0},
                {"inputRadiusSharpen", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputAmountSharpen", InputKind::Scalar, {}, 0, 0, 0, 0, 0}};
    return a;
}

Image colorMatrix(const Image& image, Vec4 r, Vec4 g, Vec4 b) {
    return ops::colorMatrix(image, r, g, b, Vec4(0, 0, 0, 1), Vec4(0, 0, 0, 0));
}

// A blur of opaque colour: the border it fades out takes its alpha back.
Image opaqueBlur(const Image& image, double radius, const RectF& extent) {
    return effects::setAlpha(ops::gaussianBlur(image, radius).imageByCroppingToRect(extent), 1.0);
}

} // namespace

DramaEffect::DramaEffect() : Operation("drama", dramaAttributes()) {}

bool DramaEffect::registerFilter() {
    bool ok = true;
    ok = BinaryKernelFilter::registerFilter("drama-local-contrast", "DramaFXHelperHDR") && ok;
    ok = BinaryKernelFilter::registerFilter("drama-high-pass", "DramaFXHelperHighPass") && ok;
    ok = BinaryKernelFilter::registerFilter("drama-sharpen", "DramaFXHelperSharpen") && ok;
    Operation::registerFilterName(
        "drama", [](std::string_view) -> Operation::Ptr { return std::make_shared<DramaEffect>(); },
        dramaAttributes());
    return ok;
}

Operation::Ptr DramaEffect::filterWithName(std::string_view) {
    return std::make_shared<DramaEffect>();
}

Image DramaEffect::outputImage() const {
    const Image image = imageInput("inputImage");
    const auto rHDR = numberInput("inputRadiusHDR"), rHigh = numberInput("inputRadiusHighPass"),
               aHigh = numberInput("inputAmountHighPass"), rSharp = numberInput("inputRadiusSharpen"),
               aSharp = numberInput("inputAmountSharpen");
    if (!image || !rHDR || !rHigh || !aHigh || !rSharp || !aSharp) return {};
    const RectF E = image.extent();
    const Vec4 Y(0.299, 0.587, 0.114, 0);
    const Image L = colorMatrix(image, Y, Y, Y);
    const Image T = opaqueBlur(L, *rHDR, E);
    // Equal radii give equal averages: compute that blur once.
    const Image D = float(*rHigh) == float(*rHDR) ? T : opaqueBlur(L, *rHigh, E);
    const Image K = colorMatrix(image, Y, Vec4(-0.1687, -0.3313, 0.5, 0), Vec4(0.5, -0.4187, -0.0813, 0));
    const Image H = effects::dramaLocalContrast(K, T);
    const Image P = effects::dramaHighPass(H, D, *aHigh);
    const Image S = opaqueBlur(P, *rSharp, E);
    const Image Q = effects::dramaSharpen(P, S, *aSharp);
    if (!Q) return {};
    return colorMatrix(Q, Vec4(1, 0, 1.402, 0), Vec4(1, -0.34414, -0.71414, 0),
                       Vec4(1, double(1.772f), 0, 0));
}

} // namespace pimavo
