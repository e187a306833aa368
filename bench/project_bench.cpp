// Project benchmarks: what Save costs when it saves a project rather than a picture.
//   SaveProject_24MP       a 24-MP photo's project: its JPEG file kept as it is (about 13 MB), the
//                          mask and the colour layer at the working size (about 2 MP) rendered and
//                          compressed as 16-bit PNG, a 256-pixel thumbnail of a 2-MP picture, the
//                          manifest, written atomically
//   SaveProject_24MP_MaskOnly  the same without a colour layer (the common case)
//   OpenProject_24MP       reading it back: archive, checksums and both layers decoded
//   SaveJpeg_24MP          the baseline in the same run: the 24-MP picture saved as JPEG, as Save
//                          writes a picture
#include "BenchPhotos.h"
#include "canvas/CanvasModel.h"
#include "document/ProjectDocument.h"
#include "imageio/ImageWriter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace pimavo;

namespace {

namespace fs = std::filesystem;

constexpr int kW = 6000, kH = 4000;

struct Fixture {
    std::string dir;
    BitmapRef photo;
    ProjectDocument project;
    Fixture() {
        std::string tmpl = (fs::temp_directory_path() / "pimavo-bench-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
        photo = bench::photo8(kW, kH);
        const std::string jpeg = dir + "/photo.jpg";
        writeImageFile(*photo, jpeg, SaveOptions{}, nullptr, nullptr);
        std::ifstream in(jpeg, std::ios::binary);
        project.originalName = "photo.jpg";
        project.originalBytes = std::make_shared<const std::string>(std::istreambuf_iterator<char>(in),
                                                                    std::istreambuf_iterator<char>());
        const SizeF work = CanvasModel::workingSize(SizeF{kW, kH});
        project.workingWidth = int(work.width);
        project.workingHeight = int(work.height);
        // Painted as a user paints: soft-edged discs of colour over black, a few recoloured patches.
        const int w = project.workingWidth, h = project.workingHeight;
        Bitmap mask(w, h, {16, AlphaInfo::PremultipliedLast}),
            layer(w, h, {16, AlphaInfo::PremultipliedLast});
        for (int y = 0; y < h; ++y) {
            auto* m = reinterpret_cast<uint16_t*>(mask.row(y));
            auto* l = reinterpret_cast<uint16_t*>(layer.row(y));
            for (int x = 0; x < w; ++x, m += 4, l += 4) {
                double v = 0;
                bool recoloured = false;
                for (int i = 0; i < 12; ++i) {
                    const double cx = w * (0.1 + 0.07 * i), cy = h * (0.2 + 0.05 * (i % 7));
                    const double d = std::hypot(x - cx, y - cy);
                    v = std::max(v, std::clamp((140 - d) / 80, 0.0, 1.0));
                    recoloured = recoloured || (i % 4 == 0 && d < 100);
                }
                m[0] = m[1] = m[2] = uint16_t(std::lround(v * 65535));
                l[0] = recoloured ? 13107 : 65535;
                l[1] = recoloured ? 26214 : 65535;
                l[2] = recoloured ? 58982 : 65535;
                m[3] = l[3] = 65535;
            }
        }
        project.mask = Image::imageWithBitmap(std::move(mask));
        project.colorLayer = Image::imageWithBitmap(std::move(layer));
        // The thumbnail is made from a working-size picture; the layer stands in for it.
        project.picture = project.colorLayer;
        project.settings.treatment = Treatment::Sepia;
    }
    ~Fixture() { fs::remove_all(dir); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void saveProject(benchmark::State& state, bool colorLayer) {
    Fixture& f = fixture();
    ProjectDocument p = f.project;
    if (!colorLayer) p.colorLayer = Image();
    std::string error;
    for (auto _ : state)
        if (!writeProjectFile(p, f.dir + "/work.pimavo", &error)) state.SkipWithError(error.c_str());
    state.counters["MB"] = double(fs::file_size(f.dir + "/work.pimavo")) / 1e6;
}

void SaveProject_24MP(benchmark::State& state) {
    saveProject(state, true);
}

void SaveProject_24MP_MaskOnly(benchmark::State& state) {
    saveProject(state, false);
}

void OpenProject_24MP(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string path = f.dir + "/open.pimavo";
    writeProjectFile(f.project, path, nullptr);
    for (auto _ : state) {
        ProjectReadResult r = readProjectFile(path);
        if (!r.project) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r);
    }
}

void SaveJpeg_24MP(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) writeImageFile(*f.photo, f.dir + "/result.jpg", SaveOptions{}, nullptr, nullptr);
}

} // namespace

BENCHMARK(SaveProject_24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveProject_24MP_MaskOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(OpenProject_24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveJpeg_24MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
