// The editing window's layout as a user meets it: the tool panel in every window state and on a
// small screen, the picker's overlay, the welcome beside the start screen, and the File menu's and
// alerts' texts.
#include "WindowFixture.h"
#include "app/EditorApplication.h"
#include "app/EditorWindow.h"
#include "app/WindowOpening.h"
#include "app/WindowPicker.h"
#include "app/WindowSaving.h"
#include "app/WindowStart.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

// The sample photo at a quarter of its size: enough for layout, quick to open.
QString smallSample(const QString& path) {
    const DecodeResult sample = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!sample.image) return {};
    const Image photo =
        Image::imageWithBitmap(sample.image->bitmap).imageByApplyingTransform(Transform2D::scale(0.25, 0.25));
    const auto small = Renderer().createBitmap(photo, 8);
    std::string error;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!small || !writeImageFile(*small, path.toStdString(), SaveOptions{}, nullptr, &error)) return {};
    return path;
}

struct Window : WindowFixture {
    explicit Window(QSize size = {1200, 800}) : WindowFixture(WindowOptions().sized(size)) {
        w->services.exportFolder = dir.filePath("export");
    }
    // What is under a point of a widget as the window hit-tests a click there.
    QWidget* under(QWidget* widget, QPoint at) const {
        const QPoint inContent = widget->mapTo(w->contentView(), at);
        return w->contentView()->childAt(inContent);
    }
    bool reachable(QWidget* control) const {
        QWidget* hit = under(control, control->rect().center());
        return hit && (hit == control || control->isAncestorOf(hit));
    }
};

TEST(PanelWindow, TheToolRowStaysBelowTheTopBarInEveryWindowState) {
    Window t;
    t.open(smallSample(t.dir.filePath("photo.jpg")));
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel);
    QAction* fullScreen = t.w->action("view_full_screen");
    ASSERT_TRUE(fullScreen);
    EXPECT_EQ(fullScreen->text().remove('&'), "Full Screen");
    EXPECT_TRUE(fullScreen->isCheckable());
    // The state the platform reports once it has put the window in it.
    auto reached = [&](Qt::WindowStates state) {
        return waitUntil([&] { return t.w->windowHandle()->windowStates() == state; });
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        Qt::WindowStates state;
    } steps[] = {
        {"full screen from the menu", [&] { fullScreen->trigger(); }, Qt::WindowFullScreen},
        {"back from the menu", [&] { fullScreen->trigger(); }, Qt::WindowNoState},
        {"maximised", [&] { t.w->showMaximized(); }, Qt::WindowMaximized},
        {"full screen while maximised", [&] { fullScreen->trigger(); }, Qt::WindowFullScreen},
        {"normal", [&] { t.w->showNormal(); }, Qt::WindowNoState},
        {"minimised and restored",
         [&] {
             t.w->showMinimized();
             EXPECT_TRUE(reached(Qt::WindowMinimized));
             t.w->showNormal();
         },
         Qt::WindowNoState},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_TRUE(reached(s.state));
        processPendingEvents(); // laid out for it
        const bool full = s.state == Qt::WindowFullScreen;
        EXPECT_EQ(t.w->isFullScreen(), full);
        EXPECT_EQ(fullScreen->isChecked(), full);
        EXPECT_EQ(panel->geometry().top(), EditorWindow::kTopBarHeight);
        EXPECT_EQ(panel->geometry().right(), t.w->contentView()->width() - 1);
        // Every tool of the row takes a click: nothing lies over it.
        for (QWidget* tool : std::initializer_list<QWidget*>{
                 panel->drawMaskButton(), panel->eraseMaskButton(), panel->solidColorButton(),
                 panel->movingImageButton(), panel->imagePickerButton()})
            EXPECT_TRUE(t.reachable(tool)) << tool->toolTip().toStdString();
    }
}

TEST(PanelWindow, OnASmallScreenTheWindowFitsAndThePanelScrollsToEveryControl) {
    // The offscreen screen is smaller than the window the editor would like (800 × 800, and half
    // that at twice the scale, where the panel cannot show all of itself at once).
    Window t({700, 500});
    const QSize room = t.w->screen()->availableSize();
    // With its frame, where the platform draws one.
    const QSize frame = t.w->frameGeometry().size() - t.w->geometry().size();
    EXPECT_LE(t.w->minimumWidth() + frame.width(), room.width());
    EXPECT_LE(t.w->minimumHeight() + frame.height(), room.height());
    t.w->resize(t.w->minimumSize());
    ASSERT_TRUE(waitUntil([&] { return t.w->size() == t.w->minimumSize(); }));
    EXPECT_LE(t.w->height(), room.height());
    t.open(smallSample(t.dir.filePath("photo.jpg")));
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel);
    // The panel ends with the window.
    EXPECT_EQ(panel->geometry().bottom(), t.w->contentView()->height() - 1);

    QScrollArea* body = panel->bodyScrollArea();
    ASSERT_TRUE(body);
    // Wheel turns over the panel bring each control into reach, down to the last one and back.
    auto wheel = [&](int steps) {
        const QPoint at = body->viewport()->rect().center();
        for (int i = 0; i < std::abs(steps); ++i) {
            QWheelEvent e(at, body->viewport()->mapToGlobal(at), QPoint(), QPoint(0, steps > 0 ? -120 : 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(body->viewport(), &e);
        }
        processPendingEvents();
    };
    struct Control {
        const char* name;
        QWidget* widget;
    } controls[] = {
        {"the Background tab", panel->tabButton2()},
        {"the vignette", panel->vignetteSlider()},
        {"Reset", panel->resetButton()},
        {"the brush size", panel->brushSizeSlider()},
    };
    // Where the window is too low for all of the panel, Reset starts out of reach.
    const QWidget* reset = panel->resetButton();
    if (reset->mapTo(body->widget(), QPoint(0, reset->height())).y() > body->viewport()->height()) {
        EXPECT_FALSE(t.reachable(panel->resetButton()));
    }
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        const bool down = c.widget != panel->brushSizeSlider();
        for (int i = 0; i < 30 && !t.reachable(c.widget); ++i) wheel(down ? 1 : -1);
        EXPECT_TRUE(t.reachable(c.widget));
        // Within the window, not past its bottom edge.
        const QRect inWindow(c.widget->mapTo(t.w.get(), QPoint(0, 0)), c.widget->size());
        EXPECT_TRUE(t.w->rect().contains(inWindow));
    }
    // And the tool row stayed where it was.
    EXPECT_TRUE(t.reachable(panel->drawMaskButton()));
}

// Drags a slider's knob to its right end and lets go.
void dragToEnd(ValueSlider* s) {
    const QPoint knob = s->knobRect().center().toPoint();
    const QPoint end(s->width() - 1, knob.y());
    QTest::mousePress(s, Qt::LeftButton, {}, knob);
    QTest::mouseMove(s, end);
    QTest::mouseRelease(s, Qt::LeftButton, {}, end);
}

TEST(PanelWindow, ResetOnTheColourPageBringsBackThePictureVignetteIncluded) {
    Window t;
    t.open(smallSample(t.dir.filePath("photo.jpg")));
    CanvasView* canvas = t.w->painterView();
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(canvas && panel);
    // The whole photo in colour, so that the colour page's sliders show on all of it.
    QTest::mouseClick(panel->invertMaskButton(), Qt::LeftButton);
    processPendingEvents();
    canvas->validateImage();
    const QImage before = canvas->grab().toImage();
    EXPECT_TRUE(panel->resetButton()->toolTip().contains("vignette", Qt::CaseInsensitive));

    struct Case {
        const char* what;
        std::vector<ValueSlider*> moved;
    } cases[] = {
        {"the vignette alone", {panel->vignetteSlider()}},
        {"exposure and vignette", {panel->exposureSlider(), panel->vignetteSlider()}},
        {"blur and hue", {panel->blurSlider(), panel->hueSlider()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (ValueSlider* s : c.moved) dragToEnd(s);
        canvas->validateImage();
        EXPECT_FALSE(canvas->grab().toImage() == before);
        ASSERT_TRUE(panel->resetButton()->isEnabled());
        panel->scrollToShow(panel->resetButton());
        QTest::mouseClick(panel->resetButton(), Qt::LeftButton);
        canvas->validateImage();
        EXPECT_TRUE(canvas->grab().toImage() == before);
        EXPECT_EQ(panel->vignetteSlider()->doubleValue(), 0);
        EXPECT_FALSE(panel->resetButton()->isEnabled());
    }
}

TEST(PanelWindow, ThePickerCoversThePanelAndItsLoupeFollowsThePointer) {
    Window t;
    t.open(smallSample(t.dir.filePath("photo.jpg")));
    ToolPanel* panel = t.w->drawingToolbar();
    ASSERT_TRUE(panel);
    QTest::mouseClick(panel->imagePickerButton(), Qt::LeftButton);
    auto* picker = t.w->contentView()->findChild<RegionPicker*>();
    ASSERT_TRUE(picker);
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown() && Window::opacity(picker) == 1.0; }))
        << "faded in";

    // Over the paint tool's lit button and over the canvas, where the picker draws nothing itself:
    // the same dark in both places, nothing of what lies beneath.
    const QImage shown = t.w->contentView()->grab().toImage();
    const qreal dpr = shown.devicePixelRatio();
    const QPoint tool =
        panel->drawMaskButton()->mapTo(t.w->contentView(), panel->drawMaskButton()->rect().center());
    ASSERT_EQ(panel->drawMaskButton()->state(), 1);
    const QColor overPanel = shown.pixelColor(int(tool.x() * dpr), int(tool.y() * dpr));
    const QColor overCanvas =
        shown.pixelColor(int((t.w->contentView()->width() / 2 + 40) * dpr), int(tool.y() * dpr));
    EXPECT_EQ(overPanel.name().toStdString(), overCanvas.name().toStdString());
    EXPECT_LT(overPanel.lightness(), 40);

    const QRectF photo = picker->getFirstImageRect();
    const QPoint a = photo.center().toPoint() - QPoint(int(photo.width() / 4), 0);
    const QPoint b = photo.center().toPoint() + QPoint(int(photo.width() / 4), int(photo.height() / 4));
    // Sent straight to the picker: pointer positions then mean the same at any scale factor.
    auto mouse = [&](QEvent::Type type, QPoint at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(type, at, picker->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(picker, &e);
    };
    auto moveTo = [&](QPoint at) { mouse(QEvent::MouseMove, at); };
    auto click = [&](QPoint at) {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
    };
    auto loupeCentre = [&] {
        for (auto* v : picker->findChildren<QWidget*>())
            if (v->width() == 200 && v->height() == 200 && v->isVisible()) return v->geometry().center();
        return QPoint(-1, -1);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool shown;
        QPoint centre;
    } steps[] = {
        {"over the photo", [&] { moveTo(a); }, true, a},
        {"clicked", [&] { click(a); }, true, a},
        {"moved on after the click", [&] { moveTo(b); }, true, b},
        {"onto the preview", [&] { moveTo(QPoint(picker->width() * 3 / 4, b.y())); }, false, {}},
        {"back on the photo", [&] { moveTo(a); }, true, a},
        {"out of the window",
         [&] {
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(picker, &leave);
         },
         false,
         {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        processPendingEvents();
        EXPECT_EQ(picker->isLoupeShown(), s.shown);
        if (s.shown) {
            const QPoint c = loupeCentre();
            EXPECT_LE((c - s.centre).manhattanLength(), 2) << c.x() << "," << c.y();
        }
    }
    EXPECT_TRUE(waitUntil([&] { return picker->applyButton()->isEnabled(); }, 5000));
    const QPointer<RegionPicker> going = picker;
    t.w->picker()->cancel();
    EXPECT_TRUE(waitUntil([&] { return !going; })) << "faded out and gone";
}

TEST(PanelWindow, TheWelcomeIsDarkAndLeavesTheStartScreensButtonsFree) {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    // A photo opened before, so that the start screen has both of its buttons.
    settings.setRecentDocuments({smallSample(dir.filePath("earlier.jpg"))});
    EditorApplication documents(&settings);
    EditorWindow* w = documents.currentDocumentController();
    w->services.recentBookmarkFile = dir.filePath("recently-used.xbel");
    w->resize(w->minimumSize().expandedTo(QSize(780, 540)).boundedTo(w->screen()->availableSize()));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_TRUE(waitUntil([&] { return w->start()->isShown(); }));
    // A welcome that blocked the window would sit here until closed: close it after a while, so that
    // the test goes on to say so.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(1500);
    QWidget* blocking = nullptr;
    QTimer spy;
    QObject::connect(&spy, &QTimer::timeout, [&] {
        if (!blocking) blocking = QApplication::activeModalWidget();
    });
    spy.start(100);
    ASSERT_TRUE(documents.showWelcomeScreenIfNeeded());
    ASSERT_TRUE(
        waitUntil([&] { return documents.welcomeWindow() && documents.welcomeWindow()->isVisible(); }));
    processPendingEvents();
    spy.stop();
    EXPECT_EQ(blocking, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QWidget* welcome = documents.welcomeWindow();
    ASSERT_TRUE(w->start()->isShown());

    const QRect buttons = w->start()->buttonsRect();
    ASSERT_TRUE(buttons.isValid());
    EXPECT_FALSE(welcome->frameGeometry().intersects(buttons));
    // Dark like the editor: its background and most of what is on it.
    const QImage look = welcome->grab().toImage();
    double sum = 0;
    for (int y = 0; y < look.height(); y += 4)
        for (int x = 0; x < look.width(); x += 4) sum += look.pixelColor(x, y).lightness();
    EXPECT_LT(sum / ((look.height() / 4 + 1) * (look.width() / 4 + 1)), 90);
    welcome->close();
}

TEST(PanelWindow, OpenRecentTellsApartPhotosWithTheSameName) {
    Window t;
    const QString first = smallSample(t.dir.filePath("trip/ladybird.jpg"));
    const QString second = smallSample(t.dir.filePath("garden/ladybird.jpg"));
    const QString other = smallSample(t.dir.filePath("garden/meadow.jpg"));
    for (const QString& p : {first, second, other}) t.open(p);
    QMenu* file = nullptr;
    for (QAction* a : t.w->menuBar()->actions())
        if (a->menu() && a->text().remove('&') == "File") file = a->menu();
    ASSERT_TRUE(file);
    QMenu* recent = nullptr;
    for (QAction* a : file->actions())
        if (a->menu() && a->text().remove('&').startsWith("Open Recent")) recent = a->menu();
    ASSERT_TRUE(recent);
    emit recent->aboutToShow();
    QStringList titles;
    for (QAction* a : recent->actions()) titles << a->text();
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles.removeDuplicates(), 0) << titles.join(" | ").toStdString();
    for (const QString& s : titles) {
        if (s.startsWith("ladybird.jpg")) {
            EXPECT_TRUE(s.contains("trip") || s.contains("garden")) << s.toStdString();
        } else {
            EXPECT_EQ(s, "meadow.jpg"); // no clash, no folder
        }
    }
}

TEST(PanelWindow, TheAlertForAFileThatIsNoPhotoSaysEachThingOnce) {
    Window t;
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"notes.jpg", "a shopping list, not a photo\n"},
        {"scan.tif", QByteArray(600, '\x07')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile f(t.dir.filePath(c.name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        t.alerts.clear();
        t.alertInfos.clear();
        t.w->opening()->open(f.fileName());
        processPendingEvents();
        ASSERT_EQ(t.alerts.size(), 1);
        const QString all = t.alerts[0] + '\n' + t.alertInfos[0];
        EXPECT_EQ(all.count(c.name), 1) << all.toStdString();
        EXPECT_EQ(all.count("could not be opened"), 1) << all.toStdString();
        EXPECT_FALSE(t.alertInfos[0].isEmpty());
    }
}

TEST(PanelWindow, SaveAsKeepsATifsExtensionAndListsBoth) {
    Window t;
    const QString jpeg = smallSample(t.dir.filePath("photo.jpg"));
    t.open(jpeg);
    ASSERT_TRUE(t.w->saving()->writeResult(t.dir.filePath("scan.tif"), "image/tiff", 0.9, "lzw"));
    t.open(t.dir.filePath("scan.tif"));
    ASSERT_EQ(t.w->representedFile(), t.dir.filePath("scan.tif"));

    QStringList filters;
    QString proposed;
    t.w->services.savePanel = nullptr;
    onFileDialog([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
            proposed = name->text();
            name->setText("copy"); // no extension typed: the panel adds the type's
        }
        QMetaObject::invokeMethod(dialog, "accept");
    });
    t.w->action("file_save_as")->trigger();
    const QString tiffFilter = filters.filter("TIFF").value(0);
    EXPECT_TRUE(tiffFilter.contains("*.tif ") || tiffFilter.contains("*.tif)")) << tiffFilter.toStdString();
    EXPECT_TRUE(tiffFilter.contains("*.tiff")) << tiffFilter.toStdString();
    EXPECT_EQ(proposed, "scan.tif");
    const QString saved = t.dir.filePath("copy.tif");
    ASSERT_TRUE(QFile::exists(saved));
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray magic = f.read(4);
    EXPECT_TRUE(magic == QByteArray("II*\0", 4) || magic == QByteArray("MM\0*", 4));
}

} // namespace
} // namespace pimavo::test
