#include "Reduction.h"

#include "ImageGeometry.h"
#include "engine/CIFilter.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace pimavo {

bool needsReduction(int width, int height) {
    return double(width) * double(height) > kPixelLimit;
}

int reductionSide(int width, int height) {
    const double longSide = std::max(width, height), shortSide = std::max(1, std::min(width, height));
    return int(std::floor(std::sqrt(longSide / shortSide * kPixelLimit))) - 1;
}

std::optional<Bitmap> resizeImageToCoverSize(const Bitmap& bitmap, CGSize target, int bitsPerComponent) {
    if (bitmap.isNull()) return std::nullopt;
    const CIImage image = CIImage::imageWithBitmap(std::make_shared<const Bitmap>(bitmap));
    const double scale = std::min(target.width / bitmap.width(), target.height / bitmap.height());
    auto f = CIFilter::filterWithName("CIAffineTransform");
    f->setValue("inputImage", image);
    f->setValue("inputTransform", CGAffineTransform::scale(scale, scale));
    return bitmapWithCIImage(f->outputImage(), bitsPerComponent);
}

namespace {
std::atomic<bool> gFailReduction{false};
} // namespace

void simulateReductionFailureForTesting(bool on) {
    gFailReduction = on;
}

void resizeInBackground(BitmapRef bitmap, int bitsPerComponent,
                        std::function<void(std::optional<Bitmap>)> handler) {
    std::thread([bitmap = std::move(bitmap), bitsPerComponent, handler = std::move(handler)] {
        std::optional<Bitmap> result;
        if (bitmap && !gFailReduction) {
            const int side = reductionSide(bitmap->width(), bitmap->height());
            result = resizeImageToCoverSize(*bitmap, {double(side), double(side)}, bitsPerComponent);
        }
        handler(std::move(result));
    }).detach();
}

} // namespace pimavo
