#include "Reduction.h"

#include "ImageGeometry.h"
#include "engine/Operations.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace pimavo {

bool needsReduction(int width, int height) {
    return double(width) * double(height) > kPixelLimit;
}

int reductionSide(int width, int height) {
    const double longSide = std::max(width, height), shortSide = std::max(1, std::min(width, height));
    return int(std::floor(std::sqrt(longSide / shortSide * kPixelLimit))) - 1;
}

namespace {

std::optional<Bitmap> fitted(const BitmapRef& bitmap, SizeF target, int bitsPerComponent) {
    if (!bitmap || bitmap->isNull()) return std::nullopt;
    const Image image = Image::imageWithBitmap(bitmap);
    const double scale = std::min(target.width / bitmap->width(), target.height / bitmap->height());
    return bitmapOfImage(ops::affineTransform(image, Transform2D::scale(scale, scale)), bitsPerComponent,
                         bitmap->layout().hasAlpha());
}

} // namespace

SizeF reducedSize(int width, int height) {
    if (!needsReduction(width, height)) return {double(width), double(height)};
    const double side = reductionSide(width, height);
    const double scale = std::min(side / width, side / height);
    // The scaled extent, cut to whole pixels as rendering it into a bitmap cuts it.
    return {std::trunc(width * scale), std::trunc(height * scale)};
}

std::optional<Bitmap> resizeImageToCoverSize(const Bitmap& bitmap, SizeF target, int bitsPerComponent) {
    return fitted(std::make_shared<const Bitmap>(bitmap), target, bitsPerComponent);
}

std::optional<Bitmap> reducedBelowLimit(const BitmapRef& bitmap, int bitsPerComponent) {
    if (!bitmap) return std::nullopt;
    const int side = reductionSide(bitmap->width(), bitmap->height());
    return fitted(bitmap, {double(side), double(side)}, bitsPerComponent);
}

double availableMemory() {
    if (const char* env = std::getenv("PIMAVO_AVAILABLE_MEMORY_MB"))
        if (const double mb = std::strtod(env, nullptr); mb > 0) return mb * 1024 * 1024;
    std::ifstream meminfo("/proc/meminfo");
    std::string key, unit;
    long long kb = 0;
    while (meminfo >> key >> kb >> unit)
        if (key == "MemAvailable:") return double(kb) * 1024;
    const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    return pages > 0 && size > 0 ? double(pages) * double(size) : 1e18;
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
        if (bitmap && !gFailReduction) result = reducedBelowLimit(bitmap, bitsPerComponent);
        handler(std::move(result));
    }).detach();
}

} // namespace pimavo
