// The colour picker and the zoom in the editing window: the picker's steps undone and redone with
// the editor's keys while it is up, Apply as one named step of the editor's history; the zoom shown
// and typed in the top bar; the show-mask colour chosen in the Edit menu and kept.
#include "WindowFixture.h"
#include "app/EditorWindow.h"
#include "app/WindowOpening.h"
#include "app/WindowPicker.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ZoomField.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct PickerWindow : WindowFixture {
    PickerWindow() : WindowFixture(WindowOptions().activated()) { open(sample()); }
    RegionPicker* openPicker() {
        QTest::mouseClick(w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return w->picker()->isShown(); }, 5000));
        return w->contentView()->findChild<RegionPicker*>();
    }
    static std::vector<std::byte> pixels(const Image& image) {
        if (!image) return {};
        auto b = Renderer().createBitmap(image, 8);
        if (!b) return {};
        return std::vector<std::byte>(b->bytes().begin(), b->bytes().end());
    }
    QString undoText() const { return w->action("edit_undo")->text().remove('&'); }
    QString redoText() const { return w->action("edit_redo")->text().remove('&'); }
};

TEST(PickerWindow, ThePickersStepsAreItsOwnAndApplyIsOneNamedStep) {
    PickerWindow t;
    // A stroke first: the painting the picks are added to.
    const QPoint c = t.canvas()->rect().center();
    QTest::mousePress(t.canvas(), Qt::LeftButton, {}, c);
    QTest::mouseMove(t.canvas(), c + QPoint(60, 0));
    QTest::mouseRelease(t.canvas(), Qt::LeftButton, {}, c + QPoint(60, 0));
    processPendingEvents();
    const auto painted = PickerWindow::pixels(t.canvas()->model().painting().mask());
    ASSERT_FALSE(painted.empty());
    RegionPicker* picker = t.openPicker();
    ASSERT_TRUE(picker);
    const QRectF photo = picker->getFirstImageRect();
    picker->pick(photo.center(), Qt::NoModifier);
    ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 10000));
    const auto first = PickerWindow::pixels(picker->colorMask());
    picker->pick(photo.topLeft() + QPointF(photo.width() * 0.2, photo.height() * 0.8), Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 10000));
    const auto both = PickerWindow::pixels(picker->colorMask());
    ASSERT_NE(first, both);

    // Ctrl+Z and Ctrl+Shift+Z step through the picker's clicks, wherever the focus is; the Edit
    // menu's commands do the same, and name the picker's step they would take, never the
    // painting's. The painting underneath is not touched.
    struct Step {
        const char* name;
        std::function<void()> act;
        const std::vector<std::byte>* expected;
        const char* undoText;
        const char* redoText;
    };
    const Step steps[] = {
        {"Ctrl+Z", [&] { t.key(Qt::Key_Z, Qt::ControlModifier); }, &first, "Undo Pick Colour",
         "Redo Add Colour"},
        {"Ctrl+Shift+Z", [&] { t.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }, &both,
         "Undo Add Colour", "Redo"},
        {"Edit > Undo", [&] { t.w->action("edit_undo")->trigger(); }, &first, "Undo Pick Colour",
         "Redo Add Colour"},
        {"Edit > Redo", [&] { t.w->action("edit_redo")->trigger(); }, &both, "Undo Add Colour", "Redo"},
        {"Ctrl+Z with the canvas focused",
         [&] {
             t.canvas()->setFocus();
             t.key(Qt::Key_Z, Qt::ControlModifier);
         },
         &first, "Undo Pick Colour", "Redo Add Colour"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(PickerWindow::pixels(picker->colorMask()), *s.expected);
        EXPECT_TRUE(t.w->picker()->isShown());
        EXPECT_EQ(PickerWindow::pixels(t.canvas()->model().painting().mask()), painted);
        EXPECT_EQ(t.undoText(), s.undoText);
        EXPECT_EQ(t.redoText(), s.redoText);
    }
    EXPECT_TRUE(t.w->action("edit_redo")->isEnabled());

    // Apply: one step in the editor's history, named.
    picker->applyButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !t.w->picker()->isShown(); }));
    processPendingEvents();
    EXPECT_EQ(t.undoText(), "Undo Pick Colours");
    const auto applied = PickerWindow::pixels(t.canvas()->model().painting().mask());
    EXPECT_NE(applied, painted);
    t.w->action("edit_undo")->trigger();
    EXPECT_EQ(PickerWindow::pixels(t.canvas()->model().painting().mask()), painted);
    t.w->action("edit_redo")->trigger();
    EXPECT_EQ(PickerWindow::pixels(t.canvas()->model().painting().mask()), applied);

    // Every click undone, Apply applies nothing and makes no step.
    // The first picker fades out before it goes; the next one is another.
    ASSERT_TRUE(waitUntil([&] { return !t.w->contentView()->findChild<RegionPicker*>(); }));
    picker = t.openPicker();
    ASSERT_TRUE(picker);
    picker->pick(picker->getFirstImageRect().center(), Qt::NoModifier);
    ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 10000));
    t.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(picker->colorMask());
    picker->applyButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !t.w->picker()->isShown(); }, 5000));
    EXPECT_EQ(PickerWindow::pixels(t.canvas()->model().painting().mask()), applied);
}

TEST(PickerWindow, TheZoomIsShownAndCanBeTyped) {
    PickerWindow t;
    ZoomField* field = t.w->zoomField();
    ASSERT_TRUE(field);
    auto shows = [&](double percent) { return field->text() == ZoomField::textFor(percent); };
    EXPECT_TRUE(shows(t.canvas()->zoomPercent())) << field->text().toStdString();
    struct Typed {
        const char* text;
        double percent; // after Return; 0: as before
    };
    const Typed typed[] = {{"200", 200}, {"33,3 %", 33.3}, {"abc", 0},
                           {"-50", 0},   {"100%", 100},    {"5000", 1600}};
    for (const Typed& c : typed) {
        SCOPED_TRACE(c.text);
        const double before = t.canvas()->zoomPercent();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, c.text);
        QTest::keyClick(field, Qt::Key_Return);
        const double expected = c.percent != 0 ? c.percent : before;
        EXPECT_NEAR(t.canvas()->zoomPercent(), expected, 1e-6);
        EXPECT_TRUE(shows(expected)) << field->text().toStdString();
    }
    // The zoom commands and the wheel show in the field too.
    t.w->action("view_zoom_out")->trigger();
    EXPECT_NEAR(t.canvas()->zoomPercent(), 800, 1e-6);
    EXPECT_EQ(field->text(), "800 %");
    const QPointF at = t.canvas()->rect().center();
    QWheelEvent wheel(at, t.canvas()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.canvas(), &wheel);
    EXPECT_EQ(field->text(), "400 %");
}

TEST(PickerWindow, TheShowMaskColourIsChosenInTheEditMenuAndKept) {
    QTemporaryDir shared;
    const QString prefs = shared.filePath("prefs.ini");
    {
        EditSession session;
        Settings settings(prefs);
        auto w = std::make_unique<EditorWindow>(&session, &settings);
        auto* menu = w->findChild<QMenu*>("maskColourMenu");
        ASSERT_TRUE(menu);
        QAction* blue = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == "Blue") blue = a;
        ASSERT_TRUE(blue);
        blue->trigger();
        EXPECT_TRUE(blue->isChecked());
    }
    // A window opened later, on another photo, marks with blue checks.
    Settings settings(prefs);
    EditSession session;
    EditorWindow w(&session, &settings);
    w.resize(1200, 800);
    w.show();
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QFile::copy(PIMAVO_SAMPLE_PHOTO, path);
    w.services.saveQuestion = [](const QString&) { return WindowServices::Answer::DontSave; };
    w.opening()->open(path);
    ASSERT_TRUE(waitUntil([&] { return w.painterView() != nullptr; }, 10000));
    const Rgba c = w.painterView()->model().showMaskColor();
    EXPECT_EQ(c.red, 0);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 1);
}

} // namespace
} // namespace pimavo::test
