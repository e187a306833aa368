#include "CIFilterDramaFX.h"

#include "CICustomFilter.h"
#include "CICustomFilterTwoImages.h"

namespace pimavo {

namespace {

FilterAttributes dramaAttributes() {
    FilterAttributes a;
    a.displayName = "CIFilterDramaFX";
    a.categories = programFilterCategories();
    a.inputs = {{"inputImage", InputKind::Image, {}, 0, 0, 0, 0, 0},
                {"inputRadiusHDR", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputRadiusHighPass", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputAmountHighPass", InputKind::Scalar, {}, 0, 0, 0, 0, 0},
                {"inputRadiusSharpen", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputAmountSharpen", InputKind::Scalar, {}, 0, 0, 0, 0, 0}};
    return a;
}

CIImage colorMatrix(const CIImage& image, CIVector r, CIVector g, CIVector b) {
    auto f = CIFilter::filterWithName("CIColorMatrix");
    if (!f) return {};
    f->setValue("inputImage", image);
    f->setValue("inputRVector", r);
    f->setValue("inputGVector", g);
    f->setValue("inputBVector", b);
    f->setValue("inputAVector", CIVector(0, 0, 0, 1));
    f->setValue("inputBiasVector", CIVector(0, 0, 0, 0));
    return f->outputImage();
}

// Blurred, cropped to the extent, made opaque again.
CIImage opaqueBlur(const CIImage& image, double radius, const CGRect& extent) {
    auto blur = CIFilter::filterWithName("CIGaussianBlur");
    auto alpha = CIFilter::filterWithName("SetAlpha");
    if (!blur || !alpha) return {};
    blur->setValue("inputImage", image);
    blur->setValue("inputRadius", radius);
    alpha->setValue("inputImage", blur->outputImage().imageByCroppingToRect(extent));
    alpha->setValue("inputParam1", 1.0);
    return alpha->outputImage();
}

CIImage helper(const char* name, const CIImage& first, const CIImage& second, std::optional<double> param) {
    auto f = CIFilter::filterWithName(name);
    if (!f) return {};
    f->setValue("inputImage", first);
    f->setValue("inputImageSecond", second);
    if (param) f->setValue("inputParam1", *param);
    return f->outputImage();
}

} // namespace

CIFilterDramaFX::CIFilterDramaFX() : CIFilter("CIFilterDramaFX", dramaAttributes()) {}

bool CIFilterDramaFX::registerFilter() {
    bool ok = true;
    for (const char* helperName : {"DramaFXHelperHDR", "DramaFXHelperHighPass", "DramaFXHelperSharpen"})
        ok = CICustomFilterTwoImages::registerFilter(helperName) && ok;
    CIFilter::registerFilterName(
        "CIFilterDramaFX",
        [](std::string_view) -> CIFilter::Ptr { return std::make_shared<CIFilterDramaFX>(); },
        dramaAttributes());
    return ok;
}

CIFilter::Ptr CIFilterDramaFX::filterWithName(std::string_view) {
    return std::make_shared<CIFilterDramaFX>();
}

CIImage CIFilterDramaFX::outputImage() const {
    const CIImage image = imageInput("inputImage");
    const auto rHDR = numberInput("inputRadiusHDR"), rHigh = numberInput("inputRadiusHighPass"),
               aHigh = numberInput("inputAmountHighPass"), rSharp = numberInput("inputRadiusSharpen"),
               aSharp = numberInput("inputAmountSharpen");
    if (!image || !rHDR || !rHigh || !aHigh || !rSharp || !aSharp) return {};
    const CGRect E = image.extent();
    const CIVector Y(0.299, 0.587, 0.114, 0);
    const CIImage L = colorMatrix(image, Y, Y, Y);
    const CIImage T = opaqueBlur(L, *rHDR, E);
    // Equal radii give equal averages: compute that blur once.
    const CIImage D = float(*rHigh) == float(*rHDR) ? T : opaqueBlur(L, *rHigh, E);
    const CIImage K =
        colorMatrix(image, Y, CIVector(-0.1687, -0.3313, 0.5, 0), CIVector(0.5, -0.4187, -0.0813, 0));
    const CIImage H = helper("DramaFXHelperHDR", K, T, std::nullopt);
    const CIImage P = helper("DramaFXHelperHighPass", H, D, *aHigh);
    const CIImage S = opaqueBlur(P, *rSharp, E);
    const CIImage Q = helper("DramaFXHelperSharpen", P, S, *aSharp);
    if (!Q) return {};
    return colorMatrix(Q, CIVector(1, 0, 1.402, 0), CIVector(1, -0.34414, -0.71414, 0),
                       CIVector(1, double(1.772f), 0, 0));
}

} // namespace pimavo
