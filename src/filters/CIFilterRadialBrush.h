// The soft round brush dab every mask is painted with: colour 0 out to inputRadius0, moving to
// colour 1 at inputRadius1 and beyond, alpha scaled by inputOpacity, over the square of side
// 2 × inputRadius1 around inputCenter (transparent outside it). One kernel serves every instance.
#pragma once

#include "engine/CIFilter.h"
#include "engine/CIKernel.h"

namespace pimavo {

class CIFilterRadialBrush : public CIFilter {
public:
    CIFilterRadialBrush();
    // Registers "RadialBrush" (and the class name); false without the kernel's resource.
    static bool registerFilter();
    static CIFilter::Ptr filterWithName(std::string_view name);
    CIImage outputImage() const override;
};

} // namespace pimavo
