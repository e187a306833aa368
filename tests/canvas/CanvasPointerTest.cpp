// The canvas under a pen and a mouse: a press paints at once, a tablet's pressure sizes the dabs and
// the drawing cursor, and a lifted pen ends the stroke.
#include "Wait.h"
#include "canvas/CanvasView.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

BitmapRef greenPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bm->setComponent(x, y, 1, 0.1f);
            bm->setComponent(x, y, 2, 0.85f);
            bm->setComponent(x, y, 3, 0.1f);
        }
    return bm;
}

struct PenCanvas {
    EditSession session;
    CanvasView view;
    PenCanvas() : view(greenPhoto(400, 300), &session) {
        view.resize(500, 360);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.model().painting().brush().softness = 0; // hard dabs: their size reads straight off the mask
        view.setBrushSize(40);
    }
    // Where a point of the photo (y up) is on the canvas.
    QPointF at(double x, double y) const {
        const QRectF r = view.viewRectFromImage(RectF(x, y, 0, 0));
        return r.topLeft();
    }
    // How many mask pixels along the photo's row y are painted, between x0 and x1.
    int paintedRun(int y, int x0, int x1) {
        auto mask = Renderer().createBitmap(view.model().painting().mask(), 8);
        if (!mask) return -1;
        const int row = mask->height() - 1 - y; // rows top-down
        int n = 0;
        for (int x = x0; x < x1; ++x) n += mask->component(x, row, 1) > 0.5f;
        return n;
    }
};

const QPointingDevice& stylus() {
    static const QPointingDevice pen(
        "test stylus", 4242, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
    return pen;
}

void tablet(QWidget* w, QEvent::Type type, QPointF p, double pressure) {
    const Qt::MouseButton button = type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton;
    QTabletEvent e(type, &stylus(), p, w->mapToGlobal(p), pressure, 0, 0, 0, 0, 0, Qt::NoModifier, button,
                   buttons);
    QApplication::sendEvent(w, &e);
    EXPECT_TRUE(e.isAccepted());
}

bool isGreen(const QColor& c) {
    return c.green() > c.red() + 100;
}

TEST(CanvasPointer, APressPaintsBeforeThePointerMoves) {
    PenCanvas canvas;
    const QPoint p = canvas.at(200, 150).toPoint();
    QImage shot = canvas.view.grab().toImage();
    const double dpr = shot.devicePixelRatio();
    ASSERT_FALSE(isGreen(shot.pixelColor(int(p.x() * dpr), int(p.y() * dpr))));
    // The mouse and the pen alike.
    QTest::mousePress(&canvas.view, Qt::LeftButton, {}, p);
    shot = canvas.view.grab().toImage();
    EXPECT_TRUE(isGreen(shot.pixelColor(int(p.x() * dpr), int(p.y() * dpr)))) << "mouse";
    QTest::mouseRelease(&canvas.view, Qt::LeftButton, {}, p);

    const QPointF q = canvas.at(300, 150);
    tablet(&canvas.view, QEvent::TabletPress, q, 1.0);
    shot = canvas.view.grab().toImage();
    EXPECT_TRUE(isGreen(shot.pixelColor(int(q.x() * dpr), int(q.y() * dpr)))) << "pen";
    tablet(&canvas.view, QEvent::TabletRelease, q, 0.0);
    EXPECT_FALSE(canvas.view.model().painting().isDrawing());
}

// What the canvas repainted on screen since it was last cleared.
struct PaintedRegion : QObject {
    QRegion region;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

// A drag that begins with the hand (the space bar held) and goes on painting once it is let go:
// the first dab of that stroke shows where it is laid, not one move later, and the release ends it.
TEST(CanvasPointer, ADragThatStartsAStrokeShowsItsFirstDabAtOnce) {
    for (bool pen : {false, true}) {
        SCOPED_TRACE(pen ? "pen" : "mouse");
        PenCanvas canvas;
        CanvasView& view = canvas.view;
        PaintedRegion painted;
        view.installEventFilter(&painted);
        const QPointF a = canvas.at(120, 150), b = canvas.at(200, 150);
        view.setMoveImageUsingSpace(true);
        if (pen) {
            tablet(&view, QEvent::TabletPress, a, 1.0);
        } else {
            QTest::mousePress(&view, Qt::LeftButton, {}, a.toPoint());
        }
        view.setMoveImageUsingSpace(false);
        processPendingEvents(); // what the press repaints is on screen before the count starts
        painted.region = {};
        if (pen) {
            tablet(&view, QEvent::TabletMove, b, 1.0);
        } else {
            QMouseEvent move(QEvent::MouseMove, b, view.mapToGlobal(b), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(&view, &move);
        }
        EXPECT_TRUE(waitUntil([&] { return painted.region.contains(b.toPoint()); }))
            << "the first dab is not on screen yet";
        EXPECT_GT(canvas.paintedRun(150, 180, 220), 20);
        if (pen)
            tablet(&view, QEvent::TabletRelease, b, 0);
        else
            QTest::mouseRelease(&view, Qt::LeftButton, {}, b.toPoint());
        EXPECT_FALSE(view.model().painting().isDrawing()) << "the release left the stroke open";
        EXPECT_FALSE(view.isHandTool());
    }
}

TEST(CanvasPointer, PenPressureSizesTheDabsAndTheDrawingCursor) {
    PenCanvas canvas;
    CanvasView& view = canvas.view;
    const double scale = view.scale();
    // Each pressure dabs once at its own place; a full-pressure dab is the brush's 40 points wide.
    struct Dab {
        double pressure;
        double x;
    };
    const Dab dabs[] = {{1.0, 60}, {0.5, 140}, {0.25, 220}, {0.75, 300}};
    for (const Dab& d : dabs) {
        SCOPED_TRACE(d.pressure);
        tablet(&view, QEvent::TabletPress, canvas.at(d.x, 150), d.pressure);
        tablet(&view, QEvent::TabletRelease, canvas.at(d.x, 150), d.pressure);
        const double expected = 40 / scale * d.pressure;
        EXPECT_NEAR(canvas.paintedRun(150, int(d.x) - 40, int(d.x) + 40), expected, 3);
    }
    // A pressed pen moving lighter and heavier: the line narrows and widens, and the drawing
    // cursor follows (never below its 8-point least).
    struct Step {
        double pressure;
        double x;
    };
    const Step steps[] = {{1.0, 60}, {1.0, 120}, {0.3, 180}, {0.1, 240}, {0.6, 300}, {0.6, 340}};
    tablet(&view, QEvent::TabletPress, canvas.at(20, 60), 1.0);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pressure);
        tablet(&view, QEvent::TabletMove, canvas.at(s.x, 60), s.pressure);
        const int D = std::max(8, int(std::lround(40 * s.pressure)));
        EXPECT_EQ(view.cursor().hotSpot(), QPoint(D / 2, D / 2));
    }
    tablet(&view, QEvent::TabletRelease, canvas.at(340, 60), 0);
    // Across the line: wide where the pen pressed, narrow where it lightened.
    auto across = [&](int x) {
        auto mask = Renderer().createBitmap(view.model().painting().mask(), 8);
        int n = 0;
        for (int y = 0; y < mask->height(); ++y) n += mask->component(x, y, 1) > 0.5f;
        return n;
    };
    // (Each move's dabs take its own pressure; the columns are clear of the dabs above.)
    EXPECT_NEAR(across(90), 40 / scale, 3);
    EXPECT_NEAR(across(150), 40 / scale * 0.3, 2);
    EXPECT_NEAR(across(205), 40 / scale * 0.1, 2);
    EXPECT_NEAR(across(330), 40 / scale * 0.6, 2);
    EXPECT_FALSE(view.model().painting().isDrawing());
    // The mouse, which has no pressure, paints at full size.
    QTest::mouseClick(&view, Qt::LeftButton, {}, canvas.at(380, 250).toPoint());
    EXPECT_NEAR(canvas.paintedRun(250, 340, 400), 40 / scale, 3);
}

} // namespace
} // namespace pimavo::test
