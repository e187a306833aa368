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
        // Fitted: the picture fills the area inside its 15-point inset (never past one view point
        // per working pixel), and the percentage is the picture's width on screen over the photo's.
        const SizeF copy = c.copyWidth ? SizeF{double(c.copyWidth), double(c.copyHeight)}
                                       : SizeF{double(c.width), double(c.height)};
        const double fit =
            std::min(100 * std::min((kViewWidth - 30.0) / c.width, (kViewHeight - 30.0) / c.height),
                     100 * CanvasModel::workingSize(copy).width / c.width);
        EXPECT_NEAR(view.zoomPercent(), fit, fit * 0.005);
        EXPECT_NEAR(view.realFrame().width(), c.width * view.zoomPercent() / 100, 1);

        // Ctrl+1: one view point per photo pixel, and the scroll bar measures the photo's width.
        QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier);
        EXPECT_NEAR(view.zoomPercent(), 100, 1e-9);
        EXPECT_NEAR(view.realFrame().width(), c.width, 1);
        EXPECT_NEAR(view.realFrame().height(), c.height, 3);
        QScrollBar* bar = canvas.horizontalBar();
        ASSERT_TRUE(bar);
        const double track = kViewWidth - 14; // the horizontal track, less the vertical bar's overlap
        EXPECT_EQ(bar->isVisible(), c.width + 5 > track);
        if (bar->isVisible()) {
            EXPECT_NEAR(double(bar->pageStep()) / (bar->maximum() - bar->minimum() + bar->pageStep()),
                        track / (c.width + 15), 0.01);
        }

        // A zoom typed in per cent.
        view.zoomToPercent(60);
        EXPECT_NEAR(view.zoomPercent(), 60, 1e-9);
        EXPECT_NEAR(view.realFrame().width(), c.width * 0.6, 1);
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
