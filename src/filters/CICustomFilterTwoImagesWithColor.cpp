#include "CICustomFilterTwoImagesWithColor.h"

namespace pimavo {

CICustomFilterTwoImagesWithColor::CICustomFilterTwoImagesWithColor(std::string_view name)
    : CICustomFilterTwoImages(name, {FilterInputDecl{"inputColor", InputKind::Color, {}, 0, 0, 0, 0, 0}}) {}

bool CICustomFilterTwoImagesWithColor::registerFilter(const std::string& name) {
    return registerFilterOf<CICustomFilterTwoImagesWithColor>(name);
}

CIImage CICustomFilterTwoImagesWithColor::outputImage() const {
    if (!colorInput("inputColor")) return {};
    return CICustomFilterTwoImages::outputImage();
}

void CICustomFilterTwoImagesWithColor::appendMiddle(std::vector<KernelArgument>& args) const {
    args.emplace_back(*colorInput("inputColor"));
}

} // namespace pimavo
