// A kernel filter of two images: (sampler A of inputImage, sampler B of inputImageSecond,
// inputParam1..3) over A's domain and extent, cropped to A's extent.
#pragma once

#include "KernelFilter.h"

namespace pimavo {

class BinaryKernelFilter : public KernelFilter {
public:
    explicit BinaryKernelFilter(std::string_view name);
    static bool registerFilter(const std::string& name, const std::string& resource);
    Image outputImage() const override;

protected:
    BinaryKernelFilter(std::string_view name, std::vector<FilterInputDecl> extraInputs);
    // The kernel's arguments between the two samplers and the numbers.
    virtual void appendMiddle(std::vector<KernelArgument>&) const {}
};

} // namespace pimavo
