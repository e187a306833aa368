// The drama look: strong local contrast and detail, computed on luminance and signed colour
// differences (Y, Cb, Cr) so that colours do not shift. A tone step against a wide local average,
// a detail step against a narrower one, then unsharp masking, between two colour matrices that
// convert to (Y, Cb, Cr) and back. The answer has exactly the extent of the input.
#pragma once

#include "engine/CIFilter.h"

namespace pimavo {

class CIFilterDramaFX : public CIFilter {
public:
    CIFilterDramaFX();
    // Registers the three helper kernels, then "CIFilterDramaFX"; false when any resource is missing.
    static bool registerFilter();
    static CIFilter::Ptr filterWithName(std::string_view name);
    CIImage outputImage() const override;
};

} // namespace pimavo
