// The editing window's canvas as the user sees it after choosing a look on the toolbar.
#include "Wait.h"
#include "app/EditorWindow.h"
#include "app/PhotoPrefetch.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "app/WindowStart.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

// The sample photo at a quarter of its size, so that its looks are computed quickly.
QString smallSample(const QTemporaryDir& dir) {
    const DecodeResult sample = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!sample.image) return {};
    const Image photo =
        Image::imageWithBitmap(sample.image->bitmap).imageByApplyingTransform(Transform2D::scale(0.25, 0.25));
    const auto small = Renderer().createBitmap(photo, 8);
    const QString path = dir.filePath("small.jpg");
    std::string error;
    if (!small || !writeImageFile(*small, path.toStdString(), SaveOptions{}, nullptr, &error)) return {};
    return path;
}

// A 4096 × 2560 JPEG made from the sample photo: big enough to be shown from a reduced decode.
QString bigSample(const QTemporaryDir& dir) {
    const DecodeResult sample = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!sample.image) return {};
    const auto big = Renderer().createBitmap(Image::imageWithBitmap(sample.image->bitmap)
                                                 .imageByApplyingTransform(Transform2D::scale(1.6, 1.6))
                                                 .imageByCroppingToRect(RectF(0, 0, 4096, 2560)),
                                             8);
    const QString path = dir.filePath("big.jpg");
    std::string error;
    if (!big || !writeImageFile(*big, path.toStdString(), SaveOptions{}, nullptr, &error)) return {};
    return path;
}

// A stroke across the middle of the canvas.
void strokeAcross(CanvasView* canvas) {
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    for (int i = 1; i <= 6; ++i) QTest::mouseMove(canvas, c + QPoint(10 * i, 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(60, 0));
}

// Until the full-resolution look (or the photo still being decoded) is in place.
::testing::AssertionResult waitForTheLook(CanvasModel& model) {
    return waitUntil([&] { return !model.isLookPending(); }, 30000, "the full-resolution look");
}

// The same size and bytes, row by row.
bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), a.bytesPerRow()) != 0) return false;
    return true;
}

// An editing window on screen, with its own settings.
struct Editor {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    EditSession session;
    EditorWindow w{&session, &settings};
    Editor() {
        w.services.recentBookmarkFile = dir.filePath("recently-used.xbel");
        w.services.saveQuestion = [](const QString&) { return WindowServices::Answer::Cancel; };
        w.resize(1200, 800);
        w.show();
    }
};

TEST(PixelsWindow, AChosenLookShowsWithoutAnyOtherInput) {
    Editor e;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.w));
    ASSERT_TRUE(waitUntil([&] { return e.w.start()->isShown(); }));
    QTemporaryDir& dir = e.dir;
    EditorWindow& w = e.w;
    const QString photo = smallSample(dir);
    ASSERT_FALSE(photo.isEmpty());
    w.opening()->open(photo);
    ASSERT_TRUE(waitUntil([&] { return w.painterView() != nullptr; }));
    processPendingEvents();
    CanvasView* canvas = w.painterView();
    ToolPanel* panel = w.drawingToolbar();
    ASSERT_TRUE(canvas && panel);
    const QImage before = canvas->grab().toImage();

    panel->tabButton2Click();
    QTest::mouseClick(panel->presetDreamy(), Qt::LeftButton);
    // The full-resolution look follows in the background; nothing else happens meanwhile.
    CanvasModel& model = canvas->model();
    ASSERT_TRUE(waitUntil(
        [&] { return model.lookCache().files(2) && model.delayedPreset() == -1 && !model.isLookPending(); },
        30000));
    processPendingEvents(); // on screen
    const QImage shown = canvas->grab().toImage();

    canvas->validateImage();
    const QImage redrawn = canvas->grab().toImage();
    EXPECT_FALSE(redrawn == before);
    EXPECT_TRUE(shown == redrawn);
    model.lookCache().waitUntilIdle();
    model.forgetLooks();
}

// A look shows at once, on the full-size photo too, with nothing covering the canvas: a stroke made
// while the full-resolution look is still being made is painted and kept, and the saved picture is
// the look's.
TEST(PixelsWindow, ALookShowsAtOnceAndPaintingGoesOn) {
    Editor e;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.w));
    ASSERT_TRUE(waitUntil([&] { return e.w.start()->isShown(); }));
    EditorWindow& w = e.w;
    w.opening()->open(PIMAVO_SAMPLE_PHOTO); // 4 MP: the full-size look takes a while
    ASSERT_TRUE(waitUntil([&] { return w.painterView() != nullptr; }));
    processPendingEvents();
    CanvasView* canvas = w.painterView();
    ToolPanel* panel = w.drawingToolbar();
    ASSERT_TRUE(canvas && panel);
    CanvasModel& model = canvas->model();
    const QImage before = canvas->grab().toImage();
    const BitmapRef plain = w.resultImage();
    ASSERT_TRUE(plain);

    panel->tabButton2Click();
    QTest::mouseClick(panel->presetHardLight(), Qt::LeftButton);
    processPendingEvents(); // one pass of the event loop: the look is on screen, the full-size one not yet
    EXPECT_TRUE(model.isLookPending());
    EXPECT_FALSE(w.isDisabledInteraction()) << "nothing covers the canvas";
    EXPECT_FALSE(canvas->grab().toImage() == before) << "the look is on screen at once";

    // A stroke meanwhile, painted and kept when the full-size look takes the quick one's place.
    strokeAcross(canvas);
    EXPECT_TRUE(waitForTheLook(model));
    EXPECT_FALSE(model.isLookPending());
    EXPECT_FALSE(model.painting().isMaskCleared()) << "the stroke made meanwhile is kept";
    // Saved: the look at full resolution, not the photo as opened.
    const BitmapRef result = w.resultImage();
    ASSERT_TRUE(result);
    ASSERT_EQ(result->width(), plain->width());
    double differs = 0;
    for (int y = 0; y < result->height(); y += 97)
        for (int x = 0; x < result->width(); x += 89)
            differs += std::abs(result->component(x, y, 1) - plain->component(x, y, 1));
    EXPECT_GT(differs, 1.0);
    model.lookCache().waitUntilIdle();
    model.forgetLooks();
}

// A big JPEG is on screen from a reduced decode; the whole photo follows. A save made at once, a
// stroke painted meanwhile and the working copy afterwards are those of the photo opened whole,
// and the photo's arrival is no edit.
TEST(PixelsWindow, ABigPhotoShownBeforeItIsDecodedSavesExactly) {
    Editor e;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.w));
    ASSERT_TRUE(waitUntil([&] { return e.w.start()->isShown(); }));
    EditorWindow& w = e.w;
    const QString path = bigSample(e.dir);
    ASSERT_FALSE(path.isEmpty());
    const DecodeResult whole = decodeImageFile(path.toStdString(), false);
    ASSERT_TRUE(whole.image);

    w.opening()->open(path);
    CanvasView* canvas = w.painterView();
    ASSERT_TRUE(canvas);
    CanvasModel& model = canvas->model();
    EXPECT_TRUE(model.isLookPending()) << "shown from the reduced decode";
    const QString early = e.dir.filePath("early.png");
    ASSERT_TRUE(w.saving()->writeResult(early, "image/png", 1, QString()));
    processPendingEvents();
    strokeAcross(canvas);
    EXPECT_TRUE(waitForTheLook(model));
    EXPECT_FALSE(model.isLookPending());
    EXPECT_FALSE(model.painting().isMaskCleared()) << "the stroke made meanwhile is kept";

    EXPECT_TRUE(w.isEdited()) << "the stroke";
    w.editSession()->undo();
    EXPECT_FALSE(w.isEdited()) << "the photo's arrival is no edit";

    // The working copy is that of a canvas that had the whole photo from the start.
    EditSession session;
    CanvasModel reference(whole.image->bitmap, &session, CanvasModel::OpenedPhotoCache::Never);
    const auto working = Renderer().createBitmap(model.imageB_orig(), 16),
               expected = Renderer().createBitmap(reference.imageB_orig(), 16);
    ASSERT_TRUE(working && expected);
    EXPECT_TRUE(samePixels(*working, *expected));
    // And the picture saved before the photo was whole is the one saved now.
    const QString late = e.dir.filePath("late.png");
    ASSERT_TRUE(w.saving()->writeResult(late, "image/png", 1, QString()));
    const DecodeResult a = decodeImageFile(early.toStdString(), false),
                       b = decodeImageFile(late.toStdString(), false);
    ASSERT_TRUE(a.image && b.image);
    ASSERT_EQ(a.image->bitmap->width(), 4096);
    EXPECT_TRUE(samePixels(*a.image->bitmap, *b.image->bitmap));
    model.lookCache().waitUntilIdle();
    model.forgetLooks();
}

// The photo named on the command line is read ahead while the window comes up; a photo opened
// before that read ends (the same one, or another chosen from the recovery question) opens at once.
TEST(PixelsWindow, APhotoOpenedWhileTheOneNamedAtStartIsStillBeingReadOpens) {
    struct Case {
        const char* name;
        bool same;
    };
    for (const Case& c : {Case{"the same photo", true}, Case{"another photo", false}}) {
        SCOPED_TRACE(c.name);
        Editor e;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.w));
        const QString big = bigSample(e.dir), small = smallSample(e.dir);
        ASSERT_FALSE(big.isEmpty() || small.isEmpty());
        prefetch::start(big.toStdString());
        e.w.opening()->open(c.same ? big : small);
        ASSERT_TRUE(e.w.painterView());
        CanvasModel& model = e.w.painterView()->model();
        EXPECT_TRUE(waitForTheLook(model));
        const auto shown = Renderer().createBitmap(model.imageB_orig(), 8);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->width() > 1000, c.same) << shown->width();
        model.lookCache().waitUntilIdle();
    }
}

} // namespace
} // namespace pimavo::test
