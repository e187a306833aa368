// The editor as a native Wayland client (run by wayland_test.sh under a Weston of its own): opening,
// painting and undoing, full screen, dialogs tied to the window, the remembered frame, one editor per
// Wayland session, and (on a Weston with a seat) the clipboard.
#include "WindowFixture.h"
#include "app/EditorWindow.h"
#include "app/SingleInstance.h"
#include "app/WindowFrame.h"
#include "app/WindowHelp.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "widgets/BitmapImage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace pimavo;
using namespace pimavo::test;

namespace {

// A stroke across the middle of the canvas, as the user drags it.
void stroke(CanvasView* canvas) {
    const QPoint c = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, {}, c - QPoint(60, 0));
    for (int i = -5; i <= 6; ++i) QTest::mouseMove(canvas, c + QPoint(10 * i, 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(60, 0));
}

// How far apart two pictures are, at their worst sampled pixel (0 to 255).
int difference(const BitmapRef& a, const BitmapRef& b) {
    const QImage x = qImageFromBitmap(*a).convertToFormat(QImage::Format_RGB32);
    const QImage y = qImageFromBitmap(*b).convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size()) return 255;
    int worst = 0;
    for (int j = 0; j < x.height(); j += 5)
        for (int i = 0; i < x.width(); i += 5) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// The top-level window shown last besides `editor`, if any.
QWidget* otherWindowShown(const QWidget* editor) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != editor && w->isVisible() && w->windowHandle() && !w->inherits("QMenu")) return w;
    return nullptr;
}

} // namespace

TEST(WaylandWindow, IsAWaylandClient) {
    // Everything below would prove nothing on another platform.
    EXPECT_EQ(QGuiApplication::platformName(), "wayland");
}

TEST(WaylandWindow, OpensPaintsAndUndoesAStroke) {
    WindowFixture t;
    t.open(t.sample());
    ASSERT_TRUE(t.canvas());
    const BitmapRef photo = t.w->resultImage();
    stroke(t.canvas());
    ASSERT_TRUE(waitUntil([&] { return t.w->editSession()->undoText() == "Paint"; }, 5000, "the Paint step"));
    EXPECT_GT(difference(photo, t.w->resultImage()), 0) << "the stroke left the picture as it was";
    EXPECT_TRUE(t.w->windowTitle().contains("photo.jpg"));
    t.w->editSession()->undo();
    EXPECT_FALSE(t.w->editSession()->canUndo());
    EXPECT_EQ(difference(photo, t.w->resultImage()), 0) << "undo left some of the stroke";
}

TEST(WaylandWindow, FullScreenAndBackToTheSizeItHad) {
    WindowFixture t(WindowOptions().sized({900, 560}));
    t.open(t.sample());
    QAction* fullScreen = t.w->action("view_full_screen");
    ASSERT_TRUE(fullScreen);
    const QSize before = t.w->size();
    const QSize screen = t.w->screen()->geometry().size();
    struct Step {
        const char* what;
        Qt::WindowStates state;
        QSize size;
    } steps[] = {
        {"full screen", Qt::WindowFullScreen, screen},
        {"back", Qt::WindowNoState, before},
        {"full screen again", Qt::WindowFullScreen, screen},
        {"back again", Qt::WindowNoState, before},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        fullScreen->trigger();
        // The compositor's answer, not the request: the state and the size it gave the window.
        EXPECT_TRUE(
            waitUntil([&] { return t.w->windowHandle()->windowStates() == s.state; }, 5000, "the state"));
        EXPECT_TRUE(waitUntil([&] { return t.w->size() == s.size; }, 5000, "the size"))
            << t.w->width() << "x" << t.w->height();
        EXPECT_EQ(fullScreen->isChecked(), s.state == Qt::WindowFullScreen);
    }
}

TEST(WaylandWindow, DialogsAndQuestionsBelongToTheEditorWindow) {
    WindowFixture t;
    // A Wayland window without a parent surface is a window of its own: the compositor puts it
    // anywhere, behind the editor perhaps, and a modal one would leave the editor seemingly frozen.
    struct Case {
        const char* what;
        std::function<void()> show;
    } cases[] = {
        {"About", [&] { t.w->help()->showAbout(); }},
        {"Welcome", [&] { t.w->help()->showWelcome(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.show();
        QWidget* shown = nullptr;
        ASSERT_TRUE(
            waitUntil([&] { return (shown = otherWindowShown(t.w.get())) != nullptr; }, 5000, "a window"));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        EXPECT_EQ(shown->windowHandle()->transientParent(), t.w->windowHandle());
        shown->close();
        ASSERT_TRUE(waitUntil([&] { return otherWindowShown(t.w.get()) == nullptr; }, 5000, "it gone"));
    }
    // A question asked with the window as its parent, answered once it is up.
    QWindow* parentOfQuestion = nullptr;
    QTimer::singleShot(0, [&] {
        std::function<void()> poll = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed()) {
                QTimer::singleShot(20, poll);
                return;
            }
            parentOfQuestion = box->windowHandle()->transientParent();
            box->reject();
        };
        poll();
    });
    QMessageBox::question(t.w.get(), "Pimavo", "Keep going?");
    EXPECT_EQ(parentOfQuestion, t.w->windowHandle());
}

TEST(WaylandWindow, TheRememberedFrameComesBackAtItsSizeOnly) {
    // Frames left on a desktop that places windows, some on screens this one does not have.
    struct Case {
        const char* what;
        QRect saved;
    } cases[] = {
        {"on the screen", {40, 50, 820, 540}},
        {"off every screen there is", {3000, 2000, 760, 500}},
        {"at the origin", {0, 0, 700, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        Settings settings(dir.filePath("prefs.ini"));
        settings.setWindowFrame(c.saved, false);
        QWidget window;
        restoreFrame(window, settings);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(waitUntil([&] { return window.size() == c.saved.size(); }, 5000, "the saved size"))
            << window.width() << "x" << window.height();
        // Resized by the user, then kept: the new size, and the place kept for the other desktop.
        window.resize(c.saved.size() - QSize(40, 30));
        ASSERT_TRUE(waitUntil([&] { return window.size() == c.saved.size() - QSize(40, 30); }));
        saveFrame(window, settings);
        EXPECT_EQ(settings.windowFrame(), QRect(c.saved.topLeft(), c.saved.size() - QSize(40, 30)));
    }
}

TEST(WaylandSession, ALaterLaunchInTheSameSessionGoesToTheRunningEditor) {
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.jpg"), other = dir.filePath("other.jpg");
    QFile::copy(PIMAVO_SAMPLE_PHOTO, photo);
    QFile::copy(PIMAVO_SAMPLE_PHOTO, other);
    // The session's channel is named after the Wayland display, there being no X display.
    ASSERT_TRUE(qEnvironmentVariableIsEmpty("DISPLAY"));
    const QString channel = SingleInstance::defaultKey();
    EXPECT_TRUE(QFileInfo(channel).fileName().contains(qEnvironmentVariable("WAYLAND_DISPLAY")));
    EXPECT_FALSE(QFileInfo::exists(channel));
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(PIMAVO_PROGRAM, {photo});
    ASSERT_TRUE(first.waitForStarted());
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(channel); }, 60000, "the running editor's channel"));
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(PIMAVO_PROGRAM, {other});
    EXPECT_TRUE(second.waitForFinished(scaledWait(30000))) << "a second editor started in the same session";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    if (!first.waitForFinished(scaledWait(10000))) first.kill();
    first.waitForFinished();
}

// Two sessions of one user, each with its compositor: each has its editor, and a launch goes to the
// editor of its own session, never to the other's.
TEST(WaylandSession, EachSessionHasAnEditorOfItsOwn) {
    const QString otherSession = qEnvironmentVariable("PIMAVO_TEST_OTHER_WAYLAND_DISPLAY");
    if (otherSession.isEmpty()) GTEST_SKIP() << "no second Wayland session (wayland_test.sh starts one)";
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.jpg"), other = dir.filePath("other.jpg");
    QFile::copy(PIMAVO_SAMPLE_PHOTO, photo);
    QFile::copy(PIMAVO_SAMPLE_PHOTO, other);
    const QString channel = SingleInstance::defaultKey();
    const QString otherChannel =
        SingleInstance::keyFor(qEnvironmentVariable("XDG_RUNTIME_DIR"), otherSession);
    ASSERT_NE(channel, otherChannel);
    QProcessEnvironment inOtherSession = QProcessEnvironment::systemEnvironment();
    inOtherSession.insert("WAYLAND_DISPLAY", otherSession);
    std::vector<std::unique_ptr<QProcess>> editors;
    auto launch = [&](const QString& file, bool elsewhere) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        if (elsewhere) p->setProcessEnvironment(inOtherSession);
        p->start(PIMAVO_PROGRAM, {file});
        EXPECT_TRUE(p->waitForStarted());
        editors.push_back(std::move(p));
        return editors.back().get();
    };
    QProcess* first = launch(photo, false);
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(channel); }, 60000, "the first session's editor"));
    // The other session's launch starts an editor there, rather than handing its photo over.
    QProcess* second = launch(other, true);
    EXPECT_TRUE(
        waitUntil([&] { return QFileInfo::exists(otherChannel); }, 60000, "the other session's editor"));
    EXPECT_EQ(second->state(), QProcess::Running);
    // A later launch in the other session goes to its editor, and both editors run on.
    QProcess* third = launch(photo, true);
    EXPECT_TRUE(third->waitForFinished(scaledWait(30000))) << "a second editor started in the other session";
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(second->state(), QProcess::Running);
    for (auto& p : editors) {
        if (p->state() == QProcess::NotRunning) continue;
        p->terminate();
        if (!p->waitForFinished(scaledWait(10000))) p->kill();
        p->waitForFinished();
    }
}

// Starts a drag of one file when pressed, as a file manager does.
class FileDragSource : public QWidget {
public:
    FileDragSource(QWidget* parent, QString file) : QWidget(parent), file_(std::move(file)) {
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::yellow));
    }
    bool dragged = false;

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* offered = new QMimeData;
        offered->setUrls({QUrl::fromLocalFile(file_)});
        auto* drag = new QDrag(this);
        drag->setMimeData(offered);
        dragged = true;
        drag->exec(Qt::CopyAction);
    }

private:
    QString file_;
};

// The seat's pointer, moved on the X screen Weston draws into: xdotool commands, run beside the test
// so that the test's event loop answers them.
class SeatPointer {
public:
    static bool available() {
        return !qEnvironmentVariableIsEmpty("PIMAVO_TEST_SEAT_DISPLAY") &&
               !QStandardPaths::findExecutable("xdotool").isEmpty();
    }
    explicit SeatPointer(const QStringList& steps) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", qEnvironmentVariable("PIMAVO_TEST_SEAT_DISPLAY"));
        process_.setProcessEnvironment(env);
        process_.start("bash", {"-c", "sleep 1; " + steps.join("; ")});
        process_.waitForStarted();
    }
    ~SeatPointer() { process_.waitForFinished(); }
    static QString to(QPoint p) {
        return QStringLiteral("xdotool mousemove %1 %2; sleep 0.3").arg(p.x()).arg(p.y());
    }

private:
    QProcess process_;
};

// Full screen, the window's corner is the output's: its points are the seat's. The window starts
// smaller than the output (1200 × 780): one larger, frame and all, would be committed once at its
// old size after the compositor has set the full screen's, which Qt 6.4 does, and which the
// compositor takes for a protocol error.
void fillTheOutput(WindowFixture& t) {
    t.w->showFullScreen();
    ASSERT_TRUE(waitUntil([&] { return t.w->windowState() & Qt::WindowFullScreen; }, 5000, "full screen"));
    ASSERT_TRUE(waitUntil([&] { return t.w->size() == t.w->screen()->size(); }, 5000, "the screen's size"));
}

// A stroke with the seat's own pointer, through the compositor, paints.
TEST(WaylandSeat, AStrokeWithThePointerPaints) {
    if (!SeatPointer::available()) GTEST_SKIP() << "no seat to drive (wayland_test.sh seat, with xdotool)";
    WindowFixture t(WindowOptions().sized({1000, 680}));
    t.open(t.sample());
    fillTheOutput(t);
    const BitmapRef photo = t.w->resultImage();
    const QPoint centre = t.canvas()->mapTo(t.w.get(), t.canvas()->rect().center());
    SeatPointer pointer({SeatPointer::to(centre - QPoint(120, 40)), "xdotool mousedown 1",
                         SeatPointer::to(centre - QPoint(40, 10)), SeatPointer::to(centre + QPoint(40, 10)),
                         SeatPointer::to(centre + QPoint(120, 40)), "xdotool mouseup 1"});
    EXPECT_TRUE(
        waitUntil([&] { return t.w->editSession()->undoText() == "Paint"; }, 30000, "the Paint step"));
    EXPECT_GT(difference(photo, t.w->resultImage()), 0) << "the stroke left the picture as it was";
}

// A photo dragged onto the window through the compositor opens.
TEST(WaylandSeat, APhotoDroppedOnTheWindowOpens) {
    if (!SeatPointer::available()) GTEST_SKIP() << "no seat to drive (wayland_test.sh seat, with xdotool)";
    WindowFixture t(WindowOptions().sized({1000, 680}));
    t.open(t.sample());
    const QString dropped = t.dir.filePath("dropped.jpg");
    ASSERT_TRUE(QFile::copy(PIMAVO_SAMPLE_PHOTO, dropped));
    fillTheOutput(t);
    // On the window itself, which outlives the canvas the photo it opens replaces.
    auto* source = new FileDragSource(t.w.get(), dropped);
    source->setGeometry(20, t.w->height() - 100, 60, 60);
    source->show();
    source->raise();
    processPendingEvents();
    const QPoint from = source->mapTo(t.w.get(), source->rect().center());
    const QPoint to = t.canvas()->mapTo(t.w.get(), t.canvas()->rect().center());
    SeatPointer pointer({SeatPointer::to(from), "xdotool mousedown 1", SeatPointer::to(from + QPoint(30, 30)),
                         SeatPointer::to(to), SeatPointer::to(to + QPoint(10, 10)), "sleep 0.2",
                         "xdotool mouseup 1"});
    EXPECT_TRUE(waitUntil([&] { return t.w->representedFile() == dropped; }, 30000, "the dropped photo open"))
        << "the drag started: " << source->dragged;
}

TEST(WaylandSeat, CopiedResultPastesAsANewPicture) {
    WindowFixture t;
    t.open(t.sample());
    stroke(t.canvas());
    const BitmapRef result = t.w->resultImage();
    QApplication::clipboard()->setText("nothing to paste");
    ASSERT_TRUE(waitUntil([&] { return !t.w->action("edit_paste")->isEnabled(); }, 5000, "Paste greyed"));
    t.w->action("edit_copy")->trigger();
    ASSERT_TRUE(waitUntil([&] { return t.w->action("edit_paste")->isEnabled(); }, 5000, "Paste offered"));
    t.w->setEdited(false);
    const BitmapRef before = t.w->image();
    t.w->action("edit_paste")->trigger();
    ASSERT_TRUE(waitUntil([&] { return t.w->image() != before; }, 10000, "the pasted picture"));
    EXPECT_TRUE(t.w->windowTitle().startsWith("Untitled"));
    EXPECT_LE(difference(result, t.w->image()), 1);
    // Qt's Wayland clipboard keeps what was offered until something else is, and still holds it at
    // exit; taken back here, so that a leak check of the run finds only leaks.
    QApplication::clipboard()->clear();
}
