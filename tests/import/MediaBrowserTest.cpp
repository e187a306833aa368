// The media browser as a user sees it: a grid that fills with thumbnails, newest first, and a
// double click that hands over the photo.
#include "ImportTestSupport.h"
#include "Wait.h"
#include "import/MediaBrowserPanel.h"

#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <utime.h>

namespace pimavo::test {
namespace {

struct Library {
    QTemporaryDir dir;
    std::vector<PhotoEntry> photos;
    explicit Library(int count) {
        const QByteArray jpeg = testJpeg(400, 300);
        for (int i = 0; i < count; ++i) {
            const QString path = dir.filePath(QString("Pictures/p%1.jpg").arg(i, 4, 10, QChar('0')));
            writeBytes(path, jpeg);
            struct utimbuf t {
                1600000000 + i, 1600000000 + i
            };
            ::utime(QFile::encodeName(path).constData(), &t);
        }
        photos = collectPhotos({{dir.filePath("Pictures")}, {}, {}});
    }
};

TEST(MediaBrowser, ShowsNewestFirstAndMakesOnlyTheVisibleThumbnails) {
    Library library(300);
    QTemporaryDir cache;
    MediaBrowserPanel panel(nullptr, ThumbnailCache(cache.filePath("thumbnails")));
    panel.resize(600, 500);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.setPhotos(library.photos);
    // The view asks for the thumbnails of the rows it paints.
    ASSERT_TRUE(waitUntil([&] { return panel.model()->requested() > 0; }));
    processPendingEvents();
    panel.model()->waitForThumbnails();
    EXPECT_TRUE(waitUntil([&] { return panel.model()->delivered() == panel.model()->requested(); }));
    EXPECT_EQ(panel.model()->rowCount(), 300);
    EXPECT_TRUE(panel.model()->index(0).data(MediaBrowserModel::PathRole).toString().endsWith("p0299.jpg"));
    // One screen's worth (and a little), not the whole library.
    EXPECT_GT(panel.model()->requested(), 5);
    EXPECT_LT(panel.model()->requested(), 100);
    EXPECT_EQ(panel.model()->delivered(), panel.model()->requested());
    // The first cell shows the photo: red on its left, blue on its right.
    const QRect cell = panel.view()->visualRect(panel.model()->index(0));
    const QImage shot = panel.view()->viewport()->grab(cell).toImage();
    const QRgb left = shot.pixel(shot.width() / 4, shot.height() / 2);
    const QRgb right = shot.pixel(3 * shot.width() / 4, shot.height() / 2);
    EXPECT_GT(qRed(left), 150);
    EXPECT_GT(qBlue(right), 150);
    // Scrolled to the end: the last rows are asked for.
    panel.view()->scrollToBottom();
    processPendingEvents(); // painted there
    panel.model()->waitForThumbnails();
    const QRect last = panel.view()->visualRect(panel.model()->index(299));
    EXPECT_TRUE(panel.view()->viewport()->rect().intersects(last));
    EXPECT_FALSE(panel.model()->index(299).data(Qt::DecorationRole).value<QImage>().isNull());
}

TEST(MediaBrowser, DoubleClickHandsOverThePhoto) {
    Library library(12);
    QTemporaryDir cache;
    MediaBrowserPanel panel(nullptr, ThumbnailCache(cache.filePath("thumbnails")));
    QStringList opened;
    panel.onOpen = [&](const QString& path) { opened << path; };
    panel.resize(600, 500);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.setPhotos(library.photos);
    processPendingEvents(); // laid out
    const QPoint centre = panel.view()->visualRect(panel.model()->index(2)).center();
    QTest::mouseClick(panel.view()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(panel.view()->viewport(), Qt::LeftButton, {}, centre);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith("p0009.jpg")) << opened[0].toStdString();
    // Return on the next one opens it too; a single click opens nothing.
    QTest::mouseClick(panel.view()->viewport(), Qt::LeftButton, {},
                      panel.view()->visualRect(panel.model()->index(3)).center());
    EXPECT_EQ(opened.size(), 1);
    QTest::keyClick(panel.view(), Qt::Key_Return);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[1].endsWith("p0008.jpg")) << opened[1].toStdString();
    panel.model()->waitForThumbnails();
}

TEST(MediaBrowser, ReloadFindsTheLibraryAwayFromTheWindow) {
    Library library(5);
    QTemporaryDir cache;
    MediaBrowserPanel panel(nullptr, ThumbnailCache(cache.filePath("thumbnails")));
    panel.reload({{library.dir.filePath("Pictures")}, {}, {}});
    EXPECT_TRUE(panel.isLoading());
    EXPECT_TRUE(waitUntil([&] { return !panel.isLoading(); }));
    EXPECT_EQ(panel.model()->rowCount(), 5);
    panel.model()->waitForThumbnails();
}

} // namespace
} // namespace pimavo::test
