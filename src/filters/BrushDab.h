// The soft round brush dab every mask is painted with: colour 0 out to inputRadius0, moving to
// colour 1 at inputRadius1 and beyond, alpha scaled by inputOpacity, over the square of side
// 2 × inputRadius1 around inputCenter (transparent outside it). One kernel serves every instance.
#pragma once

#include "engine/Kernel.h"
#include "engine/Operation.h"

namespace pimavo {

class BrushDab : public Operation {
public:
    BrushDab();
    // Registers "RadialBrush" (and the class name); false without the kernel's resource.
    static bool registerFilter();
    static Operation::Ptr filterWithName(std::string_view name);
    Image outputImage() const override;
};

} // namespace pimavo
