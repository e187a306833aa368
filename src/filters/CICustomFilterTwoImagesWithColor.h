// A two-image kernel filter that also passes inputColor, right after the second sampler.
#pragma once

#include "CICustomFilterTwoImages.h"

namespace pimavo {

class CICustomFilterTwoImagesWithColor : public CICustomFilterTwoImages {
public:
    explicit CICustomFilterTwoImagesWithColor(std::string_view name);
    static bool registerFilter(const std::string& name);
    CIImage outputImage() const override;

protected:
    void appendMiddle(std::vector<KernelArgument>& args) const override;
};

} // namespace pimavo
