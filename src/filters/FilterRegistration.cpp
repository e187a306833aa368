#include "FilterRegistration.h"

#include "KernelFilter.h"
#include "BinaryKernelFilter.h"
#include "BinaryColorKernelFilter.h"
#include "StretchedPairFilter.h"
#include "DramaEffect.h"
#include "BrushDab.h"

#include <mutex>

namespace pimavo {

void filterRegistration() {
    static std::once_flag once;
    std::call_once(once, [] {
        KernelFilter::registerFilter("Aged");
        KernelFilter::registerFilter("SilverBlue");
        StretchedPairFilter::registerFilter("Vignette");
        StretchedPairFilter::registerFilter("MergeMasks");
        StretchedPairFilter::registerFilter("MergeMasksSubtract");
        KernelFilter::registerFilter("SetAlpha");
        BinaryKernelFilter::registerFilter("ComposeTwoMasks");
        BinaryKernelFilter::registerFilter("EraseFilter");
        BinaryKernelFilter::registerFilter("ColorEraseFilter");
        BinaryColorKernelFilter::registerFilter("ColorDrawFilter");
        KernelFilter::registerFilter("InvertAlpha");
        BrushDab::registerFilter();
        DramaEffect::registerFilter();
    });
}

} // namespace pimavo
