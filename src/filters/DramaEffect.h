// The drama look: strong local contrast and detail, computed on luminance and signed colour
// differences (Y, Cb, Cr) so that colours do not shift. A tone step against a wide local average,
// a detail step against a narrower one, then unsharp masking, between two colour matrices that
// convert to (Y, Cb, Cr) and back. The answer has exactly the extent of the input.
#pragma once

#include "engine/Operation.h"

namespace pimavo {

class DramaEffect : public Operation {
public:
    DramaEffect();
    // Registers the three helper kernels, then "drama"; false when any resource is missing.
    static bool registerFilter();
    static Operation::Ptr filterWithName(std::string_view name);
    Image outputImage() const override;
};

} // namespace pimavo
