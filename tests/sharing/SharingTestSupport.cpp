#include "SharingTestSupport.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace pimavo::sharing::testing {

Recorder::Recorder(PhotoService& service) {
    ready = service.isReady();
    QObject::connect(&service, &PhotoService::ready, [this] { ready = true; });
    QObject::connect(&service, &PhotoService::failed, [this](const ShareError& e) { errors.push_back(e); });
    QObject::connect(&service, &PhotoService::uploadFinished,
                     [this](const QUrl& url) { finished.push_back(url); });
    QObject::connect(&service, &PhotoService::uploadProgress,
                     [this](qint64 sent, qint64 total) { progress.emplace_back(sent, total); });
    QObject::connect(&service, &PhotoService::signedInChanged, [this] { ++signedInChanges; });
    QObject::connect(&service, &PhotoService::destinationsChanged, [this] { ++destinationChanges; });
}

bool Recorder::waitForEnd(int ms) {
    const bool ended = spinUntil([this] { return errors.size() + finished.size() > seen_; }, ms);
    seen_ = errors.size() + finished.size();
    return ended;
}

void Recorder::clear() {
    errors.clear();
    finished.clear();
    progress.clear();
    signedInChanges = destinationChanges = 0;
    seen_ = 0;
}

QString makeJpeg(int width, int height) {
    static QTemporaryDir folder;
    static int count = 0;
    QImage image(width, height, QImage::Format_RGB32);
    auto* random = QRandomGenerator::global();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = 0xff000000u | (random->generate() & 0x00ffffffu);
    }
    const QString path = folder.filePath(QString("picture-%1.jpg").arg(++count));
    image.save(path, "JPEG", 90);
    return path;
}

bool signIn(PhotoService& service, Recorder& recorder) {
    if (!spinUntil([&] { return recorder.ready; })) return false;
    const int before = recorder.signedInChanges;
    const std::size_t errors = recorder.errors.size();
    service.signIn();
    spinUntil([&] { return recorder.signedInChanges > before || recorder.errors.size() > errors; });
    if (recorder.errors.size() > errors)
        std::fprintf(stderr, "sign-in failed: %s\n", qPrintable(recorder.errors.back().message));
    return service.isSignedIn();
}

} // namespace pimavo::sharing::testing
