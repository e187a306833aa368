// Looks chosen one after another, as a user tries them: Soft, Dreamy, Hard Light, Soft, Dreamy…
// `clicks` looks at `interval` seconds apart on a photo (an 18-MP synthetic one by default), with
// a 1280 × 800 view rendered after every click as the window would. Prints each click's time to
// its first frame, the time from the last click until the last look is on screen at full
// resolution, the processor time spent, and the memory at rest before the first click and at its
// peak from then on. look_switch.sh runs it for one look and for five and prints the ratios.
//   look_switch [--clicks N] [--interval S] [--zoom 100] [--treatment CISepiaTone|Aged|SilverBlue] [PHOTO]
#include "BenchPhotos.h"
#include "canvas/CanvasProject.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "session/EditSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace pimavo;

namespace {

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int clicks = 5;
    double interval = 0.4;
    bool actualSize = false;
    QString treatment;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--clicks" && i + 1 < argc)
            clicks = std::max(1, std::atoi(argv[++i]));
        else if (a == "--interval" && i + 1 < argc)
            interval = std::atof(argv[++i]);
        else if (a == "--treatment" && i + 1 < argc)
            treatment = QString::fromLatin1(argv[++i]);
        else if (a == "--zoom" && i + 1 < argc)
            actualSize = std::string(argv[++i]) == "100";
        else
            path = a;
    }
    BitmapRef photo;
    if (path.empty()) {
        photo = bench::photo8(5184, 3456);
    } else {
        DecodeResult decoded = decodeImageFile(path, false);
        if (!decoded.image) {
            std::fprintf(stderr, "%s\n", decoded.error.c_str());
            return 1;
        }
        photo = decoded.image->bitmap;
    }

    EditSession session;
    CanvasModel canvas(photo, &session);
    canvas.createMaskBuffer();
    const auto chosen = PictureSettings::treatmentNamed(treatment.toStdString());
    if (!chosen) {
        std::fprintf(stderr, "unknown treatment %s\n", treatment.toLatin1().constData());
        return 1;
    }
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.treatment = *chosen; });
    const RectF work = canvas.imageA_orig().extent();
    const int viewW = 1280, viewH = 800;
    canvas.setScale(actualSize ? canvas.scaleFactorFromOriginal()
                               : std::min(viewW / work.width(), viewH / work.height()));
    std::vector<uint8_t> display(std::size_t(viewW) * viewH * 4);
    // What the view draws: the picture for the screen at its scale, the middle of it past 1:1.
    auto frame = [&] {
        const Image shown = canvas.currentImage();
        const RectF e = shown.extent();
        const double s = canvas.isNowFullSize() ? 1.0 : canvas.scale();
        const Image scaled = shown.imageByApplyingTransform(Transform2D::scale(s, s));
        const double x = std::max(0.0, std::floor(e.width() * s / 2 - viewW / 2.0)),
                     y = std::max(0.0, std::floor(e.height() * s / 2 - viewH / 2.0));
        Renderer().render(scaled, RectF(x, y, viewW, viewH), PixelFormat::RGBA8, display.data(), viewW * 4);
    };
    frame();
    canvas.lookCache().release();
    canvas.lookCache().waitUntilIdle();

    // Memory sampled from the first click on.
    std::atomic<bool> sampling{true};
    const double rest = residentMiB();
    std::atomic<double> peak{rest};
    std::thread sampler([&] {
        while (sampling) {
            const double now = residentMiB();
            if (now > peak) peak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    const int looks[] = {1, 2, 3};
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    std::vector<double> firstFrame;
    std::optional<Bitmap> quick; // the last look as first shown, at working size
    double lastClick = 0, lastOnScreen = -1;
    int done = 0;
    for (int k = 0; k < clicks; ++k) {
        QTimer::singleShot(int(k * interval * 1000), [&, k] {
            const double t0 = clock.nsecsElapsed() / 1e9;
            canvas.setPreset(looks[k % 3]);
            frame();
            firstFrame.push_back(clock.nsecsElapsed() / 1e9 - t0);
            lastClick = t0;
            if (k == clicks - 1) quick = Renderer().createBitmap(canvas.imageB_orig(), 8);
            ++done;
        });
    }
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done < clicks || canvas.isLookPending()) return;
        frame();
        lastOnScreen = clock.nsecsElapsed() / 1e9;
        poll.stop();
        app.quit();
    });
    poll.start(5);
    app.exec();
    canvas.lookCache().waitUntilIdle();
    const double cpu = cpuSeconds() - cpu0;
    sampling = false;
    sampler.join();

    std::printf("photo              %d x %d, %d look%s %.1f s apart%s%s%s\n", photo->width(), photo->height(),
                clicks, clicks == 1 ? "" : "s", interval, actualSize ? ", at 100 %" : "",
                treatment.isEmpty() ? "" : ", ", treatment.toLatin1().constData());
    for (int k = 0; k < int(firstFrame.size()); ++k)
        std::printf("click %d            %6.0f ms to the first frame\n", k + 1,
                    firstFrame[std::size_t(k)] * 1000);
    std::printf("last look whole    %6.0f ms after the last click\n", (lastOnScreen - lastClick) * 1000);
    std::printf("processor          %6.1f s\n", cpu);
    std::printf("memory at rest     %6.0f MiB\n", rest);
    std::printf("memory peak        %6.0f MiB\n", peak.load());
    // How far the quick look stood from the look it stood in for (8-bit levels, mean over RGB).
    const auto whole = Renderer().createBitmap(canvas.imageB_orig(), 8);
    if (quick && whole && quick->width() == whole->width() && quick->height() == whole->height()) {
        double sum = 0;
        for (int y = 0; y < whole->height(); ++y)
            for (int x = 0; x < whole->width(); ++x)
                for (int c = 1; c <= 3; ++c)
                    sum += std::abs(quick->component(x, y, c) - whole->component(x, y, c));
        std::printf("quick vs whole     %6.2f levels\n",
                    sum * 255 / (double(whole->width()) * whole->height() * 3));
    }
    canvas.forgetLooks();
    return 0;
}
