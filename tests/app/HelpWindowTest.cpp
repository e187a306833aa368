// Help and the small windows as a user meets them: the video tutorials served from a local web
// server (playing, pausing, seeking, offline, broken lists), the guide and the web pages, about,
// acknowledgements, preferences, Show Welcome Screen, Page Setup and the hold-to-compare button.
#include "Version.h"
#include "WindowFixture.h"
#include "app/AuxiliaryWindows.h"
#include "app/EditorWindow.h"
#include "app/HelpVideoLibrary.h"
#include "app/HelpVideoWindow.h"
#include "app/WindowBackdrop.h"
#include "app/WindowCompare.h"
#include "app/WindowFrame.h"
#include "app/WindowHelp.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaPlayer>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

// A web server on the loopback address that answers GET with the bodies it was given, 404 for
// anything else, and can be taken down and brought back on the same port.
class LocalServer {
public:
    QHash<QString, QByteArray> files;
    QStringList requests;
    bool etags = false;
    LocalServer() { start(); }
    void start() {
        server_ = std::make_unique<QTcpServer>();
        EXPECT_TRUE(server_->listen(QHostAddress::LocalHost, port_));
        port_ = server_->serverPort();
        QObject::connect(server_.get(), &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    buffer_[socket] += socket->readAll();
                    if (!buffer_[socket].contains("\r\n\r\n")) return;
                    const QByteArray head = buffer_[socket].toLower();
                    const QString path = QString::fromLatin1(buffer_[socket].split(' ').value(1));
                    buffer_.remove(socket);
                    requests << path;
                    const bool found = files.contains(path);
                    const QByteArray body = found ? files.value(path) : QByteArray("not here");
                    // With ETags on, each body is known by its hash and a question with the
                    // current one gets "not modified".
                    const QByteArray etag =
                        '"' + QCryptographicHash::hash(body, QCryptographicHash::Md5).toHex() + '"';
                    if (etags && found && head.contains("if-none-match: " + etag)) {
                        socket->write("HTTP/1.1 304 Not Modified\r\nETag: " + etag +
                                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                        socket->disconnectFromHost();
                        return;
                    }
                    socket->write(QByteArray(found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                                  (etags && found ? "ETag: " + etag + "\r\n" : QByteArray()) +
                                  "Content-Length: " + QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    void stop() { server_.reset(); }
    QUrl url(const QString& path) const {
        return QUrl(QString("http://127.0.0.1:%1%2").arg(port_).arg(path));
    }

private:
    std::unique_ptr<QTcpServer> server_;
    quint16 port_ = 0;
    QHash<QTcpSocket*, QByteArray> buffer_;
};

// A short video of one colour, made with GStreamer's tools.
QByteArray makeVideo(const QString& folder, const QString& colour, int seconds) {
    const QString path = folder + "/" + colour + ".ogv";
    QProcess gst;
    gst.start("gst-launch-1.0", {"-q", "videotestsrc", QString("num-buffers=%1").arg(seconds * 10),
                                 "pattern=" + colour, "!", "video/x-raw,width=64,height=48,framerate=10/1",
                                 "!", "theoraenc", "!", "oggmux", "!", "filesink", "location=" + path});
    gst.waitForFinished(30000);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray png(QColor colour) {
    QImage image(32, 18, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The colour in the middle of what a widget shows.
QColor middleOf(QWidget* w) {
    const QImage shot = w->grab().toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

struct Window : WindowFixture {
    QList<QUrl> opened;
    Window() {

        w->services.helpVideosCacheFolder = dir.filePath("cache");
        w->services.openURL = [this](const QUrl& url) {
            opened << url;
            return true;
        };
    }
    // Chooses a menu command as a user would: only when it is enabled.
    bool choose(const QString& action) {
        QAction* a = w->action(action);
        if (!a || !a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    void openSample() { open(sample()); }
};

// ---- the video window -------------------------------------------------------------------------

struct VideoServer : LocalServer {
    QTemporaryDir made;
    VideoServer() {
        files["/list.json"] = R"({"videos":[
            {"name":"painting","title":"Painting colour back","duration":2,"thumbnail":"thumbs/p.png",
             "url":"videos/red.ogv"},
            {"name":"looks","title":"Looks and treatments","duration":65,"url":"videos/blue.ogv"}]})";
        files["/thumbs/p.png"] = png(Qt::green);
        files["/videos/red.ogv"] = makeVideo(made.path(), "red", 2);
        files["/videos/blue.ogv"] = makeVideo(made.path(), "blue", 1);
    }
};

HelpVideoWindow* openVideos(Window& t, const QUrl& list) {
    qputenv("PIMAVO_HELP_VIDEOS_URL", list.toEncoded());
    EXPECT_TRUE(t.choose("help_videos"));
    qunsetenv("PIMAVO_HELP_VIDEOS_URL");
    return t.w->help()->videoWindow();
}

bool showsColour(QWidget* view, QColor want) {
    return QTest::qWaitFor(
        [&] {
            const QColor c = middleOf(view);
            return std::abs(c.red() - want.red()) < 40 && std::abs(c.green() - want.green()) < 40 &&
                   std::abs(c.blue() - want.blue()) < 40;
        },
        scaledWait(10000));
}

TEST(HelpVideos, TheListPlaysPausesAndSeeks) {
    VideoServer server;
    ASSERT_FALSE(server.files["/videos/red.ogv"].isEmpty()) << "gst-launch-1.0 made no video";
    Window t;
    HelpVideoWindow* videos = openVideos(t, server.url("/list.json"));
    ASSERT_TRUE(videos);
    ASSERT_TRUE(waitUntil([&] { return videos->list()->count() == 2; }, 5000));
    // Title and length on each row; the thumbnail once it has arrived.
    EXPECT_EQ(videos->list()->item(0)->text(), "Painting colour back\n0:02");
    EXPECT_EQ(videos->list()->item(1)->text(), "Looks and treatments\n1:05");
    EXPECT_TRUE(waitUntil(
        [&] {
            const QImage icon = videos->list()->item(0)->icon().pixmap(64, 36).toImage();
            return icon.pixelColor(icon.width() / 2, icon.height() / 2) == QColor(Qt::green);
        },
        5000));
    EXPECT_TRUE(videos->message().isEmpty()) << videos->message().toStdString();

    // Asked for by name, the video plays in the window.
    t.w->help()->showVideo("painting");
    EXPECT_EQ(videos->list()->currentItem(), videos->list()->item(0));
    EXPECT_TRUE(showsColour(videos->videoView(), Qt::red));
    QMediaPlayer* player = videos->player();
    ASSERT_TRUE(waitUntil([&] { return player->playbackState() == QMediaPlayer::PlayingState; }, 5000));
    EXPECT_EQ(videos->playButton()->text(), QString("Pause"));
    ASSERT_TRUE(waitUntil([&] { return player->duration() > 0 && player->isSeekable(); }, 5000));
    EXPECT_EQ(videos->positionSlider()->maximum(), int(player->duration()));
    EXPECT_GE(player->duration(), 1500);

    // Space pauses and plays again, with the focus in the list.
    videos->activateWindow();
    videos->list()->setFocus();
    QTest::keyClick(videos->list(), Qt::Key_Space);
    EXPECT_EQ(player->playbackState(), QMediaPlayer::PausedState);
    QTest::keyClick(videos->list(), Qt::Key_Space);
    EXPECT_EQ(player->playbackState(), QMediaPlayer::PlayingState);
    QTest::mouseClick(videos->playButton(), Qt::LeftButton);
    EXPECT_EQ(player->playbackState(), QMediaPlayer::PausedState);
    EXPECT_EQ(videos->playButton()->text(), QString("Play"));
    const qint64 paused = player->position();
    // Long enough for a video still playing to have moved on: staying put has no event.
    QTest::qWait(400);
    EXPECT_EQ(player->position(), paused);

    // A click on the bar's far end seeks there.
    QSlider* bar = videos->positionSlider();
    ASSERT_TRUE(bar->isEnabled());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_TRUE(waitUntil([&] { return player->position() > player->duration() - 400; }, 5000))
        << player->position() << " of " << player->duration();

    // Another video replaces it; the video file came through the server once.
    videos->list()->setCurrentRow(1);
    emit videos->list()->itemActivated(videos->list()->item(1));
    EXPECT_TRUE(showsColour(videos->videoView(), Qt::blue));
    EXPECT_EQ(videos->currentVideoName(), "looks");
    EXPECT_EQ(server.requests.count("/videos/red.ogv"), 1);
    videos->close();
}

TEST(HelpVideos, OfflineTheLastListAndTheVideosWatchedStay) {
    VideoServer server;
    Window t;
    HelpVideoWindow* videos = openVideos(t, server.url("/list.json"));
    ASSERT_TRUE(videos);
    videos->showHelpVideoWithVideoName("painting");
    ASSERT_TRUE(showsColour(videos->videoView(), Qt::red));
    videos->close();
    ASSERT_TRUE(waitUntil([&] { return !t.w->help()->videoWindow(); })) << "closed windows go";

    server.stop();
    videos = openVideos(t, server.url("/list.json"));
    ASSERT_TRUE(videos);
    ASSERT_TRUE(waitUntil([&] { return videos->list()->count() == 2; }, 5000));
    EXPECT_TRUE(videos->message().startsWith(QString("The help videos cannot be reached")))
        << videos->message().toStdString();
    videos->showHelpVideoWithVideoName("painting");
    EXPECT_TRUE(showsColour(videos->videoView(), Qt::red));
    // One never watched cannot be had now, and the window says which.
    videos->showHelpVideoWithVideoName("looks");
    EXPECT_TRUE(waitUntil([&] { return videos->message().contains("Looks and treatments"); }, 5000))
        << videos->message().toStdString();
    EXPECT_FALSE(videos->videoView()->hasFrame());
    videos->close();
}

// The Try Again beside a message about the chosen video.
QPushButton* tryAgain(HelpVideoWindow* videos) {
    for (QPushButton* b : videos->findChildren<QPushButton*>())
        if (b->text() == QString("Try Again") && b->isVisible()) return b;
    return nullptr;
}

TEST(HelpVideos, AVideoThatWouldNotPlayOrChangedOnTheServerIsFetchedAgain) {
    VideoServer server;
    server.etags = true;
    const QByteArray red = server.files["/videos/red.ogv"], blue = server.files["/videos/blue.ogv"];
    ASSERT_FALSE(red.isEmpty()) << "gst-launch-1.0 made no video";
    Window t;
    struct Case {
        const char* what;
        QByteArray before, after; // what the server has for the video, then later
        bool playsBefore;
        QColor shown; // once the window has been opened again, or Try Again clicked
    } cases[] = {
        {"unchanged", red, red, true, Qt::red},
        {"changed on the server", red, blue, true, Qt::blue},
        {"broken, then mended", "this is no video", red, false, Qt::red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(t.w->services.helpVideosCacheFolder).removeRecursively();
        server.files["/videos/red.ogv"] = c.before;
        HelpVideoWindow* videos = openVideos(t, server.url("/list.json"));
        ASSERT_TRUE(videos);
        videos->showHelpVideoWithVideoName("painting");
        if (c.playsBefore) {
            ASSERT_TRUE(showsColour(videos->videoView(), Qt::red));
            server.files["/videos/red.ogv"] = c.after;
            videos->close();
            ASSERT_TRUE(waitUntil([&] { return !t.w->help()->videoWindow(); }));
            videos = openVideos(t, server.url("/list.json"));
            ASSERT_TRUE(videos);
            videos->showHelpVideoWithVideoName("painting");
        } else {
            ASSERT_TRUE(waitUntil([&] { return videos->message().contains("Painting colour back"); }, 10000));
            QPushButton* again = tryAgain(videos);
            ASSERT_TRUE(again);
            server.files["/videos/red.ogv"] = c.after;
            QTest::mouseClick(again, Qt::LeftButton);
        }
        EXPECT_TRUE(showsColour(videos->videoView(), c.shown));
        EXPECT_TRUE(videos->message().isEmpty()) << videos->message().toStdString();
        EXPECT_EQ(server.requests.count("/videos/red.ogv"), 2);
        server.requests.clear();
        videos->close();
        ASSERT_TRUE(waitUntil([&] { return !t.w->help()->videoWindow(); }));
    }
}

TEST(HelpVideos, TheVideosWatchedLongestAgoLeaveAFullCache) {
    VideoServer server;
    server.files["/videos/green.ogv"] = makeVideo(server.made.path(), "green", 1);
    server.files["/list.json"] = R"([{"name":"r","title":"R","url":"videos/red.ogv"},
        {"name":"b","title":"B","url":"videos/blue.ogv"},{"name":"g","title":"G","url":"videos/green.ogv"}])";
    QTemporaryDir cache;
    HelpVideoLibrary library(server.url("/list.json"), cache.path());
    library.setCacheLimit(server.files["/videos/red.ogv"].size() + server.files["/videos/green.ogv"].size() +
                          server.files["/videos/blue.ogv"].size() - 1);
    QSignalSpy listed(&library, &HelpVideoLibrary::listReady), ready(&library, &HelpVideoLibrary::videoReady);
    // Asked twice in a row (Try Again clicked twice): one answer, from the network.
    QSignalSpy failed(&library, &HelpVideoLibrary::listFailed);
    library.reload();
    library.reload();
    ASSERT_TRUE(listed.wait(5000));
    // A second answer, were there one, would come right behind the first.
    QTest::qWait(50);
    EXPECT_EQ(failed.size(), 0);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_FALSE(listed.first().first().toBool());
    auto watch = [&](const char* name) {
        const int before = ready.size();
        library.fetchVideo(*library.video(name));
        EXPECT_TRUE(waitUntil([&] { return ready.size() > before; }, 5000)) << name;
        QTest::qWait(30); // apart in time, as watching is
    };
    watch("r");
    watch("b");
    watch("r"); // again: now the most recent
    watch("g");
    EXPECT_FALSE(library.cachedVideoPath(*library.video("r")).isEmpty());
    EXPECT_TRUE(library.cachedVideoPath(*library.video("b")).isEmpty());
    EXPECT_FALSE(library.cachedVideoPath(*library.video("g")).isEmpty());
    // The one kept is what the server sent.
    QFile kept(library.cachedVideoPath(*library.video("g")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), server.files["/videos/green.ogv"]);
    EXPECT_EQ(server.requests.count("/videos/red.ogv"), 1);
}

TEST(HelpVideos, AListThatCannotBeHadSaysSoAndTryAgainFetchesIt) {
    VideoServer server;
    struct Case {
        const char* what;
        QString path;
        QByteArray body;
        QString inMessage;
    } cases[] = {
        {"server down", "/list.json", {}, ""},
        {"no such list", "/missing.json", {}, "404"},
        {"a broken list", "/broken.json", "<html>oops", ""},
    };
    for (const Case& c : cases) {
        Window t;
        if (!c.body.isEmpty()) server.files[c.path] = c.body;
        if (QString(c.what) == "server down") server.stop();
        HelpVideoWindow* videos = openVideos(t, server.url(c.path));
        ASSERT_TRUE(videos) << c.what;
        ASSERT_TRUE(waitUntil([&] { return !videos->message().isEmpty(); }, 5000)) << c.what;
        EXPECT_TRUE(videos->message().startsWith(QString("The list of help videos cannot be loaded")))
            << c.what;
        EXPECT_TRUE(videos->message().contains(c.inMessage)) << c.what;
        EXPECT_EQ(videos->list()->count(), 0) << c.what;
        // Asked for by name meanwhile: played once the list is there.
        videos->showHelpVideoWithVideoName("painting");
        if (QString(c.what) == "server down") {
            server.start();
            QPushButton* retry = videos->findChild<QPushButton*>(QString(), Qt::FindChildrenRecursively);
            for (QPushButton* b : videos->findChildren<QPushButton*>())
                if (b->text() == QString("Try Again")) retry = b;
            ASSERT_TRUE(retry && retry->isVisible());
            QTest::mouseClick(retry, Qt::LeftButton);
            ASSERT_TRUE(waitUntil([&] { return videos->list()->count() == 2; }, 5000));
            EXPECT_TRUE(showsColour(videos->videoView(), Qt::red));
        }
        videos->close();
    }
}

// ---- the guide, the web pages and the small windows -------------------------------------------

TEST(HelpMenu, EachCommandOpensItsPageWhateverTheWindowIsDoing) {
    Window t;
    struct Case {
        const char* action;
        const char* address;
    } pages[] = {
        {"help_support", "https://pimavo.org/support"},
        {"help_review", "https://pimavo.org/review"},
        {"help_home_page", "https://pimavo.org"},
        {"help_other_products", "https://pimavo.org/more"},
        {"file_print_on_canvas", "https://pimavo.org/print"},
    };
    // On the start screen, with a photo, and while comparing.
    for (int state = 0; state < 3; ++state) {
        if (state == 1) t.openSample();
        if (state == 2) {
            t.w->compare()->toggle();
            processPendingEvents(); // the comparison shows on the next pass
            ASSERT_TRUE(t.w->compare()->isShown());
        }
        for (const Case& c : pages) {
            t.opened.clear();
            ASSERT_TRUE(t.choose(c.action)) << c.action << " in state " << state;
            ASSERT_EQ(t.opened.size(), 1) << c.action;
            EXPECT_EQ(t.opened.first(), QUrl(c.address)) << c.action;
            EXPECT_TRUE(t.opened.first().scheme() == "https") << c.action;
        }
        t.opened.clear();
        ASSERT_TRUE(t.choose("help_guide"));
        ASSERT_EQ(t.opened.size(), 1);
        EXPECT_TRUE(t.opened.first().isLocalFile());
        EXPECT_TRUE(QFile::exists(t.opened.first().toLocalFile()));
    }
    // An address set in the preferences wins over the program's own.
    t.settings.setWebPage(Settings::WebPage::Support, "https://support.example/pimavo");
    t.opened.clear();
    t.choose("help_support");
    EXPECT_EQ(t.opened.value(0), QUrl("https://support.example/pimavo"));
    // Without a browser: a page cannot be opened and is said so; the guide shows in a window.
    t.w->services.openURL = [](const QUrl&) { return false; };
    t.w->compare()->exit();
    t.choose("help_home_page");
    EXPECT_TRUE(t.alerts.contains(QString("The page could not be opened.")));
    t.alerts.clear();
    ASSERT_TRUE(t.choose("help_guide"));
    EXPECT_TRUE(t.alerts.isEmpty());
    ASSERT_TRUE(t.w->help()->guideWindow() && t.w->help()->guideWindow()->isVisible());
    auto* guide = t.w->help()->guideWindow()->findChild<QTextBrowser*>("guide");
    ASSERT_TRUE(guide);
    EXPECT_TRUE(guide->toPlainText().contains("Video Tutorials"));
    t.w->help()->guideWindow()->close();
}

TEST(HelpMenu, F1ShowsTheGuideEvenWithoutABrowser) {
    Window t;
    t.w->services.openURL = nullptr; // the desktop's own way, through xdg-open
    QTemporaryDir bin;
    const auto restorePath = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    struct Case {
        const char* what;
        const char* xdgOpen; // the script standing in for xdg-open; null: there is none
        bool window;
    } cases[] = {
        {"a browser takes the guide", "#!/bin/sh\n/usr/bin/touch \"$0.ran\"\nexit 0\n", false},
        {"no program for web pages",
         "#!/bin/sh\n/usr/bin/touch \"$0.ran\"\necho no method available >&2\nexit 3\n", true},
        {"no xdg-open at all", nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(bin.path()).removeRecursively();
        QDir().mkpath(bin.path());
        const QString script = bin.filePath("xdg-open");
        if (c.xdgOpen) {
            QFile f(script);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.xdgOpen);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        // F1, the command's key.
        ASSERT_EQ(t.w->action("help_guide")->shortcut(), QKeySequence(Qt::Key_F1));
        ASSERT_TRUE(t.choose("help_guide"));
        if (c.xdgOpen) {
            EXPECT_TRUE(waitUntil([&] { return QFile::exists(script + ".ran"); }, 5000));
        }
        if (c.window) {
            ASSERT_TRUE(waitUntil(
                [&] { return t.w->help()->guideWindow() && t.w->help()->guideWindow()->isVisible(); }, 5000));
            auto* guide = t.w->help()->guideWindow()->findChild<QTextBrowser*>("guide");
            ASSERT_TRUE(guide);
            EXPECT_TRUE(guide->toPlainText().contains("Video Tutorials"));
            t.w->help()->guideWindow()->close();
        } else {
            // Room for a failure to be noticed, were it wrongly taken for one.
            QTest::qWait(300);
            EXPECT_FALSE(t.w->help()->guideWindow() && t.w->help()->guideWindow()->isVisible());
        }
        EXPECT_TRUE(t.alerts.isEmpty());
    }
}

QString plain(QString s) {
    s.remove('&');
    s.remove(QString::fromUtf8("…"));
    return s.trimmed();
}

TEST(HelpMenu, TheGuideNamesEveryMenuCommandAndShortcut) {
    Window t;
    t.openSample();
    ASSERT_TRUE(t.choose("help_guide"));
    QFile guide(t.opened.value(0).toLocalFile());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    QString html = QString::fromUtf8(guide.readAll());
    html.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">");
    int checked = 0;
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        EXPECT_TRUE(html.contains(plain(menu->title()))) << "menu " << plain(menu->title()).toStdString();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            if (a->menu()) {
                walk(a->menu());
                continue;
            }
            if (plain(a->text()).isEmpty()) continue;
            ++checked;
            EXPECT_TRUE(html.contains(plain(a->text()))) << "command " << plain(a->text()).toStdString();
            if (a->shortcut().isEmpty()) continue;
            EXPECT_TRUE(
                html.contains("<kbd>" + a->shortcut().toString(QKeySequence::PortableText) + "</kbd>"))
                << "shortcut " << a->shortcut().toString().toStdString() << " of "
                << plain(a->text()).toStdString();
        }
    };
    for (QAction* a : t.w->menuBar()->actions())
        if (a->menu()) walk(a->menu());
    EXPECT_GT(checked, 30);
    // The window's own keys and every tool of the panel.
    for (const char* key : {"<kbd>[</kbd>", "<kbd>]</kbd>", "<kbd>X</kbd>", "<kbd>\\</kbd>",
                            "<kbd>Space</kbd>", "<kbd>Esc</kbd>"})
        EXPECT_TRUE(html.contains(key)) << key;
    for (const char* tool : {"Paint", "Erase", "Solid colour", "Hand", "Colour region", "Invert the mask",
                             "Clear the mask", "Show the mask", "Vignette", "Look", "Tolerance"})
        EXPECT_TRUE(html.contains(tool)) << tool;
    for (QWidget* b : t.w->findChildren<ImageButton*>()) {
        const bool onTopBar = b->parentWidget() && b->parentWidget()->height() == EditorWindow::kTopBarHeight;
        if (!onTopBar || b->toolTip().isEmpty()) continue;
        EXPECT_TRUE(html.contains(b->toolTip())) << "top bar " << b->toolTip().toStdString();
    }
    // And every setting of the preferences window, by the name it has there.
    ASSERT_TRUE(t.choose("app_preferences"));
    QWidget* prefs = t.w->help()->preferencesWindow();
    ASSERT_TRUE(prefs);
    int settings = 0;
    for (QWidget* w : prefs->findChildren<QWidget*>()) {
        QString name;
        if (auto* label = qobject_cast<QLabel*>(w)) name = label->text();
        if (auto* box = qobject_cast<QCheckBox*>(w)) name = box->text();
        name = plain(name);
        if (name.endsWith(':')) name.chop(1);
        if (name.isEmpty()) continue;
        ++settings;
        EXPECT_TRUE(html.contains("<b>" + name + "</b>")) << "setting " << name.toStdString();
    }
    EXPECT_GE(settings, 10);
}

TEST(HelpMenu, AcknowledgementsListEveryLibraryTheProgramLoads) {
    Window t;
    ASSERT_TRUE(t.choose("help_acknowledgements"));
    QWidget* window = t.w->help()->acknowledgementsWindow();
    ASSERT_TRUE(window && window->isVisible());
    auto* browser = window->findChild<QTextBrowser*>("acknowledgements");
    ASSERT_TRUE(browser);
    const QString shown = browser->toPlainText();
    // What the program asks the loader for, read from the binary by binutils.
    QProcess readelf;
    readelf.start("readelf", {"-d", PIMAVO_PROGRAM});
    ASSERT_TRUE(readelf.waitForFinished(10000)) << readelf.errorString().toStdString();
    const QString dynamic = QString::fromLatin1(readelf.readAllStandardOutput());
    QRegularExpression needed(R"(\(NEEDED\).*\[(.+)\])");
    int count = 0;
    for (auto it = needed.globalMatch(dynamic); it.hasNext(); ++count) {
        const QString soname = it.next().captured(1);
        EXPECT_TRUE(shown.contains(soname)) << soname.toStdString();
    }
    EXPECT_GT(count, 8);
    // With the licences their packages state.
    for (const char* licence : {"LGPL-3", "Apache-2.0", "GPL-2"})
        EXPECT_TRUE(shown.contains(licence)) << licence;
    EXPECT_TRUE(shown.contains("ladybird.jpg"));
    window->close();
}

TEST(HelpMenu, AboutIsModalWithTheVersionAndWelcomeComesBackOnRequest) {
    Window t;
    ASSERT_TRUE(t.choose("app_about"));
    QWidget* about = t.w->help()->aboutWindow();
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), about);
    EXPECT_TRUE(about->grab().width() > 0);
    bool versionShown = false;
    for (QLabel* l : about->findChildren<QLabel*>()) versionShown |= l->text().contains(PIMAVO_VERSION);
    EXPECT_TRUE(versionShown);
    about->close();
    EXPECT_TRUE(waitUntil([&] { return !t.w->help()->aboutWindow(); }));

    // Turned off at start, the welcome comes back from the Help menu, and can be turned on there.
    t.settings.setShowWelcomeAtStart(false);
    ASSERT_TRUE(t.choose("help_start_screen"));
    ASSERT_TRUE(waitUntil(
        [&] { return t.w->help()->welcomeWindow() && t.w->help()->welcomeWindow()->isVisible(); }, 5000));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // the start screen stays usable
    auto* again = t.w->help()->welcomeWindow()->findChild<QCheckBox*>();
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->isChecked());
    again->click();
    EXPECT_TRUE(t.settings.showWelcomeAtStart());
    // The same choice in the preferences, open beside it: each box follows the other.
    ASSERT_TRUE(t.choose("app_preferences"));
    auto* inPreferences = t.w->help()->preferencesWindow()->findChild<QCheckBox*>("start/showWelcome");
    ASSERT_TRUE(inPreferences && inPreferences->isChecked());
    inPreferences->click();
    EXPECT_FALSE(again->isChecked());
    again->click();
    EXPECT_TRUE(inPreferences->isChecked());
    EXPECT_TRUE(t.settings.showWelcomeAtStart());
    t.w->help()->preferencesWindow()->close();
    t.w->help()->welcomeWindow()->close();
}

TEST(Preferences, WhatIsChosenThereIsWhatTheEditorDoes) {
    Window t;
    ASSERT_TRUE(t.choose("app_preferences")); // on the start screen too
    QWidget* prefs = t.w->help()->preferencesWindow();
    ASSERT_TRUE(prefs && prefs->isVisible());
    auto combo = [&](const char* name) { return prefs->findChild<QComboBox*>(name); };
    ASSERT_TRUE(combo("window/background") && combo("editing/defaultTreatment") && combo("save/type"));

    // The window's background, at once.
    combo("window/background")->setCurrentIndex(3);
    EXPECT_FALSE(t.w->backdrop()->areSideShadowsShown());
    // A newly opened photo starts in sepia: warm background pixels, and not a change to save.
    combo("editing/defaultTreatment")->setCurrentIndex(1);
    t.openSample();
    ASSERT_TRUE(t.w->drawingToolbar());
    EXPECT_EQ(t.w->drawingToolbar()->sepiaModeButton()->state(), 1);
    EXPECT_FALSE(t.w->isEdited());
    ASSERT_TRUE(waitUntil([&] { return !t.w->painterView()->model().isLookPending(); }, 30000));
    processPendingEvents();
    const QImage canvas = t.w->painterView()->grab().toImage();
    const QColor c = canvas.pixelColor(canvas.width() / 3, canvas.height() / 2);
    EXPECT_GT(c.red(), c.blue() + 8) << c.name().toStdString();

    // A pasted picture is saved as the chosen type at the chosen quality.
    const int png = combo("save/type")->findData("image/png");
    ASSERT_GE(png, 0);
    combo("save/type")->setCurrentIndex(png);
    prefs->findChild<QSpinBox*>("save/quality")->setValue(70);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QApplication::clipboard()->setImage(picture);
    const BitmapRef before = t.w->image();
    t.w->opening()->paste();
    ASSERT_TRUE(waitUntil([&] { return t.w->image() != before; }));
    QString proposedType;
    double proposedQuality = 0;
    t.w->services.savePanel = [&](const QString&, const QString&, QString& mimeType, double& quality) {
        proposedType = mimeType;
        proposedQuality = quality;
        return QString();
    };
    t.w->saving()->saveAs();
    EXPECT_EQ(proposedType, "image/png");
    EXPECT_DOUBLE_EQ(proposedQuality, 0.7);

    // The help videos' list from an address of the user's.
    auto* list = prefs->findChild<QLineEdit*>("help/videosUrl");
    ASSERT_TRUE(list);
    list->setText("https://mirror.example/videos.json");
    emit list->editingFinished();
    EXPECT_EQ(t.w->help()->helpVideosAddress(), QUrl("https://mirror.example/videos.json"));
    list->clear();
    emit list->editingFinished();
    EXPECT_EQ(t.w->help()->helpVideosAddress(), QUrl(QString("https://pimavo.org/help/videos.json")));

    prefs->close();
}

TEST(Preferences, ServiceKeysWaitUnderAdvancedAndAnEmptiedSecretIsGone) {
    Window t;
    t.settings.setServiceKey(Settings::ServiceKey::FlickrKey, "stored-key");
    t.settings.setServiceKey(Settings::ServiceKey::FlickrSecret, "stored-secret");
    ASSERT_TRUE(t.choose("app_preferences"));
    QWidget* prefs = t.w->help()->preferencesWindow();
    ASSERT_TRUE(prefs && QTest::qWaitForWindowExposed(prefs));
    auto* key = prefs->findChild<QLineEdit*>("sharing/flickrKey");
    auto* secret = prefs->findChild<QLineEdit*>("sharing/flickrSecret");
    ASSERT_TRUE(key && secret && prefs->findChild<QLineEdit*>("sharing/tumblrSecret"));
    EXPECT_NE(secret->echoMode(), QLineEdit::Normal);
    // Out of sight until asked for.
    EXPECT_FALSE(key->isVisible());
    auto* advanced = prefs->findChild<QToolButton*>("advanced");
    ASSERT_TRUE(advanced && advanced->isVisible());
    QTest::mouseClick(advanced, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return key->isVisible() && secret->isVisible(); }, 5000));

    // Typed, the key is kept trimmed.
    key->setFocus();
    key->selectAll();
    QTest::keyClicks(key, " 0123abcd ");
    QTest::keyClick(key, Qt::Key_Tab);
    EXPECT_EQ(t.settings.serviceKey(Settings::ServiceKey::FlickrKey), "0123abcd");

    // Emptied as a user does, then left by Tab or Return: gone from the settings.
    struct Case {
        const char* field;
        Qt::Key leave;
    } cases[] = {
        {"sharing/flickrSecret", Qt::Key_Tab},
        {"sharing/flickrKey", Qt::Key_Tab},
        // Return also closes the window, as its default button: last.
        {"sharing/tumblrSecret", Qt::Key_Return},
    };
    t.settings.setServiceKey(Settings::ServiceKey::TumblrSecret, "stored-tumblr-secret");
    const auto inFile = [&](const char* name) {
        return QSettings(t.settings.fileName(), QSettings::IniFormat).value(name).toString();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        auto* field = prefs->findChild<QLineEdit*>(c.field);
        if (field->text().isEmpty()) field->setText(inFile(c.field));
        ASSERT_FALSE(inFile(c.field).isEmpty());
        field->setFocus();
        ASSERT_TRUE(waitUntil([&] { return field->hasFocus(); }, 5000));
        field->end(false);
        for (int i = 0; i < 30; ++i) QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_TRUE(field->text().isEmpty());
        QTest::keyClick(field, c.leave);
        EXPECT_FALSE(QSettings(t.settings.fileName(), QSettings::IniFormat).contains(c.field))
            << inFile(c.field).toStdString();
    }
}

TEST(Window, PageSetupsPaperIsThePaperPrinted) {
    Window t;
    EXPECT_FALSE(t.choose("file_page_setup")); // nothing to print yet
    t.openSample();
    t.w->services.pageSetupDialog = [](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    ASSERT_TRUE(t.choose("file_page_setup"));
    const QString pdf = t.dir.filePath("printed.pdf");
    t.w->services.printDialog = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    t.w->print();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QRegularExpression box(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+))");
    const auto m = box.match(QString::fromLatin1(f.readAll()));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_GT(m.captured(1).toDouble(), m.captured(2).toDouble()); // wider than high
}

TEST(Window, HoldingTheCompareButtonShowsTheUntouchedPhoto) {
    Window t;
    t.openSample();
    CanvasView* canvas = t.w->painterView();
    ASSERT_TRUE(canvas);
    ASSERT_TRUE(waitUntil([&] { return !canvas->model().isLookPending(); }, 30000));
    processPendingEvents();
    // How far from grey the canvas is, on average.
    auto colourfulness = [&] {
        const QImage shot = canvas->grab().toImage();
        double sum = 0;
        int n = 0;
        for (int y = 0; y < shot.height(); y += 7)
            for (int x = 0; x < shot.width(); x += 7, ++n) sum += shot.pixelColor(x, y).hsvSaturation();
        return sum / n;
    };
    const double treated = colourfulness();
    ImageButton* hold = t.w->advancedCompareButton();
    ASSERT_TRUE(hold && hold->isEnabled() && hold->isVisible());
    const QPoint centre = hold->rect().center();
    QTest::mousePress(hold, Qt::LeftButton, {}, centre);
    processPendingEvents();
    const double held = colourfulness();
    EXPECT_GT(held, treated + 20) << treated << " " << held;
    QTest::mouseRelease(hold, Qt::LeftButton, {}, centre);
    processPendingEvents();
    EXPECT_NEAR(colourfulness(), treated, 2);
    EXPECT_FALSE(t.w->isEdited());
}

TEST(Window, AFrameTooLargeForTheScreenNowLeavesRoomForTheTitleBar) {
    QTemporaryDir dir;
    Settings settings(dir.filePath("prefs.ini"));
    EditSession session;
    // Saved on a larger screen, or at a smaller scale.
    settings.setWindowFrame(QRect(0, 0, 5000, 4000), false);
    EditorWindow w(&session, &settings);
    restoreFrame(w, settings);
    const QRect room = w.screen()->availableGeometry();
    EXPECT_GE(w.geometry().top(), room.top() + 30);
    EXPECT_LE(w.geometry().bottom(), room.bottom());
    EXPECT_TRUE(room.contains(w.geometry()));
}

} // namespace
} // namespace pimavo::test
