// Frame stalls while the editor saves a big photo: the longest gap between two passes of the
// window's event loop, and between two repaints of a widget asking to be repainted every 10 ms,
// while Save writes the painted picture as JPEG, TIFF and HEIC. Beside them, the same gaps while
// the window is idle for as long (the baseline of this machine, in the same run).
//   build/bench/save_stalls PHOTO [TYPES]      (bench/save_stalls.sh makes a 24-MP photo)
#include "app/EditorWindow.h"
#include "app/SaveFlow.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace pimavo;

namespace {

// Repaints itself as often as it can be asked to, and keeps the longest gap between two paints.
class Ticker : public QWidget {
public:
    explicit Ticker(QWidget* parent) : QWidget(parent) {
        loop_.setInterval(0);
        QObject::connect(&loop_, &QTimer::timeout, [this] {
            if (clock_.elapsed() - loopLast_ > 50) ++over50_;
            tick(loopLast_, loopGap_);
        });
        repaint_.setInterval(10);
        QObject::connect(&repaint_, &QTimer::timeout, [this] { update(); });
    }
    void start() {
        clock_.start();
        loopLast_ = paintLast_ = 0;
        loopGap_ = paintGap_ = 0;
        paints_ = 0;
        over50_ = 0;
        loop_.start();
        repaint_.start();
    }
    void stop() {
        loop_.stop();
        repaint_.stop();
        tick(loopLast_, loopGap_);
    }
    qint64 loopGap() const { return loopGap_; }
    qint64 paintGap() const { return paintGap_; }
    int paints() const { return paints_; }
    int gapsOver50() const { return over50_; } // of the event loop

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), paints_ % 2 ? Qt::red : Qt::blue);
        ++paints_;
        tick(paintLast_, paintGap_);
    }

private:
    void tick(qint64& last, qint64& gap) {
        const qint64 now = clock_.elapsed();
        gap = std::max(gap, now - last);
        last = now;
    }
    QElapsedTimer clock_;
    QTimer loop_, repaint_;
    qint64 loopLast_ = 0, paintLast_ = 0, loopGap_ = 0, paintGap_ = 0;
    int paints_ = 0, over50_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: save_stalls PHOTO [jpeg,tiff,heic]\n");
        return 2;
    }
    const QString photo = QString::fromLocal8Bit(argv[1]);
    const QStringList types = QString(argc > 2 ? argv[2] : "jpeg,tiff,heic").split(',');
    QTemporaryDir dir;
    Settings settings(dir.filePath("prefs.ini"));
    EditSession session;
    EditorWindow w(&session, &settings);
    w.services.recentBookmarkFile = dir.filePath("recently-used.xbel");
    w.services.historyFolder = dir.filePath("history");
    w.services.alertShown = [](const QString& m, const QString& info) {
        std::fprintf(stderr, "alert: %s %s\n", qPrintable(m), qPrintable(info));
    };
    w.resize(1200, 800);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return 1;
    w.opening()->openNow(photo);
    if (!QTest::qWaitFor([&] { return w.hasPhoto() && w.isPhotoWhole(); }, 120000)) {
        std::fprintf(stderr, "the photo did not open\n");
        return 1;
    }
    // Painted, so that the result is composed from both chains through a mask.
    CanvasView* canvas = w.painterView();
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(canvas, c + QPoint(20 * i, 8 * i));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(200, 80));
    QTest::qWait(300);

    auto* ticker = new Ticker(w.contentView());
    ticker->setGeometry(0, 0, 16, 16);
    ticker->show();
    ticker->raise();
    const auto image = w.image();
    std::printf("Saving a painted %d x %d photo (%.1f MP); longest gaps in the window's thread\n",
                image->width(), image->height(), image->width() * double(image->height()) / 1e6);
    for (const QString& type : types) {
        const QString mimeType = type == "jpeg" ? "image/jpeg" : type == "tiff" ? "image/tiff" : "image/heic";
        const QString out = dir.filePath("saved." + type);
        QElapsedTimer clock;
        // The part that stays on the window's thread: taking what is to be saved.
        clock.start();
        w.painterView()->model().resultSource();
        const qint64 taking = clock.elapsed();
        ticker->start();
        clock.start();
        w.saving()->flow()->progressDelayMs = 400;
        const bool ok = w.saving()->writeResult(out, mimeType, 0.9, QString());
        const qint64 ms = clock.elapsed();
        ticker->stop();
        const qint64 loopGap = ticker->loopGap(), paintGap = ticker->paintGap();
        const int paints = ticker->paints(), over50 = ticker->gapsOver50();
        // As long idle: what this machine's event loop gives without a save.
        ticker->start();
        QTest::qWait(int(std::min<qint64>(ms, 20000)));
        ticker->stop();
        std::printf(
            "%-5s %s in %6lld ms: longest event-loop gap %4lld ms (%d over 50 ms), repaint gap %4lld ms "
            "(%d repaints); as long idle: %lld ms (%d over 50 ms); taking the picture: %lld ms\n",
            qPrintable(type.toUpper()), ok ? "saved" : "FAILED", static_cast<long long>(ms),
            static_cast<long long>(loopGap), over50, static_cast<long long>(paintGap), paints,
            static_cast<long long>(ticker->loopGap()), ticker->gapsOver50(), static_cast<long long>(taking));
        QFile::remove(out);
    }
    return 0;
}
