// The result of a canvas that paints on a reduced copy of a very large photo has the photo's own
// size and pixels; a photo with transparency keeps it through every treatment and adjustment.
#include "CanvasTestPictures.h"
#include "canvas/CanvasProject.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct Canvas {
    EditSession session;
    CanvasModel model;
    explicit Canvas(CanvasPhoto photo)
        : model(std::move(photo), &session, CanvasModel::OpenedPhotoCache::Never) {
        model.createMaskBuffer();
    }
};

// The photo's copy at half its size, standing for the reduced copy of a photo above the limit.
CanvasPhoto halfCopyOf(const BitmapRef& photo) {
    const auto half = Renderer().createBitmap(
        Image::imageWithBitmap(photo).imageByApplyingTransform(Transform2D::scale(0.5, 0.5)), 8,
        photo->layout().hasAlpha());
    CanvasPhoto canvasPhoto(std::make_shared<const Bitmap>(*half));
    canvasPhoto.fullSize = photo;
    return canvasPhoto;
}

TEST(FullSizeResult, IsComposedFromThePhotoAsDecodedUnlessTheReducedSizeIsAskedFor) {
    const BitmapRef photo = speckledPhoto(3001, 2003);
    // Cases: the mask (white: the photo itself; black: the treated background), the treatment.
    const struct {
        bool white;
        Treatment treatment;
    } cases[] = {{true, Treatment::Grayscale}, {false, Treatment::Sepia}, {true, Treatment::Aged}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.white ? "white mask, " : "black mask, ") +
                     PictureSettings::treatmentName(c.treatment));
        Canvas canvas(halfCopyOf(photo));
        changePictureSettings(canvas.model, [&](PictureSettings& ps) { ps.treatment = c.treatment; });
        if (c.white) canvas.model.painting().invertMask();
        const auto full = canvas.model.resultImage();
        ASSERT_TRUE(full);
        ASSERT_EQ((*full)->width(), 3001);
        ASSERT_EQ((*full)->height(), 2003);
        // The reference: the same chain applied to the photo directly, by a canvas of its own.
        Canvas direct{CanvasPhoto(photo)};
        changePictureSettings(direct.model, [&](PictureSettings& ps) { ps.treatment = c.treatment; });
        if (c.white) direct.model.painting().invertMask();
        const auto expected = direct.model.resultImage();
        ASSERT_TRUE(expected);
        int wrong = 0;
        for (int y = 1; y < 2003; y += 97)
            for (int x = 3; x < 3001; x += 89)
                for (int k = 1; k <= 3; ++k)
                    if (std::abs((*full)->component(x, y, k) - (*expected)->component(x, y, k)) > 1.5f / 255)
                        ++wrong;
        EXPECT_EQ(wrong, 0);
        // Asked for the reduced size (the user agreed, for lack of memory): the copy's size.
        const auto reduced = canvas.model.resultImage(CanvasModel::ResultSize::Reduced);
        ASSERT_TRUE(reduced);
        EXPECT_EQ((*reduced)->width(), 1500);
        EXPECT_LT(canvas.model.resultMemoryNeeded(CanvasModel::ResultSize::Reduced),
                  canvas.model.resultMemoryNeeded());
    }
}

// 400 × 300, premultiplied RGBA: alpha 1 on the left third, 0.5 in the middle, 0 on the right.
BitmapRef cutOut() {
    auto b = std::make_shared<Bitmap>(400, 300, *photoLayout(8, true));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const float a = x < 133 ? 1 : x < 266 ? 0.5f : 0;
            b->setComponent(x, y, 0, 0.8f * a), b->setComponent(x, y, 1, 0.3f * a);
            b->setComponent(x, y, 2, 0.2f * a), b->setComponent(x, y, 3, a);
        }
    return b;
}

TEST(FullSizeResult, TransparencySurvivesEveryTreatmentAndAdjustment) {
    using Set = std::function<void(CanvasModel&)>;
    const struct {
        const char* name;
        Set set;
    } cases[] = {
        {"grayscale", [](CanvasModel&) {}},
        {"sepia",
         [](CanvasModel& m) {
             changePictureSettings(m, [&](PictureSettings& ps) { ps.treatment = Treatment::Sepia; });
         }},
        {"aged",
         [](CanvasModel& m) {
             changePictureSettings(m, [&](PictureSettings& ps) { ps.treatment = Treatment::Aged; });
         }},
        {"silver blue",
         [](CanvasModel& m) {
             changePictureSettings(m, [&](PictureSettings& ps) { ps.treatment = Treatment::SilverBlue; });
         }},
        {"vignette",
         [](CanvasModel& m) { changePictureSettings(m, [&](PictureSettings& ps) { ps.vignette = 0.8; }); }},
        {"blurs",
         [](CanvasModel& m) {
             changePictureSettings(m,
                                   [](PictureSettings& ps) { ps.foreground.blur = ps.background.blur = 6; });
         }},
        {"painted", [](CanvasModel& m) { m.painting().invertMask(); }},
        {"exposure",
         [](CanvasModel& m) {
             m.painting().invertMask(),
                 changePictureSettings(m, [&](PictureSettings& ps) { ps.foreground.exposure = 1; });
         }},
        {"drama", [](CanvasModel& m) { m.processPreset(1), m.applyPreset(1); }},
    };
    const BitmapRef photo = cutOut();
    for (const auto& c : cases) {
        for (const bool reducedCopy : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (reducedCopy ? ", from a reduced copy" : ""));
            Canvas canvas(reducedCopy ? halfCopyOf(photo) : CanvasPhoto(photo));
            ASSERT_TRUE(canvas.model.hasAlpha());
            c.set(canvas.model);
            const auto result = canvas.model.resultImage();
            ASSERT_TRUE(result);
            const Bitmap& got = **result;
            ASSERT_TRUE(got.layout().hasAlpha());
            ASSERT_EQ(got.width(), 400);
            // Away from the borders between the thirds (blurs reach across them).
            for (const auto& [x, alpha] : {std::pair{40, 1.0f}, {200, 0.5f}, {360, 0.0f}}) {
                EXPECT_NEAR(got.component(x, 150, 3), alpha, 1.5 / 255) << "x " << x;
                if (alpha == 0) {
                    for (int k = 0; k < 3; ++k) EXPECT_EQ(got.component(x, 150, k), 0) << "x " << x;
                }
            }
        }
    }
}

} // namespace
} // namespace pimavo::test
