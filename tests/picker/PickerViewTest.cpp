// The colour region picker as a user drives it: where clicks count, how picks merge, the slider.
#include "PickerTestSupport.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>
#include <random>

namespace pimavo::test {
namespace {

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
        QSignalSpy completed(&t.view, &RegionPicker::colorFilteringCompleted);
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
    QSignalSpy completed(&t.view, &RegionPicker::colorFilteringCompleted);
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
    QSignalSpy completed(&t.view, &RegionPicker::colorFilteringCompleted);
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
    auto* view = new RegionPicker(QRect(0, 0, 900, 600), grainy(), owner.previewsFor());
    owner.listen(view);
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
    ValueSlider* slider = t.view.toleranceSlider();
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
