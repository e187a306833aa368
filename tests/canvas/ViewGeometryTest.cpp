// Zooming, scrolling and the hand tool, as a user would drive them: where the picture ends up, which
// scroll bars show, and how the brush follows the scale.
#include "canvas/ViewGeometry.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace pimavo::test {
namespace {

// A 1000 × 800 window area with the toolbar and top bar strips, its scroller tracks laid out as the
// main window lays them out.
struct Canvas {
    ViewGeometry g;
    explicit Canvas(SizeF image, double scaleFactor = 1) {
        g.setAreaSize({1000, 800});
        g.horizontalScroller().trackLength = 1000 - 309 - 4;
        g.verticalScroller().trackLength = 800 - 63;
        g.setImageSize(image);
        g.setScaleFactorFromPhoto(scaleFactor);
        // The toolbar's brush slider: 1 to 400 points, handing its value back.
        g.toolbarSetBrushSize = [this](double z) { g.setBrushSize(std::clamp(z, 1.0, 400.0)); };
        g.zoomToFitRect(RectF());
    }
    PointF frameCentre() const {
        const RectF F = g.frame();
        return {F.minX() + F.width() / 2, F.minY() + F.height() / 2};
    }
    // The working-image point shown at a place of the area.
    PointF pictureAt(PointF p) const {
        const RectF R = g.realFrame();
        return {(p.x - R.minX()) / g.scale(), (p.y - R.minY()) / g.scale()};
    }
};

TEST(ViewGeometry, FitNeverEnlargesAndTakesTheSmallerRatio) {
    struct Case {
        SizeF image;
        double scale;
    } cases[] = {
        {{200, 100}, 1},                     // small: stays at one point per pixel
        {{2000, 1000}, float(661.0 / 2000)}, // wide: the width decides
        {{1000, 2000}, float(721.0 / 2000)}, // tall: the height decides
    };
    for (const Case& c : cases) {
        Canvas canvas(c.image);
        EXPECT_DOUBLE_EQ(canvas.g.scale(), c.scale);
        // Fitted: no scroll bars, no corner square, centred in the picture area.
        EXPECT_TRUE(canvas.g.horizontalScroller().hidden);
        EXPECT_TRUE(canvas.g.verticalScroller().hidden);
        EXPECT_TRUE(canvas.g.isCornerSquareHidden());
        const RectF r = canvas.g.realFrame();
        EXPECT_NEAR(r.minX() + r.width() / 2, 15 + 661 / 2.0, 1);
        EXPECT_NEAR(r.minY() + r.height() / 2, 15 + 721 / 2.0, 1);
        EXPECT_EQ(canvas.g.frame(), r);
    }
}

TEST(ViewGeometry, ZoomingKeepsThePointUnderTheCentre) {
    Canvas canvas({2000, 1500});
    for (int i = 0; i < 9; ++i) {
        const PointF c = canvas.frameCentre();
        const PointF before = canvas.pictureAt(c);
        ASSERT_TRUE(canvas.g.zoomIn());
        const PointF p = canvas.pictureAt(c);
        // Up to the rounding of the frame to whole points.
        EXPECT_NEAR(p.x, before.x, 1.5 / canvas.g.scale()) << i;
        EXPECT_NEAR(p.y, before.y, 1.5 / canvas.g.scale()) << i;
    }
    // Zoomed in, the picture overflows: both bars and the corner square show.
    EXPECT_FALSE(canvas.g.horizontalScroller().hidden);
    EXPECT_FALSE(canvas.g.verticalScroller().hidden);
    EXPECT_FALSE(canvas.g.isCornerSquareHidden());
    // The visible frame stays inside the area, clear of the toolbar and the bars.
    const RectF F = canvas.g.frame();
    EXPECT_GE(F.minX(), 0);
    EXPECT_GE(F.minY(), 15);
    EXPECT_LE(F.maxX(), 1000 - 309 - 15);
    EXPECT_LE(F.maxY(), 800 - 49);
}

TEST(ViewGeometry, ZoomOutStopsAtThreeHundredPointsOnceThePictureFits) {
    Canvas canvas({1200, 800});
    int steps = 0;
    while (canvas.g.zoomOut() && steps < 100) ++steps;
    const RectF r = canvas.g.realFrame();
    EXPECT_GT(steps, 0);
    EXPECT_GT(r.height(), 300 - 1);
    EXPECT_LE(r.height(), 300 * 1.5 + 1); // the ladder's widest step
    // A refused step changes nothing.
    const double s = canvas.g.scale();
    EXPECT_FALSE(canvas.g.zoomOut());
    EXPECT_EQ(canvas.g.scale(), s);
}

TEST(ViewGeometry, TheBrushStaysOneWorkingPixelWideAndComesBack) {
    // 50 %: ten view points per working pixel.
    Canvas canvas({200, 100}, 20);
    canvas.g.setScale(10);
    canvas.g.setBrushSize(10);
    ASSERT_TRUE(canvas.g.zoomIn()); // 66.7 %
    EXPECT_NEAR(canvas.g.brushSize(), 20 * 2 / 3.0, 1e-9);
    EXPECT_EQ(canvas.g.storedBrushSize(), 10);
    ASSERT_TRUE(canvas.g.zoomOut());
    EXPECT_NEAR(canvas.g.brushSize(), 10, 1e-9);
    EXPECT_EQ(canvas.g.storedBrushSize(), 0);

    // A size the user picks while zoomed replaces the remembered one.
    ASSERT_TRUE(canvas.g.zoomIn());
    canvas.g.setBrushSize(30);
    EXPECT_EQ(canvas.g.storedBrushSize(), 0);
    // A size below one working pixel is raised to one.
    canvas.g.setBrushSize(2);
    EXPECT_NEAR(canvas.g.brushSize(), canvas.g.scale(), 1e-9);

    // Past the slider's maximum the zoom stops.
    Canvas large({200, 100}, 30);
    large.g.setScale(380);
    large.g.setBrushSize(380);
    EXPECT_FALSE(large.g.zoomIn()); // 1600 % would need a brush of 480 points
    EXPECT_EQ(large.g.scale(), 380);
}

TEST(ViewGeometry, ActualSizeIsOnePointPerPhotoPixel) {
    Canvas canvas({1600, 1200}, 2.5);
    canvas.g.setBrushSize(1);
    canvas.g.zoomToActualSize();
    EXPECT_EQ(canvas.g.scale(), 2.5);
    EXPECT_EQ(canvas.g.realFrame().size, (SizeF{4000, 3000}));
    // Even the smallest brush still covers a working pixel.
    EXPECT_GE(canvas.g.brushSize() / canvas.g.scale(), 1);
    // Fitting again brings the user's brush back.
    canvas.g.zoomToFitRect(RectF());
    EXPECT_EQ(canvas.g.brushSize(), 1);
}

TEST(ViewGeometry, ScrollBarsMoveThePictureAndFollowIt) {
    Canvas canvas({2000, 1500});
    canvas.g.zoomToActualSize(); // 2000 × 1500 points in a 691 × 751 area
    auto& h = canvas.g.horizontalScroller();
    auto& v = canvas.g.verticalScroller();
    ASSERT_FALSE(h.hidden);
    ASSERT_FALSE(v.hidden);
    EXPECT_NEAR(h.knobProportion, 687.0 / (2000 + 15), 1e-6);

    struct Case {
        double knob;
    } knobs[] = {{0}, {0.25}, {0.5}, {1}};
    for (const Case& c : knobs) {
        canvas.g.horizontalScroll(ScrollerPart::Knob, c.knob);
        EXPECT_NEAR(h.value, c.knob, 0.002) << c.knob;
        canvas.g.verticalScroll(ScrollerPart::Knob, c.knob);
        EXPECT_NEAR(v.value, c.knob, 0.002) << c.knob;
    }
    // Left end: the picture starts 10 points in; paging left cannot go past it.
    canvas.g.horizontalScroll(ScrollerPart::Knob, 0);
    EXPECT_EQ(canvas.g.realFrame().minX(), 10);
    canvas.g.horizontalScroll(ScrollerPart::DecrementPage);
    EXPECT_EQ(canvas.g.realFrame().minX(), 10);
    // Paging right moves one track length, and stops with the right edge in view.
    canvas.g.horizontalScroll(ScrollerPart::IncrementPage);
    EXPECT_EQ(canvas.g.realFrame().minX(), 10 - 687);
    for (int i = 0; i < 5; ++i) canvas.g.horizontalScroll(ScrollerPart::IncrementPage);
    EXPECT_EQ(canvas.g.realFrame().maxX(), 1000 - 309 - 10 - 15);
    EXPECT_NEAR(h.value, 1, 1e-9);
}

TEST(ViewGeometry, TrackpadMovesGatherUntilAPointAndPinchesNeedAHundredth) {
    Canvas canvas({2000, 1500});
    canvas.g.zoomToActualSize();
    canvas.g.horizontalScroll(ScrollerPart::Knob, 0.5);
    const double x0 = canvas.g.realFrame().minX();
    canvas.g.beginScrollGesture();
    canvas.g.addScrollDelta(0.4, 0.1);
    EXPECT_FALSE(canvas.g.applyScrollDeltas());
    canvas.g.addScrollDelta(0.4, 0.1);
    EXPECT_FALSE(canvas.g.applyScrollDeltas());
    canvas.g.addScrollDelta(0.4, 0.1);
    EXPECT_TRUE(canvas.g.applyScrollDeltas());
    EXPECT_NEAR(canvas.g.realFrame().minX(), x0 + 2.4, 0.5);

    const double s = canvas.g.scale();
    EXPECT_FALSE(canvas.g.magnify(0.005));
    EXPECT_FALSE(canvas.g.magnify(-0.009));
    EXPECT_EQ(canvas.g.scale(), s);
    EXPECT_TRUE(canvas.g.magnify(0.2));
    EXPECT_NEAR(canvas.g.scale(), s * 2, 1e-9); // 100 % to 200 %
}

TEST(ViewGeometry, TheHandToolDragsWithinTheMargins) {
    Canvas canvas({2000, 1500});
    canvas.g.zoomToActualSize();
    canvas.g.horizontalScroll(ScrollerPart::Knob, 0.5);
    canvas.g.verticalScroll(ScrollerPart::Knob, 0.5);
    const RectF start = canvas.g.realFrame();
    canvas.g.beginHandMove({300, 300});
    canvas.g.handMove({340, 280});
    EXPECT_EQ(canvas.g.realFrame().origin, (PointF{start.minX() + 40, start.minY() - 20}));
    // Dragged far right the picture stops 10 points from the left edge.
    canvas.g.handMove({5000, 280});
    EXPECT_EQ(canvas.g.realFrame().minX(), 10);
    // A picture that fits does not move on that axis.
    Canvas small({200, 100});
    const RectF before = small.g.realFrame();
    small.g.beginHandMove({100, 100});
    small.g.handMove({150, 150});
    EXPECT_EQ(small.g.realFrame(), before);
}

// The wheel, the keys and the buttons step through the zooms photographers know, from 12.5 % to
// 1600 %; with Ctrl the wheel doubles or halves; a typed zoom is taken to the ladder's ends. The
// picture point under the pointer stays under it.
TEST(ViewGeometry, ZoomStepsFollowTheLadderAboutThePointer) {
    struct Case {
        const char* name;
        double scaleFactor;  // full-resolution width / working width
        double startPercent; // set before the command
        std::function<bool(ViewGeometry&, PointF)> command;
        double percent; // after it; 0: refused
    };
    auto in = [](ViewGeometry& g, PointF a) { return g.zoomIn(a); };
    auto out = [](ViewGeometry& g, PointF a) { return g.zoomOut(a); };
    auto twice = [](ViewGeometry& g, PointF a) { return g.zoomDoubling(true, a); };
    auto half = [](ViewGeometry& g, PointF a) { return g.zoomDoubling(false, a); };
    auto typed = [](double p) { return [p](ViewGeometry& g, PointF) { return g.zoomToPercent(p); }; };
    const Case cases[] = {
        {"in from between steps", 3, 21, in, 25},
        {"in from a step", 3, 100, in, 200},
        {"in from a third", 3, 100.0 / 3, in, 50},
        {"out from a step", 3, 200, out, 100},
        {"out from between steps", 3, 140, out, 100},
        {"out to a sixth", 3, 25, out, 100.0 / 6},
        {"in at the top", 3, 1600, in, 0},
        {"Ctrl doubles", 3, 140, twice, 280},
        {"Ctrl halves", 3, 140, half, 70},
        {"Ctrl stops at the top", 3, 1200, twice, 1600},
        {"typed", 3, 50, typed(150), 150},
        {"typed too large", 3, 50, typed(5000), 1600},
        {"typed too small, for a picture large enough", 8, 50, typed(1), 12.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas({1800, 1200}, c.scaleFactor);
        canvas.g.setBrushSize(100);
        ASSERT_TRUE(canvas.g.zoomTo(c.startPercent / 100 * c.scaleFactor));
        const RectF F = canvas.g.frame();
        const PointF pointer{F.minX() + F.width() * 0.3, F.minY() + F.height() * 0.7};
        const PointF under = canvas.pictureAt(pointer);
        const double before = canvas.g.zoomPercent();
        EXPECT_EQ(c.command(canvas.g, pointer), c.percent != 0);
        EXPECT_NEAR(canvas.g.zoomPercent(), c.percent != 0 ? c.percent : before, 1e-6);
        // A typed zoom keeps the centre; the others the point under the pointer, where the picture
        // overflows the area and need not be kept from leaving a gap.
        const std::string name = c.name;
        if (name.rfind("typed", 0) != 0 && c.percent != 0 && !canvas.g.horizontalScroller().hidden &&
            !canvas.g.verticalScroller().hidden) {
            const PointF now = canvas.pictureAt(pointer);
            EXPECT_NEAR(now.x, under.x, 1.5 / canvas.g.scale());
            EXPECT_NEAR(now.y, under.y, 1.5 / canvas.g.scale());
        }
    }
}

} // namespace
} // namespace pimavo::test
