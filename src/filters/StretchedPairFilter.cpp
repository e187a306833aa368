#include "StretchedPairFilter.h"

#include "engine/Operations.h"

namespace pimavo {

StretchedPairFilter::StretchedPairFilter(std::string_view name)
    : KernelFilter(name, {FilterInputDecl{"inputImageSecond", InputKind::Image, {}, 0, 0, 0, 0, 0}}) {}

bool StretchedPairFilter::registerFilter(const std::string& name, const std::string& resource) {
    return registerFilterOf<StretchedPairFilter>(name, resource);
}

Image StretchedPairFilter::scaledImageFromImage(const Image& image, double scaleX, double scaleY) {
    return ops::affineTransform(image, Transform2D::scale(scaleX, scaleY));
}

RectF StretchedPairFilter::regionOf(int, const RectF& destRect, const std::vector<float>&) {
    return destRect;
}

Image StretchedPairFilter::outputImage() const {
    const Image first = imageInput("inputImage"), second = imageInput("inputImageSecond");
    if (!filterKernel_ || !first || !second) return {};
    const RectF ea = first.extent(), eb = second.extent();
    if (ea.isEmpty() || eb.isEmpty() || ea.isInfinite() || eb.isInfinite()) return {};
    // Stretched from its edge pixels repeated outward: a stretch of the picture alone would fade to
    // transparent along its border and draw a frame into whatever uses it (masks, vignettes).
    const double sx = ea.width() / eb.width(), sy = ea.height() / eb.height();
    const Image stretched =
        scaledImageFromImage(second.imageByClampingToExtent(), sx, sy)
            .imageByCroppingToRect(RectF(eb.minX() * sx, eb.minY() * sy, ea.width(), ea.height()));
    const Sampler a(first), b(stretched);
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
