// A kernel filter of two images where the second is stretched to the first one's size:
// (sampler A of inputImage, sampler B of inputImageSecond scaled to A's size, inputParam1), with
// the user information [B's width, B's height, A's width, A's height], cropped to A's extent. Every
// destination pixel reads the same position of both samplers.
#pragma once

#include "KernelFilter.h"

namespace pimavo {

class StretchedPairFilter : public KernelFilter {
public:
    explicit StretchedPairFilter(std::string_view name);
    static bool registerFilter(const std::string& name, const std::string& resource);
    Image outputImage() const override;

    // The image scaled by independent factors (affine-transform).
    static Image scaledImageFromImage(const Image& image, double scaleX, double scaleY);
    // The region of a sampler a destination rectangle needs: the rectangle itself.
    static RectF regionOf(int sampler, const RectF& destRect, const std::vector<float>& userInfo);
};

} // namespace pimavo
