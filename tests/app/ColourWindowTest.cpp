// A photo in Display P3 or Adobe RGB opened in the window shows, on an sRGB screen, the colours a
// direct LittleCMS conversion gives: on the canvas, in the comparison and in the colour picker; an
// sRGB photo shows its values as they are. Saved, the picture keeps its values and its profile, as
// exiftool reads them back.
#include "ColourTestPhotos.h"
#include "WindowFixture.h"
#include "app/WindowCompare.h"
#include "app/WindowPicker.h"
#include "app/WindowSaving.h"
#include "picker/RegionPicker.h"

#include <QProcess>

namespace pimavo::test {
namespace {

const PhotoSpace kSpaces[] = {PhotoSpace::DisplayP3, PhotoSpace::AdobeRgbByExif, PhotoSpace::Srgb};

// Where the centre of patch i shows in `frame`, a rectangle the whole photo is drawn in.
QPoint patchIn(const QRectF& frame, int i) {
    const QPointF c = patchCentre(i);
    return QPointF(frame.left() + c.x() * frame.width(), frame.top() + c.y() * frame.height()).toPoint();
}

// The rectangle a photo fitted and centred in a view of `size` is drawn in (ImagePreview's layout).
QRectF fittedIn(const QSize& size) {
    const double k =
        std::min(double(size.width()) / kColourPhotoWidth, double(size.height()) / kColourPhotoHeight);
    const QSizeF s(kColourPhotoWidth * k, kColourPhotoHeight * k);
    return QRectF(QPointF((size.width() - s.width()) / 2, (size.height() - s.height()) / 2), s);
}

QByteArray exiftool(const QStringList& arguments) {
    QProcess p;
    p.start("exiftool", arguments);
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

TEST(ColourWindow, APhotoShowsInTheScreensColoursOnTheCanvasInTheComparisonAndInThePicker) {
    for (PhotoSpace space : kSpaces) {
        SCOPED_TRACE(nameOf(space));
        WindowFixture t(WindowOptions().activated());
        const QString path = t.dir.filePath("photo.jpg");
        writeColourPhoto(path, space);
        t.openWhole(path);
        // The photo's colour everywhere: the picture is then the photo itself, not its grey.
        t.canvas()->model().painting().invertMask();
        t.canvas()->validateImage();
        processPendingEvents();
        std::array<QColor, 4> expected;
        for (int i = 0; i < 4; ++i)
            expected[size_t(i)] = converted(storedPatch(path, i), profileOf(space), testSrgb());

        {
            SCOPED_TRACE("canvas");
            const QImage shot = t.canvas()->grab().toImage();
            const QRectF frame =
                t.canvas()->viewRectFromImage(RectF(0, 0, kColourPhotoWidth, kColourPhotoHeight));
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(within3(shot.pixelColor(patchIn(frame, i)), expected[size_t(i)]));
        }
        {
            SCOPED_TRACE("comparison");
            t.w->compare()->toggle();
            ASSERT_TRUE(waitUntil([&] { return t.compareShownFully(); }, 10000, "the comparison"));
            const auto previews = t.w->findChildren<ImagePreview*>();
            ASSERT_EQ(previews.size(), 2);
            for (ImagePreview* p : previews) {
                const QImage shot = p->grab().toImage();
                for (int i = 0; i < 4; ++i)
                    EXPECT_TRUE(
                        within3(shot.pixelColor(patchIn(fittedIn(p->size()), i)), expected[size_t(i)]));
            }
            t.w->compare()->toggle();
            ASSERT_TRUE(waitUntil([&] { return t.compareLeftFully(); }, 10000, "the comparison gone"));
        }
        {
            SCOPED_TRACE("picker");
            QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
            ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 5000));
            auto* picker = t.w->contentView()->findChild<RegionPicker*>();
            ASSERT_TRUE(picker);
            ASSERT_TRUE(
                waitUntil([&] { return WindowFixture::opacity(picker) == 1.0; }, 10000, "the picker"));
            const QImage shot = picker->grab().toImage();
            const QRectF photo = picker->getFirstImageRect();
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(within3(shot.pixelColor(patchIn(photo, i)), expected[size_t(i)]));
            // What the fill matches is the photo's value, not its colour on the screen.
            picker->pick(patchIn(photo, 0), Qt::NoModifier);
            ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 10000));
            EXPECT_TRUE(within3(picker->pickedColor(), storedPatch(path, 0)));
            t.w->picker()->cancel();
        }
    }
}

TEST(ColourWindow, SavingKeepsThePhotosValuesAndWhatMarksItsColourSpace) {
    for (PhotoSpace space : kSpaces) {
        SCOPED_TRACE(nameOf(space));
        WindowFixture t;
        const QString path = t.dir.filePath("photo.jpg"), saved = t.dir.filePath("saved.png");
        writeColourPhoto(path, space);
        t.openWhole(path);
        t.canvas()->model().painting().invertMask(); // the photo's colour everywhere
        t.w->services.savePanel = [&](const QString&, const QString&, QString& mimeType, double&) {
            mimeType = "image/png";
            return saved;
        };
        t.w->saving()->saveAs();
        ASSERT_TRUE(waitUntil([&] { return QFile::exists(saved); }, 10000, "the saved file"));
        for (int i = 0; i < 4; ++i) {
            const QColor was = storedPatch(path, i), now = storedPatch(saved, i);
            EXPECT_LE(std::abs(was.red() - now.red()) + std::abs(was.green() - now.green()) +
                          std::abs(was.blue() - now.blue()),
                      3)
                << "patch " << i << ": " << was.name().toStdString() << " saved as "
                << now.name().toStdString();
        }
        // The profile the photo came with, byte for byte, and none where it came with none.
        const QByteArray profile = exiftool({"-b", "-ICC_Profile", saved});
        EXPECT_EQ(profile, exiftool({"-b", "-ICC_Profile", path}));
        EXPECT_EQ(profile.isEmpty(), space != PhotoSpace::DisplayP3);
        const QString index = QString::fromUtf8(exiftool({"-n", "-s3", "-InteropIndex", saved})).trimmed();
        EXPECT_EQ(index, space == PhotoSpace::AdobeRgbByExif ? "R03"
                         : space == PhotoSpace::Srgb         ? "R98"
                                                             : "");
    }
}

} // namespace
} // namespace pimavo::test
