// Sharing: a 24-megapixel result (6000 × 4000, the sample photo enlarged, with grain so that its
// JPEG is as large as a real photo's) posted at full size to a local fake Mastodon server: the JPEG export
// alone, the transfer alone (media upload, processing wait, status), and both as the share command does them.
// The server runs in this process and parses every body it gets, so the transfer figure includes the server's
// own work.
//
// DragEventDuringUpload: the editor's side of an upload, as a user feels it. A 24-MP result is
// posted again and again to the fake server running as a process of its own (as a real service
// is), while brush strokes are drawn on a 24-MP photo's canvas; each pointer move is timed
// together with the upload's work the event loop does before it. p95_ms is the 95th percentile.
#include "BenchPhotos.h"
#include "FakeServices.h"
#include "canvas/CanvasProject.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/Reduction.h"
#include "session/EditSession.h"
#include "sharing/services/PhotoService.h"
#include "sharing/services/SharedPicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

using namespace pimavo;
using namespace pimavo::sharing;

struct Setup {
    QTemporaryDir folder;
    testing::FakeMastodon server;
    std::unique_ptr<PhotoService> service;
    std::optional<Bitmap> picture;
    QString exported;

    Setup() {
        server.processingPolls = 0;
        DecodeResult decoded = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
        if (decoded.image) picture = resizeImageToCoverSize(*decoded.image->bitmap, {6000, 4000}, 8);
        // A camera's grain: an enlarged photo alone is smoother than any real one and makes a
        // JPEG a fraction of a real 24 MP photo's size.
        std::mt19937 random(1);
        std::uniform_real_distribution<float> grain(-14.f / 255, 14.f / 255);
        for (int y = 0; picture && y < picture->height(); ++y)
            for (int x = 0; x < picture->width(); ++x)
                for (int c = 0; c < 3; ++c)
                    picture->setComponent(x, y, c,
                                          std::clamp(picture->component(x, y, c) + grain(random), 0.f, 1.f));
        exported = folder.filePath("result.jpg");
        QString error;
        if (picture) writeSharedJpeg(*picture, nullptr, 0, exported, &error);
        service = createPhotoService(ServiceKind::Mastodon);
        service->setServer(server.server.base());
        run([&](QEventLoop& loop) {
            QObject::connect(service.get(), &PhotoService::ready, &loop, &QEventLoop::quit);
            return service->isReady();
        });
        run([&](QEventLoop& loop) {
            QObject::connect(service.get(), &PhotoService::signedInChanged, &loop, &QEventLoop::quit);
            QObject::connect(service.get(), &PhotoService::failed, &loop, &QEventLoop::quit);
            service->signIn();
            return false;
        });
    }

    // Runs the event loop until what `start` connected quits it (or a minute passes).
    static void run(const std::function<bool(QEventLoop&)>& start) {
        QEventLoop loop;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        if (!start(loop)) loop.exec();
    }

    bool upload(const QString& path) {
        bool ok = false;
        run([&](QEventLoop& loop) {
            QObject::connect(service.get(), &PhotoService::uploadFinished, &loop, [&] {
                ok = true;
                loop.quit();
            });
            QObject::connect(service.get(), &PhotoService::failed, &loop, &QEventLoop::quit);
            service->upload({path, "", "A result", "", {}, "unlisted", ""});
            return false;
        });
        return ok;
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_Export24MP(benchmark::State& state) {
    Setup& s = setup();
    if (!s.picture) {
        state.SkipWithError("the sample photo could not be enlarged");
        return;
    }
    const QString out = s.folder.filePath("export.jpg");
    for (auto _ : state) {
        QString error;
        if (!writeSharedJpeg(*s.picture, nullptr, 0, out, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}
BENCHMARK(BM_Export24MP)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Transfer24MP(benchmark::State& state) {
    Setup& s = setup();
    if (!s.service->isSignedIn()) {
        state.SkipWithError("could not sign in to the fake server");
        return;
    }
    const qint64 bytes = QFileInfo(s.exported).size();
    for (auto _ : state)
        if (!s.upload(s.exported)) state.SkipWithError("the upload failed");
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_Transfer24MP)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportAndTransfer24MP(benchmark::State& state) {
    Setup& s = setup();
    if (!s.picture || !s.service->isSignedIn()) {
        state.SkipWithError("no picture or no sign-in");
        return;
    }
    const QString out = s.folder.filePath("shared.jpg");
    for (auto _ : state) {
        QString error;
        if (!writeSharedJpeg(*s.picture, nullptr, 0, out, &error) || !s.upload(out))
            state.SkipWithError("the share failed");
    }
}
BENCHMARK(BM_ExportAndTransfer24MP)->Unit(benchmark::kMillisecond)->Iterations(3);

void DragEventDuringUpload(benchmark::State& state) {
    Setup& s = setup();
    QTemporaryDir folder;
    QProcess server;
    server.start(QStringLiteral(PIMAVO_FAKE_SERVER),
                 {"mastodon", folder.filePath("url"), folder.filePath("media")});
    QDir().mkpath(folder.filePath("media"));
    QFile urlFile(folder.filePath("url"));
    for (int i = 0; i < 100 && urlFile.size() == 0; ++i) {
        QThread::msleep(50);
        urlFile.setFileName(folder.filePath("url"));
    }
    if (!server.waitForStarted() || !urlFile.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the fake server did not start");
        return;
    }
    const QUrl base(QString::fromUtf8(urlFile.readAll().trimmed()));
    std::unique_ptr<PhotoService> service = createPhotoService(ServiceKind::Mastodon);
    service->setServer(base);
    Setup::run([&](QEventLoop& loop) {
        QObject::connect(service.get(), &PhotoService::ready, &loop, &QEventLoop::quit);
        return service->isReady();
    });
    Setup::run([&](QEventLoop& loop) {
        QObject::connect(service.get(), &PhotoService::signedInChanged, &loop, &QEventLoop::quit);
        QObject::connect(service.get(), &PhotoService::failed, &loop, &QEventLoop::quit);
        service->signIn();
        return false;
    });
    if (!service->isSignedIn()) {
        state.SkipWithError("could not sign in to the fake server");
        return;
    }
    int uploads = 0, failures = 0;
    auto post = [&] { service->upload({s.exported, "", "A result", "", {}, "unlisted", ""}); };
    QObject::connect(service.get(), &PhotoService::uploadFinished, [&] {
        ++uploads;
        post();
    });
    QObject::connect(service.get(), &PhotoService::failed, [&] {
        ++failures;
        post();
    });

    EditSession session;
    CanvasModel canvas(bench::photo8(6000, 4000), &session);
    canvas.createMaskBuffer();
    canvas.setScale(1);
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.treatment = Treatment::Sepia; });
    canvas.painting().brush().size = 80;
    canvas.painting().brush().softness = 100;
    const RectF e = canvas.imageA_orig().extent();
    const int W = int(e.width()), H = int(e.height());
    std::vector<uint8_t> display(std::size_t(W) * H * 4);
    auto render = [&](RectF r) {
        r = r.intersection(RectF(0, 0, W, H)).integral();
        if (r.isEmpty()) return;
        uint8_t* dst = display.data() + (std::size_t(H - int(r.maxY())) * W + std::size_t(r.minX())) * 4;
        Renderer().render(canvas.currentImage(), r, PixelFormat::BGRA8, dst, std::size_t(W) * 4);
    };
    render(RectF(0, 0, W, H));
    canvas.painting().beginStroke({200, 300});
    post();
    std::vector<double> times;
    double x = 220, dx = 9;
    for (auto _ : state) {
        x += dx;
        if (x > 1500 || x < 200) dx = -dx;
        const auto t0 = std::chrono::steady_clock::now();
        QCoreApplication::processEvents(); // the upload's part of the window's thread
        render(canvas.painting().continueStroke({x, 300 + (x - 200) * 0.4}));
        const auto t1 = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(t1 - t0).count();
        times.push_back(seconds * 1000);
        state.SetIterationTime(seconds);
        // Pointer events come a few milliseconds apart; the upload goes on between them.
        const auto next = t1 + std::chrono::milliseconds(4);
        while (std::chrono::steady_clock::now() < next)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    canvas.painting().endStroke();
    QObject::disconnect(service.get(), nullptr, nullptr, nullptr);
    service->cancel();
    server.closeWriteChannel();
    server.waitForFinished(5000);
    std::sort(times.begin(), times.end());
    state.counters["p95_ms"] = times[std::min(times.size() - 1, std::size_t(times.size() * 0.95))];
    state.counters["uploads"] = uploads;
    state.counters["failures"] = failures;
}
BENCHMARK(DragEventDuringUpload)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(400);

} // namespace

int main(int argc, char** argv) {
    // A session of its own: no keyring (the sign-in lasts for the run), no proxy, curl as browser.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/pimavo-bench-bus");
    for (const char* proxy :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(proxy);
    qputenv("BROWSER", PIMAVO_FAKE_BROWSER);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
