// The slider family as a user drives it: labels, pointer mapping, stepping, holding, double
// clicks, typed values, and when the action arrives.
#include "Wait.h"
#include "widgets/GradientSlider.h"
#include "widgets/SegmentSwitch.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

// A shown slider with a range, counting the actions it sends.
struct Shown {
    std::unique_ptr<ValueSlider> slider;
    int actions = 0;
    std::vector<double> sent;
    explicit Shown(std::unique_ptr<ValueSlider> s, double min, double max, double value, bool percent = true,
                   bool negative = true)
        : slider(std::move(s)) {
        slider->resize(240, 22);
        slider->setShowRealValue(!percent);
        slider->setShowNegativeValue(negative);
        slider->setMinValue(min);
        slider->setMaxValue(max);
        slider->setDoubleValue(value);
        slider->setAction([this](ValueSlider* s) {
            ++actions;
            sent.push_back(s->doubleValue());
        });
        slider->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(slider.get()));
    }
    QPoint trackPoint(double fraction) const {
        const QRectF t = slider->trackRect();
        return QPointF(t.left() + 7 + fraction * (t.width() - 14), t.center().y()).toPoint();
    }
    QString label() const { return slider->valueLabel()->stringValue(); }
};

TEST(Slider, LabelsInEveryDisplay) {
    struct Case {
        double min, max, value;
        bool percent, negative;
        const char* text;
    } cases[] = {
        {-2, 2, 0, true, true, "0"},       {-2, 2, 1, true, true, "+25"},
        {-2, 2, -2, true, true, "-50"},    {0.001, 1, 0.5005, true, false, "50"},
        {10, 400, 45, false, false, "45"}, {0, 100, 75, false, false, "75"},
        {0, 14, 7, true, false, "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Shown s(std::make_unique<ValueSlider>(), c.min, c.max, c.value, c.percent, c.negative);
        s.slider->validateValueLabel();
        EXPECT_EQ(s.label(), c.text);
        EXPECT_EQ(s.slider->isMarkerVisible(), c.percent && c.negative);
    }
}

TEST(Slider, TypedValuesComeBackInTheShownUnit) {
    Shown s(std::make_unique<ValueSlider>(), 0.001, 1, 0.2, true, false);
    s.slider->setEditableValue(true);
    QLineEdit* field = s.slider->valueLabel()->valueTextField();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "50");
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 0.5005);
    EXPECT_GE(s.actions, 1);
    // Typing goes beyond the range while the edit lasts; finishing brings it back.
    field->selectAll();
    QTest::keyClicks(field, "150");
    EXPECT_GT(s.slider->doubleValue(), 1.0);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 1.0);
    EXPECT_EQ(s.sent.back(), 1.0);
}

TEST(Slider, SettingTheValueClampsAndSendsNothing) {
    Shown s(std::make_unique<ValueSlider>(), 0, 14, 3);
    s.slider->setDoubleValue(20);
    EXPECT_EQ(s.slider->doubleValue(), 14);
    s.slider->setDoubleValue(-1);
    EXPECT_EQ(s.slider->doubleValue(), 0);
    EXPECT_EQ(s.actions, 0);
}

TEST(Slider, PointerMapsToValueAcrossTheTrack) {
    Shown s(std::make_unique<ValueSlider>(), 10, 400, 45, false, false);
    const QRectF t = s.slider->trackRect();
    EXPECT_EQ(s.slider->valueForXPosition(t.left()), 10);
    EXPECT_EQ(s.slider->valueForXPosition(t.right()), 400);
    EXPECT_NEAR(s.slider->valueForXPosition(t.center().x()), 205, 1e-9);
    // The knob rests where the value puts it, the ends exactly at the ends.
    s.slider->setDoubleValue(400);
    EXPECT_TRUE(waitUntil([&] { return s.slider->knobRect() == s.slider->knobRestingRect(); }))
        << "slid there";
    EXPECT_EQ(s.slider->knobRect().right(), t.right());
}

TEST(Slider, HoldingPlusStepsAndReportsOnceAtRelease) {
    Shown s(std::make_unique<ValueSlider>(), 0, 14, 0, true, false);
    const QPoint plus = s.slider->increaseButtonRect().center().toPoint();
    QTest::mousePress(s.slider.get(), Qt::LeftButton, {}, plus);
    EXPECT_TRUE(s.slider->isChangingContinue());
    // Held for half a second: how far it steps is what the time held is worth.
    QTest::qWait(500);
    QTest::mouseRelease(s.slider.get(), Qt::LeftButton, {}, plus);
    const double steps = s.slider->doubleValue() / (14.0 / 30);
    EXPECT_NEAR(steps, std::round(steps), 1e-9);
    EXPECT_GE(steps, 4);
    EXPECT_LE(steps, 7);
    EXPECT_EQ(s.actions, 1);
    EXPECT_FALSE(s.slider->isChangingContinue());
}

TEST(Slider, PressOnTheTrackTurnsIntoAKnobDragAfterAHold) {
    Shown s(std::make_unique<ValueSlider>(), 0, 1, 0.5, true, false);
    QTest::mousePress(s.slider.get(), Qt::LeftButton, {}, s.trackPoint(0.25));
    EXPECT_NEAR(s.slider->doubleValue(), 0.25, 0.01);
    EXPECT_EQ(s.actions, 0);
    EXPECT_TRUE(waitUntil([&] { return s.slider->isChangingContinue(); })) << "held, the knob is taken";
    QTest::mouseMove(s.slider.get(), s.trackPoint(0.75));
    EXPECT_NEAR(s.slider->doubleValue(), 0.75, 0.01);
    EXPECT_EQ(s.actions, 1); // continuous: sent during the drag
    QTest::mouseRelease(s.slider.get(), Qt::LeftButton, {}, s.trackPoint(0.75));
    EXPECT_EQ(s.actions, 2);
    EXPECT_NEAR(s.sent.back(), 0.75, 0.01);
}

// What the window system delivers for a double click: press, release, press, double click, release.
void doubleClick(QWidget* w, QPoint at) {
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

TEST(Slider, DoubleClickOnTheKnobRestoresTheDefault) {
    for (bool withDefault : {true, false}) {
        SCOPED_TRACE(withDefault);
        Shown s(std::make_unique<ValueSlider>(), -2, 2, 1.5);
        if (withDefault) s.slider->setDefaultValue(0);
        ASSERT_TRUE(waitUntil([&] { return s.slider->knobRect() == s.slider->knobRestingRect(); }));
        const QPoint knob = s.slider->knobRect().center().toPoint();
        const double clicked = s.slider->valueForXPosition(knob.x());
        doubleClick(s.slider.get(), knob);
        EXPECT_NEAR(s.slider->doubleValue(), withDefault ? 0.0 : clicked, 1e-9);
    }
}

TEST(Switch, ReleaseSnapsToTheNearestSegmentTiesToEven) {
    struct Case {
        double at;
        unsigned long long segment;
    } cases[] = {{1.5, 2}, {0.5, 0}, {1.25, 1}, {1.75, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        auto sw = std::make_unique<SegmentSwitch>();
        SegmentSwitch* raw = sw.get();
        sw->resize(238, 38); // 224 points of knob travel: the tested values fall on whole points
        sw->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(raw));
        EXPECT_EQ(raw->selectedSegment(), SegmentSwitch::kNoSegment);
        const QRectF t = raw->trackRect();
        const double x = t.left() + 7 + c.at / 2 * (t.width() - 14);
        ASSERT_EQ(x, std::round(x));
        // Grab the knob, drag it to the spot, let go.
        const QPoint knob = raw->knobRect().center().toPoint();
        QTest::mousePress(raw, Qt::LeftButton, {}, knob);
        QTest::mouseMove(raw, knob + QPoint(30, 0));
        QTest::mouseMove(raw, QPointF(x, t.center().y()).toPoint());
        QTest::mouseRelease(raw, Qt::LeftButton, {}, QPointF(x, t.center().y()).toPoint());
        EXPECT_EQ(raw->selectedSegment(), c.segment);
        EXPECT_EQ(raw->titleColor(int(c.segment)), QColor(Qt::white));
        EXPECT_NE(raw->titleColor(int(c.segment == 0 ? 1 : 0)), QColor(Qt::white));
    }
}

TEST(GradientSlider, NewColourSlidesIntoTheMiddle) {
    GradientSlider slider;
    slider.resize(200, 22);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    slider.setColor(QColor(255, 0, 0));
    processPendingEvents();
    EXPECT_NE(slider.shownColor(), QColor(255, 0, 0)); // still on its way
    EXPECT_TRUE(waitUntil([&] { return slider.shownColor() == QColor(255, 0, 0); })) << "arrived";
}

} // namespace
} // namespace pimavo::test
