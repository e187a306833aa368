// The program's own controls from the keyboard and from an assistive tool: sliders step and jump
// with the keys and send their action once per key, a segment switch moves its choice, image
// buttons click with Space and Return, the pop-up list walks and chooses its rows; a tool reads each
// value and sets it, and sees the ring that shows the focus.
#include "AccessibleTree.h"
#include "Wait.h"
#include "picker/SwatchCell.h"
#include "widgets/ArrowGroup.h"
#include "widgets/GradientSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/PopupList.h"
#include "widgets/SegmentSwitch.h"
#include "widgets/ValueSlider.h"
#include "widgets/WidgetStyle.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace pimavo::test {
namespace {

// A slider named by its label in a shown, active window, counting the actions it sends.
struct Row {
    QWidget window;
    QLabel* label;
    ValueSlider* slider;
    std::vector<double> sent;
    Row(ValueSlider* s, double min, double max, double value, bool percent, bool negative) : slider(s) {
        window.resize(320, 40);
        label = new QLabel("Exposure", &window);
        slider->setParent(&window);
        label->setBuddy(slider);
        slider->setGeometry(80, 8, 220, 22);
        slider->setShowRealValue(!percent);
        slider->setShowNegativeValue(negative);
        slider->setMinValue(min);
        slider->setMaxValue(max);
        slider->setDoubleValue(value);
        slider->setAction([this](ValueSlider* moved) { sent.push_back(moved->doubleValue()); });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        slider->setFocus(Qt::TabFocusReason);
    }
    QAccessibleInterface* iface() const { return QAccessible::queryAccessibleInterface(slider); }
};

TEST(SliderKeys, EachKeyMovesTheValueAndSendsItOnce) {
    struct Case {
        const char* what;
        double min, max, value;
        bool percent, negative;
        Qt::Key key;
        double expected;
        const char* shown;
    } cases[] = {
        {"Right steps a thirtieth", -2, 2, 0, true, true, Qt::Key_Right, 4.0 / 30, "+3"},
        {"Up as Right", -2, 2, 0, true, true, Qt::Key_Up, 4.0 / 30, "+3"},
        {"Left steps down", 0, 100, 75, false, false, Qt::Key_Left, 75 - 100.0 / 30, "72"},
        {"Page Up a tenth", 10, 400, 45, false, false, Qt::Key_PageUp, 84, "84"},
        {"Page Down a tenth", 0, 2, 1, true, false, Qt::Key_PageDown, 0.8, "40"},
        {"Home the minimum", -2, 2, 1, true, true, Qt::Key_Home, -2, "-50"},
        {"End the maximum", 10, 400, 45, false, false, Qt::Key_End, 400, "400"},
        {"Right at the end stays", 0, 1, 1, true, false, Qt::Key_Right, 1, "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row row(new ValueSlider, c.min, c.max, c.value, c.percent, c.negative);
        QTest::keyClick(row.slider, c.key);
        EXPECT_NEAR(row.slider->doubleValue(), c.expected, 1e-9);
        EXPECT_EQ(row.slider->valueText(), c.shown);
        EXPECT_EQ(row.iface()->text(QAccessible::Value), c.shown);
        // An action per key that changed something, none for one that did not.
        EXPECT_EQ(row.sent.size(), c.expected == c.value ? 0u : 1u);
    }
}

TEST(SliderKeys, TheWindowsOwnKeysPassThrough) {
    Row row(new ValueSlider, 10, 400, 45, false, false);
    for (Qt::Key key : {Qt::Key_BracketLeft, Qt::Key_X, Qt::Key_Space}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(row.slider, &press);
        EXPECT_FALSE(press.isAccepted()) << key;
    }
    EXPECT_TRUE(row.sent.empty());
}

TEST(SliderAccessible, AToolReadsAndSetsTheValueInTheUnitShown) {
    struct Case {
        const char* what;
        ValueSlider* slider;
        double min, max, value;
        bool percent, negative;
        double shownMin, shownMax, shownNow, set, valueAfter;
    } cases[] = {
        {"centred percentage", new ValueSlider, -2, 2, 1, true, true, -50, 50, 25, -25, -1},
        {"real value", new ValueSlider, 10, 400, 45, false, false, 10, 400, 45, 120, 120},
        {"percentage, set beyond the end", new ValueSlider, 0, 14, 7, true, false, 0, 100, 50, 140, 14},
        {"gradient slider", new GradientSlider, -1, 1, 0, true, false, 0, 100, 50, 100, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row row(c.slider, c.min, c.max, c.value, c.percent, c.negative);
        QAccessibleInterface* i = row.iface();
        ASSERT_EQ(i->role(), QAccessible::Slider);
        EXPECT_EQ(i->text(QAccessible::Name), "Exposure");
        EXPECT_TRUE(i->state().focusable);
        EXPECT_TRUE(i->state().focused);
        QAccessibleValueInterface* v = i->valueInterface();
        ASSERT_TRUE(v);
        EXPECT_DOUBLE_EQ(v->minimumValue().toDouble(), c.shownMin);
        EXPECT_DOUBLE_EQ(v->maximumValue().toDouble(), c.shownMax);
        EXPECT_DOUBLE_EQ(v->currentValue().toDouble(), c.shownNow);
        v->setCurrentValue(c.set);
        EXPECT_NEAR(row.slider->doubleValue(), c.valueAfter, 1e-9);
        EXPECT_EQ(row.sent.size(), 1u);
        // The action interface steps as the keys do.
        QAccessibleActionInterface* a = i->actionInterface();
        ASSERT_TRUE(a);
        a->doAction(QAccessibleActionInterface::decreaseAction());
        EXPECT_LT(row.slider->doubleValue(), c.valueAfter);
        EXPECT_EQ(row.sent.size(), 2u);
    }
}

TEST(SliderFocus, TheRingShowsOnlyWithTheFocus) {
    Row row(new ValueSlider, 0, 1, 0.5, true, false);
    auto accentPixels = [&] {
        const QImage shot = row.slider->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) == style::kAccent) ++n;
        return n;
    };
    ASSERT_TRUE(row.slider->hasFocus());
    const int focused = accentPixels();
    row.label->setFocusPolicy(Qt::StrongFocus);
    row.label->setFocus();
    ASSERT_FALSE(row.slider->hasFocus());
    EXPECT_GT(focused, 40);
    EXPECT_EQ(accentPixels(), 0);
}

TEST(SegmentSwitchKeys, TheArrowsMoveTheChoiceAndAToolSeesTabs) {
    QWidget window;
    auto* sw = new SegmentSwitch(&window);
    sw->setAccessibleName("Quality");
    sw->setGeometry(10, 10, 240, 38);
    sw->setSelectedSegment(0);
    int actions = 0;
    sw->setAction([&](ValueSlider*) { ++actions; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    sw->setFocus(Qt::TabFocusReason);
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(sw);
    ASSERT_EQ(i->role(), QAccessible::PageTabList);
    ASSERT_EQ(i->childCount(), 3);
    auto selectedTab = [&] {
        QStringList names;
        for (int c = 0; c < i->childCount(); ++c)
            if (i->child(c)->state().selected) names << i->child(c)->text(QAccessible::Name);
        return names.join(",");
    };
    EXPECT_EQ(selectedTab(), "Normal");
    struct Step {
        Qt::Key key;
        unsigned long long segment;
        const char* tab;
        int actions;
    } steps[] = {
        {Qt::Key_Right, 1, "High", 1},  {Qt::Key_Right, 2, "Highest", 2}, {Qt::Key_Right, 2, "Highest", 2},
        {Qt::Key_Home, 0, "Normal", 3}, {Qt::Key_End, 2, "Highest", 4},   {Qt::Key_Left, 1, "High", 5},
    };
    for (const Step& s : steps) {
        QTest::keyClick(sw, s.key);
        EXPECT_EQ(sw->selectedSegment(), s.segment) << s.tab;
        EXPECT_EQ(selectedTab(), s.tab);
        EXPECT_EQ(actions, s.actions) << s.tab;
    }
    // A tool presses a tab as a user chooses it.
    i->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(sw->selectedSegment(), 0u);
    EXPECT_EQ(i->child(0)->parent(), i);
    EXPECT_EQ(i->indexOfChild(i->child(2)), 2);
}

TEST(ImageButtonKeys, SpaceAndReturnClickWhatTabReaches) {
    QWidget window;
    auto* first = new ImageButton(&window);
    first->setImages("top_open");
    first->setToolTip("Open a photo");
    first->setGeometry(10, 10, 32, 32);
    auto* toggle = new ImageButton(&window);
    toggle->setImages("top_compare");
    toggle->setToolTip("Compare");
    toggle->setAccessibleName("Compare before and after");
    toggle->setButtonType(ImageButton::ButtonType::Toggle);
    toggle->setGeometry(50, 10, 32, 32);
    int clicks = 0;
    first->setAction([&](ImageButton*) { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // A click leaves the keys where they were; Tab brings the focus.
    toggle->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(toggle->hasFocus());
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Space);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::keyClick(first, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 4);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(toggle->hasFocus());
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_EQ(toggle->state(), 1);

    struct Case {
        ImageButton* button;
        const char* name;
        const char* description;
        bool checkable, checked;
    } cases[] = {
        {first, "Open a photo", "", false, false},
        {toggle, "Compare before and after", "Compare", true, true},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(c.button);
        EXPECT_EQ(i->role(), QAccessible::Button) << c.name;
        EXPECT_EQ(i->text(QAccessible::Name), c.name);
        EXPECT_EQ(i->text(QAccessible::Description), c.description) << c.name;
        EXPECT_EQ(bool(i->state().checkable), c.checkable) << c.name;
        EXPECT_EQ(bool(i->state().checked), c.checked) << c.name;
    }
    QAccessible::queryAccessibleInterface(first)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 5);
}

TEST(SwatchKeys, TabReachesOnlyTheSwatchesWithAColourAndSpaceOrReturnChoosesOne) {
    QWidget window;
    window.resize(200, 40);
    std::vector<SwatchCell*> cells;
    for (int i = 0; i < 3; ++i) cells.push_back(new SwatchCell(QRect(10 + i * 34, 8, 24, 24), &window));
    cells[0]->setFillColor(QColor(160, 48, 32));
    cells[1]->setFillColor(QColor(0, 128, 255));
    cells[2]->setFillColor(QColor()); // an empty cell, as the recent colours start
    std::vector<QColor> chosen;
    for (SwatchCell* cell : cells)
        QObject::connect(cell, &SwatchCell::colorSelected, [&](const QColor& c) { chosen.push_back(c); });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    cells[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cells[0], Qt::Key_Space);
    QTest::keyClick(cells[0], Qt::Key_Tab);
    ASSERT_TRUE(cells[1]->hasFocus());
    QTest::keyClick(cells[1], Qt::Key_Return);
    QTest::keyClick(cells[1], Qt::Key_Tab);
    EXPECT_TRUE(cells[0]->hasFocus()) << "the empty cell is no stop";
    EXPECT_EQ(chosen, (std::vector<QColor>{QColor(160, 48, 32), QColor(0, 128, 255)}));

    struct Case {
        SwatchCell* cell;
        const char* name;
    } cases[] = {{cells[0], "Colour #A03020"}, {cells[1], "Colour #0080FF"}};
    for (const Case& c : cases) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(c.cell);
        EXPECT_EQ(i->role(), QAccessible::Button) << c.name;
        EXPECT_EQ(i->text(QAccessible::Name), c.name);
        ASSERT_TRUE(i->actionInterface());
        i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(chosen.size(), 4u);
}

TEST(ArrowGroupKeys, TheGroupIsOneTabStopWalkedWithTheArrows) {
    // Two rows of three buttons, then one more button after the group.
    QWidget window;
    std::vector<QWidget*> grid;
    for (int i = 0; i < 6; ++i) {
        auto* b = new ImageButton(&window);
        b->setImages("top_open");
        b->setAccessibleName(QString("Preset %1").arg(i + 1));
        b->setGeometry(10 + (i % 3) * 40, 10 + (i / 3) * 40, 32, 32);
        grid.push_back(b);
    }
    ArrowGroup::make(grid, 3);
    auto* after = new ImageButton(&window);
    after->setImages("top_open");
    after->setGeometry(10, 100, 32, 32);
    auto* before = new ImageButton(&window);
    before->setImages("top_open");
    before->setGeometry(10, 140, 32, 32);
    QWidget::setTabOrder(before, grid[0]);
    QWidget::setTabOrder(grid[5], after);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto focused = [&] {
        for (int i = 0; i < 6; ++i)
            if (grid[std::size_t(i)]->hasFocus()) return i;
        return after->hasFocus() ? 6 : before->hasFocus() ? -1 : -2;
    };

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected; // a member's index; 6 the button after the group, -1 the one before
    } steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, 0},         // into the group at its first member
        {Qt::Key_Right, Qt::NoModifier, 1},       //
        {Qt::Key_Down, Qt::NoModifier, 4},        //
        {Qt::Key_Down, Qt::NoModifier, 4},        // the bottom edge holds
        {Qt::Key_Left, Qt::NoModifier, 3},        //
        {Qt::Key_Up, Qt::NoModifier, 0},          //
        {Qt::Key_End, Qt::NoModifier, 5},         //
        {Qt::Key_Tab, Qt::NoModifier, 6},         // one Tab leaves the whole group
        {Qt::Key_Backtab, Qt::ShiftModifier, 5},  // and comes back to the member last focused
        {Qt::Key_Home, Qt::NoModifier, 0},        //
        {Qt::Key_Backtab, Qt::ShiftModifier, -1}, //
    };
    before->setFocus(Qt::TabFocusReason);
    for (const Step& s : steps) {
        QTest::keyClick(QApplication::focusWidget(), s.key, s.modifiers);
        EXPECT_EQ(focused(), s.expected) << "after key " << QKeySequence(s.key).toString().toStdString();
    }
}

TEST(PopupListKeys, TheArrowsWalkTheRowsAndReturnChooses) {
    struct Case {
        const char* what;
        QList<Qt::Key> keys;
        int chosen; // -1: closed without a choice
    } cases[] = {
        {"Return takes the current row", {Qt::Key_Return}, 1},
        {"Down then Return", {Qt::Key_Down, Qt::Key_Return}, 2},
        {"Down stops at the last row", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}, 3},
        {"Home, Up stays", {Qt::Key_Home, Qt::Key_Up, Qt::Key_Enter}, 0},
        {"End", {Qt::Key_End, Qt::Key_Return}, 3},
        {"Escape closes", {Qt::Key_Down, Qt::Key_Escape}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QStringListModel rows({"Black", "Grey", "White", "Pattern"});
        auto* list = new PopupList(window.rect(), QPointF(300, 60), &window);
        list->setAccessibleName("Window background");
        list->setModel(&rows);
        list->setCurrentRow(1);
        QSignalSpy chosen(list, &PopupList::rowChosen);
        QSignalSpy closed(list, &PopupList::closeRequested);
        list->popUp();
        ASSERT_TRUE(list->hasFocus());
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(list);
        ASSERT_EQ(i->role(), QAccessible::List);
        ASSERT_EQ(i->childCount(), 4);
        EXPECT_EQ(i->child(1)->role(), QAccessible::ListItem);
        EXPECT_EQ(i->child(1)->text(QAccessible::Name), "Grey");
        EXPECT_TRUE(i->child(1)->state().checked);
        EXPECT_EQ(i->child(1)->parent(), i);
        for (Qt::Key k : c.keys) QTest::keyClick(list, k);
        EXPECT_EQ(closed.count(), 1);
        const QList<int> rowsChosen = [&] {
            QList<int> r;
            for (const QList<QVariant>& args : chosen) r << args.first().toInt();
            return r;
        }();
        EXPECT_EQ(rowsChosen, c.chosen < 0 ? QList<int>() : QList<int>{c.chosen});
    }
}

} // namespace
} // namespace pimavo::test
