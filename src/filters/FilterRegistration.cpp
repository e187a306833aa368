#include "FilterRegistration.h"

#include "BinaryColorKernelFilter.h"
#include "BinaryKernelFilter.h"
#include "BrushDab.h"
#include "DramaEffect.h"
#include "KernelFilter.h"
#include "StretchedPairFilter.h"

#include <mutex>

namespace pimavo {

void filterRegistration() {
    static std::once_flag once;
    std::call_once(once, [] {
        KernelFilter::registerFilter("aged", "Aged");
        KernelFilter::registerFilter("silver-blue", "SilverBlue");
        StretchedPairFilter::registerFilter("vignette", "Vignette");
        StretchedPairFilter::registerFilter("merge-masks", "MergeMasks");
        StretchedPairFilter::registerFilter("merge-masks-subtract", "MergeMasksSubtract");
        KernelFilter::registerFilter("set-alpha", "SetAlpha");
        BinaryKernelFilter::registerFilter("compose-two-masks", "ComposeTwoMasks");
        BinaryKernelFilter::registerFilter("erase", "EraseFilter");
        BinaryKernelFilter::registerFilter("color-erase", "ColorEraseFilter");
        BinaryColorKernelFilter::registerFilter("color-draw", "ColorDrawFilter");
        KernelFilter::registerFilter("invert-alpha", "InvertAlpha");
        BrushDab::registerFilter();
        DramaEffect::registerFilter();
    });
}

} // namespace pimavo
