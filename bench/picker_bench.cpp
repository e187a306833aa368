// Colour region picking:
//   FirstClick_2MP_Sample   the fill of a first click on the sample photo at 2 megapixels, as the
//                           picker runs it (the photo's pixels to a mask), on a fresh cell field
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "picker/ColorIsland.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace pimavo;

namespace {

void FirstClick_2MP_Sample(benchmark::State& state) {
    DecodeResult decoded = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!decoded.image) {
        state.SkipWithError("the sample photo could not be opened");
        return;
    }
    const double k =
        std::sqrt(2e6 / (double(decoded.image->bitmap->width()) * decoded.image->bitmap->height()));
    auto photo = scaledImageToCoverSize(*decoded.image->bitmap,
                                        CGSize(std::round(decoded.image->bitmap->width() * k),
                                               std::round(decoded.image->bitmap->height() * k)));
    const int x = int(photo->width() * 1770.0 / 2560), y = int(photo->height() * 750.0 / 1600);
    const int red = photo->layout().alphaFirst() ? 1 : 0;
    const float colour[3] = {photo->component(x, y, red), photo->component(x, y, red + 1),
                             photo->component(x, y, red + 2)};
    for (auto _ : state) {
        ColorIslandField field;
        auto mask = imageByMaskingColor(*photo, colour, 0.03f, float(x), float(y), field);
        benchmark::DoNotOptimize(mask);
    }
}
BENCHMARK(FirstClick_2MP_Sample)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
