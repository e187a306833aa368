#include "FilterRegistration.h"

#include "CICustomFilter.h"
#include "CICustomFilterTwoImages.h"
#include "CICustomFilterTwoImagesWithColor.h"
#include "CICustomFilterVignettes.h"
#include "CIFilterDramaFX.h"
#include "CIFilterRadialBrush.h"

#include <mutex>

namespace pimavo {

void filterRegistration() {
    static std::once_flag once;
    std::call_once(once, [] {
        CICustomFilter::registerFilter("Aged");
        CICustomFilter::registerFilter("SilverBlue");
        CICustomFilterVignettes::registerFilter("Vignette");
        CICustomFilterVignettes::registerFilter("MergeMasks");
        CICustomFilterVignettes::registerFilter("MergeMasksSubtract");
        CICustomFilter::registerFilter("SetAlpha");
        CICustomFilterTwoImages::registerFilter("ComposeTwoMasks");
        CICustomFilterTwoImages::registerFilter("EraseFilter");
        CICustomFilterTwoImages::registerFilter("ColorEraseFilter");
        CICustomFilterTwoImagesWithColor::registerFilter("ColorDrawFilter");
        CICustomFilter::registerFilter("InvertAlpha");
        CIFilterRadialBrush::registerFilter();
        CIFilterDramaFX::registerFilter();
    });
}

} // namespace pimavo
