// An editing window as the window tests drive it: its settings, history and recent lists in a
// temporary folder of its own, on screen with the start screen up, and every question and panel it
// would put up answered as the test says, so that nothing waits for a user.
#pragma once

#include "Wait.h"
#include "app/EditorWindow.h"
#include "app/WindowOpening.h"
#include "app/WindowStart.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "document/ProjectDocument.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ImagePreview.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsOpacityEffect>
#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace pimavo::test {

struct WindowOptions {
    QSize size{1200, 800};
    // Activated, as the window a user works in is: keys and focus need it.
    bool active = false;
    // Another window's, as the next start of the program finds it; empty: one of its own.
    QString settingsFile;

    WindowOptions& sized(QSize s) {
        size = s;
        return *this;
    }
    WindowOptions& activated() {
        active = true;
        return *this;
    }
    WindowOptions& withSettings(const QString& file) {
        settingsFile = file;
        return *this;
    }
};

struct WindowFixture {
    QTemporaryDir dir;
    Settings settings;
    EditSession session;
    std::unique_ptr<EditorWindow> w;

    // What the window asked, in turn: "save?", "save as", "open".
    QStringList asked;
    QStringList questions;        // what each save question said
    QStringList replaceQuestions; // what each question before saving over a photo said
    WindowServices::Answer answer = WindowServices::Answer::DontSave;
    // Saving over the copies of the sample photo is what most tests mean to do.
    WindowServices::ReplaceAnswer replace = WindowServices::ReplaceAnswer::Replace;
    // The Save As panel's answers: the ones queued, in turn, then `savePath`; empty is Cancel.
    QStringList savePaths;
    QString savePath;
    QString proposedName;           // the name the last Save As panel proposed
    QString panelType;              // the type it was opened with
    QStringList alerts, alertInfos; // each alert's message and its details

    explicit WindowFixture(const WindowOptions& options = {})
        : settings(options.settingsFile.isEmpty() ? dir.filePath("prefs.ini") : options.settingsFile) {
        w = std::make_unique<EditorWindow>(&session, &settings);
        w->services.recentBookmarkFile = dir.filePath("recently-used.xbel");
        w->services.historyFolder = dir.filePath("history");
        w->services.networkReachable = [] { return false; };
        w->services.saveQuestion = [this](const QString& message) {
            asked << "save?";
            questions << message;
            return answer;
        };
        w->services.replaceQuestion = [this](const QString& message) {
            replaceQuestions << message;
            return replace;
        };
        w->services.savePanel = [this](const QString&, const QString& name, QString& mimeType, double&) {
            asked << "save as";
            proposedName = name;
            panelType = mimeType;
            const QString path = savePaths.isEmpty() ? savePath : savePaths.takeFirst();
            // The type goes with the name typed, as choosing it in the panel would.
            if (path.endsWith(".tif")) mimeType = "image/tiff";
            if (path.endsWith(".pimavo")) mimeType = ProjectDocument::kMimeType;
            return path;
        };
        w->services.openPanel = [this] {
            asked << "open";
            return QString();
        };
        w->services.alertShown = [this](const QString& message, const QString& info) {
            alerts << message;
            alertInfos << info;
        };
        w->resize(options.size);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        if (options.active) {
            w->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        }
        // Without a photo the start screen comes up once the event loop runs.
        EXPECT_TRUE(waitUntil([&] { return w->start()->isShown(); }, 5000, "the start screen"));
    }
    ~WindowFixture() {
        w.reset();
        // What the window left to run away from it (the desktop's recent list, written into this
        // folder) ends before the folder goes.
        QThreadPool::globalInstance()->waitForDone(10000);
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // A copy of the sample photo (with its metadata) in the temporary folder, writable.
    QString sample(const QString& name = "photo.jpg") const {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        QFile::copy(PIMAVO_SAMPLE_PHOTO, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    // Opens as the user does and waits until the canvas shows the photo; the whole photo may still
    // be on its way.
    void open(const QString& path) {
        w->opening()->open(path);
        EXPECT_TRUE(
            waitUntil([&] { return w->hasPhoto() && w->painterView(); }, 30000, "the photo on the canvas"));
        processPendingEvents(); // laid out and painted
    }
    // Opens and waits for the whole photo, not only the first look at it.
    void openWhole(const QString& path) {
        w->opening()->open(path);
        EXPECT_TRUE(waitUntil([&] { return w->hasPhoto() && w->isPhotoWhole(); }, 30000, "the whole photo"));
    }
    CanvasView* canvas() const { return w->painterView(); }
    // A key as typed: the window's shortcuts first, then whatever has the focus.
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
        QTest::keyClick(to, Qt::Key(k), mods);
    }
    // Compare before and after: the View menu's command and the top bar's button of the same name.
    QAction* compareAction() const { return w->action("view_compare"); }
    ImageButton* compareButton() const {
        for (ImageButton* b : w->findChildren<ImageButton*>())
            if (b->toolTip() == compareAction()->text()) return b;
        return nullptr;
    }
    // The comparison views in the window, whether fading in, shown or fading out.
    QList<QWidget*> compareOverlays() const {
        QList<QWidget*> found;
        for (ImagePreview* p : w->findChildren<ImagePreview*>())
            if (QWidget* o = p->parentWidget(); o && !found.contains(o)) found << o;
        return found;
    }
    static double opacity(const QWidget* v) {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(v->graphicsEffect());
        return effect ? effect->opacity() : 1.0;
    }
    // The comparison faded in over the tool panel, or gone with the panel back.
    bool compareShownFully() const {
        const QList<QWidget*> o = compareOverlays();
        return o.size() == 1 && opacity(o.front()) == 1.0 && opacity(w->drawingToolbar()) == 0.0;
    }
    bool compareLeftFully() const {
        return compareOverlays().isEmpty() && w->drawingToolbar() && opacity(w->drawingToolbar()) == 1.0;
    }
    // Each alert's message and details as one text.
    QStringList alertTexts() const {
        QStringList all;
        for (qsizetype i = 0; i < alerts.size(); ++i) all << alerts[i] + " " + alertInfos.value(i);
        return all;
    }
};

// Clicks the button of `role` on the message box that the next call puts up, as a user answers it
// (this runs in the box's own event loop).
inline void answerNextMessageBox(QMessageBox::ButtonRole role) {
    QTimer::singleShot(0, [role] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == role) b->click();
    });
}

// A file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `inside` on the first modal window of type T once it is up (this runs in that window's own
// event loop). The poll is a timer the application owns, so nothing is left behind when the window
// never comes.
template <typename T> void onModal(std::function<void(T*)> inside) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inside = std::move(inside)] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inside(modal);
        }
    });
    poll->start();
}

// Runs `inside` on the modal file dialog once it is up, then lets the caller's call go on.
inline void onFileDialog(std::function<void(QFileDialog*)> inside) {
    onModal<QFileDialog>(std::move(inside));
}

} // namespace pimavo::test
