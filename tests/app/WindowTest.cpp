// The editing window as a user drives it: modes, keys, menus by mode, the edited mark, opening and
// the question before replacing edited work, paste and drop, Save and Save As, quitting.
#include "WindowFixture.h"
#include "WrittenFile.h"
#include "app/Autosave.h"
#include "app/EditorApplication.h"
#include "app/EditorWindow.h"
#include "app/ExportController.h"
#include "app/RecentDocuments.h"
#include "app/SingleInstance.h"
#include "app/StartScreen.h"
#include "app/UsKeyboard.h"
#include "app/WindowAutosave.h"
#include "app/WindowBackdrop.h"
#include "app/WindowCompare.h"
#include "app/WindowFrame.h"
#include "app/WindowOpening.h"
#include "app/WindowPicker.h"
#include "app/WindowReview.h"
#include "app/WindowSaving.h"
#include "app/WindowStart.h"
#include "canvas/CanvasView.h"
#include "core/MenuText.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"
#include "picker/ColorSwatch.h"
#include "picker/RegionPicker.h"
#include "picker/SwatchCell.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/PopupList.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDomDocument>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace pimavo::test {
namespace {

struct Window : WindowFixture {
    // `settingsFile`: another window's, as the next start of the program finds it.
    explicit Window(const QString& settingsFile = {})
        : WindowFixture(WindowOptions().withSettings(settingsFile)) {
        answer = WindowServices::Answer::Cancel;
    }
    // The photo the tests compare with is the whole one, not the first look at it.
    void open(const QString& path) { openWhole(path); }
    void key(int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w.get(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w.get(), &release);
    }
};

// The Open panel starts where the photos are: beside the photo open, else beside the last one
// opened (even after a restart), else in the Pictures folder.
TEST(Window, TheOpenPanelStartsWhereThePhotosAre) {
    QTemporaryDir pictures, config;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QFile dirs(config.filePath("user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"" + pictures.path().toLocal8Bit() + "\"\n");
    dirs.close();
    QTemporaryDir elsewhere;
    {
        Window t;
        EXPECT_EQ(t.w->opening()->panelFolder(), pictures.path());
        const QString photo = elsewhere.filePath("away.jpg");
        QFile::copy(PIMAVO_SAMPLE_PHOTO, photo);
        t.open(photo);
        EXPECT_EQ(t.w->opening()->panelFolder(), elsewhere.path());
        // A new window of the same user: nothing open, the last photo's folder.
        EditSession session;
        EditorWindow next(&session, &t.settings);
        next.services.recentBookmarkFile = t.w->services.recentBookmarkFile;
        EXPECT_EQ(next.opening()->panelFolder(), elsewhere.path());
    }
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

TEST(Window, StartScreenUntilAPhotoThenPainting) {
    Window t;
    EXPECT_TRUE(t.w->start()->isShown());
    EXPECT_EQ(t.w->tool(), EditorWindow::NoTool);
    EXPECT_TRUE(t.w->isDisabledInteraction());
    // Only opening (and quitting) on the start screen.
    EXPECT_TRUE(t.w->validateUserInterfaceItem("file_open"));
    EXPECT_FALSE(t.w->validateUserInterfaceItem("edit_undo"));
    EXPECT_FALSE(t.w->validateUserInterfaceItem("file_save_as"));
    // The keys do nothing without the tool panel.
    t.key(Qt::Key_BracketRight, "]");
    t.open(t.sample());
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_FALSE(t.w->start()->isShown());
    EXPECT_EQ(t.w->tool(), EditorWindow::Painting);
    ASSERT_TRUE(t.w->painterView());
    ASSERT_TRUE(t.w->drawingToolbar());
    // No photo tool while a photo is open; adjust removes the canvas and the panel.
    t.w->setTool(EditorWindow::NoTool);
    EXPECT_EQ(t.w->tool(), EditorWindow::Painting);
    const QPointer<ToolPanel> panel = t.w->drawingToolbar();
    t.w->setTool(EditorWindow::Adjust);
    EXPECT_FALSE(t.w->painterView());
    EXPECT_TRUE(waitUntil([&] { return !panel; })) << "the panel goes once it has faded out";
    EXPECT_FALSE(t.w->drawingToolbar());
}

TEST(Window, BracketKeysStepTheBrushAndReachTheCanvas) {
    Window t;
    t.open(t.sample());
    ValueSlider* size = t.w->drawingToolbar()->brushSizeSlider();
    const double before = size->doubleValue(), step = (400 - 10) / 30.0;
    for (int i = 0; i < 5; ++i) t.key(Qt::Key_BracketRight, "]");
    EXPECT_NEAR(size->doubleValue(), before + 5 * step, 1e-9);
    EXPECT_NEAR(t.w->painterView()->geometry().brushSize(), before + 5 * step, 1e-9);
    t.key(Qt::Key_X, "x");
    EXPECT_TRUE(t.w->painterView()->model().painting().brush().erase);
    t.key(Qt::Key_X, "x");
    EXPECT_FALSE(t.w->painterView()->model().painting().brush().erase);
}

TEST(Window, ShortcutsFollowTheKeyNotTheLayout) {
    // X11 key codes of the keys that carry x, [, ] and \ on a US keyboard.
    EXPECT_EQ(usCharacterForScanCode(53), U'x');
    EXPECT_EQ(usCharacterForScanCode(34), U'[');
    EXPECT_EQ(usCharacterForScanCode(35), U']');
    EXPECT_EQ(usCharacterForScanCode(51), U'\\');
    // With a Cyrillic layout the same key types "ч": it still switches paint and erase.
    Window t;
    t.open(t.sample());
    QKeyEvent press(QEvent::KeyPress, 0x0447, Qt::NoModifier, 53, 0x06c7, 0, QString::fromUtf8("ч"));
    QApplication::sendEvent(t.w.get(), &press);
    EXPECT_TRUE(t.w->painterView()->model().painting().brush().erase);
}

TEST(Window, CompareBlocksCommandsAndAnyKeyLeavesIt) {
    Window t;
    t.open(t.sample());
    t.w->compare()->toggle();
    processPendingEvents(); // the comparison shows on the next pass
    ASSERT_TRUE(t.w->compare()->isShown());
    EXPECT_FALSE(t.w->validateUserInterfaceItem("file_save_as"));
    EXPECT_FALSE(t.w->validateUserInterfaceItem("view_zoom_in"));
    EXPECT_TRUE(t.w->validateUserInterfaceItem("view_full_screen"));
    EXPECT_TRUE(t.w->validateUserInterfaceItem("app_quit"));
    t.key(Qt::Key_A, "a");
    EXPECT_FALSE(t.w->compare()->isShown());
    EXPECT_TRUE(t.w->validateUserInterfaceItem("view_zoom_in"));
    // A dialog blocks the same way, until the last one goes.
    OverlayDialog a(OverlayDialog::Bare), b(OverlayDialog::Bare);
    a.showInView(t.w->contentView());
    b.showInView(t.w->contentView());
    a.hideDialogWithoutAnimation();
    EXPECT_FALSE(t.w->validateUserInterfaceItem("edit_copy"));
    b.hideDialogWithoutAnimation();
    EXPECT_TRUE(t.w->validateUserInterfaceItem("edit_copy"));
}

TEST(Window, MinimisedDuringCompareComesBackToCompare) {
    Window t;
    t.open(t.sample());
    t.w->compare()->toggle();
    processPendingEvents(); // the comparison shows on the next pass
    ASSERT_TRUE(t.w->compare()->isShown());
    t.w->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(waitUntil([&] { return !t.w->compare()->isShown(); }));
    t.w->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(waitUntil([&] { return t.w->compare()->isShown(); }, 5000));
}

TEST(Window, AfterThePickerTheCommandsWorkAgain) {
    Window t;
    t.w->services.colorPickerFactory = [](QWidget* parent) { return new QWidget(parent); };
    t.open(t.sample());
    CanvasView* canvas = t.w->painterView();
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c);
    for (bool apply : {true, false}) {
        SCOPED_TRACE(apply);
        QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 5000));
        for (const char* a : {"edit_undo", "view_zoom_in", "edit_copy", "edit_revert"})
            EXPECT_FALSE(t.w->validateUserInterfaceItem(a)) << a;
        EXPECT_FALSE(canvas->isEnabled());
        if (apply)
            t.w->picker()->apply();
        else
            QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(),
                              Qt::LeftButton); // the toggle cancels
        EXPECT_FALSE(t.w->picker()->isShown());
        for (const char* a : {"edit_undo", "view_zoom_in", "edit_copy", "edit_revert"})
            EXPECT_TRUE(t.w->validateUserInterfaceItem(a)) << a;
        EXPECT_TRUE(canvas->isEnabled());
        EXPECT_EQ(t.w->drawingToolbar()->imagePickerButton()->state(), 0);
    }
}

TEST(Window, APickedRegionIsAppliedAsOneUndoStep) {
    Window t;
    t.open(t.sample());
    CanvasModel& model = t.w->painterView()->model();
    auto maskValue = [&](int x, int y) {
        auto bitmap = Renderer().createBitmap(model.painting().mask(), 8);
        return bitmap ? bitmap->component(x, y, 1) : -1.0f;
    };
    QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 3000));
    auto* picker = t.w->contentView()->findChild<RegionPicker*>();
    ASSERT_TRUE(picker);
    // On the ladybird's shell, in the picker's photo (the painting mask's size).
    const QRectF r = picker->getFirstImageRect();
    const QPointF shell = r.topLeft() + QPointF(r.width() * 1770.0 / 2560, r.height() * 750.0 / 1600);
    const auto at = picker->photoPointAt(shell);
    ASSERT_TRUE(at);
    const float before = maskValue(int(at->x()), int(at->y()));
    picker->pick(shell, Qt::NoModifier);
    ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 20000));
    // The preview shows the shell in its colour.
    const QImage preview = t.w->picker()->previewWithRegion(picker->colorMask());
    const QColor seen =
        preview.pixelColor(int(preview.width() * 1770.0 / 2560), int(preview.height() * 750.0 / 1600));
    EXPECT_GT(seen.red(), seen.green() + 40) << seen.red() << " " << seen.green() << " " << seen.blue();
    t.w->picker()->apply();
    EXPECT_FALSE(t.w->picker()->isShown());
    EXPECT_GT(maskValue(int(at->x()), int(at->y())), 0.9f);
    EXPECT_LT(before, 0.1f);
    t.w->buttonUndoClick();
    EXPECT_NEAR(maskValue(int(at->x()), int(at->y())), before, 1e-3);
}

// A pick that was only previewed and then cancelled is no part of what is saved.
TEST(Window, ACancelledPickIsNotInTheSavedPicture) {
    Window t;
    t.open(t.sample());
    const BitmapRef before = t.w->resultImage();
    ASSERT_TRUE(before);
    const std::vector<std::byte> pixels(before->bytes().begin(), before->bytes().end());
    QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 3000));
    auto* picker = t.w->contentView()->findChild<RegionPicker*>();
    ASSERT_TRUE(picker);
    const QRectF r = picker->getFirstImageRect();
    picker->pick(r.topLeft() + QPointF(r.width() * 1770.0 / 2560, r.height() * 750.0 / 1600), Qt::NoModifier);
    ASSERT_TRUE(waitUntil([&] { return !picker->isInteractionsDisabled(); }, 20000));
    QTest::mouseClick(picker->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(t.w->picker()->isShown());
    const BitmapRef after = t.w->resultImage();
    ASSERT_TRUE(after);
    ASSERT_EQ(after->bytes().size(), pixels.size());
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), after->bytes().begin()))
        << "the cancelled region is in the picture that would be saved";
}

// The window opens where it was left, kept whole on a screen that is there now.
TEST(Window, TheFrameIsRememberedAndKeptOnScreen) {
    const QRect wide(0, 0, 2560, 1440), small(0, 0, 1280, 800), right(2560, 0, 1920, 1080);
    const QSize fallback(1200, 760);
    struct Case {
        const char* what;
        QRect saved;
        QList<QRect> screens;
        QRect want;
    } cases[] = {
        {"as it was", {100, 80, 1400, 900}, {wide}, {100, 80, 1400, 900}},
        {"on the second screen", {2700, 50, 1000, 700}, {wide, right}, {2700, 50, 1000, 700}},
        {"the second screen gone", {2700, 50, 1000, 700}, {wide}, {679, 339, 1200, 760}},
        {"the screen shrank", {600, 300, 1600, 1000}, {small}, {0, 0, 1280, 800}},
        {"partly off the edge", {-200, 500, 1000, 700}, {small}, {0, 100, 1000, 700}},
        {"nothing saved", {}, {small}, {39, 19, 1200, 760}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frameOnScreens(c.saved, c.screens, c.want.isNull() ? fallback : fallback), c.want)
            << c.what;
    // Through the window: closed at one size and place, the next window opens there.
    Window t;
    const QSize size = t.w->minimumSize() + QSize(40, 30);
    t.w->resize(size);
    ASSERT_TRUE(waitUntil([&] { return t.w->size() == size; }));
    const QRect left = t.w->normalGeometry();
    t.w->close();
    EXPECT_EQ(t.settings.windowFrame(), left);
    EditorWindow again(&t.session, &t.settings);
    restoreFrame(again, t.settings);
    // Whole on the screen it comes back to.
    EXPECT_EQ(again.size(), left.size().boundedTo(again.screen()->availableGeometry().size()));
    EXPECT_TRUE(again.screen()->availableGeometry().contains(QRect(again.pos(), again.size())));
}

// Chooses a backdrop as the user does: a right click on the window's background, then a click on
// the row. The list shows the four backdrops with the current one checked, and goes once chosen.
void chooseBackgroundFromPopUp(EditorWindow* w, int row) {
    QTest::mouseClick(w->contentView(), Qt::RightButton, {}, QPoint(40, 120));
    auto* list = w->contentView()->findChild<PopupList*>();
    ASSERT_TRUE(list);
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) rows << list->cell(r)->text();
    EXPECT_EQ(rows, (QStringList{"Dark Grey", "Grey", "Medium Grey", "Light Grey"}));
    for (int r = 0; r < list->rowCount(); ++r)
        EXPECT_EQ(list->cell(r)->isChecked(), r == w->backdrop()->index());
    QPointer<PopupList> shown = list;
    PopupListCell* cell = list->cell(row);
    QTest::mouseClick(cell->parentWidget(), Qt::LeftButton, {}, cell->geometry().center());
    EXPECT_TRUE(waitUntil([&] { return !shown; }, 2000));
}

// Chooses a backdrop from the View menu.
void chooseBackgroundFromMenu(EditorWindow* w, int index) {
    for (QAction* a : w->findChildren<QAction*>("edit_background"))
        if (a->data().toInt() == index) return a->trigger();
    ADD_FAILURE() << "no backdrop " << index << " in the menu";
}

TEST(Window, LightGrayHidesTheShadowsAndIsRemembered) {
    Window t;
    EXPECT_TRUE(t.w->backdrop()->areSideShadowsShown());
    chooseBackgroundFromMenu(t.w.get(), 3);
    EXPECT_FALSE(t.w->backdrop()->areSideShadowsShown());
    EditorWindow again(&t.session, &t.settings);
    EXPECT_EQ(again.backdrop()->index(), 3);
    EXPECT_FALSE(again.backdrop()->areSideShadowsShown());
}

// What a user leaves behind (the window's frame, the backdrop, the chosen and recent colours) is
// what the next start of the program shows, read afresh from the settings file.
TEST(Window, WhatTheUserLeftComesBackInTheNextWindow) {
    Window t;
    t.open(t.sample());
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel);
    const QColor teal(0, 128, 128), plum(142, 69, 133);
    // A stroke of solid colour puts its colour first among the recent ones.
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    panel->solidColorButtonClick();
    for (const QColor& colour : {plum, teal}) {
        panel->selectColor(colour); // as the colour panel does
        const QPoint c = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c);
    }
    chooseBackgroundFromPopUp(t.w.get(), 2);
    EXPECT_EQ(t.w->backdrop()->index(), 2);
    const QSize size = t.w->minimumSize() + QSize(70, 50);
    t.w->resize(size);
    QTRY_COMPARE_WITH_TIMEOUT(t.w->size(), size, 5000);
    const QRect left = t.w->normalGeometry();
    t.w->close();
    ASSERT_FALSE(t.w->isVisible());

    Window next(t.settings.fileName());
    restoreFrame(*next.w, next.settings);
    QTRY_COMPARE_WITH_TIMEOUT(next.w->size(), left.size(), 5000);
    EXPECT_EQ(next.w->backdrop()->index(), 2);
    next.open(next.sample());
    ToolPanel* again = next.w->drawingToolbar();
    ASSERT_TRUE(again);
    const QList<SwatchCell*> cells = again->recentColorCells();
    ASSERT_GE(cells.size(), 3);
    EXPECT_EQ(cells[0]->fillColor(), teal);
    EXPECT_EQ(cells[1]->fillColor(), plum);
    EXPECT_FALSE(cells[2]->isVisibleTo(again));
    QTRY_VERIFY_WITH_TIMEOUT(again->selectedColor() == teal, 5000);
    EXPECT_TRUE(again->selectedColorView()->isVisibleTo(again));
}

TEST(Window, TreatmentsAndVignetteMarkTheWindowEdited) {
    Window t;
    t.open(t.sample());
    EXPECT_FALSE(t.w->validateUserInterfaceItem("file_save"));
    ToolPanel* panel = t.w->drawingToolbar();
    panel->tabButton2Click();
    QTest::mouseClick(panel->sepiaModeButton(), Qt::LeftButton);
    EXPECT_TRUE(t.w->isEdited());
    EXPECT_TRUE(t.w->validateUserInterfaceItem("file_save"));
}

TEST(Window, ABrushStrokeIsWorkToKeep) {
    Window t;
    t.open(t.sample());
    EXPECT_FALSE(t.w->isEdited());
    CanvasView* canvas = t.w->painterView();
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    QTest::mouseMove(canvas, c + QPoint(30, 10));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(30, 10));
    EXPECT_TRUE(t.w->isEdited());
    EXPECT_TRUE(t.w->validateUserInterfaceItem("file_save"));
    EXPECT_TRUE(t.w->validateUserInterfaceItem("edit_undo"));
}

// Moving any adjustment is work to keep: Save lights up and leaving would ask.
TEST(Window, EveryAdjustmentMarksThePictureEdited) {
    Window t;
    const QString path = t.sample();
    t.open(path);
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel);
    const std::pair<const char*, ValueSlider* (ToolPanel::*)() const> sliders[] = {
        {"exposure", &ToolPanel::exposureSlider},
        {"brightness", &ToolPanel::brightnessSlider},
        {"saturation", &ToolPanel::saturationSlider},
        {"contrast", &ToolPanel::contrastSlider},
        {"hue", &ToolPanel::hueSlider},
        {"blur", &ToolPanel::blurSlider},
        {"vignette", &ToolPanel::vignetteSlider},
        {"background brightness", &ToolPanel::brightnessBackgroundSlider},
        {"background contrast", &ToolPanel::contrastBackgroundSlider},
        {"background saturation", &ToolPanel::saturationBackgroundSlider},
        {"background blur", &ToolPanel::blurBackgroundSlider},
    };
    for (const auto& [name, slider] : sliders) {
        EXPECT_FALSE(t.w->isEdited()) << name;
        ValueSlider* s = (panel->*slider)();
        const QPoint knob = s->knobRect().center().toPoint();
        const QPoint to = knob.x() > s->width() / 2 ? QPoint(2, knob.y()) : QPoint(s->width() - 2, knob.y());
        QTest::mousePress(s, Qt::LeftButton, {}, knob);
        QTest::mouseMove(s, to);
        QTest::mouseRelease(s, Qt::LeftButton, {}, to);
        EXPECT_TRUE(t.w->isEdited()) << name;
        EXPECT_TRUE(t.w->isWindowModified()) << name;
        EXPECT_TRUE(t.w->validateUserInterfaceItem("file_save")) << name;
        t.w->saving()->save(); // back to a saved picture for the next slider
        EXPECT_TRUE(t.alerts.isEmpty()) << name;
    }
}

// The saved state is a place in the history: undoing back to it is clean, moving past it either
// way is not, and a change the history does not hold stays a change.
TEST(Window, UndoAfterSaveIsAnEditUntilBackWhereSaved) {
    Window t;
    t.open(t.sample());
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    auto stroke = [&](int dy) {
        const QPoint c = canvas->rect().center() + QPoint(0, dy);
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        QTest::mouseMove(canvas, c + QPoint(30, 10));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(30, 10));
        processPendingEvents(); // the step closes when the event loop comes round
    };
    auto edited = [&] {
        const bool e = t.w->isEdited();
        EXPECT_EQ(t.w->isWindowModified(), e);
        EXPECT_EQ(t.w->validateUserInterfaceItem("file_save"), e);
        return e;
    };
    // Undone back to the photo as opened: nothing to save.
    stroke(0);
    EXPECT_TRUE(edited());
    t.w->buttonUndoClick();
    EXPECT_FALSE(edited()) << "undone back to the photo as opened";
    t.w->buttonRedoClick();
    EXPECT_TRUE(edited());
    stroke(40);
    t.w->saving()->save();
    EXPECT_FALSE(edited());
    t.w->buttonUndoClick();
    EXPECT_TRUE(edited()) << "the screen no longer shows what the file holds";
    t.w->buttonRedoClick();
    EXPECT_FALSE(edited()) << "redone back to the saved picture";
    t.w->buttonRedoClick(); // nothing left to redo
    EXPECT_FALSE(edited());
    stroke(80);
    EXPECT_TRUE(edited());
    t.w->buttonUndoClick();
    EXPECT_FALSE(edited()) << "undone back to the saved picture";
    // An adjustment is a step like any other.
    ValueSlider* exposure = t.w->drawingToolbar()->exposureSlider();
    const QPoint knob = exposure->knobRect().center().toPoint();
    QTest::mousePress(exposure, Qt::LeftButton, {}, knob);
    QTest::mouseMove(exposure, QPoint(exposure->width() - 2, knob.y()));
    QTest::mouseRelease(exposure, Qt::LeftButton, {}, QPoint(exposure->width() - 2, knob.y()));
    EXPECT_TRUE(edited());
    t.w->buttonUndoClick();
    EXPECT_FALSE(edited()) << "the adjustment undone";
    t.w->buttonRedoClick();
    EXPECT_TRUE(edited());
    t.w->saving()->save();
    EXPECT_FALSE(edited());
}

// Every change to the picture is one step, undone and redone in the order made, each named in the
// Edit menu; a slider dragged across many values is one step, and undoing it leaves older steps be.
TEST(Window, EveryEditIsOneNamedStep) {
    Window t;
    t.open(t.sample());
    ToolPanel* panel = t.w->drawingToolbar();
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(panel && canvas);
    CanvasModel& model = canvas->model();
    auto drag = [](ValueSlider* s, double to) {
        const QPoint knob = s->knobRect().center().toPoint();
        QTest::mousePress(s, Qt::LeftButton, {}, knob);
        for (int i = 1; i <= 5; ++i) // many values on the way
            QTest::mouseMove(s, QPoint(int(knob.x() + (to * s->width() - knob.x()) * i / 5), knob.y()));
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(int(to * s->width()), knob.y()));
    };
    auto stroke = [&] {
        const QPoint c = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        QTest::mouseMove(canvas, c + QPoint(40, 10));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(40, 10));
    };
    QAction* undoItem = t.w->findChild<QAction*>("edit_undo");
    ASSERT_TRUE(undoItem);
    struct Step {
        const char* name;
        std::function<void()> make;
    };
    const std::vector<Step> steps = {
        {"Paint", stroke},
        {"Exposure", [&] { drag(panel->exposureSlider(), 0.9); }},
        {"Treatment", [&] { QTest::mouseClick(panel->sepiaModeButton(), Qt::LeftButton); }},
        {"Vignette", [&] { drag(panel->vignetteSlider(), 0.8); }},
        {"Invert Mask", [&] { QTest::mouseClick(panel->invertMaskButton(), Qt::LeftButton); }},
        {"Background Blur", [&] { drag(panel->blurBackgroundSlider(), 0.7); }},
        {"Clear Mask", [&] { t.w->action("edit_clear_mask")->trigger(); }},
    };
    // What each step leaves: the picture settings the canvas renders, the exposure slider's
    // position and the mask.
    struct State {
        PictureSettings picture;
        double exposureSlider;
        double mask; // its sum
    };
    auto state = [&] {
        double sum = 0;
        if (const auto m =
                model.painting().mask() ? Renderer().createBitmap(model.painting().mask(), 8) : std::nullopt)
            for (int y = 0; y < m->height(); y += 7)
                for (int x = 0; x < m->width(); x += 7) sum += m->component(x, y, 1); // red
        return State{model.pictureSettings(), panel->exposureSlider()->doubleValue(),
                     model.painting().isMaskCleared() ? 0 : sum};
    };
    auto same = [](const State& a, const State& b) {
        return a.picture == b.picture && a.exposureSlider == b.exposureSlider && a.mask == b.mask;
    };
    std::vector<State> states{state()};
    for (const Step& s : steps) {
        s.make();
        processPendingEvents(); // the step closes once the event loop comes round
        states.push_back(state());
        EXPECT_FALSE(same(states.back(), states[states.size() - 2])) << s.name << " changed nothing";
        EXPECT_EQ(t.w->editSession()->undoText(), s.name);
        EXPECT_EQ(titleFromMenuText(undoItem->text()), QString("Undo ") + s.name);
    }
    for (std::size_t i = steps.size(); i-- > 0;) {
        t.w->buttonUndoClick();
        processPendingEvents();
        EXPECT_TRUE(same(state(), states[i])) << "undoing " << steps[i].name;
        EXPECT_EQ(t.w->editSession()->redoText(), steps[i].name);
    }
    EXPECT_FALSE(t.w->isEdited()) << "everything undone is the photo as opened";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        t.w->buttonRedoClick();
        processPendingEvents();
        EXPECT_TRUE(same(state(), states[i + 1])) << "redoing " << steps[i].name;
    }
}

// Apply bakes the painting into the photo: a fresh canvas on the result, one step that undo takes
// back to the photo and painting before it, and no full-resolution copy per step in memory.
TEST(Window, ApplyMakesTheResultThePhotoAsOneUndoableStep) {
    Window t;
    t.w->services.historyFolder = t.dir.filePath("history");
    t.open(t.sample());
    const BitmapRef original = t.w->image();
    auto paint = [&] {
        CanvasView* canvas = t.w->painterView();
        const QPoint c = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        for (int i = 1; i <= 8; ++i) QTest::mouseMove(canvas, c + QPoint(12 * i, 3 * i));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(96, 24));
        processPendingEvents();
        return c;
    };
    auto shown = [&](QPoint at) {
        processPendingEvents();
        return t.w->painterView()->grab().toImage().pixelColor(at);
    };
    auto colourful = [](QColor c) {
        return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
    };
    // A treatment, an adjustment and a brush of the user's own, as a photographer has them.
    ToolPanel* panel = t.w->drawingToolbar();
    QTest::mouseClick(panel->sepiaModeButton(), Qt::LeftButton);
    panel->exposureSlider()->setDoubleValue(0.6);
    panel->exposureSlider()->sendAction();
    panel->brushSizeSlider()->setDoubleValue(90);
    panel->brushSizeSlider()->sendAction();
    const QPoint c = paint();
    const QPoint probe = c + QPoint(48, 12);
    const QPoint background(20, 20);
    const QColor painted = shown(probe), treated = shown(background);
    const BitmapRef expected = t.w->resultImage();
    ASSERT_GT(colourful(painted), 20) << "the stroke shows the photo's colour";
    QPointer<CanvasView> before = t.w->painterView();

    t.w->action("edit_apply_drawing")->trigger();
    ASSERT_TRUE(t.w->painterView());
    // (Not compared by address: the new canvas may well take the old one's memory.)
    EXPECT_TRUE(before.isNull()) << "a fresh canvas";
    ASSERT_NE(t.w->image(), original);
    // The photo is now the result, pixel for pixel.
    ASSERT_EQ(t.w->image()->width(), expected->width());
    for (int y = 0; y < expected->height(); y += 97)
        for (int x = 0; x < expected->width(); x += 89)
            for (int ch = 0; ch < 3; ++ch)
                ASSERT_EQ(t.w->image()->component(x, y, ch), expected->component(x, y, ch)) << x << "," << y;
    // On screen nothing changes: the applied photo shows whole, its painted colours kept, and the
    // treatment waits for the eraser.
    for (const auto& [at, was] : {std::pair{probe, painted}, std::pair{background, treated}}) {
        const QColor now = shown(at);
        EXPECT_NEAR(now.red(), was.red(), 2) << "the picture as it was before Apply";
        EXPECT_NEAR(now.green(), was.green(), 2);
        EXPECT_NEAR(now.blue(), was.blue(), 2);
    }
    // The brush and the treatment stay; the adjustment is in the photo now, and starts again.
    panel = t.w->drawingToolbar();
    EXPECT_EQ(panel->brushSizeSlider()->doubleValue(), 90);
    EXPECT_EQ(panel->sepiaModeButton()->state(), 1);
    EXPECT_EQ(panel->exposureSlider()->doubleValue(), 0);
    EXPECT_EQ(t.session.undoText(), "Apply Drawing");
    EXPECT_TRUE(t.w->isEdited());

    // One undo: the photo as it was, with its painting, treatment and adjustment on screen.
    t.w->buttonUndoClick();
    EXPECT_EQ(t.w->image(), original);
    EXPECT_FALSE(t.w->painterView()->model().painting().isMaskCleared());
    EXPECT_EQ(t.w->drawingToolbar()->exposureSlider()->doubleValue(), 0.6);
    for (const auto& [at, was] : {std::pair{probe, painted}, std::pair{background, treated}}) {
        const QColor back = shown(at);
        EXPECT_NEAR(back.red(), was.red(), 2);
        EXPECT_NEAR(back.green(), was.green(), 2);
        EXPECT_NEAR(back.blue(), was.blue(), 2);
    }
    t.w->buttonRedoClick();
    EXPECT_NE(t.w->image(), original);
    EXPECT_NEAR(shown(probe).red(), painted.red(), 2) << "redone, the applied photo shows whole again";

    // Applying again keeps the picture it replaces in the cache folder, not in memory; the files go
    // with the history.
    paint();
    t.w->action("edit_apply_drawing")->trigger();
    paint();
    t.w->action("edit_apply_drawing")->trigger();
    EXPECT_EQ(QDir(t.w->services.historyFolder).entryList(QDir::Files).size(), 2);
    t.w->buttonUndoClick();
    t.w->buttonUndoClick();
    t.w->buttonUndoClick();
    t.w->buttonUndoClick();
    t.w->buttonUndoClick();
    EXPECT_EQ(t.w->image(), original);
    t.session.clear();
    EXPECT_EQ(QDir(t.w->services.historyFolder).entryList(QDir::Files).size(), 0);
}

// A photo cut short opens, and the user is told, once it is on screen, that part of it is grey.
TEST(Window, AnIncompletePhotoOpensAndSaysSo) {
    Window t;
    QFile whole(PIMAVO_SAMPLE_PHOTO);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(t.dir.filePath("pulled-card.jpg"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() * 7 / 10));
    cut.close();
    t.open(cut.fileName());
    ASSERT_TRUE(waitUntil([&] { return !t.alerts.isEmpty(); }, 3000));
    EXPECT_TRUE(t.w->hasPhoto());
    EXPECT_TRUE(t.w->painterView() && t.w->painterView()->isVisible()) << "the photo is on screen";
    ASSERT_EQ(t.alerts.size(), 1);
    EXPECT_TRUE(t.alertInfos[0].contains("pulled-card.jpg")) << t.alertInfos[0].toStdString();
    EXPECT_TRUE(t.alertInfos[0].contains("incomplete")) << t.alertInfos[0].toStdString();
    EXPECT_FALSE(t.w->isEdited());
}

TEST(Window, OpeningOverEditedWorkAsksFirst) {
    Window t;
    t.open(t.sample("first.jpg"));
    t.w->setEdited(true);
    const BitmapRef first = t.w->image();
    t.answer = WindowServices::Answer::Cancel;
    t.open(t.sample("second.jpg"));
    EXPECT_EQ(t.asked, QStringList{"save?"});
    // Whose work is at stake, and what would replace it.
    ASSERT_EQ(t.questions.size(), 1);
    EXPECT_TRUE(t.questions[0].contains("first.jpg")) << t.questions[0].toStdString();
    EXPECT_TRUE(t.questions[0].contains("second.jpg")) << t.questions[0].toStdString();
    EXPECT_EQ(t.w->image(), first);
    t.answer = WindowServices::Answer::DontSave;
    t.open(t.sample("second.jpg"));
    EXPECT_TRUE(waitUntil([&] { return t.w->image() != first; }, 30000));
    EXPECT_TRUE(t.w->representedFile().endsWith("second.jpg"));
    EXPECT_FALSE(t.w->isEdited());
}

TEST(Window, SavingFirstOpensTheNextPhotoOnlyOnceTheFileIsWritten) {
    Window t;
    t.open(t.sample("first.jpg"));
    t.w->setEdited(true);
    t.answer = WindowServices::Answer::Save;
    t.savePath = t.dir.filePath("kept.jpg");
    t.open(t.sample("second.jpg"));
    EXPECT_TRUE(waitUntil([&] { return t.w->representedFile().endsWith("second.jpg"); }, 30000));
    EXPECT_EQ(t.asked, (QStringList{"save?", "save as"}));
    EXPECT_TRUE(QFile::exists(t.savePath));
    // A failed Save As keeps the picture and opens nothing.
    t.w->setEdited(true);
    t.savePath = t.dir.filePath("no/such/folder/x.jpg");
    t.open(t.sample("third.jpg"));
    ASSERT_TRUE(waitUntil([&] { return !t.alerts.isEmpty(); })) << "the failed save is said";
    EXPECT_TRUE(t.w->representedFile().endsWith("second.jpg"));
    EXPECT_TRUE(t.w->isEdited());
    EXPECT_FALSE(t.alerts.isEmpty());
}

TEST(Window, APhotoDroppedOnTheStartScreenOpens) {
    Window t;
    ASSERT_TRUE(t.w->start()->isShown());
    auto* screen = t.w->contentView()->findChild<StartScreen*>();
    ASSERT_TRUE(screen);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(t.sample("DROPPED.JPG"))});
    const QPoint at = screen->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(screen, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(screen, &drop);
    EXPECT_TRUE(waitUntil([&] { return t.w->hasPhoto(); }, 3000));
    EXPECT_TRUE(t.w->representedFile().endsWith("DROPPED.JPG"));
}

TEST(Window, AVeryLargePhotoIsReducedForTheCanvasWhileTheWindowWaits) {
    Window t;
    // 6000 × 5334 = 32,004,000 pixels: just over the limit.
    auto big = std::make_shared<Bitmap>(6000, 5334, *photoLayout(8));
    const QString path = t.dir.filePath("big.jpg");
    SaveOptions options;
    ASSERT_TRUE(writeImageFile(*big, path.toStdString(), options, nullptr, nullptr));
    t.w->opening()->open(path);
    EXPECT_EQ(OverlayDialog::countOfDialogs(), 1); // the wait, with its spinner
    EXPECT_TRUE(t.w->windowTitle().startsWith("big.jpg"));
    ASSERT_TRUE(waitUntil([&] { return t.w->hasPhoto(); }, 30000));
    EXPECT_EQ(OverlayDialog::countOfDialogs(), 0);
    // The canvas paints on the reduced copy; the picture stays the photo, at its size.
    const int side = reductionSide(6000, 5334);
    ASSERT_TRUE(t.w->painterView());
    const RectF canvasPhoto = t.w->painterView()->model().originA().extent();
    EXPECT_EQ(int(canvasPhoto.width()), side);
    EXPECT_LT(canvasPhoto.width() * canvasPhoto.height(), 32000000.0);
    EXPECT_EQ(t.w->image()->width(), 6000);
}

TEST(Window, PasteAndDropRules) {
    Window t;
    auto files = [](const QString& path) {
        auto* d = new QMimeData;
        d->setUrls({QUrl::fromLocalFile(path)});
        return d;
    };
    std::unique_ptr<QMimeData> jpgCaps(files("/tmp/x/PHOTO.JPG")), gif(files("/tmp/x/anim.gif"));
    EXPECT_TRUE(t.w->opening()->canOpen(jpgCaps.get()));
    EXPECT_FALSE(t.w->opening()->canOpen(gif.get()));
    QMimeData tiff;
    tiff.setData("image/tiff", "whatever");
    tiff.setUrls({QUrl::fromLocalFile("/tmp/x/anim.gif")});
    EXPECT_TRUE(t.w->opening()->canOpen(&tiff));

    // A pasted picture is "Untitled", without a file or metadata.
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    QApplication::clipboard()->setImage(picture);
    QMimeData image;
    image.setImageData(picture);
    t.w->opening()->openFrom(&image);
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_EQ(t.w->image()->width(), 64);
    EXPECT_TRUE(t.w->windowTitle().startsWith("Untitled"));
    EXPECT_FALSE(t.w->imageProperties());
    EXPECT_TRUE(t.w->imageMimeType().isEmpty());
    // A picture of no size installs nothing.
    const BitmapRef before = t.w->image();
    QMimeData empty;
    empty.setImageData(QImage());
    t.w->opening()->openFrom(&empty);
    EXPECT_EQ(t.w->image(), before);
    // Saving a picture without a file asks where.
    t.savePath = t.dir.filePath("pasted.tif");
    t.w->saving()->save();
    EXPECT_EQ(t.asked.last(), "save as");
    EXPECT_TRUE(QFile::exists(t.savePath));
}

TEST(Window, SaveWritesTheSameFileWithItsMetadata) {
    Window t;
    const QString path = t.sample();
    QProcess::execute("exiftool",
                      {"-q", "-overwrite_original", "-Orientation=Rotate 90 CW", "-Make=Pimakers", path});
    t.open(path);
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_EQ(t.w->image()->width(), 1600); // turned upright
    t.w->drawingToolbar()->tabButton2Click();
    QTest::mouseClick(t.w->drawingToolbar()->sepiaModeButton(), Qt::LeftButton);
    t.w->saving()->save();
    EXPECT_FALSE(t.w->isEdited());
    QProcess exif;
    exif.start("exiftool", {"-s3", "-Make", "-Software", "-Orientation", "-FileType", "-ImageWidth", path});
    ASSERT_TRUE(exif.waitForFinished());
    const QStringList lines = QString(exif.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("Pimakers"));
    EXPECT_TRUE(lines.contains("JPEG"));
    EXPECT_TRUE(lines.contains("1600"));
    EXPECT_FALSE(lines.contains("Rotate 90 CW"));
    EXPECT_TRUE(
        std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith("Pimavo"); }));
}

TEST(Window, TheThirdSaveAsAsksForAReviewOnline) {
    Window t;
    bool online = false;
    t.w->services.networkReachable = [&] { return online; };
    t.open(t.sample());
    auto saveAs = [&](const char* name) {
        t.savePath = t.dir.filePath(name);
        t.w->saving()->saveAs();
    };
    saveAs("a.jpg");
    saveAs("b.jpg");
    saveAs("c.jpg"); // offline: counted, no prompt
    EXPECT_FALSE(t.w->review()->isShown());
    EXPECT_EQ(t.settings.savesSinceReviewPrompt(), 3);
    online = true;
    saveAs("d.jpg");
    EXPECT_TRUE(t.w->review()->isShown());
    EXPECT_EQ(t.settings.savesSinceReviewPrompt(), 0);
    EXPECT_TRUE(t.w->isDisabledInteraction());
    t.w->review()->finish(true); // "No, Thanks"
    EXPECT_FALSE(t.w->review()->isShown());
    EXPECT_FALSE(t.w->isDisabledInteraction());
    for (const char* name : {"e.jpg", "f.jpg", "g.jpg"}) saveAs(name);
    EXPECT_FALSE(t.w->review()->isShown());
    EXPECT_EQ(t.settings.savesSinceReviewPrompt(), 0);
    // A newer version asks again.
    t.settings.setLastVersion(0.0);
    EditorWindow newer(&t.session, &t.settings);
    EXPECT_FALSE(t.settings.reviewDeclined());
}

TEST(Window, PrintsTheResultFittedOnThePage) {
    Window t;
    const QString pdf = t.dir.filePath("printed.pdf");
    QRectF paper;
    t.w->services.printDialog = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        paper = printer.paperRect(QPrinter::Point);
        return true;
    };
    t.w->print(); // nothing to print yet
    ASSERT_FALSE(t.alerts.isEmpty());
    EXPECT_EQ(t.alerts.last(), QString("The picture could not be printed."));
    EXPECT_FALSE(QFile::exists(pdf));
    t.open(t.sample());
    t.w->print();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 20000); // the picture, not an empty page
    EXPECT_FALSE(paper.isEmpty());
}

TEST(Window, QuitAsksOnlyWhenEdited) {
    struct Case {
        bool edited;
        WindowServices::Answer answer;
        bool quits;
        int questions;
    } cases[] = {
        {false, WindowServices::Answer::Cancel, true, 0},
        {true, WindowServices::Answer::Cancel, false, 1},
        {true, WindowServices::Answer::DontSave, true, 1},
    };
    for (const Case& c : cases) {
        Window t;
        bool closed = false;
        t.w->onClose = [&] { closed = true; };
        t.open(t.sample());
        t.w->setEdited(c.edited);
        t.answer = c.answer;
        t.w->closeDocumentWithSaving();
        if (c.quits) {
            EXPECT_TRUE(waitUntil([&] { return closed; }));
        }
        processPendingEvents();
        EXPECT_EQ(closed, c.quits);
        EXPECT_EQ(t.asked.count("save?"), c.questions);
    }
}

// A photo library is handed a copy named after the photo under a free name, never over a file
// already there, and the copy stays after the editor ends: the library may read it much later.
TEST(Export, CopiesAreNamedAfterThePhotoAndOutliveTheEditor) {
    Window t;
    const QString folder = t.dir.filePath("Pictures");
    t.w->services.exportFolder = folder;
    QDir().mkpath(folder);
    for (const char* existing : {"photo (Pimavo).jpg", "photo (Pimavo) 2.jpg"}) {
        QFile f(folder + "/" + existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's own");
    }
    EXPECT_EQ(ExportController::uniqueExportPath(folder, "photo.jpg"), folder + "/photo (Pimavo) 3.jpg");

    // A stand-in photo library that copies what it is given.
    const QString apps = t.dir.filePath("data/applications"), received = t.dir.filePath("received.jpg");
    QDir().mkpath(apps);
    QFile entry(apps + "/org.gnome.Shotwell.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(
        QString("[Desktop Entry]\nType=Application\nName=Shotwell\nExec=cp %f %1\n").arg(received).toUtf8());
    entry.close();
    qputenv("XDG_DATA_HOME", t.dir.filePath("data").toUtf8());
    qputenv("XDG_DATA_DIRS", t.dir.filePath("none").toUtf8());
    t.open(t.sample());
    t.w->exportToApplication(exportTargets()[0]);
    const QString copy = folder + "/photo (Pimavo) 3.jpg";
    EXPECT_TRUE(QFile::exists(copy));
    DecodeResult read;
    EXPECT_TRUE(waitUntilWrittenWhole(received, read));
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->bitmap->width(), t.w->image()->width());
    for (const char* existing : {"photo (Pimavo).jpg", "photo (Pimavo) 2.jpg"}) {
        QFile f(folder + "/" + existing);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "the user's own") << existing;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3) << "nothing temporary left";
    // digiKam is not there: a message, and no copy written.
    t.w->exportToApplication(exportTargets()[1]);
    ASSERT_FALSE(t.alerts.isEmpty());
    EXPECT_TRUE(t.alerts.last().contains("digiKam"));
    EXPECT_FALSE(QFile::exists(folder + "/photo (Pimavo) 4.jpg"));
    // The copy stays when the editor ends.
    t.w.reset();
    DecodeResult kept = decodeImageFile(copy.toStdString(), false);
    EXPECT_TRUE(kept.image) << kept.error;
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

TEST(SingleInstance, ALaterLaunchHandsItsPhotoToTheRunningEditor) {
    const QString key = QString("pimavo-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(key);
    QStringList received;
    int calls = 0;
    ASSERT_TRUE(running.listen([&](const QStringList& paths) {
        received = paths;
        ++calls;
    }));
    std::atomic<int> answered{-1};
    std::thread later([&] {
        SingleInstance second(key);
        answered = second.sendToRunning({"/home/u/a b.jpg", "/home/u/c.png"}, 3000) ? 1 : 0;
    });
    EXPECT_TRUE(waitUntil([&] { return answered >= 0; }, 5000));
    later.join();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(received, (QStringList{"/home/u/a b.jpg", "/home/u/c.png"}));
    EXPECT_EQ(calls, 1);
    // A launch in another desktop session, or on another display, keeps to itself.
    QTemporaryDir runtime, otherRuntime;
    struct Case {
        QString runtimeDir, display;
        bool reaches;
    };
    const Case cases[] = {
        {runtime.path(), ":0", true},       {runtime.path(), ":0.0", true},
        {runtime.path(), ":1", false},      {runtime.path(), "wayland-0", false},
        {otherRuntime.path(), ":0", false},
    };
    SingleInstance onDisplay0(SingleInstance::keyFor(runtime.path(), ":0"));
    ASSERT_TRUE(onDisplay0.listen([](const QStringList&) {}));
    for (const Case& c : cases) {
        std::atomic<int> reached{-1};
        std::thread launch([&] {
            reached = SingleInstance(SingleInstance::keyFor(c.runtimeDir, c.display)).sendToRunning({}, 500);
        });
        EXPECT_TRUE(waitUntil([&] { return reached >= 0; }, 3000));
        launch.join();
        EXPECT_EQ(reached == 1, c.reaches) << c.display.toStdString();
    }
    // Nobody listening: the launch goes on by itself.
    SingleInstance alone(key + "-none");
    EXPECT_FALSE(alone.sendToRunning({"/x.jpg"}, 200));
}

TEST(SingleInstance, ABusyEditorGetsTheLaterLaunchsPhotoAndKeepsItsChannel) {
    const QString key = QString("pimavo-test-busy-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(key);
    QStringList received;
    ASSERT_TRUE(running.listen([&](const QStringList& paths) { received += paths; }));
    // A launch while the editor's event loop is held up for longer than the launch's connection
    // limit (opening a large photo): the photo still goes to the running editor.
    std::atomic<int> answered{-1};
    std::thread later(
        [&] { answered = SingleInstance(key).sendToRunning({"/home/u/big.tif"}, 300) ? 1 : 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // busy, not answering
    EXPECT_TRUE(waitUntil([&] { return answered >= 0; }, 10000));
    later.join();
    EXPECT_EQ(answered, 1) << "the later launch would have started a second editor";
    EXPECT_EQ(received, QStringList{"/home/u/big.tif"});
    // A second editor that starts anyway (its answer came too late) leaves the channel to the one
    // that answers on it.
    SingleInstance second(key);
    EXPECT_FALSE(second.listen([](const QStringList&) { ADD_FAILURE() << "the channel was taken over"; }));
    std::atomic<int> reached{-1};
    std::thread launch(
        [&] { reached = SingleInstance(key).sendToRunning({"/home/u/next.jpg"}, 3000) ? 1 : 0; });
    EXPECT_TRUE(waitUntil([&] { return reached >= 0; }, 5000));
    launch.join();
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(received, (QStringList{"/home/u/big.tif", "/home/u/next.jpg"}));
}

TEST(RecentDocuments, SharedWithTheDesktopWithoutDisturbingOthers) {
    QTemporaryDir dir;
    const QString file = dir.filePath("recently-used.xbel");
    const QByteArray theirs = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">
  <bookmark href="file:///home/u/notes.txt" added="2025-01-01T00:00:00Z" modified="2025-01-01T00:00:00Z" visited="2025-01-01T00:00:00Z">
    <info><metadata owner="http://freedesktop.org"><mime:mime-type type="text/plain"/>
      <bookmark:applications><bookmark:application name="gedit" exec="&apos;gedit %u&apos;" modified="2025-01-01T00:00:00Z" count="3"/></bookmark:applications>
    </metadata></info>
  </bookmark>
</xbel>
)";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(theirs);
    f.close();
    ASSERT_TRUE(noteRecentDocument("/home/u/Photos/bird one.jpg", "image/jpeg", file));
    ASSERT_TRUE(noteRecentDocument("/home/u/Photos/bird one.jpg", "image/jpeg", file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(&f));
    QStringList hrefs;
    QMap<QString, QString> counts;
    const QDomNodeList apps = doc.elementsByTagName("bookmark:application");
    for (int i = 0; i < apps.size(); ++i)
        counts[apps.at(i).toElement().attribute("name")] = apps.at(i).toElement().attribute("count");
    const QDomNodeList marks = doc.elementsByTagName("bookmark");
    for (int i = 0; i < marks.size(); ++i) hrefs << marks.at(i).toElement().attribute("href");
    EXPECT_EQ(hrefs, (QStringList{"file:///home/u/notes.txt", "file:///home/u/Photos/bird%20one.jpg"}));
    EXPECT_EQ(counts.value("gedit"), "3");
    EXPECT_EQ(counts.value("Pimavo"), "2");
    EXPECT_EQ(doc.elementsByTagName("mime:mime-type").at(1).toElement().attribute("type"), "image/jpeg");
    // A file that is not a bookmark list is someone else's: it is left exactly as it was.
    const QString odd = dir.filePath("odd.xbel");
    QFile g(odd);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("not xml at all <");
    g.close();
    EXPECT_FALSE(noteRecentDocument("/x.jpg", "image/jpeg", odd));
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), QByteArray("not xml at all <"));
}

// Waits for the autosave written in the background to be on disk, or gone.
::testing::AssertionResult waitForFile(const QString& path, bool there) {
    return waitUntil([&] { return QFile::exists(path) == there; }, 10000,
                     there ? "the session's file written" : "the session's file gone");
}

// While the picture has unsaved changes the session is kept as a project in the state folder; once
// it is saved, undone back to what was saved, or let go for another photo, the file goes.
TEST(Window, AnUnsavedSessionIsKeptUntilSavedOrLetGo) {
    Window t;
    t.open(t.sample());
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    const QString kept = t.w->autosave()->path();
    ASSERT_TRUE(kept.startsWith(qEnvironmentVariable("XDG_STATE_HOME") + "/pimavo/"));
    auto stroke = [&](int dy) {
        const QPoint c = canvas->rect().center() + QPoint(0, dy);
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        QTest::mouseMove(canvas, c + QPoint(30, 10));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(30, 10));
        processPendingEvents();
    };
    t.w->autosave()->writeNow();
    EXPECT_FALSE(QFile::exists(kept)) << "nothing unsaved, nothing kept";

    stroke(0);
    t.w->autosave()->writeNow();
    ASSERT_TRUE(waitForFile(kept, true));
    EXPECT_TRUE(readProjectFile(kept.toStdString()).project) << "a whole project";
    t.w->saving()->save();
    EXPECT_TRUE(waitForFile(kept, false)) << "saved";

    stroke(40);
    t.w->autosave()->writeNow();
    ASSERT_TRUE(waitForFile(kept, true));
    t.w->buttonUndoClick();
    EXPECT_TRUE(waitForFile(kept, false)) << "undone back to what the file holds";

    stroke(80);
    t.w->autosave()->writeNow();
    ASSERT_TRUE(waitForFile(kept, true));
    t.answer = WindowServices::Answer::DontSave;
    t.open(t.sample("other.jpg"));
    EXPECT_TRUE(waitForFile(kept, false)) << "let go for another photo";
}

// Sessions are offered back only when their editors are gone; one restored comes back exactly,
// unsaved, and is this editor's to keep from then on.
TEST(Window, ASessionLeftBehindIsRestoredExactly) {
    QTemporaryDir other;
    const QString folder = Autosave::defaultFolder();
    BitmapRef before;
    QString leftBehind;
    {
        Window t;
        t.open(t.sample());
        CanvasView* canvas = t.w->painterView();
        ASSERT_TRUE(canvas);
        const QPoint c = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        for (int i = 1; i <= 6; ++i) QTest::mouseMove(canvas, c + QPoint(15 * i, 5 * i));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(90, 30));
        QTest::mouseClick(t.w->drawingToolbar()->sepiaModeButton(), Qt::LeftButton);
        ValueSlider* exposure = t.w->drawingToolbar()->exposureSlider();
        const QPoint knob = exposure->knobRect().center().toPoint();
        QTest::mousePress(exposure, Qt::LeftButton, {}, knob);
        QTest::mouseMove(exposure, QPoint(exposure->width() * 3 / 4, knob.y()));
        QTest::mouseRelease(exposure, Qt::LeftButton, {}, QPoint(exposure->width() * 3 / 4, knob.y()));
        processPendingEvents();
        t.w->autosave()->writeNow();
        // Written whole before it shows under its name.
        ASSERT_TRUE(waitForFile(t.w->autosave()->path(), true));
        before = t.w->resultImage();
        // Its editor is running: nothing is left behind.
        EXPECT_TRUE(Autosave::leftBehind(folder).empty());
        // As a killed editor leaves it: the file, and no one holding its lock.
        leftBehind = folder + "/session-999999-1.pimavo";
        ASSERT_TRUE(QFile::copy(t.w->autosave()->path(), leftBehind));
        QFile::copy(leftBehind, other.filePath("damaged.pimavo"));
    }
    // A session cut short while being written is not offered.
    QFile damaged(folder + "/session-999998-1.pimavo");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("PK\x03\x04 cut short"));
    damaged.close();

    Window t;
    std::vector<Autosave::Session> offered;
    t.w->services.recoveryChooser = [&](const std::vector<Autosave::Session>& sessions) {
        offered = sessions;
        return 0;
    };
    t.w->autosave()->offerRecovery();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].path, leftBehind);
    EXPECT_EQ(offered[0].name, "photo.jpg");
    ASSERT_TRUE(t.w->hasPhoto());
    const BitmapRef after = t.w->resultImage();
    ASSERT_TRUE(before && after);
    ASSERT_EQ(after->width(), before->width());
    ASSERT_EQ(after->height(), before->height());
    for (int y = 0; y < after->height(); ++y)
        ASSERT_EQ(std::memcmp(after->row(y), before->row(y), after->bytesPerRow()), 0) << "row " << y;
    EXPECT_TRUE(t.w->isEdited()) << "restored work is not saved anywhere but here";
    EXPECT_TRUE(t.w->windowTitle().contains("photo.jpg"));
    EXPECT_FALSE(QFile::exists(leftBehind));
    EXPECT_TRUE(QFile::exists(t.w->autosave()->path())) << "kept as this editor's own";
    // Saving asks where: the photo's own file is not the recovered picture's.
    t.savePath = t.dir.filePath("recovered.jpg");
    t.w->saving()->save();
    EXPECT_EQ(t.asked.last(), "save as");
    EXPECT_EQ(t.proposedName, "photo") << "named after the photo it came from";
    EXPECT_TRUE(waitForFile(t.w->autosave()->path(), false));
    QFile::remove(damaged.fileName());
}

// Reverting brings back the photo as opened. Once the picture was saved over its file, that photo
// is on screen only: it is work to save, and quitting asks, or its colours would be gone for good.
TEST(Window, RevertAfterSavingIsWorkToSave) {
    Window t;
    t.open(t.sample());
    auto revert = [&] {
        // Answers the revert question with its Revert button.
        answerNextMessageBox(QMessageBox::DestructiveRole);
        t.w->revertToOriginalButtonClick();
    };
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    QTest::mouseMove(canvas, c + QPoint(40, 10));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(40, 10));
    processPendingEvents();
    revert();
    EXPECT_FALSE(t.w->isEdited()) << "never saved: the file still holds the photo as opened";

    canvas = t.w->painterView();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    QTest::mouseMove(canvas, c + QPoint(40, 10));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(40, 10));
    processPendingEvents();
    t.w->saving()->save();
    ASSERT_FALSE(t.w->isEdited());
    revert();
    EXPECT_TRUE(t.w->isEdited()) << "the file holds the painted picture now";
    EXPECT_TRUE(t.w->isWindowModified());
}

// Revert to Original is a step of the history like any other: undo brings back the painting and the
// panel as they were, redo reverts again; thirty short strokes before it are all there to undo.
TEST(Window, RevertToOriginalIsUndoneLikeAnyStep) {
    Window t;
    t.open(t.sample());
    auto revert = [&] {
        answerNextMessageBox(QMessageBox::DestructiveRole);
        t.w->revertToOriginalButtonClick();
    };
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    const QPoint c = canvas->rect().center();
    for (int s = 0; s < 30; ++s) {
        const QPoint from = c + QPoint(-150 + 10 * s, -60 + 4 * s);
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, from + QPoint(12, 6));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(12, 6));
    }
    processPendingEvents();
    QTest::mouseClick(t.w->drawingToolbar()->agedModeButton(), Qt::LeftButton);
    processPendingEvents();
    const BitmapRef painted = t.w->resultImage();
    ASSERT_TRUE(painted);

    revert();
    ASSERT_TRUE(t.w->painterView());
    EXPECT_TRUE(t.w->painterView()->model().painting().isMaskCleared());
    EXPECT_EQ(t.w->painterView()->model().pictureSettings().treatment, Treatment::Grayscale);
    EXPECT_EQ(t.session.undoText(), QString("Revert to Original"));
    EXPECT_FALSE(t.w->isEdited()) << "never saved: the file holds the photo as opened";

    t.session.undo();
    ASSERT_TRUE(t.w->painterView());
    EXPECT_FALSE(t.w->painterView()->model().painting().isMaskCleared()) << "the painting is back";
    EXPECT_EQ(t.w->painterView()->model().pictureSettings().treatment, Treatment::Aged);
    const BitmapRef back = t.w->resultImage();
    ASSERT_TRUE(back && back->width() == painted->width());
    EXPECT_EQ(std::memcmp(back->row(0), painted->row(0), painted->bytesPerRow() * painted->height()), 0);
    EXPECT_TRUE(t.w->isEdited());

    t.session.redo();
    EXPECT_TRUE(t.w->painterView()->model().painting().isMaskCleared());
    t.session.undo();
    // Every stroke before it is a step of its own, all of them there to undo.
    int strokes = 0;
    while (t.session.canUndo() && !t.w->painterView()->model().painting().isMaskCleared()) {
        t.session.undo();
        ++strokes;
    }
    EXPECT_GE(strokes, 30);
    EXPECT_TRUE(t.w->painterView()->model().painting().isMaskCleared());
}

} // namespace
} // namespace pimavo::test
