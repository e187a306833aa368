// What the canvas shows, pixel for pixel (offscreen platform, at 1× and, run again, at 2×): at 100 %
// zoom and above the photo's own pixels as crisp squares, in the picture and in the comparison; a
// chosen look appearing on its own once it is computed.
#include "CanvasTestPictures.h"
#include "Wait.h"
#include "canvas/CanvasView.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

QColor photoColour(const Bitmap& photo, int x, int y) {
    auto level = [&](int c) { return int(std::lround(photo.component(x, y, c) * 255)); };
    return QColor(level(1), level(2), level(3));
}

struct Shown {
    EditSession session;
    BitmapRef photo;
    CanvasView view;
    Shown(BitmapRef p, int width, int height) : photo(p), view(std::move(p), &session) {
        view.resize(width, height);
        view.show();
    }
};

// Checks that every device pixel of the grab inside the picture (and clear of the scroll bars)
// shows the photo pixel under its centre, exactly. Pixels whose centre lies on the border of two
// photo pixels (within rounding) may show either.
void expectPhotoPixels(CanvasView& view, const Bitmap& photo, const char* what) {
    SCOPED_TRACE(what);
    const QImage shot = view.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    const QRectF frame = view.realFrame();
    const double k = frame.width() / photo.width() * dpr; // device pixels per photo pixel
    ASSERT_GE(k, 1);
    const QRectF visible = frame.intersected(QRectF(0, 0, view.width() - 20, view.height() - 20));
    ASSERT_FALSE(visible.isEmpty());
    int checked = 0, wrong = 0;
    QString first;
    for (int Y = int(std::ceil(visible.top() * dpr)); Y < int(visible.bottom() * dpr); ++Y)
        for (int X = int(std::ceil(visible.left() * dpr)); X < int(visible.right() * dpr); ++X) {
            // The picture stands on the frame's bottom edge (image coordinates go up from there).
            const double u = (X + 0.5 - frame.left() * dpr) / k, v = (frame.bottom() * dpr - Y - 0.5) / k;
            if (std::abs(u - std::round(u)) < 1e-6 || std::abs(v - std::round(v)) < 1e-6) continue;
            const int i = int(u), j = photo.height() - 1 - int(v);
            if (i >= photo.width() || j < 0) continue;
            ++checked;
            const QColor got = shot.pixelColor(X, Y), want = photoColour(photo, i, j);
            if (got.rgb() != want.rgb() && wrong++ == 0)
                first = QString("device (%1, %2) shows %3, photo (%4, %5) is %6")
                            .arg(X)
                            .arg(Y)
                            .arg(got.name())
                            .arg(i)
                            .arg(j)
                            .arg(want.name());
        }
    EXPECT_GT(checked, 1000);
    EXPECT_EQ(wrong, 0) << "of " << checked << "; " << first.toStdString();
}

// 100 %, then 200 % and 400 % (one and three zoom steps), for a photo the editor
// works on at its own size and for one it reduces for work, which it shows at full resolution.
TEST(CanvasPixels, FromOneHundredPercentEachPhotoPixelIsACrispSquare) {
    struct Case {
        int w, h;
    } cases[] = {{120, 90}, {2100, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        Shown shown(speckledPhoto(c.w, c.h), 400, 300);
        CanvasView& view = shown.view;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        // The photo's colour everywhere, so the picture is the photo itself.
        view.model().painting().invertMask();
        view.zoomToActualSize();
        view.validateImage();
        expectPhotoPixels(view, *shown.photo, "picture at 100 %");
        view.showCompareView();
        expectPhotoPixels(view, *shown.photo, "comparison at 100 %");
        view.hideCompareView();
        for (int steps : {1, 2}) {
            for (int s = 0; s < steps; ++s) view.zoomIn();
            const std::string zoom = std::to_string(int(std::lround(view.realFrame().width() / c.w * 100)));
            expectPhotoPixels(view, *shown.photo, ("picture at " + zoom + " %").c_str());
            view.showCompareView();
            expectPhotoPixels(view, *shown.photo, ("comparison at " + zoom + " %").c_str());
            view.hideCompareView();
        }
    }
}

// Below 100 % the picture is drawn smoothly, yet its outermost screen pixels are still the picture's,
// not blended with what lies around it (on a 2× screen the fitted picture is enlarged).
TEST(CanvasPixels, TheFittedPictureKeepsItsColourToItsEdges) {
    auto bm = std::make_shared<Bitmap>(500, 400, *photoLayout(8));
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x) {
            bm->setComponent(x, y, 1, 0.2f);
            bm->setComponent(x, y, 2, 0.6f);
            bm->setComponent(x, y, 3, 0.4f);
        }
    Shown shown(bm, 400, 300);
    CanvasView& view = shown.view;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setBackdrop(QColor(255, 0, 255));
    ASSERT_LT(view.scale(), 1);
    const QImage shot = view.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    // The frame's sides lie on whole screen pixels at every desktop scale.
    const QRectF f = view.realFrame();
    const QRect device(QPoint(int(std::lround(f.left() * dpr)), int(std::lround(f.top() * dpr))),
                       QPoint(int(std::lround(f.right() * dpr)) - 1, int(std::lround(f.bottom() * dpr)) - 1));
    const QRgb inside = shot.pixel(device.center());
    int wrong = 0;
    for (int x = device.left(); x <= device.right(); ++x)
        for (int y : {device.top(), device.bottom()}) wrong += shot.pixel(x, y) != inside;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x : {device.left(), device.right()}) wrong += shot.pixel(x, y) != inside;
    EXPECT_EQ(wrong, 0) << "at " << dpr << "x";
    // Just outside, the backdrop.
    EXPECT_EQ(shot.pixel(device.left() - 1, device.center().y()), QColor(255, 0, 255).rgb());
}

// Choosing a look computes it a moment later; the canvas then shows it without anything else
// asking for a redraw.
TEST(CanvasPixels, AChosenLookAppearsOnItsOwn) {
    Shown shown(speckledPhoto(200, 150), 400, 300);
    CanvasView& view = shown.view;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    CanvasModel& model = view.model();
    const QImage before = view.grab().toImage();
    model.setPreset(2);
    ASSERT_TRUE(waitUntil([&] { return model.lookCache().files(2) && model.delayedPreset() == -1; }, 20000));
    processPendingEvents(); // on screen
    const QImage shown2 = view.grab().toImage();
    view.validateImage();
    const QImage redrawn = view.grab().toImage();
    EXPECT_FALSE(redrawn == before); // the look changes the picture
    EXPECT_TRUE(shown2 == redrawn);
    model.lookCache().waitUntilIdle();
    model.forgetLooks();
}

// Show mask marks the coloured areas with checks ten view points wide at every zoom, exactly 100 %
// (where the full-resolution picture takes over) included, in the colour the user chose.
TEST(CanvasPixels, ShowMaskChecksAreTenPointsAtEveryZoomInTheChosenColour) {
    // Six megapixels of grey: worked on at about two, shown at full resolution from 100 % on.
    auto grey = std::make_shared<Bitmap>(3000, 2000, *photoLayout(8));
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 3000; ++x)
            for (int c = 1; c <= 3; ++c) grey->setComponent(x, y, c, 0.5f);
    Shown shown(grey, 400, 300);
    CanvasView& view = shown.view;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    CanvasModel& model = view.model();
    ASSERT_GT(model.scaleFactorFromOriginal(), 1.5);
    model.painting().invertMask(); // coloured everywhere
    model.setShowMask(true);
    struct Zoom {
        const char* name;
        std::function<void()> apply;
    };
    const Zoom zooms[] = {
        {"fitted", [&] { view.zoomToFitRect(); }},
        {"50 %", [&] { view.zoomToPercent(50); }},
        {"exactly 100 %", [&] { view.zoomToActualSize(); }},
        {"200 %", [&] { view.zoomToPercent(200); }},
    };
    struct Colour {
        Rgba chosen;
        int channel; // the one the coloured checks lean to (0 red, 1 green, 2 blue)
    };
    for (const Colour& colour : {Colour{{1, 0, 0, 0.6}, 0}, Colour{{0, 0, 1, 0.6}, 2}}) {
        model.setShowMaskColor(colour.chosen);
        for (const Zoom& z : zooms) {
            SCOPED_TRACE(std::string(z.name) + ", channel " + std::to_string(colour.channel));
            z.apply();
            view.validateImage();
            const QImage shot = view.grab().toImage();
            const double dpr = shot.devicePixelRatio();
            const QRectF visible =
                view.realFrame().intersected(QRectF(0, 0, view.width() - 20, view.height() - 20));
            const int Y = int(visible.center().y() * dpr);
            // Runs of coloured and dark checks along a row, in view points.
            auto leans = [&](QColor c) {
                const int v[3] = {c.red(), c.green(), c.blue()};
                return v[colour.channel] > v[(colour.channel + 1) % 3] + 60;
            };
            std::vector<double> runs;
            int start = int(std::ceil(visible.left() * dpr)), coloured = 0;
            bool inColour = leans(shot.pixelColor(start, Y));
            for (int X = start + 1; X < int(visible.right() * dpr) - 1; ++X) {
                const bool now = leans(shot.pixelColor(X, Y));
                coloured += now;
                if (now == inColour) continue;
                runs.push_back((X - start) / dpr);
                start = X;
                inColour = now;
            }
            ASSERT_GE(runs.size(), 4u);
            EXPECT_GT(coloured, 0);
            // The first run starts at the frame, not at a check's edge.
            std::vector<double> whole(runs.begin() + 1, runs.end());
            std::sort(whole.begin(), whole.end());
            EXPECT_NEAR(whole[whole.size() / 2], 10, 1.01);
        }
    }
}

} // namespace
} // namespace pimavo::test
