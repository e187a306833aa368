// The thumbnail cache as the desktop reads it, and the photo library gathered from folders and
// the photo managers' databases.
#include "ImportTestSupport.h"
#include "import/PhotoLibrary.h"
#include "import/ThumbnailCache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <utime.h>

namespace pimavo::test {
namespace {

void setTime(const QString& path, qint64 seconds) {
    struct utimbuf t {
        seconds, seconds
    };
    ::utime(QFile::encodeName(path).constData(), &t);
}

qint64 statTime(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtime;
}

TEST(ThumbnailCache, UriIsEscapedAsTheDesktopEscapesIt) {
    const struct {
        const char* path;
        const char* uri;
    } cases[] = {
        {"/home/me/Pictures/a.jpg", "file:///home/me/Pictures/a.jpg"},
        {"/tmp/two words/é.jpg", "file:///tmp/two%20words/%C3%A9.jpg"},
        {"/x/#;?[]%.jpg", "file:///x/%23%3B%3F%5B%5D%25.jpg"},
        {"/x/!$&'()*+,=:@~_-.jpg", "file:///x/!$&'()*+,=:@~_-.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThumbnailCache::fileUri(QString::fromUtf8(c.path)), QByteArray(c.uri)) << c.path;
}

TEST(ThumbnailCache, WritesTheDesktopsFormatAndKeepsItUpToDate) {
    QTemporaryDir dir;
    const QString root = dir.filePath("thumbnails");
    ThumbnailCache cache(root);
    const struct {
        const char* name;
        int w, h, orientation;
        ThumbnailSize size;
        int tw, th;
    } cases[] = {
        {"wide.jpg", 1600, 1000, 0, ThumbnailSize::Normal, 128, 80},
        {"large.jpg", 1600, 1000, 0, ThumbnailSize::Large, 256, 160},
        {"turned.jpg", 1600, 1000, 6, ThumbnailSize::Normal, 80, 128}, // stored on its side, shown upright
        {"small.jpg", 60, 40, 0, ThumbnailSize::Normal, 60, 40},       // never enlarged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString photo = dir.filePath(QString("photos/") + c.name);
        ASSERT_TRUE(writeBytes(photo, testJpeg(c.w, c.h, c.orientation)));
        bool made = false;
        const QImage thumb = cache.thumbnail(photo, c.size, &made);
        EXPECT_TRUE(made);
        const QString stored =
            root + (c.size == ThumbnailSize::Large ? "/large/" : "/normal/") +
            QCryptographicHash::hash(ThumbnailCache::fileUri(photo), QCryptographicHash::Md5).toHex() +
            ".png";
        PngFile png;
        ASSERT_TRUE(readPngChunks(stored, png));
        EXPECT_EQ(png.width, c.tw);
        EXPECT_EQ(png.height, c.th);
        EXPECT_EQ(png.text.value("Thumb::URI"), QString::fromUtf8(ThumbnailCache::fileUri(photo)));
        EXPECT_EQ(png.text.value("Thumb::MTime"), QString::number(statTime(photo)));
        EXPECT_EQ(QFileInfo(stored).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
        // Red on the photo's left, blue on its right; turned, red is on top.
        const QImage back(stored);
        const QRgb first = back.pixel(c.orientation == 6 ? back.width() / 2 : 2, 2);
        const QRgb last = back.pixel(back.width() - 3, back.height() - 3);
        EXPECT_GT(qRed(first), 150);
        EXPECT_LT(qBlue(first), 90);
        EXPECT_GT(qBlue(last), 150);
        EXPECT_LT(qRed(last), 90);
        EXPECT_EQ(thumb.size(), back.size());
        // Found again without decoding; remade once the photo changed.
        cache.thumbnail(photo, c.size, &made);
        EXPECT_FALSE(made);
        setTime(photo, statTime(photo) - 3600);
        EXPECT_TRUE(cache.cached(photo, c.size).isNull());
        cache.thumbnail(photo, c.size, &made);
        EXPECT_TRUE(made);
    }
    // Nothing half-written left behind.
    for (const char* sub : {"normal", "large"})
        for (const QString& name : QDir(root + "/" + sub).entryList(QDir::Files))
            EXPECT_TRUE(name.endsWith(".png") && name.size() == 36) << name.toStdString();
}

TEST(ThumbnailCache, ACamerasOwnPreviewIsUsedWhenItShowsTheWholePhoto) {
    QTemporaryDir dir;
    ThumbnailCache cache(dir.filePath("thumbnails"));
    auto green = [](int w, int h) {
        QImage p(w, h, QImage::Format_RGB32);
        p.fill(qRgb(20, 200, 20));
        return p;
    };
    const struct {
        const char* name;
        QImage preview;
        int orientation;
        bool used;
        QSize size;
    } cases[] = {
        {"preview.jpg", green(160, 100), 0, true, {128, 80}},
        {"turned.jpg", green(160, 100), 6, true, {80, 128}},
        {"padded.jpg", green(160, 120), 0, false, {128, 80}}, // bars around a 3:2 photo
        {"tiny.jpg", green(80, 50), 0, false, {128, 80}},     // too small for the size asked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString photo = dir.filePath(c.name);
        ASSERT_TRUE(writeBytes(photo, testJpeg(1600, 1000, c.orientation, c.preview)));
        const QImage thumb = cache.thumbnail(photo, ThumbnailSize::Normal);
        EXPECT_EQ(thumb.size(), c.size);
        const QRgb centre = thumb.pixel(thumb.width() / 2, thumb.height() / 2);
        EXPECT_EQ(qGreen(centre) > 150, c.used);
    }
}

TEST(ThumbnailCache, UnreadableFilesAreRememberedNotRetried) {
    QTemporaryDir dir;
    ThumbnailCache cache(dir.filePath("thumbnails"));
    const QString broken = dir.filePath("broken.jpg");
    writeBytes(broken, QByteArray("\xff\xd8\xff\xe0 not really a jpeg"));
    bool made = false;
    EXPECT_TRUE(cache.thumbnail(broken, ThumbnailSize::Normal, &made).isNull());
    EXPECT_TRUE(made);
    EXPECT_TRUE(cache.knownToFail(broken));
    EXPECT_TRUE(cache.thumbnail(broken, ThumbnailSize::Normal, &made).isNull());
    EXPECT_FALSE(made);
    // Fixed since: made again.
    writeBytes(broken, testJpeg(64, 48));
    setTime(broken, statTime(broken) + 10);
    EXPECT_FALSE(cache.thumbnail(broken, ThumbnailSize::Normal, &made).isNull());
    EXPECT_TRUE(made);
}

// A small database with the given statements run in it.
void makeDatabase(const QString& path, const QStringList& statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    for (const QString& s : statements) {
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, &err), SQLITE_OK)
            << (err ? err : "");
        sqlite3_free(err);
    }
    sqlite3_close(db);
}

TEST(PhotoLibrary, MergesFoldersAndManagersNewestFirst) {
    QTemporaryDir dir;
    const QString pics = dir.filePath("Pictures"), elsewhere = dir.filePath("Elsewhere");
    const QByteArray jpeg = testJpeg(16, 16);
    const qint64 t0 = 1577836800; // 2020-01-01
    const struct {
        QString path;
        qint64 time;
    } files[] = {
        {pics + "/old.jpg", t0 + 1000},
        {pics + "/2024/summer/beach.JPG", t0 + 5000},
        {pics + "/.cache/copy.jpg", t0 + 9000}, // hidden folders hold copies
        {pics + "/notes.txt", t0 + 9500},       // not a photo
        {elsewhere + "/shotwell.jpg", t0 + 2000},
        {elsewhere + "/digikam/album/kam.jpg", t0 + 3000},
        {elsewhere + "/digikam/album/trashed.jpg", t0 + 3500},
    };
    for (const auto& f : files) {
        writeBytes(f.path, jpeg);
        setTime(f.path, f.time);
    }
    // A phone's photos, by their name alone.
    writeBytes(pics + "/phone/IMG_0001.HEIC", jpeg);
    setTime(pics + "/phone/IMG_0001.HEIC", t0 + 4000);
    writeBytes(pics + "/phone/IMG_0002.avif", jpeg);
    setTime(pics + "/phone/IMG_0002.avif", t0 + 1500);
    const QString shotwell = dir.filePath("photo.db");
    makeDatabase(
        shotwell,
        {"CREATE TABLE PhotoTable (id INTEGER PRIMARY KEY, filename TEXT, exposure_time INTEGER, "
         "timestamp INTEGER)",
         // taken later than the file says, although the file is older; one gone; one also in Pictures
         QString("INSERT INTO PhotoTable VALUES (1, '%1', %2, %3)")
             .arg(elsewhere + "/shotwell.jpg")
             .arg(t0 + 8000)
             .arg(t0 + 2000),
         QString("INSERT INTO PhotoTable VALUES (2, '%1', %2, 0)")
             .arg(elsewhere + "/gone.jpg")
             .arg(t0 + 9999),
         QString("INSERT INTO PhotoTable VALUES (3, '%1', 0, %2)").arg(pics + "/old.jpg").arg(t0 + 1000)});
    const QString digikam = dir.filePath("digikam4.db");
    makeDatabase(
        digikam,
        {"CREATE TABLE AlbumRoots (id INTEGER PRIMARY KEY, label TEXT, status INTEGER, type INTEGER, "
         "identifier TEXT, specificPath TEXT)",
         "CREATE TABLE Albums (id INTEGER PRIMARY KEY, albumRoot INTEGER, relativePath TEXT)",
         "CREATE TABLE Images (id INTEGER PRIMARY KEY, album INTEGER, name TEXT, status INTEGER, "
         "category INTEGER, modificationDate TEXT)",
         "CREATE TABLE ImageInformation (imageid INTEGER PRIMARY KEY, creationDate TEXT)",
         QString("INSERT INTO AlbumRoots VALUES (1, 'Photos', 0, 1, 'volumeid:?path=%1', '/digikam')")
             .arg(elsewhere),
         "INSERT INTO Albums VALUES (1, 1, '/album')",
         "INSERT INTO Images VALUES (1, 1, 'kam.jpg', 1, 1, '2020-01-01T00:50:00')",
         "INSERT INTO Images VALUES (2, 1, 'trashed.jpg', 3, 1, '2020-01-01T00:50:00')",
         "INSERT INTO ImageInformation VALUES (1, '2024-06-01T12:00:00')"});
    LibrarySources sources{{pics}, shotwell, digikam};
    const auto photos = collectPhotos(sources);
    QStringList order;
    for (const auto& p : photos) order << QFileInfo(p.path).fileName();
    EXPECT_EQ(order, QStringList({"kam.jpg", "shotwell.jpg", "beach.JPG", "IMG_0001.HEIC", "IMG_0002.avif",
                                  "old.jpg"}));
    ASSERT_EQ(photos.size(), 6u);
    EXPECT_EQ(photos[0].source, "digiKam");
    EXPECT_EQ(photos[0].path, QDir::cleanPath(elsewhere + "/digikam/album/kam.jpg"));
    EXPECT_EQ(photos[1].time, t0 + 8000);
}

TEST(PhotoLibrary, DatabasesThatCannotBeReadGiveNothing) {
    QTemporaryDir dir;
    const QString garbage = dir.filePath("garbage.db");
    writeBytes(garbage, QByteArray(4096, 'x'));
    const QString otherLayout = dir.filePath("other.db");
    makeDatabase(otherLayout, {"CREATE TABLE Something (a TEXT)"});
    for (const QString& db : {garbage, otherLayout, dir.filePath("missing.db"), QString()}) {
        EXPECT_TRUE(readShotwellLibrary(db).empty()) << db.toStdString();
        EXPECT_TRUE(readDigikamLibrary(db).empty()) << db.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.db"))); // read only: nothing created
}

} // namespace
} // namespace pimavo::test
