// Benchmarks of the program's filters, each beside a baseline measured in the same run:
//   AgedKernel_2MP        the "Aged" kernel through the kernel language
//   AgedHandWritten_2MP   the same toning as a hand-written C++ loop (the baseline)
//   Drama2_24MP_ToRGBA16  drama preset 2 on a 24-megapixel photo, flattened into an RGBA16 buffer
//   Dab800_ComposeIntoMask  one 800-pixel dab composed into a 2-megapixel mask, dirty rectangle only
#include "engine/Operation.h"
#include "engine/PaintBuffer.h"
#include "engine/Renderer.h"
#include "engine/TileCache.h"
#include "filters/FilterRegistration.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

using namespace pimavo;

namespace {

constexpr int kW2 = 1920, kH2 = 1080;

BitmapRef floatPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, PixelLayout{32, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < h; ++y) {
        float* p = reinterpret_cast<float*>(bm->row(y));
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = float((x * 7 + y) % 256) / 255.0f;
            p[1] = float((x + y * 3) % 256) / 255.0f;
            p[2] = float((x ^ y) & 255) / 255.0f;
            p[3] = 1.0f;
        }
    }
    return bm;
}

BitmapRef photo8(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    for (int y = 0; y < h; ++y) {
        uint8_t* p = reinterpret_cast<uint8_t*>(bm->row(y));
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = 255;
            p[1] = uint8_t(128 + 100 * std::sin(x * 0.01) * std::cos(y * 0.013));
            p[2] = uint8_t((x + y) % 256);
            p[3] = uint8_t(128 + 90 * std::sin((x + 2 * y) * 0.004));
        }
    }
    return bm;
}

void AgedKernel_2MP(benchmark::State& state) {
    filterRegistration();
    const Image photo = Image::imageWithBitmap(floatPhoto(kW2, kH2));
    auto aged = Operation::filterWithName("Aged");
    aged->setValue("inputImage", photo);
    aged->setValue("inputParam1", 0.8);
    const Image out = aged->outputImage();
    std::vector<float> dst(std::size_t(kW2) * kH2 * 4);
    Renderer ctx;
    for (auto _ : state) {
        ctx.render(out, photo.extent(), PixelFormat::RGBAf, dst.data(), kW2 * 16);
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations() * kW2 * kH2);
}
BENCHMARK(AgedKernel_2MP)->Unit(benchmark::kMillisecond)->UseRealTime();

// The toning of resources/kernels/Aged.cifilter written out by hand, rows in parallel as the
// engine renders them.
void AgedHandWritten_2MP(benchmark::State& state) {
    const BitmapRef photo = floatPhoto(kW2, kH2);
    std::vector<float> dst(std::size_t(kW2) * kH2 * 4);
    const float amount = 0.8f;
    for (auto _ : state) {
        tbb::parallel_for(tbb::blocked_range<int>(0, kH2, 16), [&](const tbb::blocked_range<int>& rows) {
            for (int y = rows.begin(); y != rows.end(); ++y) {
                const float* s = reinterpret_cast<const float*>(photo->row(kH2 - 1 - y));
                float* d = dst.data() + std::size_t(y) * kW2 * 4;
                for (int x = 0; x < kW2; ++x, s += 4, d += 4) {
                    const float a = s[3], inv = a > 0 ? 1.0f / a : 0.0f;
                    const float r = s[0] * inv, g = s[1] * inv, b = s[2] * inv;
                    const float Y = 0.2125f * r + 0.7154f * g + 0.0721f * b;
                    float t[3] = {Y * 1.07f + 0.055f, Y * 0.93f + 0.04f, Y * 0.72f + 0.018f};
                    const float mid[3] = {0.5f, 0.47f, 0.42f}, paper[3] = {0.92f, 0.85f, 0.70f};
                    const float c[3] = {r, g, b};
                    for (int k = 0; k < 3; ++k) {
                        t[k] = mid[k] + (t[k] - mid[k]) * 0.86f;
                        t[k] = t[k] + (paper[k] - t[k]) * 0.08f;
                        d[k] = (c[k] + (t[k] - c[k]) * amount) * a;
                    }
                    d[3] = a;
                }
            }
        });
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetItemsProcessed(state.iterations() * kW2 * kH2);
}
BENCHMARK(AgedHandWritten_2MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void Drama2_24MP_ToRGBA16(benchmark::State& state) {
    filterRegistration();
    const Image photo = Image::imageWithBitmap(photo8(6000, 4000));
    for (auto _ : state) {
        state.PauseTiming();
        TileCache::shared().clear();
        auto drama = Operation::filterWithName("drama");
        drama->setValue("inputImage", photo);
        drama->setValue("inputRadiusHDR", 50.0);
        drama->setValue("inputRadiusHighPass", 50.0);
        drama->setValue("inputAmountHighPass", 1.75);
        drama->setValue("inputRadiusSharpen", 4.0);
        drama->setValue("inputAmountSharpen", 1.5);
        auto buffer = PaintBuffer::imageAccumulatorWithExtent(photo.extent(), PixelFormat::RGBA16);
        state.ResumeTiming();
        buffer->setImage(drama->outputImage());
        benchmark::DoNotOptimize(buffer.get());
    }
}
BENCHMARK(Drama2_24MP_ToRGBA16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void Dab800_ComposeIntoMask(benchmark::State& state) {
    filterRegistration();
    auto mask = PaintBuffer::imageAccumulatorWithExtent({0, 0, kW2, kH2}, PixelFormat::RGBA16);
    mask->setImage(Image::imageWithColor({0, 0, 0, 1}));
    auto brush = Operation::filterWithName("radial-brush");
    brush->setValue("inputColor0", Rgba{1, 1, 1, 1});
    brush->setValue("inputColor1", Rgba{1, 1, 1, 0});
    brush->setValue("inputRadius0", 0.0);
    brush->setValue("inputRadius1", 400.0);
    brush->setValue("inputSoftness", 1.0);
    brush->setValue("inputOpacity", 0.3);
    auto compose = Operation::filterWithName("ComposeTwoMasks");
    int i = 0;
    for (auto _ : state) {
        const double cx = 400 + (i * 37) % (kW2 - 800), cy = 400 + (i * 23) % (kH2 - 800);
        brush->setValue("inputCenter", Vec4(cx, cy));
        const Image d = brush->outputImage();
        // The display holds the mask's previous value meanwhile, as it does while painting.
        const Image before = mask->image();
        compose->setValue("inputImage", d);
        compose->setValue("inputImageSecond", before);
        mask->setImage(compose->outputImage(), d.extent());
        benchmark::DoNotOptimize(before);
        ++i;
    }
}
BENCHMARK(Dab800_ComposeIntoMask)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
