// A two-image kernel filter that also passes inputColor, right after the second sampler.
#pragma once

#include "BinaryKernelFilter.h"

namespace pimavo {

class BinaryColorKernelFilter : public BinaryKernelFilter {
public:
    explicit BinaryColorKernelFilter(std::string_view name);
    static bool registerFilter(const std::string& name, const std::string& resource);
    Image outputImage() const override;

protected:
    void appendMiddle(std::vector<KernelArgument>& args) const override;
};

} // namespace pimavo
