// A kernel filter of two images where the second is stretched to the first one's size:
// (sampler A of inputImage, sampler B of inputImageSecond scaled to A's size, inputParam1), with
// the user information [B's width, B's height, A's width, A's height], cropped to A's extent. Every
// destination pixel reads the same position of both samplers.
#pragma once

#include "CICustomFilter.h"

namespace pimavo {

class CICustomFilterVignettes : public CICustomFilter {
public:
    explicit CICustomFilterVignettes(std::string_view name);
    static bool registerFilter(const std::string& name);
    CIImage outputImage() const override;

    // The image scaled by independent factors ("CIAffineTransform").
    static CIImage scaledImageFromImage(const CIImage& image, double scaleX, double scaleY);
    // The region of a sampler a destination rectangle needs: the rectangle itself.
    static CGRect regionOf(int sampler, const CGRect& destRect, const std::vector<float>& userInfo);
};

} // namespace pimavo
