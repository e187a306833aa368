// A kernel filter of two images: (sampler A of inputImage, sampler B of inputImageSecond,
// inputParam1..3) over A's domain and extent, cropped to A's extent.
#pragma once

#include "CICustomFilter.h"

namespace pimavo {

class CICustomFilterTwoImages : public CICustomFilter {
public:
    explicit CICustomFilterTwoImages(std::string_view name);
    static bool registerFilter(const std::string& name);
    CIImage outputImage() const override;

protected:
    CICustomFilterTwoImages(std::string_view name, std::vector<FilterInputDecl> extraInputs);
    // The kernel's arguments between the two samplers and the numbers.
    virtual void appendMiddle(std::vector<KernelArgument>&) const {}
};

} // namespace pimavo
