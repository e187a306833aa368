// The brush preview against the dab a press paints; a long history of short strokes undone.
#include "canvas/CanvasModel.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <cmath>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

BitmapRef plainPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 1; c <= 3; ++c) bm->setComponent(x, y, c, float((x + c * y) % 200) / 255.0f);
    return bm;
}

// The preview is one dab of a press: the same radii, softness and stroke strength, pixel for pixel.
TEST(BrushPreview, ShowsWhatAPressPaints) {
    struct Case {
        double size, softness, opacity;
    } cases[] = {{40, 100, 0.5}, {40, 0, 1}, {60, 50, 0.3}, {24, 75, 0.8}, {30, 100, 0.1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.size << " pt, softness " << c.softness << ", opacity " << c.opacity);
        EditSession session;
        CanvasModel canvas(plainPhoto(400, 300), &session, CanvasModel::OpenedPhotoCache::Never);
        canvas.createMaskBuffer();
        canvas.setScale(1);
        canvas.painting().brush().size = c.size;
        canvas.painting().brush().softness = c.softness;
        canvas.painting().brush().opacity = c.opacity;
        const int w = 160, h = 120;
        const auto preview = canvas.painting().previewImage(SizeF{w, h}, c.size, c.softness, c.opacity);
        ASSERT_TRUE(preview);
        const PointF at{200, 150};
        ASSERT_TRUE(canvas.painting().beginStroke(at));
        canvas.painting().endStroke();
        // The mask around the press, in the preview's rows (top-down).
        const auto painted =
            Renderer().createBitmap(canvas.painting().mask(), RectF(at.x - w / 2, at.y - h / 2, w, h),
                                    PixelLayout{8, AlphaInfo::PremultipliedLast});
        ASSERT_TRUE(painted);
        double worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                worst = std::max(worst,
                                 double(std::abs(preview->component(x, y, 0) - painted->component(x, y, 0))));
        EXPECT_LE(worst * 255, 1.01);
        EXPECT_NEAR(preview->component(w / 2, h / 2, 0), 1 - (1 - c.opacity) * (1 - c.opacity), 1.5 / 255);
    }
}

// Two hundred and fifty short strokes, every one a step, all undone: the mask is black again.
TEST(History, EveryShortStrokeOfALongSessionIsUndone) {
    EditSession session;
    CanvasModel canvas(plainPhoto(1600, 1200), &session, CanvasModel::OpenedPhotoCache::Never);
    canvas.createMaskBuffer();
    canvas.setScale(1);
    canvas.painting().brush().size = 30;
    for (int s = 0; s < 250; ++s) {
        const double x = 40 + (s % 25) * 60, y = 40 + (s / 25) * 110;
        ASSERT_TRUE(canvas.painting().beginStroke({x, y}));
        canvas.painting().continueStroke({x + 20, y + 10});
        canvas.painting().endStroke();
    }
    EXPECT_FALSE(canvas.painting().isMaskCleared());
    EXPECT_EQ(session.stepCount(), 250);
    EXPECT_LT(session.memoryUsed(), qint64(512) << 20);
    while (session.canUndo()) session.undo();
    EXPECT_TRUE(canvas.painting().isMaskCleared()) << "the oldest strokes were dropped from the history";
}

} // namespace
} // namespace pimavo::test
