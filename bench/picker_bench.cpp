// Colour region picking: the first click of a picker session, as the picker runs it (the photo's
// pixels to a mask, on a fresh cell field), at the picker's working size unless stated.
//   FirstClick_2MP_Sample          the sample photo at 2 megapixels, a click on the ladybird
//   FirstClick_2MP_SampleNoise12   the same with ±12 levels of grain on every channel: the region
//                                  is the same shell, but every step between cells costs something
//   FirstClick_Elephants           a real 18-megapixel photo at the working size, a click in the
//                                  middle (skipped when the photo has not been fetched)
//   FirstClick_FlatGrain/N         N pixels of one colour with ±8 levels of grain: the click takes
//                                  all of it, so the time per pixel should not grow with N
//   FirstClick_ElephantsAt/N       the 18-megapixel photo scaled to N pixels, the same click: the
//                                  time per pixel should not grow with N either
#include "canvas/CanvasModel.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "picker/ColorIsland.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

using namespace pimavo;

namespace {

constexpr const char* kElephants = "/tmp/pimavo-photos/Elephants-18MP.jpg";

// The 18-megapixel photo as decoded, once.
const Bitmap* elephants() {
    static const BitmapRef photo = [] {
        DecodeResult decoded = decodeImageFile(kElephants, false);
        return decoded.image ? decoded.image->bitmap : nullptr;
    }();
    return photo.get();
}

// The sample at 2 megapixels.
std::optional<Bitmap> sample2MP() {
    DecodeResult decoded = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!decoded.image) return std::nullopt;
    const Bitmap& b = *decoded.image->bitmap;
    const double k = std::sqrt(2e6 / (double(b.width()) * b.height()));
    return scaledImageToCoverSize(b, SizeF{std::round(b.width() * k), std::round(b.height() * k)});
}

void addGrain(Bitmap& photo, int amplitude) {
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> grain(-amplitude, amplitude);
    const int red = photo.layout().alphaFirst() ? 1 : 0;
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            for (int c = red; c < red + 3; ++c)
                photo.setComponent(
                    x, y, c, std::clamp(photo.component(x, y, c) + float(grain(rng)) / 255.0f, 0.0f, 1.0f));
}

// The first click at (x, y), as fractions of the photo's size. The fill's diagnostic lines go to
// standard output; they are kept out of the benchmark's table.
void firstClick(benchmark::State& state, const Bitmap& photo, double fx, double fy) {
    const int x = int(photo.width() * fx), y = int(photo.height() * fy);
    const int red = photo.layout().alphaFirst() ? 1 : 0;
    const float colour[3] = {photo.component(x, y, red), photo.component(x, y, red + 1),
                             photo.component(x, y, red + 2)};
    std::fflush(stdout);
    const int saved = ::dup(1);
    std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    std::optional<Bitmap> mask;
    for (auto _ : state) {
        ColorIslandField field;
        mask = imageByMaskingColor(photo, colour, 0.03f, float(x), float(y), field);
        benchmark::DoNotOptimize(mask);
    }
    std::fflush(stdout);
    if (quiet) ::dup2(saved, 1);
    ::close(saved);
    long picked = 0;
    for (int j = 0; mask && j < mask->height(); ++j)
        for (int i = 0; i < mask->width(); ++i)
            picked += reinterpret_cast<const uint8_t*>(mask->row(j))[4 * i] != 0;
    const double pixels = double(photo.width()) * photo.height();
    state.counters["MP"] = pixels / 1e6;
    state.counters["picked%"] = 100.0 * double(picked) / pixels;
    state.counters["ns/px"] = benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
    state.SetComplexityN(int64_t(pixels));
}

void FirstClick_2MP_Sample(benchmark::State& state) {
    static const auto photo = sample2MP();
    if (!photo) return state.SkipWithError("the sample photo could not be opened");
    firstClick(state, *photo, 1770.0 / 2560, 750.0 / 1600);
}
BENCHMARK(FirstClick_2MP_Sample)->Unit(benchmark::kMillisecond)->UseRealTime();

void FirstClick_2MP_SampleNoise12(benchmark::State& state) {
    static const auto photo = [] {
        auto p = sample2MP();
        if (p) addGrain(*p, 12);
        return p;
    }();
    if (!photo) return state.SkipWithError("the sample photo could not be opened");
    firstClick(state, *photo, 1770.0 / 2560, 750.0 / 1600);
}
BENCHMARK(FirstClick_2MP_SampleNoise12)->Unit(benchmark::kMillisecond)->UseRealTime();

bool haveElephants(benchmark::State& state) {
    if (!std::filesystem::exists(kElephants)) {
        std::fprintf(stderr, "%s is absent (../shared/tools/get-photos.sh fetches it): skipped\n",
                     kElephants);
        state.SkipWithError("the 18-megapixel photo is absent");
        return false;
    }
    if (!elephants()) {
        state.SkipWithError("the 18-megapixel photo could not be opened");
        return false;
    }
    return true;
}

void FirstClick_Elephants(benchmark::State& state) {
    if (!haveElephants(state)) return;
    const Bitmap& b = *elephants();
    static const auto photo =
        scaledImageToCoverSize(b, CanvasModel::workingSize(SizeF{double(b.width()), double(b.height())}));
    firstClick(state, *photo, 0.5, 0.5);
}
BENCHMARK(FirstClick_Elephants)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same click at 0.5 to 4 megapixels, to show the cost per pixel holds.
void atSizes(benchmark::internal::Benchmark* b) {
    for (int pixels : {500'000, 1'000'000, 2'000'000, 4'000'000}) b->Arg(pixels);
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity(benchmark::oN);
}

void FirstClick_ElephantsAt(benchmark::State& state) {
    if (!haveElephants(state)) return;
    const Bitmap& b = *elephants();
    const double k = std::sqrt(double(state.range(0)) / (double(b.width()) * b.height()));
    const auto photo =
        scaledImageToCoverSize(b, SizeF{std::round(b.width() * k), std::round(b.height() * k)});
    firstClick(state, *photo, 0.5, 0.5);
}
BENCHMARK(FirstClick_ElephantsAt)->Apply(atSizes);

void FirstClick_FlatGrain(benchmark::State& state) {
    const double pixels = double(state.range(0));
    const int w = int(std::round(std::sqrt(pixels * 1.5))), h = int(std::round(pixels / w));
    Bitmap photo(w, h, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    std::mt19937 rng(2);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = reinterpret_cast<uint8_t*>(photo.row(y));
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = 255;
            p[1] = uint8_t(120 + int(rng() % 17) - 8);
            p[2] = uint8_t(150 + int(rng() % 17) - 8);
            p[3] = uint8_t(200 + int(rng() % 17) - 8);
        }
    }
    firstClick(state, photo, 0.5, 0.5);
}
BENCHMARK(FirstClick_FlatGrain)->Apply(atSizes);

} // namespace

BENCHMARK_MAIN();
