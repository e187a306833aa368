// The canvas's picture: working size, the chains as the adjustments set them, masks with undo,
// and the composed result at both sizes.
#include "WaitScale.h"
#include "canvas/CanvasProject.h"
#include "engine/Operation.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace pimavo::test {
namespace {

using Px = std::array<double, 4>;

// The window's part: undo actions come back to the canvas.

// A colourful photo: red on the left half, blue on the right, a green band at the top.
BitmapRef photo(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool top = y < h / 4; // rows are stored top-down
            bm->setComponent(x, y, 1, top ? 0.1f : (x < w / 2 ? 0.9f : 0.1f));
            bm->setComponent(x, y, 2, top ? 0.8f : 0.2f);
            bm->setComponent(x, y, 3, top ? 0.1f : (x < w / 2 ? 0.1f : 0.9f));
        }
    return bm;
}

Px pixel(const Image& image, int x, int y) {
    float p[4];
    Renderer().render(image, RectF(x, y, 1, 1), PixelFormat::RGBAf, p, 16);
    return {p[0], p[1], p[2], p[3]};
}

struct Fixture {
    EditSession session;
    CanvasModel canvas;
    explicit Fixture(int w = 64, int h = 48) : canvas(photo(w, h), &session) {}
};

TEST(CanvasModel, WorkingSize) {
    struct Case {
        SizeF photo, working;
        double factor;
    } cases[] = {
        {{1600, 1200}, {1600, 1200}, 1},
        {{2560, 1600}, {1787, 1116}, 2560.0 / 1787},
        {{6000, 4000}, {1731, 1154}, 6000.0 / 1731},
        {{1000, 5000}, {632, 3161}, 1000.0 / 632.2},
    };
    for (const Case& c : cases) {
        double f = 0;
        const SizeF w = CanvasModel::workingSize(c.photo, &f);
        EXPECT_EQ(w.width, c.working.width) << c.photo.width;
        EXPECT_EQ(w.height, c.working.height) << c.photo.width;
        EXPECT_NEAR(f, c.factor, 2e-3) << c.photo.width;
        EXPECT_LE(w.width * w.height, 2.0e6);
    }
    EditSession session;
    CanvasModel big(photo(2560, 1600), &session);
    EXPECT_TRUE(big.imageA_orig().extent() == RectF(0, 0, 1787, 1116))
        << big.imageA_orig().extent().description();
    EXPECT_TRUE(big.originA().extent() == RectF(0, 0, 2560, 1600));
}

TEST(CanvasModel, FreshCanvasShowsAGreyBackgroundAndTheUntouchedForeground) {
    Fixture f;
    f.canvas.createMaskBuffer();
    const Px bg = pixel(f.canvas.zoomedImageForDisplay(false), 10, 10);
    EXPECT_NEAR(bg[0], bg[1], 1e-5);
    EXPECT_NEAR(bg[1], bg[2], 1e-5);
    EXPECT_TRUE(f.canvas.imageB() == f.canvas.imageB_orig());
    EXPECT_TRUE(f.canvas.painting().isMaskCleared());
}

TEST(CanvasModel, TreatmentsAndTheSaturationControl) {
    Fixture f;
    const Px original = pixel(f.canvas.imageA_orig(), 10, 10);
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.treatment = Treatment::Sepia; });
    Px sepia = pixel(f.canvas.imageA(), 10, 10);
    // Full-strength sepia of the (red) pixel.
    const double r = original[0], g = original[1], b = original[2];
    EXPECT_NEAR(sepia[0], 0.393 * r + 0.769 * g + 0.189 * b, 2e-4);
    EXPECT_NEAR(sepia[2], 0.272 * r + 0.534 * g + 0.131 * b, 2e-4);
    // The control at its other end: no toning, and the background keeps its colour.
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.background.saturation = 1; });
    const Px none = pixel(f.canvas.imageA(), 10, 10);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(none[c], original[c], 2e-4);
    for (const Treatment name : {Treatment::Aged, Treatment::SilverBlue}) {
        changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.background.saturation = 0; });
        changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.treatment = name; });
        const Px toned = pixel(f.canvas.imageA(), 10, 10);
        EXPECT_GT(std::abs(toned[0] - original[0]) + std::abs(toned[2] - original[2]), 0.1) << int(name);
    }
}

TEST(CanvasModel, AdjustmentsBackAtIdentityChangeNothing) {
    Fixture f;
    const Px original = pixel(f.canvas.imageB_orig(), 40, 30);
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 1; });
    EXPECT_GT(pixel(f.canvas.imageB(), 40, 30)[2], original[2] * 1.9);
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 0; });
    const Px back = pixel(f.canvas.imageB(), 40, 30);
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(back[c], original[c], 1e-6);
    // Equal values change nothing and ask for no redraw.
    const int before = f.canvas.changeCount();
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 0; });
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.foreground.saturation = 1; });
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.treatment = Treatment::Grayscale; });
    EXPECT_EQ(f.canvas.changeCount(), before);
}

TEST(CanvasModel, BlurIsInFullResolutionPixelsAndOpaqueToTheEdges) {
    EditSession session;
    CanvasModel canvas(photo(2500, 1600), &session); // reduced by about 1.47
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.blur = 14; });
    const Image working = canvas.colorizeImage(canvas.imageB_orig());
    const Image full = canvas.colorizeImage(canvas.originB());
    EXPECT_NEAR(pixel(working, 0, 0)[3], 1.0, 1e-6);
    EXPECT_NEAR(pixel(full, 0, 0)[3], 1.0, 1e-6);
    // The working image is blurred by 14 / factor: the edge between red and blue spreads over about
    // the same share of the picture at both sizes.
    auto spread = [](const Image& image, int width, int y) {
        int n = 0;
        for (int x = 0; x < width; ++x) {
            const Px p = pixel(image, x, y);
            if (p[0] > 0.2 && p[0] < 0.8) ++n;
        }
        return double(n) / width;
    };
    const double a = spread(working, int(canvas.imageB_orig().extent().width()), 300);
    const double b = spread(full, 2500, 300 * 1600 / int(canvas.imageB_orig().extent().height()));
    EXPECT_NEAR(a, b, 0.01);
}

TEST(CanvasModel, BlurredChainsMatchTheAdjustmentsAppliedBeforeTheBlur) {
    // The chains blur the unadjusted image and adjust afterwards; the pixels must be those of
    // adjusting first and blurring after.
    EditSession session;
    CanvasModel canvas(photo(300, 200), &session);
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.blur = 6; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 0.7; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.brightness = 0.05; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.saturation = 1.3; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.contrast = 1.2; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.hue = 0.4; });
    auto step = [](const char* name, const Image& in,
                   std::initializer_list<std::pair<const char*, OperationValue>> v) {
        auto f = Operation::filterWithName(name);
        f->setValue("inputImage", in);
        for (const auto& [k, x] : v) f->setValue(k, x);
        return f->outputImage();
    };
    Image ref = step("exposure-adjust", canvas.imageB_orig(), {{"inputEV", 0.7}});
    ref = step("color-controls", ref,
               {{"inputBrightness", 0.05}, {"inputSaturation", 1.3}, {"inputContrast", 1.2}});
    ref = step("hue-adjust", ref, {{"inputAngle", 0.4}});
    ref = step("gaussian-blur", ref, {{"inputRadius", 6.0}});
    ref = step("SetAlpha", ref, {{"inputParam1", 1.0}});
    const Image got = canvas.colorizeImage(canvas.imageB_orig());
    for (auto [x, y] : {std::pair{0, 0}, {5, 7}, {150, 100}, {299, 199}, {149, 30}}) {
        const Px a = pixel(got, x, y), b = pixel(ref, x, y);
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a[c], b[c], 2e-4) << x << "," << y << " channel " << c;
    }
    // A second slider move reuses the blur: same picture, no second blur of the photo.
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 0.2; });
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.exposure = 0.7; });
    const Image again = canvas.colorizeImage(canvas.imageB_orig());
    EXPECT_NEAR(pixel(again, 150, 100)[0], pixel(got, 150, 100)[0], 1e-6);
}

TEST(CanvasModel, VignetteComesAndGoes) {
    Fixture f;
    f.canvas.createMaskBuffer();
    const Px plain = pixel(f.canvas.zoomedImageForDisplay(false), 1, 1);
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.vignette = 1; });
    const Px dark = pixel(f.canvas.zoomedImageForDisplay(false), 1, 1);
    EXPECT_TRUE(f.canvas.hasVignettePicture());
    EXPECT_LT(dark[0], plain[0] * 0.5);
    changePictureSettings(f.canvas, [&](PictureSettings& ps) { ps.vignette = 0; });
    const Px again = pixel(f.canvas.zoomedImageForDisplay(false), 1, 1);
    EXPECT_FALSE(f.canvas.hasVignettePicture());
    EXPECT_NEAR(again[0], plain[0], 1e-6);
}

TEST(CanvasModel, MasksApplyInvertAndUndo) {
    Fixture f;
    f.canvas.createMaskBuffer();
    auto colourAt = [&](int x, int y) {
        const Px p = pixel(f.canvas.zoomedImageForDisplay(false), x, y);
        return std::abs(p[0] - p[2]) > 0.3; // red or blue rather than grey
    };
    EXPECT_FALSE(colourAt(10, 10));
    f.canvas.painting().invertMask(); // a cleared mask inverts to white: everything coloured
    EXPECT_TRUE(colourAt(10, 10));
    EXPECT_FALSE(f.canvas.painting().isMaskCleared());
    f.canvas.painting().invertMask();
    EXPECT_FALSE(colourAt(10, 10));
    f.session.undo();
    EXPECT_TRUE(colourAt(10, 10));
    f.session.undo();
    EXPECT_FALSE(colourAt(10, 10));
    f.session.redo();
    EXPECT_TRUE(colourAt(50, 10));
    f.canvas.painting().clearMask();
    EXPECT_FALSE(colourAt(50, 10));
}

TEST(CanvasModel, HandedOutMasksNeverChange) {
    Fixture f;
    f.canvas.createMaskBuffer();
    const Image before = f.canvas.painting().undoMask();
    // Painting writes the buffer directly, as a stroke does.
    f.canvas.painting().imageAccumulator()->setImage(Image::imageWithColor({1, 1, 1, 1}),
                                                     RectF(0, 0, 20, 20));
    f.canvas.painting().maskBufferWritten();
    EXPECT_EQ(pixel(before, 5, 5)[0], 0.0);
    EXPECT_EQ(pixel(f.canvas.painting().mask(), 5, 5)[0], 1.0);
}

TEST(CanvasModel, ResultAtFullResolutionIsRenderedOncePerChange) {
    EditSession session;
    CanvasModel canvas(photo(2500, 1600), &session);
    canvas.createMaskBuffer();
    canvas.painting().invertMask();
    auto first = canvas.resultImage();
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)->width(), 2500);
    EXPECT_EQ((*first)->height(), 1600);
    EXPECT_EQ((*first)->bitsPerComponent(), 8);
    auto again = canvas.resultImage();
    EXPECT_EQ(first->get(), again->get());
    // A full-size pixel shows the photo's colour where the mask (scaled up) is white.
    EXPECT_GT((*first)->component(100, 1500, 1), 0.8f);
    changePictureSettings(canvas, [&](PictureSettings& ps) { ps.foreground.saturation = 0.5; });
    EXPECT_NE(canvas.resultImage()->get(), first->get());
}

TEST(CanvasModel, ColourLayerUndoRegistersOnlyWhileUndoing) {
    Fixture f;
    f.canvas.createMaskBuffer();
    const Image red =
        Image::imageWithColor({1, 0, 0, 1}).imageByCroppingToRect(f.canvas.imageA_orig().extent());
    // Loading a layer is no step (a stroke records its own).
    f.canvas.painting().applyColorDrawingMask(red);
    EXPECT_FALSE(f.session.canUndo());
    // A step that recorded the layer restores it: undone and redone.
    const Image painted = f.canvas.painting().colorDrawingMask();
    f.session.resetLayers(f.canvas.painting().mask(), Image());
    f.session.changeLayers("Colour", f.canvas.painting().mask(), painted, 0);
    f.session.undo();
    EXPECT_FALSE(f.canvas.painting().colorDrawingMask());
    EXPECT_TRUE(f.session.canRedo());
    f.session.redo();
    ASSERT_TRUE(f.canvas.painting().colorDrawingMask());
    EXPECT_EQ(pixel(f.canvas.painting().colorDrawingMask(), 3, 3), pixel(painted, 3, 3));
}

} // namespace
} // namespace pimavo::test

namespace pimavo::test {
namespace {

bool spin(const std::function<bool()>& done, int ms = 8000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < scaledWait(ms))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(CanvasPresets, ComputedOnceCachedOnDiskAndForgotten) {
    EditSession session;
    CanvasModel canvas(photo(200, 150), &session);
    canvas.lookCache().waitUntilIdle();
    ASSERT_TRUE(spin([&] { return canvas.lookCache().files(0).has_value(); }));
    const auto zero = *canvas.lookCache().files(0);
    EXPECT_TRUE(QFile::exists(zero.normal));
    EXPECT_TRUE(zero.normal.endsWith("normal0.tiff"));
    EXPECT_TRUE(zero.origin.endsWith("origin0.tiff"));

    int completed = 0;
    QObject::connect(&canvas, &CanvasModel::drawingCompleted, [&completed] { ++completed; });
    // Selecting the current preset does nothing.
    canvas.setPreset(0);
    EXPECT_EQ(completed, 0);
    const Px plain = pixel(canvas.imageB_orig(), 100, 75);
    canvas.setPreset(2);
    // The look shows at once, with nothing covering the canvas, and the panel may choose again.
    EXPECT_EQ(completed, 1);
    const Px quick = pixel(canvas.imageB_orig(), 100, 75);
    EXPECT_GT(std::abs(quick[0] - plain[0]) + std::abs(quick[1] - plain[1]), 0.005);
    // The full-resolution look follows, and both are kept on disk.
    ASSERT_TRUE(spin([&] { return canvas.lookCache().files(2).has_value() && !canvas.isLookPending(); }));
    const auto two = *canvas.lookCache().files(2);
    EXPECT_TRUE(two.normal.endsWith("normal2.tiff"));
    EXPECT_TRUE(QFile::exists(two.origin));
    const Px drama = pixel(canvas.imageB_orig(), 100, 75);
    EXPECT_GT(std::abs(drama[0] - plain[0]) + std::abs(drama[1] - plain[1]), 0.005);

    // Back to 0 and to 2 again: the files are only read.
    const QDateTime written = QFileInfo(two.normal).lastModified();
    canvas.applyPreset(0);
    EXPECT_NEAR(pixel(canvas.imageB_orig(), 100, 75)[0], plain[0], 1e-3);
    canvas.applyPreset(2);
    EXPECT_EQ(QFileInfo(two.normal).lastModified(), written);
    EXPECT_NEAR(pixel(canvas.imageB_orig(), 100, 75)[0], drama[0], 1e-3);

    // A cached file deleted by hand: the preset is computed again.
    QFile::remove(two.origin);
    canvas.applyPreset(2);
    ASSERT_TRUE(spin([&] { return canvas.lookCache().files(2).has_value() && QFile::exists(two.origin); }));

    canvas.forgetLooks();
    EXPECT_FALSE(QFile::exists(zero.normal));
    EXPECT_FALSE(QFile::exists(two.normal));
    EXPECT_FALSE(QFile::exists(two.origin));
}

TEST(CanvasPresets, WorkingSizeLimit) {
    double f = 0;
    EXPECT_EQ(CanvasModel::workingSize({2000, 1000}, &f).width, 2000);
    EXPECT_EQ(f, 1);
    const SizeF s = CanvasModel::workingSize({2001, 1000}, &f);
    EXPECT_LE(std::max(s.width, s.height), 1999);
    EXPECT_GT(f, 1);
}

} // namespace
} // namespace pimavo::test

namespace pimavo::test {
namespace {

double maskAt(const CanvasModel& c, double x, double y) {
    return pixel(c.painting().mask(), int(x), int(y))[1];
}

struct StrokeFixture : Fixture {
    StrokeFixture() : Fixture(200, 150) {
        canvas.createMaskBuffer();
        canvas.painting().brush().size = 20; // R = 10 working pixels at scale 1
    }
};

TEST(Strokes, APressDrawsOneDabAtThePointer) {
    StrokeFixture f;
    f.canvas.painting().brush().softness = 0;
    ASSERT_TRUE(f.canvas.painting().beginStroke({50.5, 60.5}));
    EXPECT_EQ(f.canvas.painting().dabCount(), 1);
    EXPECT_NEAR(maskAt(f.canvas, 50, 60), 1.0, 1e-3);
    EXPECT_NEAR(maskAt(f.canvas, 50, 73), 0.0, 1e-3); // beyond R = 10
    EXPECT_NEAR(maskAt(f.canvas, 50, 68), 1.0, 1e-3); // hard disc: r0 = r1 = R
    f.canvas.painting().endStroke();
    EXPECT_FALSE(f.canvas.painting().isMaskCleared());
}

TEST(Strokes, DabSpacingAndTheMajorAxis) {
    struct Case {
        const char* label;
        PointF from, to;
        int dabs; // after the first
    } cases[] = {
        // Softness 100 at R = 10: r1 = 20, so dabs are s = 4 pixels apart.
        {"short move draws nothing", {50, 50}, {53, 50}, 0},
        {"horizontal", {50, 50}, {70, 52}, 5 + 1}, // i = 51, 55, 59, 63, 67 and the dab at the pointer
        {"vertical", {50, 50}, {51, 70}, 5 + 1},
        {"diagonal goes along y", {50, 50}, {62, 62}, 3 + 1}, // j = 51, 55, 59
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        StrokeFixture f;
        f.canvas.painting().beginStroke(c.from);
        const int first = f.canvas.painting().dabCount();
        f.canvas.painting().continueStroke(c.to);
        EXPECT_EQ(f.canvas.painting().dabCount() - first, c.dabs);
        if (c.dabs == 0) {
            EXPECT_EQ(f.canvas.painting().lastDrawnPoint().x, c.from.x); // the next move measures from here
            f.canvas.painting().continueStroke({c.to.x + 4, c.to.y});
            EXPECT_GT(f.canvas.painting().dabCount(), first);
        }
        f.canvas.painting().endStroke();
    }
}

TEST(Strokes, AStrokeAtAFractionalScaleLeavesNoGaps) {
    // At 0.9 points per pixel every dab lies at a fractional position; the painted band must be solid.
    for (double scale : {0.9, 1.0, 1.7}) {
        SCOPED_TRACE(scale);
        StrokeFixture f;
        f.canvas.setScale(scale);
        f.canvas.painting().brush().size = 30 * scale / 0.9;
        f.canvas.painting().beginStroke({40.3, 75.6});
        for (int k = 1; k <= 8; ++k) f.canvas.painting().continueStroke({40.3 + 13.9 * k, 75.6 + 0.05 * k});
        f.canvas.painting().endStroke();
        for (int x = 45; x < 150; ++x) ASSERT_GT(maskAt(f.canvas, x, 75), 0.9) << x;
    }
}

TEST(Strokes, OpacityNeverBuildsUpWithinAStroke) {
    StrokeFixture f;
    f.canvas.painting().brush().opacity = 0.5;
    f.canvas.painting().beginStroke({100, 75});
    for (int k = 0; k < 4; ++k) {
        f.canvas.painting().continueStroke({130, 75});
        f.canvas.painting().continueStroke({100, 75});
    }
    EXPECT_NEAR(maskAt(f.canvas, 115, 75), 0.75, 2e-3); // 1 − 0.5²
    f.canvas.painting().endStroke();
    f.canvas.painting().beginStroke({115, 75}); // a new stroke adds again
    f.canvas.painting().endStroke();
    EXPECT_NEAR(maskAt(f.canvas, 115, 75), 0.75 + 0.25 * 0.75, 2e-3);
    // Erasing at opacity 0.5 removes 0.25 per dab.
    f.canvas.painting().invertMask();
    f.canvas.painting().clearMask();
    f.canvas.painting().invertMask(); // all white
    f.canvas.painting().brush().erase = true;
    f.canvas.painting().brush().softness = 0;
    f.canvas.painting().beginStroke({40.5, 40.5});
    f.canvas.painting().endStroke();
    EXPECT_NEAR(maskAt(f.canvas, 40, 40), 0.75, 2e-3);
}

// A stroke adds to the mask as it was at the press: 1 − (1 − before)(1 − stroke), whether its opacity
// is full or not, while it is drawn and after the release; undo takes it away again.
TEST(Strokes, AStrokeAddsToTheMaskFromBeforeIt) {
    auto first = [](CanvasModel& c) {
        c.painting().brush().opacity = 0.5;
        c.painting().beginStroke({40, 75});
        for (int x = 52; x <= 160; x += 12) c.painting().continueStroke({double(x), 75});
        c.painting().endStroke();
    };
    // Crosses the first stroke and itself.
    auto second = [](CanvasModel& c, double opacity, bool release) {
        c.painting().brush().opacity = opacity;
        c.painting().beginStroke({70, 30});
        for (int k = 1; k <= 10; ++k) c.painting().continueStroke({70.0 + 5 * k, 30.0 + 9 * k});
        for (int k = 1; k <= 6; ++k) c.painting().continueStroke({120.0 - 9 * k, 120.0 - 6 * k});
        if (release) c.painting().endStroke();
    };
    const std::pair<int, int> points[] = {{60, 75}, {85, 60}, {95, 75}, {100, 90}, {110, 110}, {30, 20}};
    for (double opacity : {1.0, 0.6}) {
        for (bool release : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << "opacity " << opacity << (release ? ", released" : ", drawing"));
            StrokeFixture alone, before, both;
            second(alone.canvas, opacity, true);
            first(before.canvas);
            first(both.canvas);
            second(both.canvas, opacity, release);
            for (auto [x, y] : points) {
                const double s = maskAt(alone.canvas, x, y), m = maskAt(before.canvas, x, y);
                EXPECT_NEAR(maskAt(both.canvas, x, y), 1 - (1 - m) * (1 - s), 1e-4) << x << "," << y;
            }
            if (!release) continue;
            both.session.undo();
            for (auto [x, y] : points) EXPECT_EQ(maskAt(both.canvas, x, y), maskAt(before.canvas, x, y));
        }
    }
}

TEST(Strokes, SolidColourAndItsUndo) {
    StrokeFixture f;
    f.canvas.painting().brush().solidColor = true;
    EXPECT_FALSE(f.canvas.painting().beginStroke({30, 30})); // no colour chosen: nothing happens
    EXPECT_FALSE(f.session.canUndo());
    f.canvas.painting().invertMask(); // everything coloured
    const Image white = f.canvas.painting().mask();
    f.canvas.painting().brush().colour = Rgba{0.0, 0.6, 0.2, 1};
    f.canvas.painting().brush().softness = 0;
    ASSERT_TRUE(f.canvas.painting().beginStroke({60.5, 60.5}));
    f.canvas.painting().endStroke();
    EXPECT_NEAR(maskAt(f.canvas, 60, 60), 0.0, 1e-3); // the photo's colour removed there
    ASSERT_TRUE(f.canvas.painting().colorDrawingMask());
    EXPECT_NEAR(pixel(f.canvas.painting().colorDrawingMask(), 60, 60)[1], 0.6, 1e-3);
    EXPECT_NEAR(pixel(f.canvas.painting().colorDrawingMask(), 5, 5)[1], 1.0, 1e-3); // white: no recolouring
    // A paint stroke over it clears the solid colour and brings the photo's colour back.
    f.canvas.painting().brush().colour = std::nullopt;
    f.canvas.painting().brush().solidColor = false;
    f.canvas.painting().beginStroke({60.5, 60.5});
    f.canvas.painting().endStroke();
    EXPECT_NEAR(maskAt(f.canvas, 60, 60), 1.0, 1e-3);
    EXPECT_NEAR(pixel(f.canvas.painting().colorDrawingMask(), 60, 60)[0], 1.0, 1e-3);
    // Undo restores mask and colour layer together, one step per stroke.
    f.session.undo();
    EXPECT_NEAR(maskAt(f.canvas, 60, 60), 0.0, 1e-3);
    EXPECT_NEAR(pixel(f.canvas.painting().colorDrawingMask(), 60, 60)[1], 0.6, 1e-3);
    f.session.undo();
    EXPECT_NEAR(maskAt(f.canvas, 60, 60), 1.0, 1e-3);
    EXPECT_EQ(pixel(f.canvas.painting().mask(), 60, 60), pixel(white, 60, 60));
    EXPECT_FALSE(f.canvas.painting().colorDrawingMask());
}

// The same bytes, row by row.
bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.bytesPerRow() != b.bytesPerRow())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), a.bytesPerRow()) != 0) return false;
    return true;
}

// A big photo is shown from a reduced decode while the rest is decoded. What is shown at once is
// the picture at working size; what is saved, and the working copy once the photo is there, are
// exactly those of a canvas that had the photo from the start.
TEST(CanvasModel, APhotoStillDecodingIsShownAtOnceAndThenExactly) {
    const BitmapRef whole = photo(2500, 1600), half = photo(1250, 800);
    EditSession refSession;
    CanvasModel reference(whole, &refSession);
    for (bool decoded : {true, false}) {
        SCOPED_TRACE(decoded ? "the photo arrives" : "its decoding fails");
        std::promise<BitmapRef> arriving;
        EditSession session;
        CanvasModel canvas(CanvasPhoto(half, arriving.get_future().share(), 2500, 1600, 8), &session);
        EXPECT_EQ(canvas.imageB_orig().extent(), reference.imageB_orig().extent());
        EXPECT_EQ(canvas.scaleFactorFromOriginal(), reference.scaleFactorFromOriginal());
        const RectF e = canvas.imageB_orig().extent();
        const Px shown = pixel(canvas.imageB_orig(), int(e.width() / 4), int(e.height() / 2)),
                 exact = pixel(reference.imageB_orig(), int(e.width() / 4), int(e.height() / 2));
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], exact[c], 0.02);
        for (CanvasModel* m : {&canvas, &reference}) {
            changePictureSettings(*m, [](PictureSettings& ps) {
                ps.treatment = Treatment::Sepia;
                ps.foreground.exposure = 0.4;
            });
        }
        // Saving waits for the photo.
        std::thread decoder([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            arriving.set_value(decoded ? whole : nullptr);
        });
        const auto result = canvas.resultImage();
        decoder.join();
        if (!decoded) {
            EXPECT_FALSE(result);
            canvas.finishOpeningLook();
            continue;
        }
        ASSERT_TRUE(result);
        EXPECT_TRUE(samePixels(**result, **reference.resultImage()));
        const auto working = Renderer().createBitmap(canvas.imageB_orig(), 16),
                   expected = Renderer().createBitmap(reference.imageB_orig(), 16);
        ASSERT_TRUE(working && expected);
        EXPECT_TRUE(samePixels(*working, *expected));
        EXPECT_FALSE(canvas.isLookPending());
    }
}

TEST(CanvasModel, FullResolutionOnScreenFromOnePointPerPhotoPixel) {
    EditSession session;
    CanvasModel canvas(photo(2500, 1600), &session);
    canvas.createMaskBuffer();
    canvas.setScale(1.0); // below one point per photo pixel (the factor is about 1.47)
    EXPECT_TRUE(canvas.currentImage().extent() == canvas.imageA_orig().extent());
    EXPECT_FALSE(canvas.isNowFullSize());
    canvas.setScale(canvas.scaleFactorFromOriginal());
    EXPECT_TRUE(canvas.currentImage().extent().width() >= 2500);
    EXPECT_TRUE(canvas.isNowFullSize());
    // The comparison switches a little earlier, at 0.9999.
    canvas.setScale(canvas.scaleFactorFromOriginal() * 0.99995);
    EXPECT_TRUE(canvas.isCompareFullSize());
    canvas.setScale(canvas.scaleFactorFromOriginal() * 0.9998);
    EXPECT_FALSE(canvas.isCompareFullSize());
}

// The treated background is kept flattened between redraws; whatever the order of changes, what is
// shown is what a canvas that had only the last settings would show, at working and at full size.
TEST(CanvasModel, TheKeptBackgroundFollowsEveryChange) {
    struct Settings {
        Treatment treatment;
        double saturation, brightness, blur;
    };
    using T = Treatment;
    const Settings steps[] = {{T::Sepia, 0, 0, 0},         {T::SilverBlue, 0, 0, 0}, {T::Sepia, 0.5, 0, 0},
                              {T::Aged, 0.5, 0.1, 0},      {T::Aged, 0.5, 0.1, 3},   {T::Sepia, 0, 0, 0},
                              {T::Grayscale, 0.2, -0.1, 0}};
    auto apply = [](CanvasModel& c, const Settings& s) {
        changePictureSettings(c, [&](PictureSettings& ps) {
            ps.treatment = s.treatment;
            ps.background.saturation = s.saturation;
            ps.background.brightness = s.brightness;
            ps.background.blur = s.blur;
        });
    };
    EditSession session;
    const BitmapRef shot = photo(2500, 1600);
    CanvasModel canvas(shot, &session);
    canvas.createMaskBuffer();
    for (const Settings& s : steps) {
        SCOPED_TRACE(std::string(PictureSettings::treatmentName(s.treatment)) + " " +
                     std::to_string(s.saturation) + " " + std::to_string(s.blur));
        apply(canvas, s);
        EditSession freshSession;
        CanvasModel fresh(shot, &freshSession);
        fresh.createMaskBuffer();
        apply(fresh, s);
        for (const double scale : {1.0, 2 * canvas.scaleFactorFromOriginal()}) {
            canvas.setScale(scale);
            fresh.setScale(scale);
            const Image shown = canvas.currentImage(), expected = fresh.currentImage();
            // Beside the photo's edges and its colour boundaries, where a blur or a tone shows.
            const RectF e = shown.extent();
            const int w = int(e.width()), h = int(e.height());
            for (const auto& [x, y] :
                 {std::pair{1, 1}, std::pair{w / 2 - 2, h / 2}, std::pair{w / 3, h * 3 / 4 - 2}}) {
                const Px a = pixel(shown, x, y), b = pixel(expected, x, y);
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_NEAR(a[ch], b[ch], 1e-6) << scale << " at " << x << "," << y;
            }
        }
    }
}

TEST(Strokes, BrushPreview) {
    StrokeFixture f;
    auto preview = f.canvas.painting().previewImage({60, 40}, 30, 50, 0.5);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->width(), 60);
    EXPECT_EQ(preview->height(), 40);
    EXPECT_NEAR(preview->component(0, 0, 0), 0.0, 1e-6); // black around it
    EXPECT_EQ(preview->component(0, 0, 3), 1.0f);
}

} // namespace
} // namespace pimavo::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
