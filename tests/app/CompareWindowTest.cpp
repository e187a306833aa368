// Compare before and after as the window shows it, at the window sizes people use: the comparison
// fades in fully over the canvas and the tool panel, shows the untouched photo beside the edited
// picture, and leaves nothing behind when it ends, however quickly it is turned on and off.
#include "WindowFixture.h"
#include "app/EditorWindow.h"
#include "app/WindowCompare.h"
#include "app/WindowOpening.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ImagePreview.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace pimavo::test {
namespace {

enum class Way { CtrlB, Button, Menu };
enum class Out { CtrlB, Escape };

struct CompareWindow : WindowFixture {
    // Opened and whole, unless asked to come back while the photo is still being decoded.
    explicit CompareWindow(QSize size, bool whole = true)
        : WindowFixture(WindowOptions().sized(size).activated()) {
        w->opening()->open(sample());
        if (!whole) return;
        EXPECT_TRUE(waitUntil([&] { return w->isPhotoWhole() && w->drawingToolbar(); }, 30000));
        EXPECT_TRUE(waitUntil([&] { return w->size() == size; }));
    }
    void comeIn(Way way) {
        switch (way) {
        case Way::CtrlB:
            key(Qt::Key_B, Qt::ControlModifier);
            break;
        case Way::Button:
            QTest::mouseClick(compareButton(), Qt::LeftButton);
            break;
        case Way::Menu:
            compareAction()->trigger();
            break;
        }
    }
    void goOut(Out out) {
        if (out == Out::CtrlB)
            key(Qt::Key_B, Qt::ControlModifier);
        else
            key(Qt::Key_Escape);
    }
    QRect inWindow(const QWidget* v) const { return QRect(v->mapTo(w.get(), QPoint(0, 0)), v->size()); }
};

bool grey(QRgb c) {
    return std::abs(qRed(c) - qGreen(c)) <= 8 && std::abs(qGreen(c) - qBlue(c)) <= 8;
}
bool coloured(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) > 30;
}

// A spot where the sample photo is green leaves, and its place in a preview showing the photo.
QPoint spot(const QWidget* preview, const QImage& shot, const QPoint& origin) {
    // The photo is scaled to fit the preview and centred; the spot is a fifth across, two thirds down.
    const double aspect = 2560.0 / 1600.0;
    double pw = preview->width(), ph = pw / aspect;
    if (ph > preview->height()) ph = preview->height(), pw = ph * aspect;
    const double x0 = (preview->width() - pw) / 2, y0 = (preview->height() - ph) / 2;
    const QPoint p = origin + QPoint(int(x0 + pw * 0.2), int(y0 + ph * 0.66));
    const double k = shot.devicePixelRatio();
    return QPoint(int(p.x() * k), int(p.y() * k));
}

using Case = std::tuple<QSize, Way, Out>;

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    const QSize size = std::get<0>(info.param);
    const char* ways[] = {"CtrlB", "Button", "Menu"};
    const char* outs[] = {"CtrlB", "Escape"};
    return std::to_string(size.width()) + "x" + std::to_string(size.height()) + "_" +
           ways[int(std::get<1>(info.param))] + "_Out" + outs[int(std::get<2>(info.param))];
}
class CompareWindowAtSize : public ::testing::TestWithParam<Case> {};

// In and out, at each size and by each way: fully shown over the canvas and the panel, the untouched
// photo on the left and the edited (grey) one on the right; then nothing is left and the panel
// takes clicks again.
TEST_P(CompareWindowAtSize, ComesInFullyAndLeavesNothing) {
    const auto [size, way, out] = GetParam();
    CompareWindow t(size);
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel && t.w->painterView());
    t.comeIn(way);
    ASSERT_TRUE(t.w->compare()->isShown());
    ASSERT_TRUE(waitUntil([&] { return t.compareShownFully(); }, 5000))
        << "overlays " << t.compareOverlays().size() << ", opacity "
        << (t.compareOverlays().isEmpty() ? -1 : CompareWindow::opacity(t.compareOverlays().front()));
    QWidget* overlay = t.compareOverlays().front();
    const QRect covered = t.inWindow(overlay);
    EXPECT_TRUE(covered.contains(t.inWindow(t.w->painterView())));
    EXPECT_TRUE(covered.contains(t.inWindow(panel)));
    const QPoint panelCentre = t.inWindow(panel).center();
    EXPECT_TRUE(overlay->isAncestorOf(t.w->childAt(panelCentre)) || t.w->childAt(panelCentre) == overlay);

    const QList<ImagePreview*> previews = overlay->findChildren<ImagePreview*>();
    ASSERT_EQ(previews.size(), 2);
    const ImagePreview* before = previews[0]->x() < previews[1]->x() ? previews[0] : previews[1];
    const ImagePreview* after = before == previews[0] ? previews[1] : previews[0];
    const QImage shot = t.w->grab().toImage();
    const QRgb b = shot.pixel(spot(before, shot, t.inWindow(before).topLeft()));
    const QRgb a = shot.pixel(spot(after, shot, t.inWindow(after).topLeft()));
    EXPECT_TRUE(coloured(b)) << "before " << qRed(b) << "," << qGreen(b) << "," << qBlue(b);
    EXPECT_TRUE(grey(a)) << "after " << qRed(a) << "," << qGreen(a) << "," << qBlue(a);
    EXPECT_GT(qGray(a), 30); // drawn, not the empty background

    t.goOut(out);
    EXPECT_FALSE(t.w->compare()->isShown());
    ASSERT_TRUE(waitUntil([&] { return t.compareLeftFully(); }, 5000));
    ImageButton* eraser = panel->eraseMaskButton();
    const QPoint at = t.inWindow(eraser).center();
    EXPECT_EQ(t.w->childAt(at), eraser);
    QTest::mouseClick(eraser, Qt::LeftButton);
    EXPECT_EQ(eraser->state(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    SizesAndWays, CompareWindowAtSize,
    ::testing::Values(Case{{1440, 870}, Way::CtrlB, Out::CtrlB}, Case{{1440, 870}, Way::Button, Out::Escape},
                      Case{{1440, 870}, Way::Menu, Out::CtrlB}, Case{{1400, 868}, Way::CtrlB, Out::Escape},
                      Case{{1400, 868}, Way::Button, Out::CtrlB}, Case{{1400, 868}, Way::Menu, Out::Escape},
                      Case{{1600, 960}, Way::CtrlB, Out::Escape}, Case{{1600, 960}, Way::Button, Out::CtrlB},
                      Case{{1600, 960}, Way::Menu, Out::Escape}),
    caseName);

// Turned off while it fades in, and on again while it fades out: one comparison in the end, fully
// shown, or none at all, never one stuck half faded or left over the canvas.
TEST(CompareWindow, TurnedOffAndOnMidFadeEndsSettled) {
    struct Step {
        const char* name;
        int presses; // Ctrl+B presses, each while the last fade runs
        bool on;     // compare on at the end
    };
    const Step steps[] = {{"on, off", 2, false}, {"on, off, on", 3, true}, {"on, off, on, off", 4, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        CompareWindow t({1440, 870});
        for (int i = 0; i < step.presses; ++i) {
            t.key(Qt::Key_B, Qt::ControlModifier);
            if (i + 1 == step.presses) break;
            // Mid fade: the view coming or going is partly shown.
            ASSERT_TRUE(waitUntil(
                [&] {
                    for (QWidget* o : t.compareOverlays())
                        if (const double k = CompareWindow::opacity(o); k > 0.05 && k < 0.95) return true;
                    return false;
                },
                5000));
        }
        EXPECT_EQ(t.w->compare()->isShown(), step.on);
        if (step.on)
            EXPECT_TRUE(waitUntil([&] { return t.compareShownFully(); }, 5000));
        else
            EXPECT_TRUE(waitUntil([&] { return t.compareLeftFully(); }, 5000));
    }
}

// Asked for while the photo is still being decoded: the window says it is busy instead of standing
// still, the comparison comes once the photo is whole, and asking again meanwhile calls it off.
TEST(CompareWindow, AskedForBeforeThePhotoIsWholeComesWhenItIs) {
    struct Step {
        const char* name;
        int presses; // Ctrl+B presses before the photo is whole
        bool on;
    };
    for (const Step& step : {Step{"pressed once", 1, true}, Step{"pressed twice", 2, false}}) {
        SCOPED_TRACE(step.name);
        CompareWindow t({1440, 870}, false);
        ASSERT_FALSE(t.w->isPhotoWhole());
        ASSERT_TRUE(t.w->painterView());
        for (int i = 0; i < step.presses; ++i) t.key(Qt::Key_B, Qt::ControlModifier);
        ASSERT_FALSE(t.w->isPhotoWhole()) << "the window waited for the photo";
        EXPECT_EQ(t.w->compare()->isShown(), step.on);
        EXPECT_EQ(t.compareButton()->state(), step.on ? 1 : 0);
        EXPECT_EQ(t.compareAction()->isChecked(), step.on);
        const QCursor* cursor = QApplication::overrideCursor();
        EXPECT_EQ(cursor ? cursor->shape() : Qt::ArrowCursor, step.on ? Qt::BusyCursor : Qt::ArrowCursor);

        ASSERT_TRUE(waitUntil([&] { return t.w->isPhotoWhole(); }, 30000));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        if (step.on) {
            EXPECT_TRUE(waitUntil([&] { return t.compareShownFully(); }, 5000));
            t.key(Qt::Key_Escape);
            EXPECT_TRUE(waitUntil([&] { return t.compareLeftFully(); }, 5000));
        } else {
            // Settled: any comparison would have begun on the pass that made the photo whole.
            QCoreApplication::processEvents();
            EXPECT_TRUE(t.compareOverlays().isEmpty());
            EXPECT_FALSE(t.w->compare()->isShown());
        }
    }
}

} // namespace
} // namespace pimavo::test
