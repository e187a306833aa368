// The sharing window as the user drives it: tabs, what each service's panel says, the size list,
// upload with progress, cancel and failure, sign-in and sign-out, and the Mail tab.
#include "SharingTestSupport.h"
#include "Wait.h"
#include "core/Settings.h"
#include "imageio/ImageProperties.h"
#include "sharing/ChoicePopup.h"
#include "sharing/MailPage.h"
#include "sharing/ServicePage.h"
#include "widgets/ImageButton.h"
#include "widgets/OverlayDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace pimavo::test {
namespace {

using sharing::ServiceKind;
using sharing::ShareErrorKind;
using W = sharing::ShareDialog;

BitmapRef picture(QSize size) {
    auto b = std::make_shared<Bitmap>(size.width(), size.height(), PixelLayout{8, AlphaInfo::NoneSkipLast});
    auto bytes = b->bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::byte((i * 7 / 4) & 0xff);
    return b;
}

// The editing window as the sharing window sees it, with the window in its dialog.
struct Host : sharing::ShareDialogOwner {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    QWidget content;
    std::unique_ptr<OverlayDialog> dialog;
    QPointer<W> window;
    QStringList alerts, infos;
    bool online = true, fullScreen = false;
    int closes = 0, leftFullScreen = 0;

    explicit Host(int type, QSize size = {3000, 2000}, std::function<void(Settings&)> before = {}) {
        if (before) before(settings);
        content.resize(1000, 700);
        content.show();
        window = new W(type, picture(size), this, &settings);
        window->exportFolder = dir.filePath("SharingPhotos");
        dialog = std::make_unique<OverlayDialog>(OverlayDialog::WithCloseButton);
        dialog->setDialogSize(QSizeF(W::kWidth, W::kHeight));
        dialog->addSubview(window);
        dialog->showInView(&content);
        window->start();
    }
    ~Host() {
        delete window.data();
        dialog.reset();
    }
    const ImageProperties* sharedImageProperties() override { return sharedProperties; }
    // The metadata of the photo being shared, for the tests that give it one.
    static inline const ImageProperties* sharedProperties = nullptr;
    void sharingWindowWantsClose(W*) override { ++closes; }
    QWidget* sharingContentView() override { return &content; }
    bool connectedToNetwork() override { return online; }
    void showSharingAlert(const QString& m, const QString& i) override {
        alerts << m;
        infos << i;
    }
    bool isSharingInFullScreen() override { return fullScreen; }
    void leaveFullScreenForSharing() override { ++leftFullScreen; }

    sharing::ServicePage* panel() const { return qobject_cast<sharing::ServicePage*>(window->currentPage()); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // Opens the size list (or a panel's list) and clicks a row.
    void chooseRow(sharing::ChoicePopup* choice, int row) {
        click(choice->button());
        ASSERT_TRUE(choice->list());
        // The list shows the choice's rows, the one chosen so far checked.
        ASSERT_EQ(choice->list()->rowCount(), choice->rows().size());
        for (int r = 0; r < choice->list()->rowCount(); ++r) {
            EXPECT_EQ(choice->list()->cell(r)->text(), choice->rows()[r]);
            EXPECT_EQ(choice->list()->cell(r)->isChecked(), r == choice->selectedIndex()) << r;
        }
        PopupListCell* cell = choice->list()->cell(row);
        ASSERT_TRUE(cell);
        QTest::mouseClick(cell->parentWidget(), Qt::LeftButton, {}, cell->geometry().center());
        EXPECT_FALSE(choice->list());
    }
};

TEST(SharingWindow, TabsOpenOnePanelAtATime) {
    FakeServices services;
    Host h(W::Flickr);
    ASSERT_TRUE(h.panel());
    EXPECT_EQ(h.window->titleLabel()->text(), "Share to Flickr");
    EXPECT_EQ(h.window->tabButton(W::Flickr)->image(), "flickr_on");
    for (int other : {W::Mail, W::Tumblr, W::Mastodon, W::Facebook})
        EXPECT_TRUE(h.window->tabButton(other)->image().endsWith("_off"));
    // The open tab clicked again keeps its panel and its service.
    auto* flickr = h.panel();
    h.click(h.window->tabButton(W::Flickr));
    EXPECT_EQ(h.panel(), flickr);
    EXPECT_EQ(services.made.size(), 1u);
    // Another tab: the old panel goes before the new one comes.
    QPointer<QWidget> old = flickr;
    h.click(h.window->tabButton(W::Tumblr));
    EXPECT_TRUE(waitUntil([&] { return !old; }));
    ASSERT_TRUE(h.panel());
    EXPECT_EQ(h.panel()->kind(), ServiceKind::Tumblr);
    EXPECT_EQ(h.window->tabButton(W::Flickr)->image(), "flickr_off");
    EXPECT_EQ(h.window->titleLabel()->text(), "Share to Tumblr");
    // Mail has its own button instead of Upload, and no sign-in.
    h.click(h.window->tabButton(W::Mail));
    EXPECT_EQ(h.window->titleLabel()->text(), "Share with Mail");
    EXPECT_FALSE(h.window->uploadButton()->isVisible());
    EXPECT_FALSE(h.window->logOutButton()->isVisible());
    EXPECT_TRUE(h.window->cancelButton()->isVisible());
}

TEST(SharingWindow, PanelSaysWhatStandsBetweenTheUserAndTheUpload) {
    struct Case {
        const char* name;
        int type;
        std::function<void(FakeServices&, FakeService&)> setUp;
        QString status;      // the panel's first line
        QString note;        // the panel's second line, empty for none
        bool upload, logOut; // enabled / shown
        bool signInShown;
        QString uploadTitle;
    };
    const QString signedIn = QString("You are signed in as ana");
    const Case cases[] = {
        {"no service in this build", W::Flickr, [](FakeServices& s, FakeService&) { s.none = true; },
         "Flickr is not available in this build of Pimavo.", "", false, false, false, "Upload"},
        {"keys missing", W::Tumblr,
         [](FakeServices&, FakeService& f) { f.problem_ = "Add the Tumblr keys."; }, "Add the Tumblr keys.",
         "", false, false, false, "Upload"},
        {"credentials still being read", W::Flickr, [](FakeServices&, FakeService& f) { f.ready_ = false; },
         QString("Checking the sign-in…"), "", false, false, false, "Upload"},
        {"signed out", W::Mastodon, [](FakeServices&, FakeService& f) { f.signedIn_ = false; },
         "You are not signed in to Mastodon.", "", false, false, true, "Upload"},
        {"signed in", W::Flickr, [](FakeServices&, FakeService&) {}, signedIn, "", true, true, false,
         "Upload"},
        {"no account name", W::Flickr, [](FakeServices&, FakeService& f) { f.account_.clear(); },
         QString("You are signed in"), "", true, true, false, "Upload"},
        {"session-only sign-in", W::Tumblr, [](FakeServices&, FakeService& f) { f.temporary_ = true; },
         signedIn,
         QString("The sign-in could not be kept in a keyring: you stay signed in until Pimavo quits."), true,
         true, false, "Upload"},
        {"hand-over service", W::Facebook,
         [](FakeServices&, FakeService& f) {
             f.direct_ = false;
             f.signedIn_ = false; // nothing to sign in to
             f.note_ = "Drag the picture into the page.";
         },
         QString("Post the picture on Facebook from its own page."), "Drag the picture into the page.", true,
         false, false, "Export"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices services;
        services.setUp = [&](FakeService& f) { c.setUp(services, f); };
        if (c.setUp) {
            FakeService probe(ServiceKind::Flickr);
            c.setUp(services, probe); // sets `none` where the case wants it
        }
        Host h(c.type);
        ASSERT_TRUE(h.panel());
        EXPECT_EQ(h.panel()->statusText(), c.status);
        auto* note = h.panel()->findChild<QLabel*>("noteLabel");
        EXPECT_EQ(note->isVisible() ? note->text() : QString(), c.note);
        EXPECT_TRUE(h.window->uploadButton()->isVisible());
        EXPECT_EQ(h.window->uploadButton()->isEnabled(), c.upload);
        EXPECT_EQ(h.window->uploadButton()->text(), c.uploadTitle);
        EXPECT_EQ(h.window->logOutButton()->isVisible(), c.logOut);
        EXPECT_EQ(h.panel()->signInButton()->isVisible(), c.signInShown);
        // A click on a disabled Upload sends nothing.
        if (!c.upload) {
            h.click(h.window->uploadButton());
            if (services.last()) {
                EXPECT_TRUE(services.last()->uploads.empty());
            }
        }
    }
}

TEST(SharingWindow, SizeListChoosesTheSizeOfTheUploadedFile) {
    FakeServices services;
    // A size chosen in an earlier window is forgotten: every window starts at the picture's own.
    Host h(W::Flickr, {3000, 2000});
    const QStringList keysBefore = QSettings(h.settings.fileName(), QSettings::IniFormat).allKeys();
    auto* size = h.window->resolutionChoice();
    EXPECT_TRUE(size->button()->text().startsWith("3000 x 2000"));
    EXPECT_EQ(size->rows(), (QStringList{"3000 x 2000", "1600 x 1066", "1280 x 853", "1024 x 682",
                                         "800 x 533", "640 x 426"}));
    h.click(size->button());
    EXPECT_FALSE(h.window->uploadButton()->isEnabled()); // not while the size is being chosen
    h.click(size->button());
    EXPECT_TRUE(h.window->uploadButton()->isEnabled());
    h.chooseRow(size, 3);
    EXPECT_TRUE(size->button()->text().startsWith("1024 x 682"));
    EXPECT_EQ(QSettings(h.settings.fileName(), QSettings::IniFormat).allKeys(), keysBefore)
        << "the size is not kept for the next window";
    h.click(h.window->uploadButton());
    ASSERT_EQ(services.last()->uploads.size(), 1u);
    const QString file = services.last()->uploads[0].filePath;
    EXPECT_EQ(vipsSize(file), QSize(1024, 682));
    EXPECT_TRUE(file.endsWith(".jpg"));
    EXPECT_EQ(QFileInfo(file).absolutePath(), h.dir.filePath("SharingPhotos"));
}

TEST(SharingWindow, ServiceLimitWinsOverTheChosenSize) {
    FakeServices services;
    services.setUp = [](FakeService& f) { f.maxSide_ = 800; };
    Host h(W::Mastodon, {1200, 3000});
    h.click(h.window->uploadButton());
    ASSERT_EQ(services.last()->uploads.size(), 1u);
    EXPECT_EQ(vipsSize(services.last()->uploads[0].filePath), QSize(320, 800));
}

TEST(SharingWindow, FitsASmallWindowDownToWhatItsFieldsNeed) {
    struct Case {
        QSize room, size;
    } cases[] = {
        {{1200, 800}, {W::kWidth, W::kHeight}},
        {{700, 420}, {W::kWidth, 400}},
        {{300, 200}, {420, 380}},
    };
    for (const Case& c : cases) EXPECT_EQ(W::sizeInView(c.room), c.size);
}

TEST(SharingWindow, SmallPictureOffersOnlyItsOwnSize) {
    FakeServices services;
    Host h(W::Flickr, {600, 400});
    EXPECT_EQ(h.window->resolutionChoice()->rows(), QStringList{"600 x 400"});
    EXPECT_FALSE(h.window->resolutionChoice()->button()->isEnabled());
}

TEST(SharingWindow, ProgressShowsThePercentageAndCancelEndsTheUploadQuietly) {
    FakeServices services;
    Host h(W::Tumblr);
    h.click(h.window->uploadButton());
    FakeService* s = services.last();
    ASSERT_EQ(s->uploads.size(), 1u);
    auto* progress = h.window->uploadProgress();
    ASSERT_TRUE(progress);
    EXPECT_TRUE(h.window->progressDialog()->isShown());
    EXPECT_EQ(progress->percentText(), "0 %");
    EXPECT_EQ(progress->titleLabel()->text(), "Uploading to Tumblr…");
    EXPECT_FALSE(h.window->uploadButton()->isEnabled());
    emit s->uploadProgress(50, 200);
    EXPECT_EQ(progress->percentText(), "25 %");
    EXPECT_EQ(progress->progressBar()->value(), 25);
    // All of it handed to the network: the server's side takes a time nobody can tell.
    for (const auto& [sent, total] : {std::pair{200, 200}, std::pair{999, 200}}) { // headers counted too
        emit s->uploadProgress(sent, total);
        EXPECT_EQ(progress->progressBar()->maximum(), 0);
        EXPECT_EQ(progress->percentText(), "");
        EXPECT_EQ(progress->titleLabel()->text(), "Waiting for Tumblr to answer…");
    }
    h.click(progress->cancelButton());
    EXPECT_EQ(s->cancels, 1);
    EXPECT_TRUE(waitUntil([&] { return !h.window->progressDialog(); }, 5000));
    EXPECT_TRUE(h.alerts.isEmpty());
    EXPECT_TRUE(h.window->uploadButton()->isEnabled());
}

TEST(SharingWindow, UploadEndsAsTheServiceSays) {
    struct Case {
        const char* name;
        std::function<void(FakeService&)> end;
        QString alert, info;
    } cases[] = {
        {"posted",
         [](FakeService& s) {
             s.uploading_ = false;
             emit s.uploadFinished(QUrl("https://x.example/p/1"));
         },
         QString("The picture was posted."), "https://x.example/p/1"},
        // Everything was sent, then the service said no: that is a failure.
        {"failed after all was sent",
         [](FakeService& s) {
             emit s.uploadProgress(100, 100);
             s.uploading_ = false;
             emit s.failed({ShareErrorKind::Server, "Flickr is down for maintenance.", 503, 0, {}});
         },
         "The picture was not posted to Flickr. " +
             QString("Flickr has a problem of its own right now. Please try again later."),
         "Flickr is down for maintenance."},
        {"failed without a sentence",
         [](FakeService& s) {
             s.uploading_ = false;
             emit s.failed({ShareErrorKind::TooLarge, "", 413, 0, {}});
         },
         "The picture was not posted to Flickr. " +
             QString("The picture is too large for Flickr. Choose a smaller size and try again."),
         "HTTP 413"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices services;
        Host h(W::Flickr);
        h.click(h.window->uploadButton());
        ASSERT_TRUE(h.window->progressDialog());
        c.end(*services.last());
        EXPECT_EQ(h.alerts, QStringList{c.alert});
        EXPECT_EQ(h.infos, QStringList{c.info});
        EXPECT_TRUE(waitUntil([&] { return !h.window->progressDialog(); }, 5000));
        EXPECT_TRUE(h.window->uploadButton()->isEnabled());
    }
}

TEST(SharingWindow, EveryFailureHasAMessageOfItsOwn) {
    std::set<QString> seen;
    for (ShareErrorKind kind :
         {ShareErrorKind::Offline, ShareErrorKind::NotConfigured, ShareErrorKind::NotSignedIn,
          ShareErrorKind::SignInDenied, ShareErrorKind::TokenExpired, ShareErrorKind::Forbidden,
          ShareErrorKind::TooLarge, ShareErrorKind::RateLimited, ShareErrorKind::Server,
          ShareErrorKind::Connection, ShareErrorKind::Protocol, ShareErrorKind::Cancelled}) {
        const QString m = sharing::ServicePage::messageForError({kind, "", 0, 0, {}}, ServiceKind::Flickr);
        EXPECT_FALSE(m.isEmpty());
        EXPECT_FALSE(m.startsWith("kShare")) << m.toStdString(); // a key with no text
        EXPECT_TRUE(seen.insert(m).second) << m.toStdString();
    }
    using P = sharing::ServicePage;
    EXPECT_TRUE(P::messageForError({ShareErrorKind::RateLimited, "", 429, 30, {}}, ServiceKind::Flickr)
                    .contains("30 seconds"));
    EXPECT_TRUE(P::messageForError({ShareErrorKind::RateLimited, "", 429, 600, {}}, ServiceKind::Flickr)
                    .contains("10 minutes"));
    EXPECT_TRUE(P::messageForError({}, ServiceKind::Flickr).isEmpty());
}

TEST(SharingWindow, SigningInAndOut) {
    FakeServices services;
    services.setUp = [](FakeService& f) {
        f.signedIn_ = false;
        f.destinations_ = {{"b1", "Ana’s blog"}, {"b2", "Ladybirds"}};
    };
    Host h(W::Tumblr);
    FakeService* s = services.last();
    auto* panel = h.panel();
    h.click(panel->signInButton());
    EXPECT_EQ(s->signIns, 1);
    EXPECT_FALSE(panel->signInButton()->isEnabled()); // waiting for the browser
    h.click(panel->signInButton());
    EXPECT_EQ(s->signIns, 1);
    // The browser step was refused: said, and the button is back.
    emit s->failed({ShareErrorKind::SignInDenied, "", 0, 0, {}});
    EXPECT_EQ(h.alerts, QStringList{QString("Signing in to Tumblr did not complete. Please try again.")});
    EXPECT_TRUE(panel->signInButton()->isEnabled());
    h.click(panel->signInButton());
    s->signedIn_ = true;
    emit s->signedInChanged();
    EXPECT_FALSE(panel->signInButton()->isVisible());
    EXPECT_GE(s->fetches, 1);
    EXPECT_TRUE(panel->destinationButton()->button()->text().startsWith("Ana’s blog"));
    EXPECT_TRUE(h.window->uploadButton()->isEnabled());
    EXPECT_TRUE(h.window->logOutButton()->isVisible());
    // Signing out forgets the account and closes the window.
    h.click(h.window->logOutButton());
    EXPECT_EQ(s->signOuts, 1);
    EXPECT_EQ(h.closes, 1);
}

TEST(SharingWindow, ServerAddressIsCheckedBeforeSigningIn) {
    struct Case {
        QString typed;
        bool signsIn;
        QString server;
    } cases[] = {
        {"", false, ""},
        {"http://social.example", false, ""}, // a password never goes over plain HTTP
        {"not a server", false, ""},
        {"social.example", true, "https://social.example"},
        {"https://social.example/", true, "https://social.example/"},
        {"http://127.0.0.1:8080", true, "http://127.0.0.1:8080"}, // a server on this machine
        {"http://localhost.example", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        FakeServices services;
        services.setUp = [](FakeService& f) {
            f.signedIn_ = false;
            f.needsServer_ = true;
        };
        Host h(W::Mastodon);
        ASSERT_TRUE(h.panel()->serverField()->isVisible());
        h.panel()->serverField()->setText(c.typed);
        h.click(h.panel()->signInButton());
        EXPECT_EQ(services.last()->signIns, c.signsIn ? 1 : 0);
        EXPECT_EQ(h.alerts.size(), c.signsIn ? 0 : 1);
        EXPECT_EQ(services.last()->server_.toString(), c.server);
    }
}

TEST(SharingWindow, UploadCarriesWhatThePanelSays) {
    FakeServices services;
    services.setUp = [](FakeService& f) {
        f.visibilities_ = {{"private", "Only Me"}, {"friends", "Me & Friends"}, {"public", "Anyone"}};
    };
    Host h(W::Flickr);
    auto* panel = h.panel();
    panel->titleField()->setText("  Ladybird  ");
    panel->descriptionField()->setPlainText("On a leaf");
    panel->tagsField()->setText("red, insect \"spring garden\" red");
    h.chooseRow(panel->visibilityButton(), 2);
    h.click(h.window->uploadButton());
    ASSERT_EQ(services.last()->uploads.size(), 1u);
    const auto& r = services.last()->uploads[0];
    EXPECT_EQ(r.title, "Ladybird");
    EXPECT_EQ(r.description, "On a leaf");
    EXPECT_EQ(r.tags, (QStringList{"red", "insect", "spring garden"}));
    EXPECT_EQ(r.visibility, "public");
    // The visibility is kept for the next window.
    EXPECT_EQ(h.settings.shareChoice(Settings::ShareChoice::FlickrVisibility), 2);
}

TEST(SharingWindow, NoNetworkKeepsTheServiceTabsClosedButNotMail) {
    FakeServices services;
    Host h(W::Mail);
    h.online = false;
    h.click(h.window->tabButton(W::Flickr));
    EXPECT_EQ(h.alerts, QStringList{QString(
                            "You are not connected to the internet. Check your connection and try again.")});
    EXPECT_TRUE(services.made.empty());
    EXPECT_EQ(h.window->currentPage()->sharingType(), W::Mail);
}

TEST(SharingWindow, MailTabAttachesAJpegAtTheChosenSizeThatOutlivesTheMessage) {
    FakeServices services;
    QStringList handed;
    QSize sizeThen;
    bool mailWorks = true;
    auto saved = sharing::MailPage::composer();
    sharing::MailPage::composer() = [&](const QString& path, const QString& subject) {
        handed << path;
        sizeThen = vipsSize(path); // the file is whole when the mail client is told of it
        EXPECT_EQ(subject, QString("A picture made with Pimavo"));
        return mailWorks ? sharing::MailResult{true, {}, {}, {}}
                         : sharing::MailResult{false, "Mail application not found", {}, {}};
    };
    QString folder;
    const QString kept = QDir::homePath() + "/Pictures/Pimavo for Mail.jpg";
    QFile::remove(kept);
    {
        Host h(W::Mail, {2560, 1600});
        h.fullScreen = true;
        folder = h.window->exportFolder;
        h.chooseRow(h.window->resolutionChoice(), 4); // 800 x 500
        auto* mail = qobject_cast<sharing::MailPage*>(h.window->currentPage());
        ASSERT_TRUE(mail);
        h.click(mail->sendButton());
        EXPECT_TRUE(waitUntil([&] { return handed.size() == 1; }, 5000));
        ASSERT_EQ(handed.size(), 1);
        EXPECT_TRUE(handed[0].endsWith(".jpg"));
        EXPECT_EQ(sizeThen, QSize(800, 500));
        EXPECT_TRUE(h.alerts.isEmpty());
        EXPECT_EQ(h.leftFullScreen, 1); // the mail client comes forward
        // No mail client: said so, in the user's words.
        mailWorks = false;
        h.click(mail->sendButton());
        EXPECT_TRUE(waitUntil([&] { return handed.size() == 2; }, 5000));
        EXPECT_EQ(
            h.alerts,
            QStringList{QString(
                "Mail application not found. Install a mail program, or attach the picture yourself.")});
        // ... and where the picture is kept for the user to attach by hand.
        ASSERT_EQ(h.infos.size(), 1);
        EXPECT_TRUE(h.infos[0].contains(kept)) << h.infos[0].toStdString();
        // The copies stay while the window is up: the mail client may read them at any time.
        processPendingEvents();
        EXPECT_TRUE(QFileInfo::exists(handed[0]));
    }
    EXPECT_FALSE(QFileInfo::exists(handed[0]));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(vipsSize(kept), QSize(800, 500));
    sharing::MailPage::composer() = saved;
}

// The program's own Facebook service, which takes nothing directly: the tab needs no sign-in, and
// Export writes the copy, shows its folder and opens the site.
TEST(SharingWindow, TheFacebookTabHandsThePictureOverWithoutSigningIn) {
    struct Case {
        const char* name;
        bool browserOpens;
    };
    for (const Case& c : {Case{"a browser opens the page", true}, Case{"no browser", false}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
        qputenv("PIMAVO_FACEBOOK_URL", "https://share.example/");
        QList<QUrl> opened;
        auto savedOpener = sharing::ServicePage::opener();
        sharing::ServicePage::opener() = [&](const QUrl& url) {
            opened << url;
            return c.browserOpens || url.isLocalFile();
        };
        const QString kept = home.filePath("Pictures/Pimavo for Facebook.jpg");
        {
            Host h(W::Facebook, {1200, 800});
            ASSERT_TRUE(h.panel());
            EXPECT_FALSE(h.panel()->signInButton()->isVisible());
            EXPECT_FALSE(h.window->logOutButton()->isVisible());
            ASSERT_TRUE(h.window->uploadButton()->isEnabled());
            EXPECT_EQ(h.window->uploadButton()->text(), QString("Export"));
            h.click(h.window->uploadButton());
            EXPECT_EQ(h.alerts, QStringList{"The picture is ready for Facebook."});
            ASSERT_EQ(h.infos.size(), 1);
            EXPECT_TRUE(h.infos.first().contains(kept)) << h.infos.first().toStdString();
            // The page is named to the user when it could not be opened for them.
            EXPECT_EQ(h.infos.first().contains("https://share.example/"), !c.browserOpens);
            EXPECT_EQ(vipsSize(kept), QSize(1200, 800));
            EXPECT_TRUE(opened.contains(QUrl("https://share.example/")));
            // A second hand-over keeps the first copy.
            h.click(h.window->uploadButton());
            EXPECT_TRUE(QFileInfo::exists(home.filePath("Pictures/Pimavo for Facebook 2.jpg")));
        }
        // The user posts it later, from the page: the copy outlives the sharing window.
        EXPECT_TRUE(QFileInfo(kept).isFile());
        sharing::ServicePage::opener() = savedOpener;
        qunsetenv("PIMAVO_FACEBOOK_URL");
        qputenv("HOME", oldHome);
        oldConfig.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
    }
}

// Where the photo was taken leaves with a shared copy only when the user says so; the rest of its
// metadata goes either way.
TEST(SharingWindow, TheLocationGoesOnlyWhenTheUserIncludesIt) {
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.jpg");
    QFile::copy(PIMAVO_SAMPLE_PHOTO, photo);
    QFile(photo).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(QProcess::execute("exiftool", {"-q", "-overwrite_original", "-Make=Pimavo Optics",
                                             "-GPSLatitude=48.85", "-GPSLatitudeRef=N", "-GPSLongitude=2.35",
                                             "-GPSLongitudeRef=E", "-XMP-exif:GPSLatitude=48.85", photo}),
              0);
    const ImageProperties withPlace = ImageProperties::readFromFile(photo.toStdString());
    ASSERT_TRUE(withPlace.hasLocation());
    QString handed;
    auto saved = sharing::MailPage::composer();
    sharing::MailPage::composer() = [&](const QString& path, const QString&) {
        handed = path;
        return sharing::MailResult{true, {}, {}, {}};
    };
    struct Case {
        const char* name;
        bool include;
    };
    for (const Case& c : {Case{"left out, as it starts", false}, Case{"included", true}}) {
        SCOPED_TRACE(c.name);
        Host::sharedProperties = &withPlace;
        Host h(W::Mail, {1200, 800}, [&](Settings& d) { d.setShareIncludesLocation(false); });
        QCheckBox* box = h.window->locationCheckBox();
        ASSERT_TRUE(box && !box->isHidden());
        EXPECT_FALSE(box->isChecked());
        if (c.include) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        EXPECT_EQ(box->isChecked(), c.include);
        EXPECT_EQ(h.settings.shareIncludesLocation(), c.include) << "the choice is kept";
        auto* mail = qobject_cast<sharing::MailPage*>(h.window->currentPage());
        ASSERT_TRUE(mail);
        handed.clear();
        h.click(mail->sendButton());
        ASSERT_TRUE(waitUntil([&] { return !handed.isEmpty(); }, 5000));
        EXPECT_EQ(exifTag(handed, "Make"), "Pimavo Optics");
        EXPECT_EQ(exifTag(handed, "GPSLatitude").isEmpty(), !c.include)
            << exifTag(handed, "GPSLatitude").toStdString();
        EXPECT_EQ(exifTag(handed, "XMP-exif:GPSLatitude").isEmpty(), !c.include);
    }
    // A photo that does not say where it was taken offers nothing to leave out.
    Host::sharedProperties = nullptr;
    {
        Host h(W::Mail, {1200, 800});
        EXPECT_TRUE(h.window->locationCheckBox()->isHidden());
    }
    sharing::MailPage::composer() = saved;
}

} // namespace
} // namespace pimavo::test
