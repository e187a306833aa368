// Importing as a user does it: the media browser from the File menu, the import window from the
// start screen's Import button with the folder camera and SANE's test scanner, and what the
// editing window shows afterwards.
#include "Wait.h"
#include "app/EditorWindow.h"
#include "app/StartScreen.h"
#include "app/WindowImport.h"
#include "app/WindowOpening.h"
#include "app/WindowStart.h"
#include "core/Settings.h"
#include "import/ImportDialog.h"
#include "import/ImportTestSupport.h"
#include "session/EditSession.h"
#include "widgets/ImageButton.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>
#include <utime.h>

namespace pimavo::test {
namespace {

struct ImportWindow {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    EditSession session;
    std::unique_ptr<EditorWindow> w;
    QStringList alerts;
    QString pictures = dir.filePath("Pictures"), camera = dir.filePath("card"),
            imports = dir.filePath("Imported");

    ImportWindow() {
        usePrivateSaneConfiguration();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
        qputenv("PIMAVO_FOLDER_CAMERAS", QFile::encodeName(camera));
        // Three photos in the Pictures folder, the newest the widest; two on the camera.
        for (int i = 0; i < 3; ++i) {
            const QString path = pictures + QString("/photo%1.jpg").arg(i);
            writeBytes(path, testJpeg(200 + 100 * i, 150));
            struct utimbuf t {
                1600000000 + i, 1600000000 + i
            };
            ::utime(QFile::encodeName(path).constData(), &t);
        }
        writeBytes(camera + "/DCIM/100TEST/IMG_0001.JPG", testJpeg(320, 200));
        writeBytes(camera + "/DCIM/100TEST/IMG_0002.JPG", testJpeg(360, 200));
        w = std::make_unique<EditorWindow>(&session, &settings);
        w->services.recentBookmarkFile = dir.filePath("recently-used.xbel");
        w->services.librarySources = [this] { return LibrarySources{{pictures}, {}, {}}; };
        w->services.importFolder = imports;
        w->services.alertShown = [this](const QString& m, const QString&) { alerts << m; };
        w->resize(1000, 700);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_TRUE(waitUntil([&] { return w->start()->isShown(); }));
    }
    ~ImportWindow() {
        w.reset();
        // The desktop's recent list is written away from the window: it ends before its folder goes.
        QThreadPool::globalInstance()->waitForDone(10000);
        qunsetenv("PIMAVO_FOLDER_CAMERAS");
        qunsetenv("XDG_CACHE_HOME");
    }
    MediaBrowserPanel* browserShown() {
        w->action("file_browse_photos")->trigger();
        MediaBrowserPanel* panel = w->imports()->mediaBrowser();
        EXPECT_TRUE(panel && panel->isVisible());
        EXPECT_TRUE(waitUntil([&] { return panel && !panel->isLoading(); }));
        // On screen as the user sees it: painted, its thumbnails asked for.
        EXPECT_TRUE(
            waitUntil([&] { return panel->model()->rowCount() == 0 || panel->model()->requested() > 0; }));
        return panel;
    }
    void doubleClick(MediaBrowserPanel* panel, int row) {
        const QPoint centre = panel->view()->visualRect(panel->model()->index(row)).center();
        QTest::mouseClick(panel->view()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(panel->view()->viewport(), Qt::LeftButton, {}, centre);
        processPendingEvents();
    }
    // Runs the import window from the start screen's Import button, with `drive` working it.
    void runImportWindow(const std::function<void(ImportDialog*)>& drive) {
        QTimer::singleShot(0, [this, drive] {
            ImportDialog* window = w->imports()->importWindow();
            EXPECT_TRUE(window && window->isModal() && window->isVisible());
            if (window) drive(window);
            if (w->imports()->importWindow()) w->imports()->importWindow()->reject();
        });
        auto* screen = w->findChild<StartScreen*>();
        ASSERT_TRUE(screen);
        QTest::mouseClick(screen->importButton(), Qt::LeftButton);
        EXPECT_FALSE(w->imports()->importWindow());
    }
    static void choose(ImportDialog* window, const QString& tooltipPart) {
        QListWidget* list = window->deviceList();
        EXPECT_TRUE(waitUntil([&] {
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->toolTip().contains(tooltipPart)) {
                    list->setCurrentRow(i);
                    return true;
                }
            return false;
        })) << tooltipPart.toStdString();
    }
};

TEST(ImportWindow, MediaBrowserOpensThePhotoWithItsFileAndHides) {
    ImportWindow t;
    MediaBrowserPanel* panel = t.browserShown();
    ASSERT_EQ(panel->model()->rowCount(), 3);
    t.doubleClick(panel, 0);
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_EQ(t.w->image()->width(), 400); // the newest
    EXPECT_EQ(t.w->representedFile(), QFileInfo(t.pictures + "/photo2.jpg").absoluteFilePath());
    EXPECT_TRUE(t.w->windowTitle().startsWith("photo2.jpg"));
    EXPECT_TRUE(t.w->imageProperties().has_value());
    EXPECT_FALSE(panel->isVisible());
    // The menu command shows it again, and hides it the next time.
    t.w->action("file_browse_photos")->trigger();
    EXPECT_TRUE(panel->isVisible());
    t.w->action("file_browse_photos")->trigger();
    EXPECT_FALSE(panel->isVisible());
    // Its thumbnails went to the desktop's cache.
    const QString thumbnails = t.dir.filePath("cache/thumbnails/normal");
    EXPECT_TRUE(waitUntil([&] { return !QDir(thumbnails).entryList(QDir::Files).isEmpty(); }));
}

TEST(ImportWindow, BrowsePhotosDocksBesideThePictureAndNamesEachPhoto) {
    const QSize sizes[] = {{1000, 700}, {720, 480}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(size.width());
        ImportWindow t;
        t.w->opening()->open(t.pictures + "/photo0.jpg");
        ASSERT_TRUE(waitUntil([&] { return t.w->hasPhoto(); }));
        t.w->resize(size);
        EXPECT_TRUE(waitUntil([&] { return t.w->size() == size.expandedTo(t.w->minimumSize()); }));
        MediaBrowserPanel* panel = t.browserShown();
        ASSERT_TRUE(panel);
        // Inside the editing window, and the picture's view beside it, not under it.
        EXPECT_EQ(panel->window(), t.w.get());
        QWidget* picture = t.w->centralWidget();
        const QRect browser(panel->mapTo(t.w.get(), QPoint()), panel->size());
        const QRect canvas(picture->mapTo(t.w.get(), QPoint()), picture->size());
        EXPECT_TRUE(waitUntil([&] { return panel->width() > 0 && picture->width() > panel->width(); }));
        EXPECT_FALSE(browser.intersects(canvas));
        EXPECT_TRUE(t.w->rect().contains(browser));
        // A full column of thumbnails at least, with the file's name under each.
        const QRect cell = panel->view()->visualRect(panel->model()->index(0));
        EXPECT_TRUE(panel->view()->viewport()->rect().contains(cell));
        panel->model()->waitForThumbnails();
        const QImage shot = panel->view()->viewport()->grab(cell).toImage();
        int lit = 0;
        for (int y = shot.height() - 16; y < shot.height() - 2; ++y)
            for (int x = 0; x < shot.width(); ++x) lit += qGray(shot.pixel(x, y)) > 120;
        EXPECT_GT(lit, 20) << "no name under the first photo";
        EXPECT_EQ(panel->model()->index(0).data(Qt::DisplayRole).toString(), "photo2.jpg");
    }
}

TEST(ImportWindow, TheImportWindowSaysItIsLookingAndShowsTheImportsProgress) {
    ImportWindow t;
    ImportDialog window(t.w.get());
    window.setDownloadsFolder(t.imports);
    // Before the first look has ended: no "none attached", but what is happening.
    ASSERT_GE(window.deviceList()->count(), 1);
    EXPECT_EQ(window.deviceList()->item(0)->text(), "Looking for cameras…");
    bool statusSaysLooking = false;
    for (QLabel* l : window.findChildren<QLabel*>()) statusSaysLooking |= l->text() == "Looking for cameras…";
    EXPECT_TRUE(statusSaysLooking);
    window.show();
    ImportWindow::choose(&window, "Directory Browse");
    auto* importAll = window.findChild<QPushButton*>("importAll");
    ASSERT_TRUE(waitUntil([&] { return importAll->isEnabled(); }));
    // The bar stands while the photos come in, and counts them.
    auto* progress = window.findChild<QProgressBar*>("progress");
    ASSERT_TRUE(progress);
    QList<std::pair<int, bool>> seen; // value, shown
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int v) {
        seen << std::pair{v, progress->isVisible()};
    });
    QTest::mouseClick(importAll, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return !window.isBusy(); }));
    EXPECT_TRUE(seen.contains(std::pair{2, true})) << seen.size();
    EXPECT_EQ(progress->maximum(), 2);
    EXPECT_EQ(QDir(t.imports).entryList(QDir::Files).size(), 2);
}

TEST(ImportWindow, APhotoGoneSinceTheBrowserLookedCannotBeOpened) {
    ImportWindow t;
    MediaBrowserPanel* panel = t.browserShown();
    QFile::remove(t.pictures + "/photo2.jpg");
    t.doubleClick(panel, 0);
    EXPECT_FALSE(t.w->hasPhoto());
    EXPECT_EQ(t.alerts, QStringList{QString("Cannot open this image.")});
    EXPECT_TRUE(t.w->start()->isShown());
}

TEST(ImportWindow, ImportAllFromTheFolderCameraOpensTheLastPhoto) {
    ImportWindow t;
    t.runImportWindow([](ImportDialog* window) {
        ImportWindow::choose(window, "Directory Browse");
        EXPECT_EQ(window->tabs()->tabText(window->tabs()->currentIndex()), "Camera");
        auto* importAll = window->findChild<QPushButton*>("importAll");
        EXPECT_EQ(importAll->text(), "Import All");
        EXPECT_EQ(window->findChild<QPushButton*>("import")->text(), "Import");
        EXPECT_TRUE(waitUntil([&] { return importAll->isEnabled(); }));
        EXPECT_EQ(window->photoGrid()->count(), 2);
        QTest::mouseClick(importAll, Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    });
    QStringList imported = QDir(t.imports).entryList(QDir::Files);
    EXPECT_EQ(imported, QStringList({"IMG_0001.JPG", "IMG_0002.JPG"}));
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_EQ(t.w->image()->width(), 360);
    EXPECT_EQ(QFileInfo(t.w->representedFile()).dir(), QDir(t.imports));
}

TEST(ImportWindow, ACameraPulledOutBeforeTheImportSaysSoAndOpensNothing) {
    ImportWindow t;
    QString message;
    t.runImportWindow([&](ImportDialog* window) {
        ImportWindow::choose(window, "Directory Browse");
        auto* importAll = window->findChild<QPushButton*>("importAll");
        EXPECT_TRUE(waitUntil([&] { return importAll->isEnabled(); }));
        QDir(t.camera).removeRecursively();
        // The message is a modal box on the import window: read it and close it.
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
                watch.stop();
            }
        });
        watch.start();
        QTest::mouseClick(importAll, Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return !message.isEmpty() && !window->isBusy(); }));
        EXPECT_TRUE(window->isVisible());
    });
    EXPECT_TRUE(message.contains("IMG_0001.JPG")) << message.toStdString();
    EXPECT_FALSE(t.w->hasPhoto());
    EXPECT_TRUE(QDir(t.imports).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ImportWindow, ScanFromTheTestScannerOpensThePage) {
    ImportWindow t;
    t.runImportWindow([](ImportDialog* window) {
        ImportWindow::choose(window, "test:0");
        EXPECT_EQ(window->tabs()->tabText(window->tabs()->currentIndex()), "Scanner");
        auto* resolution = window->findChild<QComboBox*>("resolution");
        auto* mode = window->findChild<QComboBox*>("mode");
        EXPECT_TRUE(waitUntil([&] { return resolution->count() > 0 && !window->isBusy(); }));
        EXPECT_EQ(resolution->currentData().toInt(), 300);
        EXPECT_EQ(mode->currentText(), "Color");
        resolution->setCurrentIndex(resolution->findData(75));
        mode->setCurrentIndex(mode->findData("Gray"));
        // An overview first: shown in the window, nothing opened.
        QTest::mouseClick(window->findChild<QPushButton*>("overview"), Qt::LeftButton);
        auto* preview = window->findChild<QLabel*>("preview");
        EXPECT_TRUE(waitUntil([&] { return !preview->pixmap().isNull() && !window->isBusy(); }));
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(window->findChild<QPushButton*>("scan"), Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    });
    const QStringList scans = QDir(t.imports).entryList({"Scan *.png"}, QDir::Files);
    ASSERT_EQ(scans.size(), 1);
    ASSERT_TRUE(t.w->hasPhoto());
    EXPECT_NEAR(t.w->image()->width(), 591, 1); // 200 mm at 75 dpi
    EXPECT_EQ(t.w->representedFile(), QFileInfo(t.imports + "/" + scans[0]).absoluteFilePath());
}

TEST(ImportWindow, DevicesComeAndGoWhileTheWindowIsOpen) {
    ImportWindow t;
    const QString second = t.dir.filePath("phone");
    writeBytes(second + "/DCIM/Camera/PXL_0001.jpg", testJpeg(100, 80));
    t.runImportWindow([&](ImportDialog* window) {
        auto listed = [window](const QString& part) {
            for (int i = 0; i < window->deviceList()->count(); ++i)
                if (window->deviceList()->item(i)->toolTip().contains(part)) return true;
            return false;
        };
        EXPECT_TRUE(waitUntil([&] { return listed(t.camera); }));
        EXPECT_FALSE(listed(second));
        // Plugged in: listed within the next look, without touching the window.
        qputenv("PIMAVO_FOLDER_CAMERAS", QFile::encodeName(t.camera + ":" + second));
        EXPECT_TRUE(waitUntil([&] { return listed(second); }));
        ImportWindow::choose(window, second);
        EXPECT_TRUE(waitUntil([&] { return window->photoGrid()->count() == 1; }));
        // Pulled out: gone from the list, and its photos from the grid.
        qputenv("PIMAVO_FOLDER_CAMERAS", QFile::encodeName(t.camera));
        EXPECT_TRUE(waitUntil([&] { return !listed(second); }));
        EXPECT_EQ(window->photoGrid()->count(), 0);
        EXPECT_FALSE(window->findChild<QPushButton*>("importAll")->isEnabled());
    });
}

TEST(ImportWindow, MenusOfferImportOnTheStartScreenAndWithAPhoto) {
    ImportWindow t;
    for (const char* a : {"file_import_camera", "file_browse_photos"}) {
        EXPECT_TRUE(t.w->validateUserInterfaceItem(a)) << a;
        EXPECT_TRUE(t.w->action(a)->isEnabled()) << a;
    }
    t.w->opening()->open(t.pictures + "/photo0.jpg");
    ASSERT_TRUE(t.w->hasPhoto());
    for (const char* a : {"file_import_camera", "file_browse_photos"})
        EXPECT_TRUE(t.w->validateUserInterfaceItem(a)) << a;
}

} // namespace
} // namespace pimavo::test
