// Saving as a user meets it: the window goes on while a save runs, Cancel and quitting during a
// save, what a cancelled Save As was asked for, photos whose opening fails, what opening closes,
// copies handed to other applications, and recovered work saving where it was saved before.
#include "WindowFixture.h"
#include "WrittenFile.h"
#include "app/Autosave.h"
#include "app/EditorWindow.h"
#include "app/ExportController.h"
#include "app/SaveFlow.h"
#include "app/WindowAutosave.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "app/WindowSharing.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "document/ProjectDocument.h"
#include "imageio/ImageDecoder.h"
#include "imageio/Reduction.h"
#include "session/EditSession.h"
#include "sharing/ShareDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using Answer = WindowServices::Answer;

// Files a save leaves beside its target while it writes.
QStringList temporaryFilesIn(const QString& folder) {
    return QDir(folder).entryList({"*.pimavo-*"}, QDir::Files | QDir::Hidden);
}

struct Editor : WindowFixture {
    bool closed = false;
    Editor() {
        answer = Answer::Save;
        w->onClose = [this] { closed = true; };
    }
    void open(const QString& path) { openWhole(path); }
    void stroke(int dy = 0) {
        CanvasView* canvas = w->painterView();
        ASSERT_TRUE(canvas);
        const QPoint c = canvas->rect().center() + QPoint(0, dy);
        QTest::mousePress(canvas, Qt::LeftButton, {}, c);
        QTest::mouseMove(canvas, c + QPoint(40, 10));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, c + QPoint(40, 10));
        processPendingEvents(); // the step closes
    }
};

// A save held on its thread until the test lets it go.
struct HeldSave {
    std::atomic<bool> started{false}, go{false};
    void attach(SaveFlow* flow) {
        flow->progressDelayMs = 0;
        flow->workStarts = [this] {
            started = true;
            while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        };
    }
};

// While a save runs the window keeps painting and ignores the user's keys; Cancel ends the save
// with the file byte for byte as it was, no temporary file, and the picture still to be saved.
TEST(SaveFlowWindow, TheWindowPaintsDuringASaveAndCancelLeavesTheFileAsItWas) {
    Editor e;
    const QString photo = e.sample();
    e.open(photo);
    e.stroke();
    const QByteArray before = fileBytes(photo);
    HeldSave held;
    held.attach(e.w->saving()->flow());
    // The panel is asked to repaint every 10 ms while the save runs; after a few repaints an undo is
    // typed, which must wait, and Cancel is clicked.
    int paints = 0;
    QTimer repaint;
    repaint.setInterval(10);
    struct PaintCounter : QObject {
        std::function<void()> painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) painted();
            return false;
        }
    } counter;
    counter.painted = [&] {
        if (++paints != 3) return;
        QTimer::singleShot(0, [&] {
            repaint.stop();
            QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, "z");
            QApplication::sendEvent(e.w->painterView(), &undo);
            QTest::mouseClick(e.w->saving()->flow()->cancelButton(), Qt::LeftButton);
            held.go = true;
        });
    };
    QObject::connect(e.w->saving()->flow(), &SaveFlow::progressShown, e.w.get(), [&] {
        QWidget* panel = e.w->saving()->flow()->progressPanel();
        ASSERT_TRUE(panel);
        panel->installEventFilter(&counter);
        QObject::connect(&repaint, &QTimer::timeout, panel, [panel] { panel->update(); });
        repaint.start();
    });
    e.w->saving()->save();
    EXPECT_TRUE(held.started);
    EXPECT_GE(paints, 3) << "the window painted while the save ran";
    EXPECT_FALSE(e.session.canRedo()) << "the key waited";
    EXPECT_TRUE(e.w->isEdited());
    EXPECT_TRUE(e.alerts.isEmpty()) << e.alerts.join("; ").toStdString();
    EXPECT_FALSE(e.w->saving()->flow()->progressPanel());
    EXPECT_TRUE(waitUntil([&] { return temporaryFilesIn(e.dir.path()).isEmpty(); }, 10000))
        << temporaryFilesIn(e.dir.path()).join(", ").toStdString();
    e.w->saving()->flow()->waitForAll();
    EXPECT_EQ(fileBytes(photo), before);
}

// Closing the window while a save runs, of a picture or of a project, waits for the file to be
// written whole, then closes.
TEST(SaveFlowWindow, ClosingDuringASaveWaitsForTheFile) {
    for (const char* name : {"photo.jpg", "work.pimavo"}) {
        SCOPED_TRACE(name);
        Editor e;
        const QString photo = e.sample();
        const QString file = e.dir.filePath(name);
        e.open(photo);
        if (file.endsWith(".pimavo")) {
            e.savePaths = {file};
            e.w->saving()->saveAsProject();
            ASSERT_TRUE(e.w->isProjectDocument());
        }
        e.stroke();
        const QByteArray before = fileBytes(file);
        HeldSave held;
        held.attach(e.w->saving()->flow());
        bool visibleAfterClose = false;
        QObject::connect(e.w->saving()->flow(), &SaveFlow::progressShown, e.w.get(), [&] {
            QTimer::singleShot(0, [&] {
                e.w->QMainWindow::close();
                visibleAfterClose = e.w->isVisible();
                held.go = true;
            });
        });
        e.w->saving()->save();
        EXPECT_TRUE(held.started) << "written away from the window";
        EXPECT_TRUE(visibleAfterClose) << "the window stayed while the file was written";
        EXPECT_TRUE(waitUntil([&] { return e.closed; }, 5000)) << "and went once it was";
        EXPECT_NE(fileBytes(file), before);
        if (file.endsWith(".pimavo")) {
            EXPECT_TRUE(readProjectFile(file.toStdString()).project);
        } else {
            DecodeResult saved;
            EXPECT_TRUE(waitUntilWrittenWhole(file, saved));
        }
        EXPECT_TRUE(temporaryFilesIn(e.dir.path()).isEmpty());
    }
}

// What the save question was answered for happens after that Save As only: a Save As cancelled
// drops it, and a later Save As of the user's own does nothing more than save.
TEST(SaveFlowWindow, ACancelledSaveAsDropsWhatWasWaitingOnIt) {
    Editor e;
    const QString apps = e.dir.filePath("data/applications"), received = e.dir.filePath("received.jpg");
    QDir().mkpath(apps);
    QFile entry(apps + "/gimp.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(
        QString("[Desktop Entry]\nType=Application\nName=GIMP\nExec=cp %f %1\n").arg(received).toUtf8());
    entry.close();
    qputenv("XDG_DATA_HOME", e.dir.filePath("data").toUtf8());
    qputenv("XDG_DATA_DIRS", e.dir.filePath("none").toUtf8());
    const QString first = e.sample(), other = e.sample("other.jpg");
    struct Case {
        const char* label;
        std::function<void()> ask;
    } cases[] = {
        {"quit", [&] { e.w->closeDocumentWithSaving(); }},
        {"open another photo", [&] { e.w->opening()->open(other); }},
        {"hand over to an editor", [&] { e.w->exportToApplication(exportTargets()[2]); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        e.open(first);
        e.stroke();
        e.savePaths.clear(); // the panel is cancelled
        c.ask();
        EXPECT_TRUE(waitUntil([&] { return e.asked.count("save as") == 2 * n + 1; }));
        processPendingEvents(); // the cancelled Save As ends
        e.stroke(40);           // the user works on
        const QString later = e.dir.filePath(QString("later%1.jpg").arg(n++));
        e.savePaths = {later};
        e.w->saving()->saveAs();
        ASSERT_TRUE(QFile::exists(later));
        // Long enough for what waited on the cancelled Save As to show if it ran after all (the
        // copy handed over is made by another program): what must not happen has no event.
        QTest::qWait(100);
        EXPECT_FALSE(e.closed);
        EXPECT_EQ(QFileInfo(e.w->representedFile()).fileName(), QFileInfo(later).fileName());
        EXPECT_FALSE(QFile::exists(received));
    }
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

// A photo too big to edit whole whose reduction fails is not opened: the photo on screen keeps its
// own file's name, metadata and bytes, and Save writes it to its own file, not the new one.
// A Save As that could not write its file is not a recent document.
TEST(SaveFlowWindow, AFailedOpeningLeavesThePhotoWithItsOwnFile) {
    Editor e;
    const QString photo = e.sample();
    const QString big = e.dir.filePath("big.jpg");
    ASSERT_EQ(QProcess::execute("vips", {"black", e.dir.filePath("big.v"), "6000", "5400", "--bands", "3"}),
              0);
    ASSERT_EQ(QProcess::execute("vips", {"copy", e.dir.filePath("big.v"), big}), 0);
    QFile::remove(e.dir.filePath("big.v"));
    const QByteArray bigBefore = fileBytes(big);
    e.open(photo);
    e.stroke();
    simulateReductionFailureForTesting(true);
    e.answer = Answer::DontSave;
    e.w->opening()->open(big);
    EXPECT_TRUE(waitUntil([&] { return !e.alerts.isEmpty(); }, 30000));
    simulateReductionFailureForTesting(false);
    EXPECT_TRUE(e.alertTexts().value(0).contains("big.jpg")) << e.alertTexts().value(0).toStdString();
    EXPECT_EQ(e.w->representedFile(), QFileInfo(photo).absoluteFilePath());
    EXPECT_TRUE(e.w->windowTitle().startsWith("photo.jpg"));
    EXPECT_FALSE(e.w->opening()->recent().contains(QFileInfo(big).absoluteFilePath()));
    ASSERT_TRUE(e.w->hasPhoto());
    EXPECT_EQ(e.w->image()->width(), 2560);
    e.w->saving()->save();
    EXPECT_EQ(fileBytes(big), bigBefore);
    DecodeResult saved = decodeImageFile(photo.toStdString(), false);
    ASSERT_TRUE(saved.image);
    EXPECT_EQ(saved.image->bitmap->width(), 2560);

    e.alerts.clear();
    const QString nowhere = e.dir.filePath("missing/folder/copy.jpg");
    e.savePaths = {nowhere};
    e.w->saving()->saveAs();
    EXPECT_FALSE(e.alerts.isEmpty()) << "the failure is said";
    EXPECT_FALSE(e.w->opening()->recent().contains(nowhere));
}

// Opening a photo, from a file or as a picture without one, closes the sharing window over the
// last one: the new photo's commands are there at once.
TEST(SaveFlowWindow, OpeningAPhotoClosesTheSharingWindow) {
    struct Case {
        const char* label;
        bool file;
    } cases[] = {{"a file", true}, {"a picture without a file", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Editor e;
        e.w->services.sharingExportFolder = e.dir.filePath("SharingPhotos");
        e.open(e.sample());
        e.w->sharing()->showShareWindow(sharing::ShareDialog::Mail);
        ASSERT_TRUE(e.w->sharing()->shareWindow());
        EXPECT_FALSE(e.w->validateUserInterfaceItem("file_save"));
        if (c.file) {
            e.open(e.sample("other.jpg"));
        } else {
            e.w->opening()->openPicture(decodeImageFile(PIMAVO_SAMPLE_PHOTO, false).image->bitmap);
        }
        EXPECT_TRUE(waitUntil([&] { return !e.w->sharing()->shareWindow(); }));
        EXPECT_FALSE(e.w->sharing()->dialog());
        for (const char* command : {"file_save_as", "edit_copy", "file_print", "file_open"})
            EXPECT_TRUE(e.w->validateUserInterfaceItem(command)) << command;
    }
}

// Work restored after the editor ended saves where it was last saved, a project or a picture,
// and says so in its title; it asks nothing.
TEST(SaveFlowWindow, RecoveredWorkSavesWhereItWasLastSaved) {
    const QString folder = Autosave::defaultFolder();
    struct Case {
        const char* saved;
    } cases[] = {{"work.pimavo"}, {"painted.jpg"}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved);
        QTemporaryDir keep;
        const QString target = keep.filePath(c.saved);
        const QString leftBehind = folder + QString("/session-99999%1-1.pimavo").arg(n++);
        {
            Editor e;
            e.open(e.sample());
            e.stroke();
            e.savePaths = {target};
            e.w->saving()->saveAs();
            ASSERT_TRUE(QFile::exists(target));
            e.stroke(40);
            e.w->autosave()->writeNow();
            // Written whole before it shows under its name.
            ASSERT_TRUE(waitUntil([&] { return QFile::exists(e.w->autosave()->path()); }, 10000));
            ASSERT_TRUE(QFile::copy(e.w->autosave()->path(), leftBehind));
            e.w->saving()->flow()->waitForAll();
        }
        const QByteArray before = fileBytes(target);
        Editor e;
        e.w->services.recoveryChooser = [&](const std::vector<Autosave::Session>& sessions) {
            for (std::size_t i = 0; i < sessions.size(); ++i)
                if (sessions[i].path == leftBehind) return int(i);
            return -1;
        };
        e.w->autosave()->offerRecovery();
        ASSERT_TRUE(e.w->hasPhoto());
        EXPECT_TRUE(e.w->windowTitle().startsWith(QString(c.saved) + " (recovered)"))
            << e.w->windowTitle().toStdString();
        e.w->saving()->save();
        EXPECT_FALSE(e.asked.contains("save as"));
        EXPECT_NE(fileBytes(target), before) << "saved again where it was";
        EXPECT_FALSE(e.w->isEdited());
        QFile::remove(leftBehind);
    }
}

} // namespace
} // namespace pimavo::test
