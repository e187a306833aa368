// The picker's steps as a user takes them: clicks with and without Shift and Ctrl, the tolerance
// slider, undo and redo; and zooming and moving the photo so that a click lands where it is meant.
#include "PickerTestSupport.h"
#include "widgets/ValueSlider.h"

#include <QKeyEvent>
#include <QLabel>
#include <QWheelEvent>
#include <cmath>
#include <set>

namespace pimavo::test {
namespace {

// A ramp along x: (x, 100, 255 − x). A click at cx takes the columns whose colour lies within the
// tolerance of the click's: |x − cx| √2 ≤ tolerance × 5 × 441.67.
BitmapRef ramp() {
    auto b = std::make_shared<Bitmap>(256, 64, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    for (int y = 0; y < 64; ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < 256; ++x)
            row[4 * x] = 255, row[4 * x + 1] = uint8_t(x), row[4 * x + 2] = 100,
                    row[4 * x + 3] = uint8_t(255 - x);
    }
    return b;
}

using Columns = std::set<int>;

Columns band(int cx, double tolerance) {
    Columns out;
    for (int x = 0; x < 256; ++x)
        if (std::abs(x - cx) * std::sqrt(2.0) <= tolerance * 5 * 441.67294) out.insert(x);
    return out;
}
Columns operator|(Columns a, const Columns& b) {
    a.insert(b.begin(), b.end());
    return a;
}
Columns operator-(Columns a, const Columns& b) {
    for (int x : b) a.erase(x);
    return a;
}

// One thing the user does.
struct Action {
    enum Kind { Click, Tolerance, Undo, Redo } kind;
    double value = 0; // column clicked, or tolerance
    Qt::KeyboardModifiers modifiers = {};
};
Action click(int x, Qt::KeyboardModifiers m = {}) {
    return {Action::Click, double(x), m};
}
Action tolerance(double t) {
    return {Action::Tolerance, t};
}
const Action undo{Action::Undo}, redo{Action::Redo};

struct RampPicker : Shown {
    RampPicker() : Shown(ramp()) {}
    void run(const Action& a) {
        switch (a.kind) {
        case Action::Click:
            view.pick(over(a.value, 32), a.modifiers);
            break;
        case Action::Tolerance:
            view.toleranceSlider()->setDoubleValue(a.value);
            view.toleranceValueWasChanged();
            break;
        case Action::Undo:
        case Action::Redo: {
            // Ctrl+Z and Ctrl+Shift+Z, as the keyboard sends them.
            const auto mods =
                a.kind == Action::Undo ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
            QTest::keyClick(&view, Qt::Key_Z, mods);
            break;
        }
        }
        ASSERT_TRUE(waitForPick());
    }
    Columns selected() {
        Columns out;
        for (int x = 0; x < 256; ++x)
            if (picked(x, 32)) out.insert(x);
        return out;
    }
};

TEST(PickerSteps, EachStepGivesTheSelectionOfDoingItFreshOnTheSelectionBeforeIt) {
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    struct Case {
        const char* name;
        std::vector<Action> actions;
        Columns expected;
        double slider;
    };
    const Case cases[] = {
        {"a click takes its band", {click(60)}, band(60, 0.03), 0.03},
        {"tolerance widens a plain click", {click(60), tolerance(0.055)}, band(60, 0.055), 0.055},
        {"tolerance re-runs an add on the selection before it",
         {click(60), click(200, shift), tolerance(0.055)},
         band(60, 0.03) | band(200, 0.055),
         0.055},
        {"tolerance re-runs a take-away on the selection before it",
         {click(60), click(200, shift), click(70, ctrl), tolerance(0.055)},
         (band(60, 0.03) | band(200, 0.03)) - band(70, 0.055),
         0.055},
        {"and back: the selection as it was",
         {click(60), click(200, shift), click(70, ctrl), tolerance(0.055), tolerance(0.03)},
         (band(60, 0.03) | band(200, 0.03)) - band(70, 0.03),
         0.03},
        {"undo takes back a take-away",
         {click(60), click(200, shift), click(70, ctrl), undo},
         band(60, 0.03) | band(200, 0.03),
         0.03},
        {"undo takes back a tolerance, slider too",
         {click(60), tolerance(0.055), undo},
         band(60, 0.03),
         0.03},
        {"undo back to nothing", {click(60), undo}, {}, 0.03},
        {"redo steps forward again",
         {click(60), click(200, shift), click(70, ctrl), undo, undo, redo},
         band(60, 0.03) | band(200, 0.03),
         0.03},
        {"a new step after undo leaves nothing to redo",
         {click(60), click(200, shift), undo, click(70, ctrl), redo},
         band(60, 0.03) - band(70, 0.03),
         0.03},
        {"undo of a tolerance, then a new tolerance re-runs the click again",
         {click(60), click(200, shift), tolerance(0.055), undo, tolerance(0.02)},
         band(60, 0.03) | band(200, 0.02),
         0.02},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RampPicker t;
        for (const Action& a : c.actions) t.run(a);
        EXPECT_EQ(t.selected(), c.expected);
        EXPECT_NEAR(t.view.toleranceValue(), c.slider, 1e-6);
        EXPECT_NEAR(t.view.toleranceSlider()->doubleValue(), c.slider, 1e-6);
    }
}

// Return picks under the keys' cross, and applies a pick made with the mouse, as a dialog's
// default button would; a click takes over from the cross.
TEST(PickerSteps, ReturnPicksUnderTheCrossOrAppliesWhatTheMousePicked) {
    constexpr int kReturn = -1, kArrow = -2, kUndo = -3; // besides a column clicked
    struct Case {
        const char* name;
        std::vector<int> steps;
        int applied;
        bool cross;
        int selectedColumn; // one column that ends up selected
    } cases[] = {
        {"nothing picked: a cross at the middle, picked under", {kReturn}, 0, true, 128},
        {"after a click: applied", {60, kReturn}, 1, false, 60},
        {"after the arrows: picked under the cross", {kArrow, kReturn}, 0, true, 130},
        {"a click after the arrows: the cross gone, applied", {kArrow, 60, kReturn}, 1, false, 60},
        {"a click undone: nothing to apply, picked under a cross",
         {60, kUndo, kArrow, kReturn},
         0,
         true,
         130},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RampPicker t;
        for (int step : c.steps) {
            if (step == kReturn) {
                QTest::keyClick(&t.view, Qt::Key_Return);
            } else if (step == kArrow) {
                QTest::keyClick(&t.view, Qt::Key_Right);
            } else if (step == kUndo) {
                t.run(undo);
            } else {
                QTest::mouseClick(&t.view, Qt::LeftButton, {}, t.over(step, 32).toPoint());
            }
            ASSERT_TRUE(t.waitForPick());
        }
        EXPECT_EQ(t.owner.applied, c.applied);
        EXPECT_EQ(t.view.keyboardTarget().has_value(), c.cross);
        EXPECT_TRUE(t.selected().count(c.selectedColumn));
        if (!c.cross) {
            EXPECT_FALSE(t.view.findChild<QLabel*>("message")->text().contains("arrow keys"));
        }
    }
}

// The swatch shows the colour picked, and nothing — not an empty box — before a pick.
TEST(PickerSteps, TheSwatchShowsThePickedColourOnly) {
    RampPicker t;
    EXPECT_FALSE(t.view.isSwatchShown());
    t.run(click(60));
    EXPECT_TRUE(t.view.isSwatchShown());
    EXPECT_EQ(t.view.pickedColor().red(), 60);
    t.run(click(200, Qt::ShiftModifier));
    EXPECT_EQ(t.view.pickedColor().red(), 200);
    t.run(undo);
    EXPECT_EQ(t.view.pickedColor().red(), 60);
    t.run(undo);
    EXPECT_FALSE(t.view.isSwatchShown());
    // The hint offers the click that takes away on every desktop, not one the window manager may
    // keep for itself.
    auto* message = t.view.findChild<QLabel*>("message");
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->text().contains("Ctrl-click")) << message->text().toStdString();
    EXPECT_FALSE(message->text().contains("Alt-click")) << message->text().toStdString();
}

// A 1800 × 1200 photo, grey, with a red line two pixels wide at column 901: fitted, the line is
// less than a view point wide.
BitmapRef thinLine() {
    auto b = std::make_shared<Bitmap>(1800, 1200, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    for (int y = 0; y < 1200; ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < 1800; ++x) {
            const bool line = x == 901 || x == 902;
            row[4 * x] = 255, row[4 * x + 1] = line ? 220 : 120, row[4 * x + 2] = line ? 20 : 120,
                    row[4 * x + 3] = line ? 20 : 120;
        }
    }
    return b;
}

void wheel(QWidget* on, QPointF at, int dy, Qt::KeyboardModifiers mods = {}) {
    QWheelEvent e(at, on->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(on, &e);
}

TEST(PickerSteps, ZoomedInAClickLandsOnThePixelUnderThePointer) {
    Shown t(thinLine());
    const double fitted = t.view.calculateImageScale();
    ASSERT_LT(fitted, 0.5);
    // The wheel zooms about the pointer: the photo point under it stays there.
    const QPointF at = t.over(901, 600);
    const QPointF under = *t.view.photoPointAt(at);
    for (int i = 0; i < 8; ++i) wheel(&t.view, at, 120);
    EXPECT_NEAR(t.view.calculateImageScale(), fitted * 16, 1e-3);
    const QPointF still = *t.view.photoPointAt(at);
    EXPECT_NEAR(still.x(), under.x(), 0.5);
    EXPECT_NEAR(still.y(), under.y(), 0.5);
    // Now a click on the line takes the line's colour.
    t.view.pick(t.over(901, 600), Qt::NoModifier);
    ASSERT_TRUE(t.waitForPick());
    EXPECT_EQ(t.view.pickedColor().red(), 220);
    EXPECT_TRUE(t.picked(902, 10));
    EXPECT_FALSE(t.picked(903, 600));

    // Space-drag moves the photo with the pointer; it picks nothing.
    const int previews = t.owner.previews;
    const QPointF from = t.view.viewport().viewRect().center();
    const QPointF before = *t.view.photoPointAt(from);
    QTest::keyPress(&t.view, Qt::Key_Space);
    QTest::mousePress(&t.view, Qt::LeftButton, {}, from.toPoint());
    QTest::mouseMove(&t.view, (from + QPointF(40, 0)).toPoint());
    QTest::mouseRelease(&t.view, Qt::LeftButton, {}, (from + QPointF(40, 0)).toPoint());
    QTest::keyRelease(&t.view, Qt::Key_Space);
    const QPointF after = *t.view.photoPointAt(from);
    EXPECT_NEAR(before.x() - after.x(), 40 / t.view.calculateImageScale(), 0.5);
    EXPECT_FALSE(t.view.isInteractionsDisabled());
    EXPECT_EQ(t.owner.previews, previews);

    // Ctrl+minus steps out, Ctrl+0 fits again; never smaller than fitted.
    QTest::keyClick(&t.view, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(t.view.calculateImageScale(), fitted * 16 / std::sqrt(2.0), 1e-3);
    QTest::keyClick(&t.view, Qt::Key_0, Qt::ControlModifier);
    EXPECT_NEAR(t.view.calculateImageScale(), fitted, 1e-6);
    wheel(&t.view, at, -120);
    EXPECT_NEAR(t.view.calculateImageScale(), fitted, 1e-6);
    QTest::keyClick(&t.view, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_NEAR(t.view.calculateImageScale(), fitted * std::sqrt(2.0), 1e-3);
}

} // namespace
} // namespace pimavo::test
