#include "CICustomFilterTwoImages.h"

namespace pimavo {

namespace {
std::vector<FilterInputDecl> withSecondImage(std::vector<FilterInputDecl> extra) {
    extra.insert(extra.begin(), FilterInputDecl{"inputImageSecond", InputKind::Image, {}, 0, 0, 0, 0, 0});
    return extra;
}
} // namespace

CICustomFilterTwoImages::CICustomFilterTwoImages(std::string_view name) : CICustomFilterTwoImages(name, {}) {}

CICustomFilterTwoImages::CICustomFilterTwoImages(std::string_view name,
                                                 std::vector<FilterInputDecl> extraInputs)
    : CICustomFilter(name, withSecondImage(std::move(extraInputs))) {}

bool CICustomFilterTwoImages::registerFilter(const std::string& name) {
    return registerFilterOf<CICustomFilterTwoImages>(name);
}

CIImage CICustomFilterTwoImages::outputImage() const {
    const CIImage first = imageInput("inputImage"), second = imageInput("inputImageSecond");
    if (!filterKernel_ || !first || !second) return {};
    const CISampler a(first), b(second);
    std::vector<KernelArgument> args{a, b};
    appendMiddle(args);
    appendParams(args);
    KernelApplyOptions options;
    options.definition = a.definition();
    return filterKernel_->apply(a.extent(), args, options).imageByCroppingToRect(a.extent());
}

} // namespace pimavo
