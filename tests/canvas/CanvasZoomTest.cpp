// The zoom counts the photo's own pixels: fitted, at 100 % and where a stroke lands, for a photo the
// canvas works on directly and for photos it works on through a reduced copy (a photo above its pixel
// limit), whose saved picture has the photo's size.
#include "CanvasTestPictures.h"
#include "canvas/CanvasView.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace pimavo::test {
namespace {

// A photo, and the copy of it the canvas works on (the photo itself when `copy` is empty).
struct PhotoCase {
    const char* name;
    int width, height;         // the photo as decoded
    int copyWidth, copyHeight; // its reduced copy, or 0
};
const PhotoCase kPhotos[] = {
    {"the photo itself", 800, 600, 0, 0},
    {"a copy of half its size", 1600, 1200, 800, 600},
    {"a copy reduced by 2.5", 2500, 1600, 1000, 640},
    // The copy is above the view's working size too: three sizes in play.
    {"a copy above the working size", 2700, 1800, 1800, 1200},
};

constexpr int kViewWidth = 600, kViewHeight = 450;

struct ZoomCanvas {
    EditSession session;
    CanvasView view;
    explicit ZoomCanvas(const PhotoCase& c) : view(photoFor(c), &session) {
        view.resize(kViewWidth, kViewHeight);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    static CanvasPhoto photoFor(const PhotoCase& c) {
        if (c.copyWidth == 0) return CanvasPhoto(redPhoto(c.width, c.height));
        CanvasPhoto photo(redPhoto(c.copyWidth, c.copyHeight));
        photo.fullSize = redPhoto(c.width, c.height);
        return photo;
    }
    QScrollBar* horizontalBar() {
        for (QScrollBar* bar : view.findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Horizontal) return bar;
        return nullptr;
    }
};

TEST(CanvasZoom, PercentagesCountThePhotosOwnPixels) {
    for (const PhotoCase& c : kPhotos) {
        SCOPED_TRACE(c.name);
        ZoomCanvas canvas(c);
        CanvasView& view = canvas.view;
        // The percentages count screen pixels: at 2x desktop scale 100 % is half a point a pixel.
        const double dpr = view.devicePixelRatioF();
        // Fitted: the picture fills the area inside its 15-point inset (never past one view point
        // per working pixel), and the percentage is the picture's width on screen over the photo's.
        const SizeF copy = c.copyWidth ? SizeF{double(c.copyWidth), double(c.copyHeight)}
                                       : SizeF{double(c.width), double(c.height)};
        const double fit =
            dpr * std::min(100 * std::min((kViewWidth - 30.0) / c.width, (kViewHeight - 30.0) / c.height),
                           100 * CanvasModel::workingSize(copy).width / c.width);
        EXPECT_NEAR(view.zoomPercent(), fit, fit * 0.005);
        EXPECT_NEAR(view.realFrame().width() * dpr, c.width * view.zoomPercent() / 100, 1);

        // Ctrl+1: one screen pixel per photo pixel, and the scroll bar measures the photo's width.
        QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier);
        EXPECT_NEAR(view.zoomPercent(), 100, 1e-9);
        EXPECT_NEAR(view.realFrame().width() * dpr, c.width, 1);
        EXPECT_NEAR(view.realFrame().height() * dpr, c.height, 3);
        QScrollBar* bar = canvas.horizontalBar();
        ASSERT_TRUE(bar);
        const double track = kViewWidth - 14; // the horizontal track, less the vertical bar's overlap
        const double shown = c.width / dpr;
        EXPECT_EQ(bar->isVisible(), shown + 5 > track);
        if (bar->isVisible()) {
            EXPECT_NEAR(double(bar->pageStep()) / (bar->maximum() - bar->minimum() + bar->pageStep()),
                        track / (shown + 15), 0.01);
        }

        // A zoom typed in per cent (one that leaves the picture above 300 points on a side).
        const double typed = 60 * dpr;
        view.zoomToPercent(typed);
        EXPECT_NEAR(view.zoomPercent(), typed, 1e-9);
        EXPECT_NEAR(view.realFrame().width() * dpr, c.width * typed / 100, 1);
    }
}

// Black and white in turn, pixel by pixel: any resampling shows as grey, and a shift as a broken
// alternation. The treated background keeps black and white as they are.
BitmapRef checkeredPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 1; c <= 3; ++c) bm->setComponent(x, y, c, float((x + y) % 2));
    return bm;
}

// Also run at 125 % and 150 % desktop scale (QT_SCALE_FACTOR), where a view point is not a whole
// number of screen pixels.
TEST(CanvasZoom, ActualSizeShowsOnePhotoPixelOnEachScreenPixel) {
    EditSession session;
    CanvasView view(CanvasPhoto(checkeredPhoto(900, 700)), &session);
    view.resize(kViewWidth, kViewHeight);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (const char* how : {"Ctrl+1", "100 % typed in", "Ctrl+1 after scrolling"}) {
        SCOPED_TRACE(how);
        if (std::string(how) == "100 % typed in") {
            view.zoomToFitRect();
            view.zoomToPercent(100);
        } else {
            if (std::string(how) == "Ctrl+1 after scrolling") {
                view.zoomToFitRect();
                for (QScrollBar* bar : view.findChildren<QScrollBar*>()) bar->setValue(bar->value() + 3);
            }
            QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier);
        }
        ASSERT_NEAR(view.zoomPercent(), 100, 1e-9);
        const QImage shot = view.grab().toImage();
        const double dpr = shot.devicePixelRatio();
        ASSERT_NEAR(dpr, view.devicePixelRatioF(), 1e-9);
        // Well inside the picture and clear of the scroll bars, in screen pixels.
        const QRectF inside = view.realFrame().intersected(QRectF(view.rect())).adjusted(30, 30, -30, -30);
        ASSERT_FALSE(inside.isEmpty());
        const QRect pixels(QPoint(int(std::ceil(inside.left() * dpr)), int(std::ceil(inside.top() * dpr))),
                           QPoint(int(inside.right() * dpr), int(inside.bottom() * dpr)));
        int greys = 0, unbroken = 0, checked = 0;
        for (int y = pixels.top(); y < pixels.bottom(); ++y)
            for (int x = pixels.left(); x < pixels.right(); ++x) {
                const int v = qGray(shot.pixel(x, y));
                const bool black = v<3, white = v> 252;
                greys += !black && !white;
                unbroken += qGray(shot.pixel(x + 1, y)) != v && qGray(shot.pixel(x, y + 1)) != v;
                ++checked;
            }
        EXPECT_EQ(greys, 0) << "of " << checked << " screen pixels at scale " << dpr;
        EXPECT_EQ(unbroken, checked) << "screen pixels alternating, at scale " << dpr;
    }
}

TEST(CanvasZoom, AStrokeLandsOnThePhotoPixelUnderThePointer) {
    struct Zoom {
        const char* name;
        double percent; // 0: Ctrl+1
    };
    const Zoom zooms[] = {{"Ctrl+1", 0}, {"300 %", 300}, {"fitted", -1}};
    for (const PhotoCase& c : kPhotos)
        for (const Zoom& z : zooms) {
            SCOPED_TRACE(std::string(c.name) + ", " + z.name);
            ZoomCanvas canvas(c);
            CanvasView& view = canvas.view;
            view.model().painting().brush().softness = 0;
            view.setBrushSize(12);
            if (z.percent == 0)
                QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier);
            else if (z.percent > 0)
                view.zoomToPercent(z.percent);
            const QPoint pointer = view.rect().center() - QPoint(70, 50);
            ASSERT_TRUE(view.realFrame().contains(pointer));
            // The photo pixel under the pointer (rows top-down), counted on the picture as shown.
            const double photoPerPoint = c.width / view.realFrame().width();
            const int px = int((pointer.x() - view.realFrame().x()) * photoPerPoint);
            const int py = int((pointer.y() - view.realFrame().y()) * photoPerPoint);
            QTest::mouseClick(&view, Qt::LeftButton, {}, pointer);

            const auto result = view.model().resultImage();
            ASSERT_TRUE(result && *result);
            const Bitmap& saved = **result;
            ASSERT_EQ(saved.width(), c.width);
            ASSERT_EQ(saved.height(), c.height);
            const int o = saved.layout().alphaFirst() ? 1 : 0;
            auto red = [&](int x, int y) {
                return saved.component(x, y, o) > saved.component(x, y, o + 1) + 0.4f;
            };
            EXPECT_TRUE(red(px, py)) << "at " << px << ", " << py;
            // Past the dab's edge (30 points away) the background stays grey on either side.
            const int away = int(std::ceil(30 * photoPerPoint));
            for (auto [x, y] : {std::pair{px - away, py}, {px + away, py}, {px, py - away}, {px, py + away}})
                if (x >= 0 && y >= 0 && x < c.width && y < c.height) {
                    EXPECT_FALSE(red(x, y)) << "at " << x << ", " << y;
                }
        }
}

} // namespace
} // namespace pimavo::test
