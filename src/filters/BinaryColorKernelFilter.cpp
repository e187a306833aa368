#include "BinaryColorKernelFilter.h"

namespace pimavo {

BinaryColorKernelFilter::BinaryColorKernelFilter(std::string_view name)
    : BinaryKernelFilter(name, {FilterInputDecl{"inputColor", InputKind::Color, {}, 0, 0, 0, 0, 0}}) {}

bool BinaryColorKernelFilter::registerFilter(const std::string& name, const std::string& resource) {
    return registerFilterOf<BinaryColorKernelFilter>(name, resource);
}

Image BinaryColorKernelFilter::outputImage() const {
    if (!colorInput("inputColor")) return {};
    return BinaryKernelFilter::outputImage();
}

void BinaryColorKernelFilter::appendMiddle(std::vector<KernelArgument>& args) const {
    args.emplace_back(*colorInput("inputColor"));
}

} // namespace pimavo
