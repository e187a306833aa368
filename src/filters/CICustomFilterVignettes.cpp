#include "CICustomFilterVignettes.h"

namespace pimavo {

CICustomFilterVignettes::CICustomFilterVignettes(std::string_view name)
    : CICustomFilter(name, {FilterInputDecl{"inputImageSecond", InputKind::Image, {}, 0, 0, 0, 0, 0}}) {}

bool CICustomFilterVignettes::registerFilter(const std::string& name) {
    return registerFilterOf<CICustomFilterVignettes>(name);
}

CIImage CICustomFilterVignettes::scaledImageFromImage(const CIImage& image, double scaleX, double scaleY) {
    auto f = CIFilter::filterWithName("CIAffineTransform");
    if (!f) return {};
    f->setValue("inputImage", image);
    f->setValue("inputTransform", CGAffineTransform::scale(scaleX, scaleY));
    return f->outputImage();
}

CGRect CICustomFilterVignettes::regionOf(int, const CGRect& destRect, const std::vector<float>&) {
    return destRect;
}

CIImage CICustomFilterVignettes::outputImage() const {
    const CIImage first = imageInput("inputImage"), second = imageInput("inputImageSecond");
    if (!filterKernel_ || !first || !second) return {};
    const CGRect ea = first.extent(), eb = second.extent();
    if (ea.isEmpty() || eb.isEmpty() || ea.isInfinite() || eb.isInfinite()) return {};
    // Stretched from its edge pixels repeated outward: a stretch of the picture alone would fade to
    // transparent along its border and draw a frame into whatever uses it (masks, vignettes).
    const double sx = ea.width() / eb.width(), sy = ea.height() / eb.height();
    const CIImage stretched =
        scaledImageFromImage(second.imageByClampingToExtent(), sx, sy)
            .imageByCroppingToRect(CGRect(eb.minX() * sx, eb.minY() * sy, ea.width(), ea.height()));
    const CISampler a(first), b(stretched);
    std::vector<KernelArgument> args{a, b};
    args.emplace_back(float(numberInput("inputParam1").value_or(0.0)));
    KernelApplyOptions options;
    options.userInfo = {float(b.extent().width()), float(b.extent().height()), float(ea.width()),
                        float(ea.height())};
    // The region of interest is the destination rectangle itself, which is what point-wise reading
    // gives without a callback.
    return filterKernel_->apply(ea, args, options).imageByCroppingToRect(ea);
}

} // namespace pimavo
