// Times opening and saving as the editor does, for bench/peers.sh. Prints the best wall time of
// three runs in milliseconds.
//   peer_io open FILE            decode, orient, reduce to a 2-megapixel working copy
//   peer_io save FILE OUT TYPE   decode once, then time saving as TYPE with the file's metadata
#include "engine/Operation.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

using namespace pimavo;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

std::optional<Bitmap> workingCopy(const Bitmap& photo) {
    const double scale = std::min(1.0, std::sqrt(2.0e6 / (double(photo.width()) * photo.height())));
    const Image image = Image::imageWithBitmap(std::make_shared<const Bitmap>(photo))
                            .imageByApplyingTransform(Transform2D::scale(scale, scale));
    return bitmapOfImage(image, photo.bitsPerComponent());
}

} // namespace

int main(int argc, char** argv) {
    std::freopen("/dev/null", "w", stdout); // the decoder's diagnostic line
    if (argc < 3) {
        std::fprintf(stderr, "usage: peer_io open FILE | peer_io save FILE OUT TYPE\n");
        return 1;
    }
    const std::string mode = argv[1], file = argv[2];
    double best = 1e30;
    if (mode == "open") {
        for (int run = 0; run < 3; ++run) {
            const auto t0 = Clock::now();
            DecodeResult r = decodeImageFile(file);
            if (!r.image) {
                std::fprintf(stderr, "%s\n", r.error.c_str());
                return 1;
            }
            auto small = workingCopy(*r.image->bitmap);
            best = std::min(best, ms(t0, Clock::now()));
            if (!small) return 1;
        }
    } else if (mode == "save" && argc >= 5) {
        DecodeResult r = decodeImageFile(file);
        if (!r.image) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
        SaveOptions options;
        options.mimeType = argv[4];
        for (int run = 0; run < 3; ++run) {
            std::string error;
            const auto t0 = Clock::now();
            if (!writeImageFile(*r.image->bitmap, argv[3], options, &r.image->properties, &error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            best = std::min(best, ms(t0, Clock::now()));
        }
    } else {
        std::fprintf(stderr, "usage: peer_io open FILE | peer_io save FILE OUT TYPE\n");
        return 1;
    }
    std::fprintf(stderr, "%.1f\n", best);
    return 0;
}
