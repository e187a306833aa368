// Times the engine's Gaussian blur on a raw float RGBA file (as written by `vips rawsave`), so that
// peer tools can be timed on exactly the same pixels. Prints the best wall time in milliseconds.
//   peer_blur FILE WIDTH HEIGHT SIGMA [RUNS]
#include "engine/Evaluator.h"
#include "engine/Operation.h"
#include "engine/TileCache.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace pimavo;

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: peer_blur FILE WIDTH HEIGHT SIGMA [RUNS]\n");
        return 1;
    }
    const int w = std::atoi(argv[2]), h = std::atoi(argv[3]), runs = argc > 5 ? std::atoi(argv[5]) : 3;
    const double sigma = std::atof(argv[4]);
    auto bm = std::make_shared<Bitmap>(w, h, PixelLayout{32, AlphaInfo::PremultipliedLast});
    std::ifstream in(argv[1], std::ios::binary);
    in.read(reinterpret_cast<char*>(bm->row(0)), std::streamsize(bm->bytes().size()));
    if (!in) {
        std::fprintf(stderr, "peer_blur: cannot read %d x %d float RGBA from %s\n", w, h, argv[1]);
        return 1;
    }
    const Image image = Image::imageWithBitmap(BitmapRef(bm));
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        TileCache::shared().clear();
        auto f = Operation::filterWithName("gaussian-blur");
        f->setValue("inputImage", image);
        f->setValue("inputRadius", sigma);
        const Image out = f->outputImage();
        const auto t0 = std::chrono::steady_clock::now();
        TileRef t = eval::renderTile(out.node(), IntRect::covering(out.extent()));
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::printf("%.1f\n", best);
    return 0;
}
