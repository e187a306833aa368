// Looks chosen as a user chooses them: quickly one after another, past 1:1, with cache files gone.
#include "WaitScale.h"
#include "canvas/CanvasProject.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cmath>
#include <future>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

bool spinUntil(const std::function<bool()>& done, int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < scaledWait(ms))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Ramps and a few edges, so that the drama look has something to work on.
BitmapRef photo(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool block = (x / 97 + y / 61) % 3 == 0;
            bm->setComponent(x, y, 1, block ? 0.85f : float(x) / float(w));
            bm->setComponent(x, y, 2, float(y) / float(h));
            bm->setComponent(x, y, 3, block ? 0.2f : 0.6f);
        }
    return bm;
}

// The mean difference of two 8-bit pictures of one size, in levels, over red, green and blue.
double meanLevels(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int c = 1; c <= 3; ++c) sum += std::abs(a.component(x, y, c) - b.component(x, y, c));
    return sum * 255 / (double(a.width()) * a.height() * 3);
}

// Clicked one after another while the photo is still being decoded, looks pile up nowhere: the ones
// given up on are never made at full resolution, the last one is, and it is what is saved.
TEST(Looks, OnlyTheLastOfQuickChoicesIsMadeAtFullResolution) {
    const BitmapRef whole = photo(2400, 1600), half = photo(1200, 800);
    std::promise<BitmapRef> arriving;
    EditSession session;
    CanvasModel canvas(CanvasPhoto(half, arriving.get_future().share(), 2400, 1600, 8), &session);
    for (int look : {1, 2, 3, 1, 2}) canvas.setPreset(look);
    EXPECT_TRUE(canvas.isLookPending());
    arriving.set_value(whole);
    ASSERT_TRUE(spinUntil([&] { return !canvas.isLookPending(); }));
    EXPECT_EQ(canvas.looksMade(), 1) << "looks given up on were made too";
    ASSERT_TRUE(spinUntil([&] { return canvas.lookCache().files(2).has_value(); }));
    for (int look : {1, 3}) EXPECT_FALSE(canvas.lookCache().files(look).has_value()) << look;

    EditSession refSession;
    CanvasModel reference(whole, &refSession);
    reference.setPreset(2);
    const auto made = canvas.resultImage(), expected = reference.resultImage();
    ASSERT_TRUE(made && expected);
    EXPECT_EQ(meanLevels(**made, **expected), 0.0);
    canvas.lookCache().waitUntilIdle();
    canvas.forgetLooks();
    reference.lookCache().waitUntilIdle();
    reference.forgetLooks();
}

// Past 1:1 the screen shows the quick look stretched over the photo's extent at once, treated
// background and all; the window never waits for the full-resolution look.
TEST(Looks, ChoosingALookPastOneToOneNeverWaits) {
    EditSession session;
    CanvasModel canvas(photo(2400, 1600), &session);
    canvas.createMaskBuffer();
    for (double zoom : {1.0, 2.0}) {
        SCOPED_TRACE(zoom);
        changePictureSettings(canvas, [&](PictureSettings& ps) {
            ps.treatment = zoom == 1 ? Treatment::Grayscale : Treatment::Sepia;
        });
        changePictureSettings(canvas,
                              [&](PictureSettings& ps) { ps.background.saturation = zoom == 1 ? 1 : 0.3; });
        canvas.setScale(canvas.scaleFactorFromOriginal() * zoom);
        canvas.setPreset(zoom == 1 ? 3 : 1);
        const Image shown = canvas.currentImage();
        EXPECT_TRUE(canvas.isLookPending()) << "the window waited for the full-resolution look";
        EXPECT_TRUE(canvas.isNowFullSize());
        EXPECT_EQ(shown.extent(), RectF(0, 0, 2400, 1600));
        // Shown, it is the quick look: the working picture, stretched.
        const RectF work = canvas.imageB_orig().extent();
        float a[4], b[4];
        Renderer().render(shown, RectF(1200, 800, 1, 1), PixelFormat::RGBAf, a, 16);
        Renderer().render(canvas.zoomedImageForDisplay(true),
                          RectF(std::floor(work.width() / 2), std::floor(work.height() / 2), 1, 1),
                          PixelFormat::RGBAf, b, 16);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[c], b[c], 0.03) << c;
        ASSERT_TRUE(spinUntil([&] { return !canvas.isLookPending(); }));
    }
    canvas.lookCache().waitUntilIdle();
    canvas.forgetLooks();
}

// The quick look made at working size stands in for the full one: on a real photo they differ by
// at most 2 levels on average, for every look.
TEST(Looks, TheQuickLookIsCloseToTheFullOne) {
    const DecodeResult decoded = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    ASSERT_TRUE(decoded.image);
    for (int look : {1, 2, 3}) {
        SCOPED_TRACE(look);
        EditSession session;
        CanvasModel canvas(decoded.image->bitmap, &session, CanvasModel::OpenedPhotoCache::Never);
        changePictureSettings(canvas, [&](PictureSettings& ps) {
            ps.background.brightness = 0.0001;
        }); // the background shows the look's colours unmixed
        changePictureSettings(canvas, [&](PictureSettings& ps) { ps.background.saturation = 1; });
        canvas.setPreset(look);
        const auto quick = canvas.getCurrentImage();
        ASSERT_TRUE(canvas.isLookPending());
        canvas.finishPendingLook();
        const auto full = canvas.getCurrentImage();
        ASSERT_TRUE(quick && full);
        ASSERT_EQ(quick->width(), full->width());
        EXPECT_LE(meanLevels(*quick, *full), 2.0);
        canvas.lookCache().waitUntilIdle();
        canvas.forgetLooks();
    }
}

// A cache file deleted by hand: the look is made again when chosen, and its files written anew.
TEST(Looks, ADeletedCacheFileIsWrittenAgain) {
    for (bool working : {true, false}) {
        SCOPED_TRACE(working ? "working-size file" : "full-resolution file");
        EditSession session;
        CanvasModel canvas(photo(2400, 1600), &session);
        canvas.setPreset(2);
        ASSERT_TRUE(
            spinUntil([&] { return !canvas.isLookPending() && canvas.lookCache().files(2).has_value(); }));
        const auto files = *canvas.lookCache().files(2);
        const QString gone = working ? files.normal : files.origin;
        canvas.setPreset(0);
        ASSERT_TRUE(spinUntil([&] { return !canvas.isLookPending(); }));
        ASSERT_TRUE(QFile::remove(gone));
        canvas.setPreset(2);
        ASSERT_TRUE(spinUntil([&] { return !canvas.isLookPending(); }));
        EXPECT_TRUE(spinUntil([&] { return QFile::exists(gone); }, 10000)) << "not written again";
        canvas.lookCache().waitUntilIdle();
        canvas.forgetLooks();
    }
}

} // namespace
} // namespace pimavo::test
