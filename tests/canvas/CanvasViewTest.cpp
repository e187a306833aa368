// The canvas on screen (offscreen platform): the picture is drawn fitted, a drag paints the photo's
// colour back where the pointer went, and undo takes it away again.
#include "canvas/CanvasView.h"

#include "CanvasTestPictures.h"
#include "canvas/BrushCursor.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

// A 400 × 300 red photo on a canvas of the given size, shown.
struct ShownCanvas {
    EditSession session;
    CanvasView view;
    QStringList alerts;
    ShownCanvas(int width, int height) : view(redPhoto(400, 300), &session) {
        QObject::connect(
            &view, &CanvasView::alertRequested,
            [this](const QString& message, const QString& info) { alerts << message + " / " + info; });
        view.resize(width, height);
        view.show();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(&view); }
};

bool isGrey(const QColor& c) {
    return std::abs(c.red() - c.green()) < 4 && std::abs(c.green() - c.blue()) < 4;
}
bool isRed(const QColor& c) {
    return c.red() > c.green() + 100;
}

void drag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    for (int k = 1; k <= 8; ++k) {
        const QPoint p = from + (to - from) * k / 8;
        QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

// Runs at the screen's scale; the tests run it again with QT_SCALE_FACTOR=2 for the 2× look.
TEST(CanvasView, PaintingBringsTheColourBackAndUndoRemovesIt) {
    {
        ShownCanvas canvas(500, 300);
        ASSERT_TRUE(canvas.exposed());
        CanvasView& view = canvas.view;
        // Fitted inside a 15-point border: 360 × 270, centred (on whole screen pixels, half a
        // point either way at a fractional desktop scale).
        EXPECT_NEAR(view.realFrame().x(), 70, 0.5);
        EXPECT_NEAR(view.scale(), 0.9, 1e-6);
        QImage shot = view.grab().toImage();
        const double dpr = shot.devicePixelRatio();
        SCOPED_TRACE(dpr);
        EXPECT_TRUE(isGrey(shot.pixelColor(int(250 * dpr), int(150 * dpr))));

        view.model().painting().brush().size = 30;
        drag(&view, {200, 150}, {300, 150});
        shot = view.grab().toImage();
        EXPECT_TRUE(isRed(shot.pixelColor(int(250 * dpr), int(150 * dpr))));
        EXPECT_TRUE(isGrey(shot.pixelColor(int(250 * dpr), int(60 * dpr)))); // away from the stroke
        EXPECT_EQ(shot.pixelColor(int(10 * dpr), int(150 * dpr)), view.palette().color(QPalette::Window));

        canvas.session.undo();
        shot = view.grab().toImage();
        EXPECT_TRUE(isGrey(shot.pixelColor(int(250 * dpr), int(150 * dpr))));
        canvas.session.redo();
        shot = view.grab().toImage();
        EXPECT_TRUE(isRed(shot.pixelColor(int(250 * dpr), int(150 * dpr))));
    }
}

TEST(CanvasView, CompareShowsTheUntouchedPhoto) {
    ShownCanvas canvas(400, 300);
    ASSERT_TRUE(canvas.exposed());
    CanvasView& view = canvas.view;
    QImage shot = view.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    const QPoint centre(int(200 * dpr), int(150 * dpr));
    EXPECT_TRUE(isGrey(shot.pixelColor(centre)));
    view.showCompareView();
    EXPECT_TRUE(isRed(view.grab().toImage().pixelColor(centre)));
    view.hideCompareView();
    EXPECT_TRUE(isGrey(view.grab().toImage().pixelColor(centre)));
}

TEST(CanvasView, WheelZoomsInPhotographersStepsAndTheHandScrolls) {
    ShownCanvas canvas(400, 300);
    ASSERT_TRUE(canvas.exposed());
    CanvasView& view = canvas.view;
    const double fitted = view.scale();
    auto wheel = [&](int dy, QPoint pixels = {}, Qt::KeyboardModifiers mods = {}, QPointF at = {200, 150}) {
        QWheelEvent e(at, view.mapToGlobal(at), pixels, QPoint(0, dy), Qt::NoButton, mods,
                      pixels.isNull() ? Qt::NoScrollPhase : Qt::ScrollUpdate, false);
        QApplication::sendEvent(&view, &e);
    };
    // The ladder's steps above the fitted zoom (90 % at 1x, 180 % at 2x: percentages count screen
    // pixels): 100, 200, 300, 400, 800 % at 1x.
    std::vector<double> steps;
    for (double step : ViewGeometry::kZoomLadder)
        if (step > view.geometry().zoomPercent() * 1.000001) steps.push_back(step);
    ASSERT_GE(steps.size(), 5u);
    for (int i = 0; i < 4; ++i) wheel(120);
    EXPECT_NEAR(view.geometry().zoomPercent(), steps[3], 1e-9);
    // Off the centre, the picture point under the pointer stays under it: a step, and with Ctrl a
    // halving.
    auto under = [&](QPointF at) { return (at - view.realFrame().topLeft()) / view.scale(); };
    const QPointF pointer(120, 90);
    const QPointF held = under(pointer);
    wheel(120, {}, {}, pointer);
    EXPECT_NEAR(view.geometry().zoomPercent(), steps[4], 1e-9);
    EXPECT_NEAR(under(pointer).x(), held.x(), 1.5 / view.scale());
    EXPECT_NEAR(under(pointer).y(), held.y(), 1.5 / view.scale());
    wheel(-120, {}, Qt::ControlModifier, pointer);
    EXPECT_NEAR(view.geometry().zoomPercent(), steps[4] / 2, 1e-9);
    EXPECT_NEAR(under(pointer).x(), held.x(), 1.5 / view.scale());
    EXPECT_NEAR(under(pointer).y(), held.y(), 1.5 / view.scale());
    wheel(120, {}, Qt::ControlModifier, pointer);
    EXPECT_NEAR(view.geometry().zoomPercent(), steps[4], 1e-9);
    // Zoomed in past the frame: the scroll bars show, and the picture still fills the area.
    const auto bars = view.findChildren<QScrollBar*>();
    ASSERT_EQ(bars.size(), 2);
    for (QScrollBar* bar : bars) EXPECT_TRUE(bar->isVisible());
    QImage shot = view.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    EXPECT_TRUE(isGrey(shot.pixelColor(int(20 * dpr), int(20 * dpr))));

    // With the hand the picture follows the pointer; strokes are not drawn.
    view.setMoveImage(true);
    const QRectF before = view.realFrame();
    drag(&view, {200, 150}, {240, 170});
    EXPECT_NEAR(view.realFrame().x() - before.x(), 40, 1);
    EXPECT_NEAR(view.realFrame().y() - before.y(), 20, 1);
    EXPECT_TRUE(view.model().painting().isMaskCleared());
    // A double click with the hand fits the picture again.
    QTest::mouseDClick(&view, Qt::LeftButton, {}, {200, 150});
    EXPECT_NEAR(view.scale(), fitted, 1e-9);
    for (QScrollBar* bar : bars) EXPECT_FALSE(bar->isVisible());
    view.setMoveImage(false);

    // A wheel with Alt zooms even from a trackpad; without it a trackpad scrolls.
    wheel(120, QPoint(0, 3), Qt::AltModifier);
    EXPECT_NEAR(view.geometry().zoomPercent(), steps[0], 1e-9);
    // Zooming out below 300 points stops.
    for (int i = 0; i < 20; ++i) wheel(-120);
    EXPECT_GT(std::min(view.realFrame().width(), view.realFrame().height()), 299);
}

TEST(CanvasView, ScrollBarsPageThroughTheZoomedPicture) {
    ShownCanvas canvas(400, 300);
    ASSERT_TRUE(canvas.exposed());
    CanvasView& view = canvas.view;
    for (int i = 0; i < 8; ++i) view.zoomIn();
    QScrollBar* h = nullptr;
    for (QScrollBar* bar : view.findChildren<QScrollBar*>())
        if (bar->orientation() == Qt::Horizontal) h = bar;
    ASSERT_TRUE(h && h->isVisible());
    h->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_NEAR(view.realFrame().x(), 10, 0.5);
    EXPECT_EQ(h->value(), 0);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_LT(view.realFrame().x(), 10 - 300);
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    // The picture's right edge ends just clear of the vertical bar.
    EXPECT_GE(view.realFrame().right(), 400 - 10 - 15);
    EXPECT_LE(view.realFrame().right(), 400 - 18);
    EXPECT_EQ(h->value(), h->maximum());
}

TEST(CanvasView, PressesWhileSomethingElseIsUp) {
    ShownCanvas canvas(400, 300);
    ASSERT_TRUE(canvas.exposed());
    CanvasView& view = canvas.view;
    QStringList posted;
    QObject::connect(&view, &CanvasView::compareCloseRequested, [&posted] { posted << "compareClose"; });
    QObject::connect(&view, &CanvasView::colorPickerCloseRequested,
                     [&posted] { posted << "colorPickerClose"; });

    // Disabled (comparing): a press asks to leave the comparison and paints nothing.
    view.setEnabled(false);
    QTest::mouseClick(&view, Qt::LeftButton, {}, {200, 150});
    EXPECT_EQ(posted, QStringList{"compareClose"});
    EXPECT_TRUE(view.model().painting().isMaskCleared());
    view.setEnabled(true);

    // A colour chooser open: the press asks to close it, then paints.
    posted.clear();
    view.setColorPickerShowed(true);
    QTest::mouseClick(&view, Qt::LeftButton, {}, {200, 150});
    EXPECT_EQ(posted, QStringList{"colorPickerClose"});
    EXPECT_FALSE(view.model().painting().isMaskCleared());
    view.setColorPickerShowed(false);
    posted.clear();
    QTest::mouseClick(&view, Qt::LeftButton, {}, {100, 100});
    EXPECT_TRUE(posted.isEmpty());

    // The solid-colour tool without a colour explains itself and paints nothing.
    view.model().painting().clearMask();
    view.model().painting().brush().solidColor = true;
    QTest::mouseClick(&view, Qt::LeftButton, {}, {200, 150});
    EXPECT_EQ(canvas.alerts, QStringList{"ReColor undefined / You must select color for drawing."});
    EXPECT_TRUE(view.model().painting().isMaskCleared());
}

TEST(CanvasView, TheSpaceBarHandAndCtrl) {
    ShownCanvas canvas(400, 300);
    ASSERT_TRUE(canvas.exposed());
    CanvasView& view = canvas.view;
    for (int i = 0; i < 6; ++i) view.zoomIn();
    // Held space: a drag moves the picture and paints nothing.
    QTest::keyPress(&view, Qt::Key_Space);
    EXPECT_TRUE(view.isHandTool());
    EXPECT_EQ(view.cursor().shape(), Qt::OpenHandCursor);
    const QRectF before = view.realFrame();
    drag(&view, {200, 150}, {170, 130});
    EXPECT_NEAR(view.realFrame().x() - before.x(), -30, 1);
    EXPECT_TRUE(view.model().painting().isMaskCleared());
    // Ctrl leaves the hand even while space is down; the next drag paints.
    QTest::keyPress(&view, Qt::Key_Control);
    EXPECT_FALSE(view.isHandTool());
    drag(&view, {200, 150}, {220, 150});
    EXPECT_FALSE(view.model().painting().isMaskCleared());
    QTest::keyRelease(&view, Qt::Key_Space);
    EXPECT_FALSE(view.isHandTool());
}

TEST(BrushCursor, PictureDetails) {
    auto alphaAt = [](const QImage& img, int x, int y) { return img.pixelColor(x, y).alphaF(); };
    // The sign shows above 20 points: the centre pixel is the black bar's.
    const QImage small = drawBrushPicture(20, 0, false, false), big = drawBrushPicture(21, 0, false, false);
    EXPECT_LT(alphaAt(small, 10, 10), 0.3);
    const QColor centre = big.pixelColor(10, 10);
    EXPECT_GT(centre.alphaF(), 0.6);
    EXPECT_LT(centre.redF(), 0.2);
    // Erase shows a minus: no vertical bar above the centre.
    const QImage minus = drawBrushPicture(41, 0, true, false);
    EXPECT_LT(alphaAt(minus, 20, 17), 0.3);
    EXPECT_GT(alphaAt(drawBrushPicture(41, 0, false, false), 20, 17), 0.6);
    // Softness 100: a yellow core ring of diameter D / 2 − 2 (here 18 for D = 40).
    const QImage soft = drawBrushPicture(40, 100, false, true);
    int yellowAt = -1;
    for (int x = 0; x < 20 && yellowAt < 0; ++x) {
        const QColor c = soft.pixelColor(x, 20);
        if (c.alphaF() > 0.3 && c.redF() > 0.7 && c.greenF() > 0.7 && c.blueF() < 0.3) yellowAt = x;
    }
    EXPECT_NEAR(yellowAt, 20 - 9 - 1, 1.5);
}

TEST(BrushCursor, DrawingCursorIsCachedAndAtLeastEightPoints) {
    EditSession session;
    CanvasView view(redPhoto(100, 80), &session);
    const QCursor a = view.additionalDrawingCursorWithDiameter(3);
    EXPECT_EQ(a.pixmap().width() / a.pixmap().devicePixelRatio(), 8);
    const QCursor b = view.additionalDrawingCursorWithDiameter(3);
    EXPECT_EQ(a.pixmap().cacheKey(), b.pixmap().cacheKey());
    view.model().painting().brush().softness = 10;
    EXPECT_NE(view.additionalDrawingCursorWithDiameter(3).pixmap().cacheKey(), a.pixmap().cacheKey());
    view.setEnabled(false);
    EXPECT_EQ(view.currentBrushCursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace pimavo::test
