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
    const CIImage stretched =
        scaledImageFromImage(second, ea.width() / eb.width(), ea.height() / eb.height());
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
