// What the window saves keeps the photo's size and transparency: a photo above the canvas's limit,
// painted and saved, read back by vips; the question before a reduced size when memory is short;
// a transparent PNG painted and saved as PNG and JPEG; the Save As panel's word on transparency.
#include "../Wait.h"
#include "app/EditorWindow.h"
#include "app/SavePanel.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"
#include "session/EditSession.h"
#include "widgets/ZoomField.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct Editor {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    EditSession session;
    EditorWindow w{&session, &settings};
    QString savePath, saveType;
    QStringList alerts;
    Editor() {
        w.services.recentBookmarkFile = dir.filePath("recently-used.xbel");
        w.services.historyFolder = dir.filePath("history");
        w.services.saveQuestion = [](const QString&) { return WindowServices::Answer::Cancel; };
        w.services.replaceQuestion = [](const QString&) { return WindowServices::ReplaceAnswer::Replace; };
        w.services.savePanel = [this](const QString&, const QString&, QString& mimeType, double&) {
            mimeType = saveType;
            return savePath;
        };
        w.services.alertShown = [this](const QString& message, const QString&) { alerts << message; };
        w.resize(1100, 760);
        w.show();
    }
    bool open(const QString& path) {
        w.opening()->open(path);
        // The window takes the whole photo in place of its first look at it on its own time, after
        // the canvas has.
        return QTest::qWaitFor(
            [&] { return w.painterView() && !w.painterView()->model().isLookPending() && w.isPhotoWhole(); },
            scaledWait(60000));
    }
    // A stroke across the middle of the canvas, as the user drags it.
    void stroke() {
        CanvasView* canvas = w.painterView();
        const QPoint c = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, c - QPoint(60, 0));
        for (int i = -5; i <= 6; ++i) QTest::mouseMove(canvas, c + QPoint(10 * i, 0));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(60, 0));
    }
    bool saveAs(const QString& name, const QString& type) {
        savePath = dir.filePath(name);
        saveType = type;
        w.saving()->saveAs();
        return QFileInfo::exists(savePath);
    }
};

// What vips reads: a header field, or the bands of one pixel.
QString vipsheader(const QString& field, const QString& path) {
    QProcess p;
    p.start("vipsheader", {"-f", field, path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
std::vector<double> vipsPixel(const QString& path, int x, int y) {
    QProcess p;
    p.start("vips", {"getpoint", path, QString::number(x), QString::number(y)});
    p.waitForFinished(30000);
    std::vector<double> out;
    for (const QString& v :
         QString::fromUtf8(p.readAllStandardOutput()).simplified().split(' ', Qt::SkipEmptyParts))
        out.push_back(v.toDouble());
    return out;
}

TEST(FullSizeWindow, APhotoAboveTheLimitIsPaintedOnAReducedCopyAndSavedAtItsOwnSize) {
    Editor e;
    // 6000 × 5400 = 32.4 megapixels, red.
    Bitmap big(6000, 5400, *photoLayout(8));
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setComponent(x, y, 1, 0.8f), big.setComponent(x, y, 2, 0.1f);
    const QString path = e.dir.filePath("big.jpg");
    ASSERT_TRUE(writeImageFile(big, path.toStdString(), SaveOptions{}, nullptr, nullptr));
    ASSERT_TRUE(e.open(path));
    const CanvasModel& model = e.w.painterView()->model();
    EXPECT_EQ(int(model.originA().extent().width()), int(reducedSize(6000, 5400).width));
    EXPECT_EQ(e.w.image()->width(), 6000); // the picture is the photo itself
    e.stroke();

    // Saved as PNG: the photo's size, red where the stroke went, grey in a corner.
    ASSERT_TRUE(e.saveAs("big.png", "image/png"));
    EXPECT_EQ(vipsheader("width", e.savePath), "6000");
    EXPECT_EQ(vipsheader("height", e.savePath), "5400");
    const auto painted = vipsPixel(e.savePath, 3000, 2700), corner = vipsPixel(e.savePath, 20, 20);
    ASSERT_EQ(painted.size(), 3u);
    EXPECT_GT(painted[0], painted[1] + 100);
    EXPECT_NEAR(corner[0], corner[1], 3);

    // Applying the painting keeps the size too: the next save is the photo's size again.
    e.w.buttonPaintClick();
    ASSERT_TRUE(waitUntil([&] { return e.w.painterView() != nullptr; }, 5000));
    ASSERT_TRUE(e.saveAs("applied.tif", "image/tiff"));
    EXPECT_EQ(vipsheader("width", e.savePath), "6000");
}

// The zoom counts the photo's own pixels whether or not the canvas works on a reduced copy: fitted,
// at actual size (the scroll range is the photo's) and typed in the top bar.
TEST(FullSizeWindow, TheZoomCountsThePhotosOwnPixels) {
    struct Case {
        const char* name;
        int width, height; // a synthetic photo, or 0 for the sample
    };
    const Case cases[] = {{"a photo within the limit", 0, 0}, {"a photo just above the limit", 6000, 5400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        QString path = PIMAVO_SAMPLE_PHOTO;
        if (c.width) {
            const Bitmap big(c.width, c.height, *photoLayout(8));
            path = e.dir.filePath("big.jpg");
            ASSERT_TRUE(writeImageFile(big, path.toStdString(), SaveOptions{}, nullptr, nullptr));
        }
        ASSERT_TRUE(e.open(path));
        CanvasView* canvas = e.w.painterView();
        const double photoWidth = e.w.image()->width();
        // The canvas works on a reduced copy exactly when the photo is above the limit.
        EXPECT_EQ(canvas->model().originA().extent().width() < photoWidth, c.width != 0);
        ZoomField* field = e.w.zoomField();
        auto showsOnScreen = [&] {
            const double percent = 100 * canvas->realFrame().width() / photoWidth;
            EXPECT_NEAR(canvas->zoomPercent(), percent, 100 / canvas->realFrame().width());
            EXPECT_EQ(field->text(), ZoomField::textFor(canvas->zoomPercent()));
        };
        showsOnScreen();

        e.w.action("view_actual_size")->trigger();
        EXPECT_EQ(field->text(), "100 %");
        EXPECT_NEAR(canvas->realFrame().width(), photoWidth, 1);
        QScrollBar* bar = nullptr;
        for (QScrollBar* b : canvas->findChildren<QScrollBar*>())
            if (b->orientation() == Qt::Horizontal) bar = b;
        ASSERT_TRUE(bar && bar->isVisible());
        // The knob is the visible share of the photo's width (the track runs 14 points short).
        EXPECT_NEAR(double(bar->pageStep()) / (bar->maximum() + bar->pageStep()),
                    (canvas->width() - 14) / (photoWidth + 15), 0.01);

        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "25");
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_NEAR(canvas->realFrame().width(), photoWidth / 4, 1);
        showsOnScreen();
    }
}

TEST(FullSizeWindow, WithoutTheMemoryForTheFullSizeTheUserChoosesTheReducedSizeOrNothing) {
    Editor e;
    Bitmap big(6000, 5400, *photoLayout(8));
    const QString path = e.dir.filePath("big.jpg");
    ASSERT_TRUE(writeImageFile(big, path.toStdString(), SaveOptions{}, nullptr, nullptr));
    ASSERT_TRUE(e.open(path));
    e.stroke();
    qputenv("PIMAVO_AVAILABLE_MEMORY_MB", "64");
    struct Restore {
        ~Restore() { qunsetenv("PIMAVO_AVAILABLE_MEMORY_MB"); }
    } restore;
    const SizeF reduced = reducedSize(6000, 5400);
    // Cases: the answer, whether a file is written, its width.
    const struct {
        bool useReduced;
        const char* name;
        int width;
    } cases[] = {{false, "declined.png", 0}, {true, "reduced.png", int(reduced.width)}};
    for (const auto& c : cases) {
        QStringList asked;
        e.w.services.reducedSizeQuestion = [&](const QString& message) {
            asked << message;
            return c.useReduced;
        };
        const bool written = e.saveAs(c.name, "image/png");
        ASSERT_EQ(asked.size(), 1) << c.name;
        EXPECT_TRUE(asked.first().contains("6000 × 5400")) << asked.first().toStdString();
        EXPECT_TRUE(asked.first().contains(QString("%1 × %2").arg(reduced.width).arg(reduced.height)));
        EXPECT_EQ(written, c.width > 0) << c.name;
        if (written) {
            EXPECT_EQ(vipsheader("width", e.savePath), QString::number(c.width));
        }
        EXPECT_EQ(e.w.isEdited(), !written) << c.name; // declined: still to be saved
    }
}

TEST(FullSizeWindow, ATransparentPngKeepsItsTransparencyOnScreenAndInTheTypesThatHoldIt) {
    Editor e;
    // 600 × 400: opaque blue in the middle third, where the stroke goes; transparent around it.
    Bitmap picture(600, 400, *photoLayout(8, true));
    for (int y = 0; y < 400; ++y)
        for (int x = 200; x < 400; ++x) picture.setComponent(x, y, 2, 0.9f), picture.setComponent(x, y, 3, 1);
    const QString path = e.dir.filePath("cut-out.png");
    SaveOptions png;
    png.mimeType = "image/png";
    ASSERT_TRUE(writeImageFile(picture, path.toStdString(), png, nullptr, nullptr));
    ASSERT_TRUE(e.open(path));
    e.stroke();

    // On screen: the transparent part shows the checkerboard's two greys, not black.
    e.w.painterView()->validateImage();
    const QImage shown = e.w.painterView()->grab().toImage();
    const QRectF frame = e.w.painterView()->realFrame();
    QSet<QRgb> colours;
    for (int dx = 0; dx < 24; ++dx)
        colours << shown.pixel(int(frame.right()) - 30 + dx, int(frame.center().y()));
    EXPECT_TRUE(colours.contains(qRgb(255, 255, 255)) && colours.contains(qRgb(204, 204, 204)));

    // Cases: the file, its bands, and a transparent pixel as vips reads it.
    const struct {
        const char* name;
        const char* type;
        int bands;
        std::vector<double> right;
    } cases[] = {{"out.png", "image/png", 4, {0, 0, 0, 0}},
                 {"out.tif", "image/tiff", 4, {0, 0, 0, 0}},
                 {"out.jpg", "image/jpeg", 3, {255, 255, 255}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(e.saveAs(c.name, c.type)) << c.name;
        EXPECT_EQ(vipsheader("bands", e.savePath), QString::number(c.bands)) << c.name;
        const auto right = vipsPixel(e.savePath, 550, 200), middle = vipsPixel(e.savePath, 300, 200);
        ASSERT_EQ(right.size(), c.right.size()) << c.name;
        for (std::size_t i = 0; i < right.size(); ++i)
            EXPECT_NEAR(right[i], c.right[i], 3) << c.name << " " << i;
        EXPECT_GT(middle[2], middle[0] + 100) << c.name; // painted: the blue came back
        if (c.bands == 4) {
            EXPECT_EQ(middle[3], 255) << c.name;
        }
    }
}

TEST(FullSizeWindow, TheSavePanelSaysWhenATypeCannotKeepTheTransparency) {
    QTemporaryDir dir;
    // Cases: transparent picture, the type chosen, the name then typed, whether the note shows. A
    // name typed with a JPEG extension saves a JPEG whatever type the panel shows.
    const struct {
        bool transparent;
        const char* type;
        const char* typed;
        bool note;
    } cases[] = {{true, "image/jpeg", nullptr, true},        {true, "image/png", nullptr, false},
                 {false, "image/jpeg", nullptr, false},      {true, "image/png", "picture.jpg", true},
                 {true, "image/jpeg", "picture.png", false}, {true, "image/png", "picture.pimavo", false}};
    for (const auto& c : cases) {
        bool seen = false, shown = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* panel = qobject_cast<QFileDialog*>(top); panel && panel->isVisible()) {
                    auto* note = panel->findChild<QLabel*>("transparencyNote");
                    if (c.typed) panel->findChild<QLineEdit*>("fileNameEdit")->setText(c.typed);
                    seen = note != nullptr;
                    shown = note && note->isVisibleTo(panel) && !note->text().isEmpty();
                    panel->reject();
                }
        });
        runSavePanel(nullptr, dir.path(), "picture", "png", c.type, 0.9, nullptr, 8, c.transparent);
        EXPECT_TRUE(seen) << c.type;
        EXPECT_EQ(shown, c.note) << c.type << " transparent " << c.transparent << " typed "
                                 << (c.typed ? c.typed : "nothing");
    }
}

} // namespace
} // namespace pimavo::test
