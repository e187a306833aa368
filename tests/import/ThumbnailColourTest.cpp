// Thumbnails are sRGB, as the desktop reads them: one of a Display P3 or Adobe RGB photo holds the
// colours a direct LittleCMS conversion gives, and one of an sRGB photo its values as they are.
#include "ColourTestPhotos.h"
#include "import/ThumbnailCache.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

TEST(ThumbnailColour, ThumbnailsOfPhotosInOtherColourSpacesHoldTheirSrgbColours) {
    for (PhotoSpace space : {PhotoSpace::DisplayP3, PhotoSpace::AdobeRgbByExif, PhotoSpace::Srgb}) {
        for (ThumbnailSize size : {ThumbnailSize::Normal, ThumbnailSize::Large}) {
            SCOPED_TRACE(std::string(nameOf(space)) + " at " + std::to_string(int(size)));
            QTemporaryDir dir;
            const QString photo = dir.filePath("photo.jpg");
            writeColourPhoto(photo, space);
            const ThumbnailCache cache(dir.filePath("thumbnails"));
            bool made = false;
            const QImage thumb = cache.thumbnail(photo, size, &made);
            ASSERT_TRUE(made);
            // As made, and as the next visit reads it back from the cache.
            for (const QImage& image : {thumb, cache.cached(photo, size)}) {
                ASSERT_FALSE(image.isNull());
                for (int i = 0; i < 4; ++i) {
                    const QPointF c = patchCentre(i);
                    const QColor shown =
                        image.pixelColor(int(c.x() * image.width()), int(c.y() * image.height()));
                    EXPECT_TRUE(
                        within3(shown, converted(storedPatch(photo, i), profileOf(space), testSrgb())))
                        << "patch " << i;
                }
            }
        }
    }
}

} // namespace
} // namespace pimavo::test
