// The exported copies: the sizes offered, the names they get, and the files as other tools read them.
#include "sharing/ExportedImage.h"

#include "ColourTestPhotos.h"
#include "SharingTestSupport.h"
#include "imageio/ImageDecoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using sharing::possibleResolutions;

TEST(ExportedImage, SizesOfferedAreTheOwnAndEachSmallerLimit) {
    struct Case {
        QSize picture;
        std::vector<QSize> offered;
    } cases[] = {
        {{1000, 3000}, {{1000, 3000}, {533, 1600}, {426, 1280}, {341, 1024}, {266, 800}, {213, 640}}},
        {{600, 400}, {{600, 400}}},
        {{1200, 800}, {{1200, 800}, {1024, 682}, {800, 533}, {640, 426}}},
        // A limit equal to the longer side is the picture's own size, not offered twice.
        {{1600, 1000}, {{1600, 1000}, {1280, 800}, {1024, 640}, {800, 500}, {640, 400}}},
        {{2000, 2000}, {{2000, 2000}, {1600, 1600}, {1280, 1280}, {1024, 1024}, {800, 800}, {640, 640}}},
        // A sliver keeps at least one pixel.
        {{5000, 1}, {{5000, 1}, {1600, 1}, {1280, 1}, {1024, 1}, {800, 1}, {640, 1}}},
        {{0, 0}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(possibleResolutions(c.picture), c.offered) << c.picture.width();
    EXPECT_EQ(sharing::resolutionTitle({533, 1600}), "533 x 1600");
}

TEST(ExportedImage, CopiesGetFreeNamesTheChosenSizeAndThePhotosMetadata) {
    QTemporaryDir dir;
    // A photo with metadata of its own, as cameras write it.
    const QString photo = dir.filePath("photo.jpg");
    QFile::copy(PIMAVO_SAMPLE_PHOTO, photo);
    QFile(photo).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(
        QProcess::execute("exiftool", {"-q", "-overwrite_original", "-Make=Pimavo Optics", "-Artist=Ana Test",
                                       "-DateTimeOriginal=2024:05:06 07:08:09", photo}),
        0);
    DecodeResult decoded = decodeImageFile(photo.toStdString(), false);
    ASSERT_TRUE(decoded.image);
    const Bitmap& bitmap = *decoded.image->bitmap;
    ASSERT_EQ(QSize(bitmap.width(), bitmap.height()), QSize(2560, 1600));

    const QString folder = dir.filePath("cache/SharingPhotos");
    struct Case {
        int longest;
        QSize size;
        QString name;
    } cases[] = {
        {0, {2560, 1600}, "PimavoExportedImage.jpg"},
        {800, {800, 500}, "PimavoExportedImage 2.jpg"},
        {1024, {1024, 640}, "PimavoExportedImage 3.jpg"},
        {9999, {2560, 1600}, "PimavoExportedImage 4.jpg"}, // larger than the picture: its own size
    };
    for (const Case& c : cases) {
        const auto out = sharing::exportImage(bitmap, &decoded.image->properties, c.longest, folder);
        ASSERT_TRUE(out.error.isEmpty()) << out.error.toStdString();
        EXPECT_EQ(QFileInfo(out.path).fileName(), c.name);
        EXPECT_EQ(vipsSize(out.path), c.size) << c.longest;
        EXPECT_EQ(vipsBands(out.path), 3);
        EXPECT_EQ(exifTag(out.path, "FileType"), "JPEG");
        EXPECT_EQ(exifTag(out.path, "Make"), "Pimavo Optics");
        EXPECT_EQ(exifTag(out.path, "Artist"), "Ana Test");
        EXPECT_EQ(exifTag(out.path, "DateTimeOriginal"), "2024:05:06 07:08:09");
        // The metadata describes the copy, not the photo it came from.
        const QString w = exifTag(out.path, "ExifImageWidth");
        if (!w.isEmpty()) {
            EXPECT_EQ(w.toInt(), c.size.width());
        }
    }
    sharing::clearExportFolder(folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// The web takes a picture without a profile for sRGB, and services often drop the profile: a copy
// holds sRGB colours (those of a direct LittleCMS conversion of the photo's values), with an sRGB
// profile embedded and its EXIF saying sRGB, whatever space the photo was in; full size or reduced.
TEST(ExportedImage, CopiesAreSrgbWithAnSrgbProfile) {
    for (PhotoSpace space : {PhotoSpace::DisplayP3, PhotoSpace::AdobeRgbByExif, PhotoSpace::Srgb}) {
        for (int longest : {0, 200}) {
            SCOPED_TRACE(std::string(nameOf(space)) + ", longest side " + std::to_string(longest));
            QTemporaryDir dir;
            const QString photo = dir.filePath("photo.jpg");
            writeColourPhoto(photo, space);
            DecodeResult decoded = decodeImageFile(photo.toStdString(), false);
            ASSERT_TRUE(decoded.image);
            const auto out = sharing::exportImage(*decoded.image->bitmap, &decoded.image->properties, longest,
                                                  dir.filePath("out"));
            ASSERT_TRUE(out.error.isEmpty()) << out.error.toStdString();
            EXPECT_EQ(exifTag(out.path, "ColorSpaceData"), "RGB");
            EXPECT_EQ(exifTag(out.path, "ProfileDescription"), "sRGB built-in");
            EXPECT_EQ(exifTag(out.path, "ColorSpace"), "sRGB");
            const QString index = exifTag(out.path, "InteropIndex");
            EXPECT_TRUE(index.isEmpty() || index.startsWith("R98")) << index.toStdString();
            const QImage copy(out.path);
            ASSERT_FALSE(copy.isNull());
            for (int i = 0; i < 4; ++i) {
                const QPointF c = patchCentre(i);
                const QColor got = copy.pixelColor(int(c.x() * copy.width()), int(c.y() * copy.height()));
                EXPECT_TRUE(within3(got, converted(storedPatch(photo, i), profileOf(space), testSrgb())))
                    << "patch " << i;
            }
        }
    }
}

TEST(ExportedImage, FailuresSayWhyAndLeaveNoFile) {
    QTemporaryDir dir;
    Bitmap none;
    EXPECT_FALSE(sharing::exportImage(none, nullptr, 0, dir.filePath("a")).error.isEmpty());
    // A file where the folder should be.
    QFile blocker(dir.filePath("b"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Bitmap small(4, 4, PixelLayout{8, AlphaInfo::NoneSkipLast});
    const auto out = sharing::exportImage(small, nullptr, 0, dir.filePath("b/SharingPhotos"));
    EXPECT_TRUE(out.path.isEmpty());
    EXPECT_FALSE(out.error.isEmpty());
}

TEST(ExportedImage, TheFolderIsInTheUsersCacheFolder) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", dir.path().toLocal8Bit());
    const QString folder = sharing::sharingExportFolder();
    EXPECT_TRUE(folder.startsWith(dir.path() + "/")) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith("/SharingPhotos"));
    qputenv("XDG_CACHE_HOME", saved);
}

} // namespace
} // namespace pimavo::test
