// Engine benchmarks. Each job is printed beside a baseline measured in the same run, so ratios stay
// meaningful from one machine to another:
//   Recompose_2MP       vs Memcpy_2MP_8bit (a plain copy of the same output)
//   Blur_24MP_sigma90   vs Blur_24MP_sigma10 (cost must not grow with σ)
//   Blur_2MP_sigma14
//   AccumulatorDirty800 (an 800 × 800 dirty rectangle into a 2 MP RGBA16 buffer)
//   Downscale_24MP_to_2MP
#include "BenchPhotos.h"
#include "engine/Evaluator.h"
#include "engine/Operation.h"
#include "engine/PaintBuffer.h"
#include "engine/Renderer.h"
#include "engine/TileCache.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace pimavo;

namespace {

constexpr int kW2 = 1920, kH2 = 1080;   // 2 MP
constexpr int kW24 = 6000, kH24 = 4000; // 24 MP

using bench::photo8;

BitmapRef photoFloat(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, PixelLayout{32, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < h; ++y) {
        float* p = reinterpret_cast<float*>(bm->row(y));
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = float((x ^ y) & 255) / 255.0f;
            p[1] = float(x % 97) / 97.0f;
            p[2] = float(y % 89) / 89.0f;
            p[3] = 1.0f;
        }
    }
    return bm;
}

Image filtered(const char* name, std::initializer_list<std::pair<const char*, OperationValue>> values) {
    auto f = Operation::filterWithName(name);
    for (const auto& [k, v] : values) f->setValue(k, v);
    return f->outputImage();
}

void Memcpy_2MP_8bit(benchmark::State& state) {
    std::vector<uint8_t> src(std::size_t(kW2) * kH2 * 4, 1), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Memcpy_2MP_8bit)->Unit(benchmark::kMillisecond)->UseRealTime();

void Recompose_2MP(benchmark::State& state) {
    const Image photo = Image::imageWithBitmap(photo8(kW2, kH2));
    Image fg = filtered("exposure-adjust", {{"inputImage", photo}, {"inputEV", 0.3}});
    fg = filtered(
        "color-controls",
        {{"inputImage", fg}, {"inputSaturation", 1.2}, {"inputBrightness", 0.01}, {"inputContrast", 1.1}});
    fg = filtered("hue-adjust", {{"inputImage", fg}, {"inputAngle", 0.2}});
    const Image bg = filtered("color-controls", {{"inputImage", photo}, {"inputSaturation", 0.0}});
    auto mask = PaintBuffer::imageAccumulatorWithExtent(photo.extent(), PixelFormat::RGBA16);
    mask->setImage(filtered("checkerboard", {{"inputWidth", 200.0}}));
    const Image out =
        filtered("blend-with-mask",
                 {{"inputImage", fg}, {"inputBackgroundImage", bg}, {"inputMaskImage", mask->image()}});
    std::vector<uint8_t> dst(std::size_t(kW2) * kH2 * 4);
    Renderer ctx;
    for (auto _ : state) {
        ctx.render(out, photo.extent(), PixelFormat::ARGB8, dst.data(), kW2 * 4);
        benchmark::DoNotOptimize(dst.data());
    }
}
BENCHMARK(Recompose_2MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void blur(benchmark::State& state, int w, int h, double sigma) {
    const Image photo = Image::imageWithBitmap(photoFloat(w, h));
    for (auto _ : state) {
        state.PauseTiming();
        TileCache::shared().clear();
        const Image out = filtered("gaussian-blur", {{"inputImage", photo}, {"inputRadius", sigma}});
        state.ResumeTiming();
        TileRef t = eval::renderTile(out.node(), IntRect::covering(out.extent()));
        benchmark::DoNotOptimize(t.get());
    }
}

void Blur_24MP_sigma10(benchmark::State& s) {
    blur(s, kW24, kH24, 10);
}
void Blur_24MP_sigma90(benchmark::State& s) {
    blur(s, kW24, kH24, 90);
}
void Blur_2MP_sigma14(benchmark::State& s) {
    blur(s, kW2, kH2, 14);
}
BENCHMARK(Blur_24MP_sigma10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Blur_24MP_sigma90)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Blur_2MP_sigma14)->Unit(benchmark::kMillisecond)->UseRealTime();

void AccumulatorDirty800(benchmark::State& state) {
    auto acc = PaintBuffer::imageAccumulatorWithExtent({0, 0, kW2, kH2}, PixelFormat::RGBA16);
    acc->setImage(Image::imageWithColor({0.2, 0.2, 0.2, 1}));
    const Image paint = Image::imageWithColor({1, 1, 1, 0.05});
    int i = 0;
    for (auto _ : state) {
        // As painting does: the display holds the previous content while the buffer is written.
        const Image before = acc->image();
        const RectF dirty((i * 97) % (kW2 - 800), (i * 53) % (kH2 - 800), 800, 800);
        acc->setImage(filtered("source-over", {{"inputImage", paint}, {"inputBackgroundImage", before}}),
                      dirty);
        ++i;
        benchmark::DoNotOptimize(before);
    }
}
BENCHMARK(AccumulatorDirty800)->Unit(benchmark::kMillisecond)->UseRealTime();

void Downscale_24MP_to_2MP(benchmark::State& state) {
    const Image photo = Image::imageWithBitmap(photo8(kW24, kH24));
    const double s = std::sqrt(2.0e6 / (double(kW24) * kH24));
    const int ow = int(kW24 * s), oh = int(kH24 * s);
    std::vector<uint8_t> dst(std::size_t(ow) * oh * 4);
    Renderer ctx;
    for (auto _ : state) {
        state.PauseTiming();
        TileCache::shared().clear();
        const Image out = filtered("affine-transform",
                                   {{"inputImage", photo}, {"inputTransform", Transform2D::scale(s, s)}});
        state.ResumeTiming();
        ctx.render(out, RectF(0, 0, ow, oh), PixelFormat::ARGB8, dst.data(), ow * 4);
        benchmark::DoNotOptimize(dst.data());
    }
}
BENCHMARK(Downscale_24MP_to_2MP)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
