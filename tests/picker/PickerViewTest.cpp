// The colour region picker as a user drives it: where clicks count, how picks merge, the slider.
#include "engine/CIContext.h"
#include "picker/ZDColorPickerView.h"
#include "widgets/TQButton.h"
#include "widgets/TQSlider.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>
#include <random>

namespace pimavo::test {
namespace {

// Left half red, right half blue, a 200 × 100 photo.
BitmapRef twoColours() {
    auto b = std::make_shared<Bitmap>(200, 100, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    for (int y = 0; y < 100; ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < 200; ++x) {
            const bool red = x < 100;
            row[4 * x] = 255, row[4 * x + 1] = red ? 210 : 20, row[4 * x + 2] = 30,
                    row[4 * x + 3] = red ? 30 : 220;
        }
    }
    return b;
}

// Two megapixels of one colour with ±8 levels of grain: a click takes all of it.
BitmapRef grainy() {
    auto b = std::make_shared<Bitmap>(1732, 1155, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    std::mt19937 rng(9);
    for (int y = 0; y < b->height(); ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < b->width(); ++x) {
            row[4 * x] = 255, row[4 * x + 1] = uint8_t(110 + rng() % 17),
                    row[4 * x + 2] = uint8_t(150 + rng() % 17), row[4 * x + 3] = uint8_t(200 + rng() % 17);
        }
    }
    return b;
}

struct Owner : ZDColorPickerViewDelegate {
    int previews = 0, applied = 0, cancelled = 0;
    CIImage lastMask;
    QImage resultImageForColorPicker() override { return QImage(20, 10, QImage::Format_RGB32); }
    QImage resultMaskWithColorMask(const CIImage& mask) override {
        ++previews;
        lastMask = mask;
        return QImage(20, 10, QImage::Format_RGB32);
    }
    void exitFromColorPickerWithApply() override { ++applied; }
    void exitFromColorPickerWithCancel() override { ++cancelled; }
};

struct Shown {
    Owner owner;
    ZDColorPickerView view;
    explicit Shown(BitmapRef photo = twoColours()) : view(QRect(0, 0, 900, 600), std::move(photo), &owner) {
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    // A view point over photo pixel (x, y).
    QPointF over(double x, double y) const {
        const QRectF r = view.getFirstImageRect();
        const double s = view.calculateImageScale();
        return r.topLeft() + QPointF((x + 0.5) * s, (y + 0.5) * s);
    }
    bool waitForPick() {
        return QTest::qWaitFor([&] { return !view.isInteractionsDisabled(); }, 10000);
    }
    // Until the work away from the window has ended and whatever it handed back has been seen.
    static void settle() {
        QThreadPool::globalInstance()->waitForDone(30000);
        QTest::qWait(50);
    }
    // Whether photo pixel (x, y) is in the picker's mask.
    bool picked(int x, int y) {
        const CIImage& m = view.colorMask();
        if (!m) return false;
        auto bitmap = CIContext().createBitmap(m, 8);
        if (!bitmap) return false;
        return bitmap->component(x, y, 1) > 0.5f;
    }
};

TEST(PickerView, ClicksCountOnThePhotoOnlyAndNotWhileComputing) {
    Shown t;
    // The letterbox beside the photo.
    const QRectF r = t.view.getFirstImageRect();
    t.view.pick(r.topLeft() - QPointF(5, 5), Qt::NoModifier);
    EXPECT_FALSE(t.view.isInteractionsDisabled());
    EXPECT_EQ(t.owner.previews, 0);
    // A pick on the red half, and a second click while it computes, which is ignored.
    t.view.pick(t.over(50, 50), Qt::NoModifier);
    EXPECT_TRUE(t.view.isInteractionsDisabled());
    EXPECT_FALSE(t.view.applyButton()->isEnabled());
    t.view.pick(t.over(150, 50), Qt::NoModifier);
    ASSERT_TRUE(t.waitForPick());
    EXPECT_EQ(t.owner.previews, 1);
    EXPECT_TRUE(t.picked(50, 50));
    EXPECT_FALSE(t.picked(150, 50));
    EXPECT_TRUE(t.view.applyButton()->isEnabled());
    EXPECT_EQ(t.view.pickedColor().red(), 210);
}

TEST(PickerView, APickedFlatAreaIsColouredToThePhotosEdges) {
    Shown t;
    struct Case {
        int clickX, clickY;
        std::vector<std::pair<int, int>> picked, notPicked;
    };
    const Case cases[] = {
        {50, 50, {{0, 0}, {99, 0}, {0, 99}, {99, 99}, {50, 0}, {0, 50}}, {{100, 0}, {199, 99}}},
        {150, 50, {{100, 0}, {199, 0}, {100, 99}, {199, 99}, {150, 99}, {199, 50}}, {{99, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        t.view.pick(t.over(c.clickX, c.clickY), Qt::NoModifier);
        ASSERT_TRUE(t.waitForPick());
        for (auto [x, y] : c.picked) EXPECT_TRUE(t.picked(x, y)) << c.clickX << ": " << x << "," << y;
        for (auto [x, y] : c.notPicked) EXPECT_FALSE(t.picked(x, y)) << c.clickX << ": " << x << "," << y;
    }
}

// A flat picture with grain used to keep the fill busy for minutes; now the pick ends, the whole
// picture picked, under the ordinary wait.
TEST(PickerView, APickOnAGrainyPictureCompletes) {
    Shown t(grainy());
    t.view.pick(t.over(866, 577), Qt::NoModifier);
    ASSERT_TRUE(t.waitForPick());
    EXPECT_EQ(t.owner.previews, 1);
    for (auto [x, y] : {std::pair{0, 0}, {1731, 0}, {0, 1154}, {1731, 1154}, {866, 577}})
        EXPECT_TRUE(t.picked(x, y)) << x << "," << y;
}

// Cancel (the button or Escape) leaves the picker at once, whether or not a pick is running, and
// nothing of a running pick arrives afterwards.
TEST(PickerView, CancelAndEscapeLeaveAtOnceEvenWhileAPickRuns) {
    struct Case {
        const char* name;
        bool escape, whilePicking;
    };
    const Case cases[] = {
        {"Cancel, idle", false, false},
        {"Escape, idle", true, false},
        {"Cancel while a pick runs", false, true},
        {"Escape while a pick runs", true, true},
    };
    for (const Case& c : cases) {
        Shown t(grainy());
        QSignalSpy completed(&t.view, &ZDColorPickerView::colorFilteringCompleted);
        if (c.whilePicking) {
            t.view.pick(t.over(866, 577), Qt::NoModifier);
            ASSERT_TRUE(t.view.isInteractionsDisabled()) << c.name;
            EXPECT_TRUE(t.view.cancelButton()->isEnabled()) << c.name;
        }
        if (c.escape)
            QTest::keyClick(&t.view, Qt::Key_Escape);
        else
            QTest::mouseClick(t.view.cancelButton(), Qt::LeftButton);
        EXPECT_EQ(t.owner.cancelled, 1) << c.name;
        EXPECT_FALSE(t.view.applyButton()->isEnabled()) << c.name;
        Shown::settle();
        EXPECT_EQ(t.owner.previews, 0) << c.name;
        EXPECT_EQ(completed.count(), 0) << c.name;
        EXPECT_FALSE(t.view.colorMask()) << c.name;
        EXPECT_EQ(t.owner.cancelled, 1) << c.name;
        EXPECT_EQ(t.owner.applied, 0) << c.name;
        // Leaving, the picker takes no more clicks.
        t.view.pick(t.over(866, 577), Qt::NoModifier);
        Shown::settle();
        EXPECT_EQ(t.owner.previews, 0) << c.name;
    }
}

// The window closing the picker itself (its toolbar's toggle, another photo opened) while a pick
// runs: nothing of the pick reaches the delegate afterwards.
TEST(PickerView, AnOwnerClosingThePickerStopsItsPick) {
    Shown t(grainy());
    QSignalSpy completed(&t.view, &ZDColorPickerView::colorFilteringCompleted);
    t.view.pick(t.over(866, 577), Qt::NoModifier);
    ASSERT_TRUE(t.view.isInteractionsDisabled());
    t.view.stopPicking();
    Shown::settle();
    EXPECT_EQ(t.owner.previews, 0);
    EXPECT_EQ(completed.count(), 0);
    EXPECT_EQ(t.owner.cancelled, 0);
}

// The application quitting while a pick runs: the pick stops rather than hold up the exit, and
// its result is dropped.
TEST(PickerView, QuittingStopsARunningPick) {
    Shown t(grainy());
    QSignalSpy completed(&t.view, &ZDColorPickerView::colorFilteringCompleted);
    t.view.pick(t.over(866, 577), Qt::NoModifier);
    ASSERT_TRUE(t.view.isInteractionsDisabled());
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    qApp->exec();
    Shown::settle();
    EXPECT_EQ(t.owner.previews, 0);
    EXPECT_EQ(completed.count(), 0);
}

// The picker destroyed while its pick runs (the window closing): the pick stops and its result,
// arriving with no view to take it, is dropped.
TEST(PickerView, APickOutlivingItsPickerIsDropped) {
    Owner owner;
    auto* view = new ZDColorPickerView(QRect(0, 0, 900, 600), grainy(), &owner);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    const QRectF r = view->getFirstImageRect();
    view->pick(r.center(), Qt::NoModifier);
    ASSERT_TRUE(view->isInteractionsDisabled());
    delete view;
    Shown::settle();
    EXPECT_EQ(owner.previews, 0);
    EXPECT_EQ(owner.cancelled, 0);
}

// Alt takes away; so does Ctrl, for desktops whose window manager keeps Alt-click for itself.
TEST(PickerView, ShiftAddsAltOrCtrlTakesAwayAndShiftWins) {
    for (const Qt::KeyboardModifier away : {Qt::AltModifier, Qt::ControlModifier}) {
        SCOPED_TRACE(away == Qt::AltModifier ? "Alt" : "Ctrl");
        Shown t;
        t.view.pick(t.over(50, 50), Qt::NoModifier);
        ASSERT_TRUE(t.waitForPick());
        t.view.pick(t.over(150, 50), Qt::ShiftModifier | away); // add: Shift wins
        ASSERT_TRUE(t.waitForPick());
        EXPECT_TRUE(t.picked(50, 50));
        EXPECT_TRUE(t.picked(150, 50));
        t.view.pick(t.over(150, 50), away); // take the blue away again
        ASSERT_TRUE(t.waitForPick());
        EXPECT_TRUE(t.picked(50, 50));
        EXPECT_FALSE(t.picked(150, 50));
        t.view.pick(t.over(150, 50), Qt::NoModifier); // replace
        ASSERT_TRUE(t.waitForPick());
        EXPECT_TRUE(t.picked(150, 50));
    }
}

TEST(PickerView, TheSliderBeforeAnyClickOnlyStoresItsValue) {
    Shown t;
    TQSlider* slider = t.view.toleranceSlider();
    slider->setDoubleValue(0.05);
    t.view.toleranceValueWasChanged();
    EXPECT_DOUBLE_EQ(t.view.toleranceValue(), 0.05);
    EXPECT_FALSE(t.view.isInteractionsDisabled());
    EXPECT_EQ(t.owner.previews, 0);
    // After a click, a new value picks again.
    t.view.pick(t.over(50, 50), Qt::NoModifier);
    ASSERT_TRUE(t.waitForPick());
    slider->setDoubleValue(0.02);
    t.view.toleranceValueWasChanged();
    ASSERT_TRUE(t.waitForPick());
    EXPECT_EQ(t.owner.previews, 2);
}

} // namespace
} // namespace pimavo::test
