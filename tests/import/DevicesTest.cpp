// Cameras through libgphoto2's folder camera and scanners through SANE's test backend: the real
// libraries, driven as the window and the command line drive them.
#include "ImportTestSupport.h"
#include "import/CameraDevice.h"
#include "import/ScannerDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct FolderCamera {
    QTemporaryDir dir;
    QString root = dir.filePath("card");
    QStringList names{"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG"};
    FolderCamera() {
        for (int i = 0; i < names.size(); ++i)
            writeBytes(root + "/DCIM/100TEST/" + names[i], testJpeg(320 + 16 * i, 240, i == 2 ? 6 : 0));
        writeBytes(root + "/DCIM/100TEST/notes.txt", "not a photo");
    }
    CameraInfo info() const { return {"Directory Browse", "disk:" + root}; }
};

TEST(Camera, FolderCameraIsListedAndItsPhotosDownloadWhole) {
    FolderCamera camera;
    qputenv("PIMAVO_FOLDER_CAMERAS", QFile::encodeName(camera.root));
    const auto cameras = detectCameras();
    qunsetenv("PIMAVO_FOLDER_CAMERAS");
    EXPECT_NE(std::find(cameras.begin(), cameras.end(), camera.info()), cameras.end());

    QString error;
    auto c = CameraConnection::open(camera.info(), error);
    ASSERT_TRUE(c) << error.toStdString();
    auto photos = c->photos(error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    QStringList names;
    for (const auto& p : photos) names << p.name;
    names.sort();
    EXPECT_EQ(names, camera.names);
    // The third is stored turned: its thumbnail is upright.
    for (const auto& p : photos) {
        const QImage thumb = c->thumbnail(p, 100);
        ASSERT_FALSE(thumb.isNull()) << p.name.toStdString();
        EXPECT_LE(std::max(thumb.width(), thumb.height()), 100);
        EXPECT_EQ(thumb.height() > thumb.width(), p.name == "IMG_0003.JPG") << p.name.toStdString();
    }

    QTemporaryDir dest;
    writeBytes(dest.filePath("IMG_0001.JPG"), "someone else's file");
    std::vector<int> steps;
    const DownloadResult r = c->download(photos, dest.path(), [&](int done, int total) {
        steps.push_back(done);
        EXPECT_EQ(total, 3);
    });
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(r.written.size(), 3);
    for (const QString& path : r.written) {
        const QString name = QFileInfo(path).fileName();
        const QString original = name == "IMG_0001 2.JPG" ? "IMG_0001.JPG" : name;
        EXPECT_EQ(contents(path), contents(camera.root + "/DCIM/100TEST/" + original)) << name.toStdString();
    }
    EXPECT_EQ(contents(dest.filePath("IMG_0001.JPG")), "someone else's file"); // never overwritten
    // Imported again: the photos already there are the ones answered, not copied a second time.
    const DownloadResult again = c->download(photos, dest.path());
    EXPECT_EQ(QStringList(again.written).size(), 3);
    for (const QString& path : r.written) EXPECT_TRUE(again.written.contains(path)) << path.toStdString();
    EXPECT_EQ(QDir(dest.path()).entryList(QDir::Files).size(), 4);
}

TEST(Camera, ACameraThatGoesAwayEndsTheTransferAndKeepsWhatCame) {
    FolderCamera camera;
    QString error;
    auto c = CameraConnection::open(camera.info(), error);
    ASSERT_TRUE(c);
    auto photos = c->photos(error);
    std::sort(photos.begin(), photos.end(), [](auto& a, auto& b) { return a.name < b.name; });
    QTemporaryDir dest;
    // Pulled out once the first photo is in.
    const DownloadResult r = c->download(photos, dest.path(), [&](int done, int) {
        if (done == 1) QDir(camera.root).removeRecursively();
    });
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.error.contains("IMG_0002.JPG")) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains("kept")) << r.error.toStdString();
    ASSERT_EQ(r.written.size(), 1);
    EXPECT_EQ(QDir(dest.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"IMG_0001.JPG"});
    EXPECT_EQ(contents(r.written[0]).size(), testJpeg(320, 240).size());
}

TEST(Camera, UnknownModelsAndPortsAreMessagesNotCrashes) {
    QString error;
    EXPECT_FALSE(CameraConnection::open({"No Such Camera 3000", "usb:"}, error));
    EXPECT_TRUE(error.contains("No Such Camera 3000"));
    error.clear();
    EXPECT_FALSE(CameraConnection::open({"Directory Browse", "nowhere:/dev/nothing-here"}, error));
    EXPECT_TRUE(error.contains("nowhere:/dev/nothing-here")) << error.toStdString();
}

class Scanner : public ::testing::Test {
protected:
    static void SetUpTestSuite() { usePrivateSaneConfiguration(); }
};

TEST_F(Scanner, TestBackendIsListedWithItsChoices) {
    const auto scanners = listScanners();
    ASSERT_EQ(scanners.size(), 1u);
    EXPECT_EQ(scanners[0].name, "test:0");
    const ScannerCapabilities caps = scannerCapabilities("test:0");
    EXPECT_TRUE(caps.modes.contains("Color"));
    EXPECT_TRUE(caps.modes.contains("Gray"));
    EXPECT_NE(std::find(caps.resolutions.begin(), caps.resolutions.end(), 300), caps.resolutions.end());
    EXPECT_TRUE(std::is_sorted(caps.resolutions.begin(), caps.resolutions.end()));
}

TEST_F(Scanner, ScansTheWholeAreaInTheChosenModeAndResolution) {
    // The test backend's area is 200 mm square.
    const struct {
        const char* mode;
        int dpi;
        QImage::Format format;
        int side;
    } cases[] = {
        {"Color", 50, QImage::Format_RGB888, 394},
        {"Gray", 50, QImage::Format_Grayscale8, 394},
        {"Color", 100, QImage::Format_RGB888, 787},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.dpi));
        std::vector<double> progress;
        const ScanResult r =
            scanPage("test:0", {c.dpi, c.mode, false}, [&](double f) { progress.push_back(f); });
        ASSERT_FALSE(r.image.isNull()) << r.error.toStdString();
        EXPECT_EQ(r.image.format(), c.format);
        EXPECT_NEAR(r.image.width(), c.side, 1);
        EXPECT_NEAR(r.image.height(), c.side, 1);
        ASSERT_FALSE(progress.empty());
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_DOUBLE_EQ(progress.back(), 1.0);
        // The colour pattern: in colour, strongly red, green and blue pixels; in grey, light and dark.
        int red = 0, green = 0, blue = 0, light = 0, dark = 0;
        for (int y = 0; y < r.image.height(); y += 3)
            for (int x = 0; x < r.image.width(); x += 3) {
                const QRgb p = r.image.pixel(x, y);
                red += qRed(p) > 150 && qGreen(p) < 80 && qBlue(p) < 80;
                green += qGreen(p) > 150 && qRed(p) < 80 && qBlue(p) < 80;
                blue += qBlue(p) > 150 && qRed(p) < 80 && qGreen(p) < 80;
                light += qGray(p) > 100;
                dark += qGray(p) < 30;
            }
        if (c.format == QImage::Format_RGB888) {
            EXPECT_GT(red, 100);
            EXPECT_GT(green, 100);
            EXPECT_GT(blue, 100);
        }
        EXPECT_GT(light, 100);
        EXPECT_GT(dark, 100);
    }
}

TEST_F(Scanner, CancelStopsTheScanAndTheScannerCanScanAgain) {
    std::atomic<bool> cancel{false};
    const ScanResult r = scanPage(
        "test:0", {300, "Color", false},
        [&](double f) {
            if (f > 0.1) cancel = true;
        },
        &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.image.isNull());
    EXPECT_FALSE(scanPage("test:0", {50, "Gray", true}).image.isNull());
}

TEST_F(Scanner, AScannerThatIsNotThereIsAMessage) {
    const ScanResult r = scanPage("test:7", {50, "Gray", false});
    EXPECT_TRUE(r.image.isNull());
    EXPECT_TRUE(r.error.contains("test:7")) << r.error.toStdString();
}

} // namespace
} // namespace pimavo::test
