#include "BinaryKernelFilter.h"

namespace pimavo {

namespace {
std::vector<FilterInputDecl> withSecondImage(std::vector<FilterInputDecl> extra) {
    extra.insert(extra.begin(), FilterInputDecl{"inputImageSecond", InputKind::Image, {}, 0, 0, 0, 0, 0});
    return extra;
}
} // namespace

BinaryKernelFilter::BinaryKernelFilter(std::string_view name) : BinaryKernelFilter(name, {}) {}

BinaryKernelFilter::BinaryKernelFilter(std::string_view name, std::vector<FilterInputDecl> extraInputs)
    : KernelFilter(name, withSecondImage(std::move(extraInputs))) {}

bool BinaryKernelFilter::registerFilter(const std::string& name, const std::string& resource) {
    return registerFilterOf<BinaryKernelFilter>(name, resource);
}

Image BinaryKernelFilter::outputImage() const {
    const Image first = imageInput("inputImage"), second = imageInput("inputImageSecond");
    if (!filterKernel_ || !first || !second) return {};
    const Sampler a(first), b(second);
    std::vector<KernelArgument> args{a, b};
    appendMiddle(args);
    appendParams(args);
    KernelApplyOptions options;
    options.definition = a.definition();
    return filterKernel_->apply(a.extent(), args, options).imageByCroppingToRect(a.extent());
}

} // namespace pimavo
