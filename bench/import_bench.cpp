// Import: thumbnails of a camera card's photos into the desktop's cache (cold and warm), the
// media browser's first screen over a library of 20,000 photos, and a page from SANE's test
// scanner at 300 dpi.
//
// The photos are the sample photographs (PIMAVO_BENCH_PHOTOS, by default /tmp/pimavo-photos; the
// editor's own sample when that is missing), real camera-size JPEGs. The 1,000-photo card and the
// 20,000-photo library are made of hard links to them, so that every file is a whole camera JPEG to
// decode while the disk holds each only once.
#include "import/MediaBrowserPanel.h"
#include "import/ScannerDevice.h"
#include "import/ThumbnailCache.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace pimavo;

QStringList samplePhotos() {
    const QString folder = qEnvironmentVariable("PIMAVO_BENCH_PHOTOS", "/tmp/pimavo-photos");
    QStringList out;
    for (const QString& name : QDir(folder).entryList({"*.jpg", "*.JPG", "*.jpeg"}, QDir::Files))
        out << QDir(folder).filePath(name);
    if (out.isEmpty()) out << PIMAVO_SAMPLE_PHOTO;
    return out;
}

// `count` photos in `folder`: copies of the samples, then hard links to them.
QStringList makePhotos(const QString& folder, int count) {
    QDir().mkpath(folder);
    const QStringList samples = samplePhotos();
    QStringList originals, out;
    for (int i = 0; i < samples.size(); ++i) {
        const QString copy = folder + QString("/IMG_%1.JPG").arg(i, 5, 10, QChar('0'));
        QFile::copy(samples[i], copy);
        originals << copy;
    }
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QString("/IMG_%1.JPG").arg(i, 5, 10, QChar('0'));
        if (i >= originals.size() && ::link(QFile::encodeName(originals[i % originals.size()]).constData(),
                                            QFile::encodeName(path).constData()) != 0)
            QFile::copy(originals[i % originals.size()], path);
        out << path;
    }
    return out;
}

struct Card {
    QTemporaryDir dir;
    QStringList photos = makePhotos(dir.filePath("card"), 1000);
};

Card& card() {
    static Card c;
    return c;
}

// Thumbnails of every photo on the threads the machine has, as the browser's pool makes them.
void thumbnailAll(const ThumbnailCache& cache, const QStringList& photos) {
    std::atomic<int> next{0};
    std::vector<std::jthread> threads;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back([&] {
            for (int i; (i = next++) < photos.size();)
                benchmark::DoNotOptimize(cache.thumbnail(photos[i], ThumbnailSize::Normal));
        });
}

void BM_Thumbnails1000Cold(benchmark::State& state) {
    Card& c = card();
    for (auto _ : state) {
        state.PauseTiming();
        QDir(c.dir.filePath("thumbnails")).removeRecursively();
        state.ResumeTiming();
        thumbnailAll(ThumbnailCache(c.dir.filePath("thumbnails")), c.photos);
    }
    state.SetItemsProcessed(state.iterations() * c.photos.size());
}
BENCHMARK(BM_Thumbnails1000Cold)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// The same with camera files that carry their own EXIF preview (PIMAVO_BENCH_CAMERA, by default the
// shared camera samples): the preview stands in for decoding the photo.
void BM_Thumbnails1000ColdCameraPreviews(benchmark::State& state) {
    const QString folder = qEnvironmentVariable("PIMAVO_BENCH_CAMERA", PIMAVO_CAMERA_SAMPLES);
    if (QDir(folder).entryList({"*.jpg"}, QDir::Files).isEmpty()) {
        state.SkipWithError("no camera samples");
        return;
    }
    qputenv("PIMAVO_BENCH_PHOTOS", QFile::encodeName(folder));
    QTemporaryDir dir;
    const QStringList photos = makePhotos(dir.filePath("card"), 1000);
    qunsetenv("PIMAVO_BENCH_PHOTOS");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(dir.filePath("thumbnails")).removeRecursively();
        state.ResumeTiming();
        thumbnailAll(ThumbnailCache(dir.filePath("thumbnails")), photos);
    }
    state.SetItemsProcessed(state.iterations() * photos.size());
}
BENCHMARK(BM_Thumbnails1000ColdCameraPreviews)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Thumbnails1000Warm(benchmark::State& state) {
    Card& c = card();
    const ThumbnailCache cache(c.dir.filePath("thumbnails"));
    thumbnailAll(cache, c.photos);
    for (auto _ : state) thumbnailAll(cache, c.photos);
    state.SetItemsProcessed(state.iterations() * c.photos.size());
}
BENCHMARK(BM_Thumbnails1000Warm)->Unit(benchmark::kMillisecond)->UseRealTime();

// A single camera JPEG decoded whole by Qt and then scaled, for comparison with the reduced decode.
void BM_ThumbnailOneFullDecodeBaseline(benchmark::State& state) {
    const QString photo = card().photos.first();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            QImage(photo).scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
BENCHMARK(BM_ThumbnailOneFullDecodeBaseline)->Unit(benchmark::kMillisecond);

void BM_ThumbnailOneReducedDecode(benchmark::State& state) {
    const QString photo = card().photos.first();
    for (auto _ : state) benchmark::DoNotOptimize(decodeReduced(photo, 128));
}
BENCHMARK(BM_ThumbnailOneReducedDecode)->Unit(benchmark::kMillisecond);

// A 3 MP camera JPEG through its own EXIF preview.
void BM_ThumbnailOneCameraPreview(benchmark::State& state) {
    const QString photo = QString(PIMAVO_CAMERA_SAMPLES) + "/canon-powershot-sx60.jpg";
    if (!QFile::exists(photo)) state.SkipWithError("no camera samples");
    for (auto _ : state) benchmark::DoNotOptimize(decodeReduced(photo, 128));
}
BENCHMARK(BM_ThumbnailOneCameraPreview)->Unit(benchmark::kMillisecond);

struct Library {
    QTemporaryDir dir;
    QStringList photos = makePhotos(dir.filePath("Pictures"), 20000);
};

Library& library() {
    static Library l;
    return l;
}

void BM_LibraryScan20000(benchmark::State& state) {
    Library& l = library();
    for (auto _ : state) benchmark::DoNotOptimize(collectPhotos({{l.dir.filePath("Pictures")}, {}, {}}));
}
BENCHMARK(BM_LibraryScan20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The view lays its cells out and asks for the ones it paints on the event loop's next passes.
void showFirstScreen(MediaBrowserPanel& panel, const std::vector<PhotoEntry>& photos) {
    panel.setPhotos(photos);
    while (panel.model()->requested() == 0) QApplication::processEvents(QEventLoop::AllEvents, 1);
    panel.model()->waitForThumbnails();
    QApplication::processEvents(); // and paints them
}

// From handing the browser 20,000 photos to every visible cell showing its thumbnail.
void firstScreen(benchmark::State& state, bool warm) {
    Library& l = library();
    const auto photos = collectPhotos({{l.dir.filePath("Pictures")}, {}, {}});
    const QString root = l.dir.filePath("thumbnails");
    MediaBrowserPanel panel(nullptr, ThumbnailCache(root));
    panel.resize(600, 860);
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel)) state.SkipWithError("the panel did not show");
    if (warm) showFirstScreen(panel, photos);
    int shown = 0;
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            QDir(root).removeRecursively();
            state.ResumeTiming();
        }
        showFirstScreen(panel, photos);
        shown = panel.model()->requested();
    }
    state.counters["cells"] = shown;
}
void BM_MediaBrowserFirstScreen20000Cold(benchmark::State& state) {
    firstScreen(state, false);
}
void BM_MediaBrowserFirstScreen20000Warm(benchmark::State& state) {
    firstScreen(state, true);
}
BENCHMARK(BM_MediaBrowserFirstScreen20000Cold)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MediaBrowserFirstScreen20000Warm)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanTestBackendPage300dpi(benchmark::State& state) {
    QSize size;
    for (auto _ : state) {
        const ScanResult r = scanPage("test:0", {300, "Color", false});
        if (r.image.isNull()) state.SkipWithError(r.error.toUtf8().constData());
        size = r.image.size();
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}
BENCHMARK(BM_ScanTestBackendPage300dpi)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // SANE's test backend alone, from a private configuration.
    QTemporaryDir sane;
    QFile dll(sane.filePath("dll.conf"));
    dll.open(QIODevice::WriteOnly);
    dll.write("test\n");
    dll.close();
    QFile conf(sane.filePath("test.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write("number_of_devices 1\ntest-picture \"Color pattern\"\n");
    conf.close();
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(sane.path()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
