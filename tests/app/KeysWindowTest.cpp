// The editing window driven from the keyboard, the clipboard and the pointer: the compare key, keys
// while comparing, modifiers held when a dialog takes the focus, Escape in the colour picker, Copy
// and Paste with what other programs put on the clipboard, and the brush cursor while sliders are
// dragged and strokes drawn.
#include "WindowFixture.h"
#include "app/EditorWindow.h"
#include "app/WindowCompare.h"
#include "app/WindowPicker.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/ImageWriter.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/BitmapImage.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct KeysWindow : WindowFixture {
    KeysWindow() : WindowFixture(WindowOptions().activated()) {}
    void open() { WindowFixture::open(sample()); }
    // A short stroke across the middle of the canvas.
    void stroke() const {
        CanvasView* on = canvas();
        const QPoint c = on->rect().center();
        QTest::mousePress(on, Qt::LeftButton, {}, c);
        QTest::mouseMove(on, c + QPoint(60, 0));
        QTest::mouseRelease(on, Qt::LeftButton, {}, c + QPoint(60, 0));
    }
    // Where keys go: the focused widget, as the desktop would deliver them.
    QWidget* focus() const {
        QWidget* f = QApplication::focusWidget();
        return f ? f : w.get();
    }
    // A key as the platform delivers it: shortcuts first, then the focused widget; auto-repeat as
    // the keyboard sends it while a key is held.
    void send(QEvent::Type type, int key, Qt::KeyboardModifiers mods, bool autoRepeat = false,
              ulong timestamp = 0) {
        QWidget* to = focus();
        const QString text =
            key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde && !(mods & Qt::ControlModifier)
                ? QString(QChar(key)).toLower()
                : QString();
        if (type == QEvent::KeyPress &&
            qt_sendShortcutOverrideEvent(to, timestamp, key, mods, text, autoRepeat))
            return;
        QKeyEvent e(type, key, mods, text, autoRepeat);
        e.setTimestamp(timestamp);
        QApplication::sendEvent(to, &e);
    }
    // Ctrl+B as typed: Control down, B down and up, Control up.
    void ctrlB() {
        send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        send(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier);
        send(QEvent::KeyRelease, Qt::Key_B, Qt::ControlModifier);
        send(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        processPendingEvents();
    }
    bool compareOn() const { return w->compare()->isShown(); }
    // Compare as the window shows it: the overlay, the top bar's button and the View menu's item.
    void expectCompare(bool on, const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(compareOn(), on);
        ASSERT_TRUE(compareButton());
        EXPECT_EQ(compareButton()->state(), on ? 1 : 0);
        EXPECT_TRUE(compareAction()->isCheckable());
        EXPECT_EQ(compareAction()->isChecked(), on);
        EXPECT_TRUE(compareAction()->isEnabled());
    }
};

QImage solidImage(QColor c) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes;
}

TEST(KeysWindow, CtrlBTogglesCompareOncePerPressWhereverTheFocusIs) {
    KeysWindow t;
    t.open();
    ASSERT_TRUE(t.canvas());
    // The pointer over the picture, the canvas focused by a click on it, as when painting.
    const QPoint onPicture = t.canvas()->rect().center();
    QTest::mouseMove(t.canvas(), onPicture);
    t.canvas()->setFocus();
    const double scale = t.canvas()->geometry().scale();
    t.expectCompare(false, "at the start");
    struct Focus {
        const char* name;
        std::function<void()> put;
    };
    const Focus places[] = {
        {"canvas", [&] { t.canvas()->setFocus(); }},
        {"window", [&] { t.w->setFocus(); }},
        {"size field", [&] { t.w->drawingToolbar()->findChild<QLineEdit*>()->setFocus(); }},
    };
    for (const Focus& f : places) {
        SCOPED_TRACE(f.name);
        f.put();
        t.ctrlB();
        t.expectCompare(true, "after the first press");
        EXPECT_TRUE(waitUntil([&] { return t.compareShownFully(); }));
        t.expectCompare(true, "once faded in");
        t.ctrlB();
        t.expectCompare(false, "after the second press");
        EXPECT_DOUBLE_EQ(t.canvas()->geometry().scale(), scale) << "Ctrl+B zoomed";
    }

    // Held down, the keyboard repeats B: still one toggle.
    t.canvas()->setFocus();
    t.send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    t.send(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier);
    for (int i = 0; i < 29; ++i) { // an odd count: repeats taken as presses would end it off
        t.send(QEvent::KeyRelease, Qt::Key_B, Qt::ControlModifier, true);
        t.send(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, true);
        processPendingEvents(); // as between the keyboard's repeats
    }
    t.send(QEvent::KeyRelease, Qt::Key_B, Qt::ControlModifier);
    t.send(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    processPendingEvents();
    t.expectCompare(true, "after holding Ctrl+B");
    // Some X servers send the repeats unmarked, as a release and a press at the same instant.
    t.send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, false, 1000);
    t.send(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, false, 1100);
    for (ulong ms = 1700; ms < 2460; ms += 40) { // 19 repeats
        t.send(QEvent::KeyRelease, Qt::Key_B, Qt::ControlModifier, false, ms);
        t.send(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, false, ms);
        processPendingEvents(); // as between the keyboard's repeats
    }
    t.send(QEvent::KeyRelease, Qt::Key_B, Qt::ControlModifier, false, 2600);
    t.send(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, false, 2650);
    processPendingEvents();
    t.expectCompare(false, "after holding Ctrl+B on such a server");
    t.ctrlB();
    t.expectCompare(true, "after pressing Ctrl+B again");

    // The button and the menu item toggle it too, and all three stay in step.
    QTest::mouseClick(t.compareButton(), Qt::LeftButton);
    processPendingEvents();
    t.expectCompare(false, "after the button");
    t.compareAction()->trigger();
    processPendingEvents();
    t.expectCompare(true, "after the menu");
    t.ctrlB();
    t.expectCompare(false, "after Ctrl+B from the menu's compare");
    QTest::mouseClick(t.compareButton(), Qt::LeftButton);
    processPendingEvents();
    t.compareAction()->trigger();
    processPendingEvents();
    t.expectCompare(false, "after the button and the menu");
}

TEST(KeysWindow, InCompareAnyKeyOnlyLeavesIt) {
    KeysWindow t;
    t.open();
    CanvasView* canvas = t.canvas();
    ToolPanel* toolbar = t.w->drawingToolbar();
    struct Key {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
    };
    const Key keys[] = {
        {"space", Qt::Key_Space, {}},
        {"plus", Qt::Key_Plus, {}},
        {"minus", Qt::Key_Minus, {}},
        {"equal", Qt::Key_Equal, {}},
        {"ctrl", Qt::Key_Control, {}},
        {"shift", Qt::Key_Shift, {}},
        {"a", Qt::Key_A, {}},
        {"]", Qt::Key_BracketRight, {}},
        {"x", Qt::Key_X, {}},
        {"backslash", Qt::Key_Backslash, {}},
        {"ctrl =", Qt::Key_Equal, Qt::ControlModifier},
    };
    for (bool canvasFocused : {true, false}) {
        for (const Key& k : keys) {
            SCOPED_TRACE(std::string(k.name) + (canvasFocused ? " on the canvas" : " on the window"));
            const double scale = canvas->geometry().scale();
            const double size = toolbar->brushSizeSlider()->doubleValue();
            const bool erase = canvas->model().painting().brush().erase,
                       showMask = canvas->model().isShowMask();
            QTest::mouseClick(t.compareButton(), Qt::LeftButton);
            processPendingEvents();
            ASSERT_TRUE(t.compareOn());
            if (canvasFocused)
                canvas->setFocus();
            else
                t.w->setFocus();
            const Qt::KeyboardModifiers held = k.key == Qt::Key_Control ? Qt::ControlModifier
                                               : k.key == Qt::Key_Shift ? Qt::ShiftModifier
                                                                        : k.mods;
            if (k.mods & Qt::ControlModifier) t.send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
            t.send(QEvent::KeyPress, k.key, held);
            t.send(QEvent::KeyRelease, k.key,
                   k.key == Qt::Key_Control || k.key == Qt::Key_Shift ? Qt::NoModifier : held);
            if (k.mods & Qt::ControlModifier) t.send(QEvent::KeyRelease, Qt::Key_Control, {});
            processPendingEvents();
            EXPECT_FALSE(t.compareOn());
            EXPECT_EQ(t.compareButton()->state(), 0);
            // Nothing else happened: no zoom, no hand, the brush and modes as they were.
            EXPECT_DOUBLE_EQ(canvas->geometry().scale(), scale);
            EXPECT_FALSE(canvas->isHandTool());
            EXPECT_DOUBLE_EQ(toolbar->brushSizeSlider()->doubleValue(), size);
            EXPECT_EQ(canvas->model().painting().brush().erase, erase);
            EXPECT_EQ(canvas->model().isShowMask(), showMask);
            EXPECT_EQ(canvas->cursor().shape(), Qt::BitmapCursor) << "the brush is not the pointer";
        }
    }
}

TEST(KeysWindow, KeysHeldWhenADialogOpensAreLetGo) {
    // A dialog takes the keyboard while keys are down: their releases go to it, not to the window.
    KeysWindow t;
    t.open();
    CanvasView* canvas = t.canvas();
    struct Held {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
    };
    const Held cases[] = {
        {"space", Qt::Key_Space, {}},
        {"ctrl", Qt::Key_Control, Qt::ControlModifier},
        {"ctrl shift", Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const Held& h : cases) {
        SCOPED_TRACE(h.name);
        canvas->setFocus();
        const double scale = canvas->geometry().scale();
        int opened = 0;
        t.w->services.openPanel = [&] {
            ++opened;
            QDialog dialog(t.w.get());
            QTimer::singleShot(100, &dialog, &QDialog::reject);
            dialog.exec();
            return QString();
        };
        if (h.mods & Qt::ControlModifier) t.send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        t.send(QEvent::KeyPress, h.key, h.mods);
        // The open dialog comes (here from the menu, as a click would), is cancelled, and the keys
        // went up while it was on screen.
        t.w->action("file_open")->trigger();
        EXPECT_EQ(opened, 1);
        processPendingEvents();
        EXPECT_FALSE(canvas->isMoveImageUsingSpace());
        EXPECT_DOUBLE_EQ(canvas->geometry().scale(), scale);
        EXPECT_EQ(canvas->cursor().shape(), Qt::BitmapCursor);
        // Painting works as before: a press paints, not drags.
        QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->rect().center());
        EXPECT_FALSE(canvas->isHandTool());
    }
    // The window going to the background drops them too.
    t.w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.w.get()));
    canvas->setFocus();
    t.send(QEvent::KeyPress, Qt::Key_Space, {});
    ASSERT_TRUE(canvas->isMoveImageUsingSpace());
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(canvas->isMoveImageUsingSpace());
}

TEST(KeysWindow, EscapeCancelsThePickerWhereverTheFocusIs) {
    KeysWindow t;
    t.open();
    struct Focus {
        const char* name;
        std::function<void()> put;
    };
    const Focus places[] = {
        {"picker", [] {}},
        {"canvas", [&] { t.canvas()->setFocus(); }},
        {"window", [&] { t.w->setFocus(); }},
        {"toolbar field", [&] { t.w->drawingToolbar()->findChild<QLineEdit*>()->setFocus(); }},
        {"picker's slider",
         [&] {
             auto* picker = t.w->contentView()->findChild<RegionPicker*>();
             picker->findChild<ValueSlider*>()->setFocus();
         }},
    };
    for (const Focus& f : places) {
        SCOPED_TRACE(f.name);
        QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 3000));
        auto* picker = t.w->contentView()->findChild<RegionPicker*>();
        ASSERT_TRUE(picker);
        f.put();
        t.send(QEvent::KeyPress, Qt::Key_Escape, {});
        t.send(QEvent::KeyRelease, Qt::Key_Escape, {});
        EXPECT_FALSE(t.w->picker()->isShown());
        EXPECT_EQ(t.w->drawingToolbar()->imagePickerButton()->state(), 0);
        EXPECT_TRUE(t.canvas()->isEnabled());
        EXPECT_TRUE(t.w->validateUserInterfaceItem("view_zoom_in"));
        // The picker fades out and goes before the next one comes.
        ASSERT_TRUE(waitUntil([&] { return !t.w->contentView()->findChild<RegionPicker*>(); }));
    }
    // A pick still running stops with it: nothing reaches the canvas afterwards.
    QTest::mouseClick(t.w->drawingToolbar()->imagePickerButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 3000));
    auto* picker = t.w->contentView()->findChild<RegionPicker*>();
    const QRectF r = picker->getFirstImageRect();
    const auto maskBefore = Renderer().createBitmap(t.canvas()->model().painting().mask(), 8);
    picker->pick(r.center(), Qt::NoModifier);
    t.canvas()->setFocus();
    t.send(QEvent::KeyPress, Qt::Key_Escape, {});
    EXPECT_FALSE(t.w->picker()->isShown());
    // Long enough for the pick to have ended and reached the canvas if it were to: what must not
    // happen has no event to wait for.
    QTest::qWait(1500);
    const auto maskAfter = Renderer().createBitmap(t.canvas()->model().painting().mask(), 8);
    ASSERT_TRUE(maskBefore && maskAfter);
    EXPECT_TRUE(
        std::equal(maskBefore->bytes().begin(), maskBefore->bytes().end(), maskAfter->bytes().begin()));
}

TEST(KeysWindow, PasteTakesEveryPictureTheClipboardOffers) {
    KeysWindow t;
    const QImage picture = solidImage(QColor(200, 30, 30));
    struct Offer {
        const char* name;
        std::function<QMimeData*()> make;
    };
    const QString png = t.dir.filePath("offered.png");
    ASSERT_TRUE(picture.save(png));
    const Offer offers[] = {
        {"png",
         [&] {
             auto* d = new QMimeData;
             d->setData("image/png", encoded(picture, "png"));
             return d;
         }},
        {"jpeg",
         [&] {
             auto* d = new QMimeData;
             d->setData("image/jpeg", encoded(picture, "jpeg"));
             return d;
         }},
        {"bmp",
         [&] {
             auto* d = new QMimeData;
             d->setData("image/bmp", encoded(picture, "bmp"));
             return d;
         }},
        {"tiff",
         [&] {
             // Written by our own writer: Qt has no TIFF writer here.
             const QString tif = t.dir.filePath("offered.tif");
             SaveOptions options;
             options.mimeType = "image/tiff";
             EXPECT_TRUE(
                 writeImageFile(*bitmapFromQImage(picture), tif.toStdString(), options, nullptr, nullptr));
             QFile file(tif);
             file.open(QIODevice::ReadOnly);
             auto* d = new QMimeData;
             d->setData("image/tiff", file.readAll());
             return d;
         }},
        // An image viewer naming BMP its own way, with a type nobody reads first.
        {"x-ms-bmp",
         [&] {
             auto* d = new QMimeData;
             d->setData("image/x-nobody-reads-this", "garbage");
             d->setData("image/x-MS-bmp", encoded(picture, "bmp"));
             return d;
         }},
        {"qt image",
         [&] {
             auto* d = new QMimeData;
             d->setImageData(picture);
             return d;
         }},
        // A browser: the page's address and the picture.
        {"browser",
         [&] {
             auto* d = new QMimeData;
             d->setUrls({QUrl("https://example.org/picture.png")});
             d->setHtml("<img src=\"https://example.org/picture.png\">");
             d->setData("image/png", encoded(picture, "png"));
             return d;
         }},
        // A file manager: the file.
        {"file",
         [&] {
             auto* d = new QMimeData;
             d->setUrls({QUrl::fromLocalFile(png)});
             return d;
         }},
    };
    for (const Offer& o : offers) {
        SCOPED_TRACE(o.name);
        QApplication::clipboard()->setText("nothing to paste");
        processPendingEvents();
        EXPECT_FALSE(t.w->action("edit_paste")->isEnabled());
        QApplication::clipboard()->setMimeData(o.make());
        // The menu follows the clipboard, without anything else happening in the window.
        EXPECT_TRUE(waitUntil([&] { return t.w->action("edit_paste")->isEnabled(); }));
        const BitmapRef before = t.w->image();
        t.w->action("edit_paste")->trigger();
        ASSERT_TRUE(waitUntil([&] { return t.w->image() != before && t.w->painterView(); }));
        processPendingEvents(); // on screen
        ASSERT_TRUE(t.w->hasPhoto());
        EXPECT_EQ(t.w->image()->width(), 64);
        EXPECT_EQ(t.w->image()->height(), 48);
        // On screen in its treatment: the red picture shows grey.
        const QImage shown = t.canvas()->grab().toImage();
        const QColor centre = shown.pixelColor(shown.rect().center());
        EXPECT_NEAR(centre.red(), centre.green(), 12);
        EXPECT_GT(centre.red(), 30);
        t.w->setEdited(false);
    }
}

// Undo and redo by the keys users bring from other editors: Ctrl+Z, then Ctrl+Shift+Z or Ctrl+Y.
TEST(KeysWindow, UndoAndRedoByEitherKey) {
    KeysWindow t;
    t.open();
    t.stroke();
    processPendingEvents(); // the step closes
    ASSERT_EQ(t.w->editSession()->undoText(), "Paint");
    const auto key = [&](int k, Qt::KeyboardModifiers mods) {
        t.send(QEvent::KeyPress, k, mods);
        t.send(QEvent::KeyRelease, k, mods);
        processPendingEvents();
    };
    for (const auto& [k, mods] : {std::pair{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
                                  std::pair{Qt::Key_Y, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(t.w->editSession()->undoText(), "");
        EXPECT_EQ(t.w->editSession()->redoText(), "Paint");
        key(k, mods);
        EXPECT_EQ(t.w->editSession()->undoText(), "Paint")
            << "redone by " << QKeySequence(k | mods).toString().toStdString();
    }
}

TEST(KeysWindow, WhatCopyPutsOnTheClipboardPastesBack) {
    KeysWindow t;
    t.open();
    // Paint a stroke, so that the copy is the result and not the photo.
    t.stroke();
    const BitmapRef result = t.w->resultImage();
    ASSERT_TRUE(result);
    QApplication::clipboard()->setText("nothing to paste");
    processPendingEvents();
    EXPECT_FALSE(t.w->action("edit_paste")->isEnabled());
    t.w->action("edit_copy")->trigger();
    EXPECT_TRUE(waitUntil([&] { return t.w->action("edit_paste")->isEnabled(); }))
        << "Paste is greyed right after Copy";
    t.w->setEdited(false);
    const BitmapRef before = t.w->image();
    t.w->action("edit_paste")->trigger();
    ASSERT_TRUE(waitUntil([&] { return t.w->image() != before; }));
    ASSERT_TRUE(t.w->hasPhoto());
    ASSERT_EQ(t.w->image()->width(), result->width());
    ASSERT_EQ(t.w->image()->height(), result->height());
    EXPECT_TRUE(t.w->windowTitle().startsWith("Untitled"));
    // The pasted photo is the copied result, pixel for pixel at 8 bits.
    const QImage a = qImageFromBitmap(*result).convertToFormat(QImage::Format_RGB32);
    const QImage b = qImageFromBitmap(*t.w->image()).convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < a.height(); y += 7)
        for (int x = 0; x < a.width(); x += 7) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    EXPECT_LE(worst, 1);
}

// The cursor a slider drag shows is the brush as it is now, not as it was one step before.
TEST(KeysWindow, SliderDragsShowTheBrushAsItIsNow) {
    KeysWindow t;
    t.open();
    ToolPanel* toolbar = t.w->drawingToolbar();
    CanvasView* canvas = t.canvas();
    for (ValueSlider* slider : {toolbar->brushSizeSlider(), toolbar->softnessSlider()}) {
        SCOPED_TRACE(slider == toolbar->brushSizeSlider() ? "size" : "softness");
        const QPoint knob = slider->knobRect().center().toPoint();
        QTest::mousePress(slider, Qt::LeftButton, {}, knob);
        for (int dx : {6, 12, 18, 24, 30}) {
            const QPoint p = knob + QPoint(slider == toolbar->brushSizeSlider() ? dx : -dx, 0);
            QMouseEvent move(QEvent::MouseMove, p, slider->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(slider, &move);
            ASSERT_TRUE(QApplication::overrideCursor());
            const QImage shown = QApplication::overrideCursor()->pixmap().toImage();
            const QImage now = canvas->additionalDrawingCursorWithDiameter(0).pixmap().toImage();
            EXPECT_EQ(shown.size(), now.size()) << dx;
            EXPECT_TRUE(shown == now) << "the drag shows a brush other than the one set, at " << dx;
        }
        QTest::mouseRelease(slider, Qt::LeftButton, {}, knob);
        EXPECT_FALSE(QApplication::overrideCursor());
    }
}

// Over the canvas: the brush, the arrow while a colour chooser is open, the brush again after a
// stroke, wherever it ended.
TEST(KeysWindow, TheCanvasPointerAfterStrokesAndWithAColourChooserOpen) {
    KeysWindow t;
    t.open();
    CanvasView* canvas = t.canvas();
    const QImage brush = canvas->currentBrushCursor().pixmap().toImage();
    auto shows = [&] { return canvas->cursor(); };
    EXPECT_EQ(shows().shape(), Qt::BitmapCursor);
    // A stroke dragged out of the canvas and let go over the tool panel.
    const QPoint c = canvas->rect().center();
    const QPoint outside =
        canvas->mapFromGlobal(t.w->drawingToolbar()->mapToGlobal(t.w->drawingToolbar()->rect().center()));
    QTest::mousePress(canvas, Qt::LeftButton, {}, c);
    for (int k = 1; k <= 6; ++k) {
        const QPoint p = c + (outside - c) * k / 6;
        QMouseEvent move(QEvent::MouseMove, p, canvas->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(canvas, &move);
    }
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, outside);
    EXPECT_TRUE(shows().pixmap().toImage() == brush) << "the drawing cursor stayed after the stroke";
    // The colour chooser open: the arrow; closed: the brush again.
    t.w->drawingToolbar()->showColorPanelButtonClick();
    ASSERT_TRUE(t.w->drawingToolbar()->isColorPanelOpen());
    EXPECT_EQ(shows().shape(), Qt::ArrowCursor);
    t.w->drawingToolbar()->showColorPanelButtonClick();
    ASSERT_FALSE(t.w->drawingToolbar()->isColorPanelOpen());
    EXPECT_TRUE(shows().pixmap().toImage() == brush);
}

} // namespace
} // namespace pimavo::test
