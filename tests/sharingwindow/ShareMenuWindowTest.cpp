// Sharing from the editing window: the share button and its pane, the Share menu, the sharing
// window over the canvas, and the picture mailed whole.
#include "SharingTestSupport.h"
#include "app/EditorWindow.h"
#include "app/WindowFixture.h"
#include "app/WindowSharing.h"
#include "core/MenuText.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "sharing/ChoicePopup.h"
#include "sharing/MailPage.h"
#include "sharing/ServicePage.h"
#include "widgets/ImageButton.h"
#include "widgets/OverlayDialog.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using W = sharing::ShareDialog;

struct Editor : WindowFixture {
    bool online = true;
    Editor() {
        w->services.exportFolder = dir.filePath("ImportPhotos");
        w->services.sharingExportFolder = dir.filePath("SharingPhotos");
        w->services.networkReachable = [this] { return online; };
    }
    void open() {
        WindowFixture::open(sample());
        ASSERT_TRUE(w->hasPhoto());
    }
    void clickShare() { QTest::mouseClick(w->shareButton(), Qt::LeftButton); }
    // Clicks the pane's row of a way out.
    void choose(sharing::SharingRoute route) {
        ASSERT_TRUE(w->sharing()->isPaneShown());
        const auto& routes = sharing::SharingPane::routes();
        const int row = int(std::find(routes.begin(), routes.end(), route) - routes.begin());
        PopupListCell* cell = w->sharing()->pane()->list()->cell(row);
        QTest::mouseClick(cell->parentWidget(), Qt::LeftButton, {}, cell->geometry().center());
        processPendingEvents(); // what the row opens comes on the next pass
    }
};

TEST(ShareMenuWindow, ShareButtonOpensThePaneOnlyWhenSharingCanWork) {
    FakeServices services;
    Editor e;
    EXPECT_FALSE(e.w->shareButton()->isEnabled()); // nothing to share on the start screen
    e.open();
    EXPECT_TRUE(e.w->shareButton()->isEnabled());
    // Offline: said so, and the button stays off.
    e.online = false;
    e.clickShare();
    EXPECT_EQ(e.alerts, QStringList{QString(
                            "You are not connected to the internet. Check your connection and try again.")});
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    EXPECT_EQ(e.w->shareButton()->state(), 0);
    // Online: the pane under the button, listing the ways out.
    e.online = true;
    e.clickShare();
    ASSERT_TRUE(e.w->sharing()->isPaneShown());
    EXPECT_EQ(e.w->shareButton()->state(), 1);
    QStringList rows;
    for (int r = 0; PopupListCell* c = e.w->sharing()->pane()->list()->cell(r); ++r) rows << c->text();
    EXPECT_EQ(rows, (QStringList{"Mail", "Flickr", "Tumblr", "Mastodon", "Facebook", "Print…"}));
    // Printing sits apart from the services, under a line; nothing is checked.
    for (int r = 0; r < int(rows.size()); ++r) {
        EXPECT_EQ(e.w->sharing()->pane()->list()->cell(r)->hasSeparator(), r == 4) << r;
        EXPECT_FALSE(e.w->sharing()->pane()->list()->cell(r)->isChecked()) << r;
    }
    const QRect list = e.w->sharing()->pane()->list()->listFrame();
    const QRect button(e.w->shareButton()->mapTo(e.w->contentView(), QPoint()), e.w->shareButton()->size());
    EXPECT_GE(list.top(), button.bottom());
    EXPECT_LE(list.left(), button.center().x());
    EXPECT_GE(list.right(), button.center().x());
    // Escape takes it away, as the share button pressed again does.
    QTest::keyClick(e.w.get(), Qt::Key_Escape);
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    EXPECT_EQ(e.w->shareButton()->state(), 0);
    e.clickShare();
    ASSERT_TRUE(e.w->sharing()->isPaneShown());
    // The share button pressed again, through the pane that covers the window: it closes.
    QTest::mouseClick(e.w->sharing()->pane()->list(), Qt::LeftButton, {}, button.center());
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    EXPECT_EQ(e.w->shareButton()->state(), 0);
    // Not outside painting.
    e.w->setTool(EditorWindow::Adjust);
    e.clickShare();
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    EXPECT_EQ(e.w->shareButton()->state(), 0);
}

TEST(ShareMenuWindow, SharingWindowCoversTheCanvasUntilItIsClosed) {
    FakeServices services;
    Editor e;
    e.open();
    e.clickShare();
    e.choose(sharing::SharingRoute::Flickr);
    W* window = e.w->sharing()->shareWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->currentPage()->sharingType(), W::Flickr);
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    EXPECT_FALSE(e.w->painterView()->isEnabled());
    EXPECT_TRUE(e.w->isDisabledInteraction());
    EXPECT_FALSE(e.w->validateUserInterfaceItem("file_share/Mail"));
    // The picture offered is the whole one.
    EXPECT_EQ(window->possibleResolutions().front(), QSize(2560, 1600));
    // The share button does nothing while the window is up.
    e.w->sharing()->buttonClicked();
    EXPECT_FALSE(e.w->sharing()->isPaneShown());
    // Resized, the window keeps the dialog in the middle.
    e.w->resize(1400, 900);
    ASSERT_TRUE(waitUntil([&] { return e.w->size() == QSize(1400, 900); }));
    processPendingEvents(); // laid out
    const QRect panel = e.w->sharing()->dialog()->dialogCenterView()->geometry();
    EXPECT_NEAR(panel.center().x(), e.w->contentView()->width() / 2, 1);
    EXPECT_EQ(window->size(), panel.size());
    // An upload leaves a copy that goes with the window.
    QTest::mouseClick(window->uploadButton(), Qt::LeftButton);
    ASSERT_EQ(services.last()->uploads.size(), 1u);
    const QString copy = services.last()->uploads[0].filePath;
    EXPECT_TRUE(QFileInfo::exists(copy));
    services.last()->uploading_ = false;
    emit services.last()->uploadFinished(QUrl());
    processPendingEvents();
    // The dialog's close button.
    QTest::mouseClick(e.w->sharing()->dialog()->closeButton(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return !e.w->sharing()->shareWindow(); }, 5000));
    EXPECT_FALSE(e.w->sharing()->dialog());
    EXPECT_TRUE(e.w->painterView()->isEnabled());
    EXPECT_FALSE(e.w->isDisabledInteraction());
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(e.w->validateUserInterfaceItem("file_share/Mail"));
    // Escape closes it too, from a field of the panel.
    e.w->action("file_share/Mastodon")->trigger();
    ASSERT_TRUE(waitUntil([&] { return e.w->sharing()->shareWindow() != nullptr; }, 5000));
    QTest::keyClick(e.w->sharing()->shareWindow()->currentPage()->findChild<QPlainTextEdit*>(),
                    Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !e.w->sharing()->shareWindow(); }, 5000));
    EXPECT_TRUE(e.w->painterView()->isEnabled());
}

TEST(ShareMenuWindow, EscapeClosesOnlyWhatIsOnTopAndAsksBeforeStoppingAnUpload) {
    FakeServices services;
    Editor e;
    e.open();
    QStringList asked;
    bool stop = false;
    const W::StopQuestion original = W::stopQuestion();
    W::stopQuestion() = [&](const QString& service) {
        asked << service;
        return stop;
    };
    e.w->action("file_share/Mastodon")->trigger();
    ASSERT_TRUE(waitUntil([&] { return e.w->sharing()->shareWindow() != nullptr; }, 5000));
    W* window = e.w->sharing()->shareWindow();
    QWidget* field = window->currentPage()->findChild<QPlainTextEdit*>();
    ASSERT_TRUE(field);

    // The size list open over the window: the first Escape closes the list alone.
    QTest::mouseClick(window->resolutionChoice()->button(), Qt::LeftButton);
    ASSERT_TRUE(window->resolutionChoice()->list());
    QTest::keyClick(e.w.get(), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !window->resolutionChoice()->list(); }, 5000));
    processPendingEvents(); // a close of the window would come on the next pass
    ASSERT_TRUE(e.w->sharing()->shareWindow());

    // During an upload: asked, and the answer holds.
    QTest::mouseClick(window->uploadButton(), Qt::LeftButton);
    FakeService* s = services.last();
    ASSERT_TRUE(s->isUploading());
    struct Case {
        bool stop;
        bool windowStays;
    } cases[] = {{false, true}, {true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stop ? "stop" : "keep posting");
        asked.clear();
        stop = c.stop;
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_EQ(asked, QStringList{"Mastodon"});
        // The service goes with the window: looked at before the window closes.
        EXPECT_EQ(s->isUploading(), c.windowStays);
        EXPECT_EQ(s->cancels, c.stop ? 1 : 0);
        if (c.windowStays) {
            processPendingEvents(); // a close would come on the next pass
            EXPECT_TRUE(e.w->sharing()->shareWindow());
        } else {
            EXPECT_TRUE(waitUntil([&] { return !e.w->sharing()->shareWindow(); }, 5000));
        }
    }
    EXPECT_TRUE(e.alerts.isEmpty());
    W::stopQuestion() = original;
}

// What the user typed for the picture survives closing the window, until it is posted or another
// photo is opened.
TEST(ShareMenuWindow, WhatWasTypedForThePictureStaysUntilPostedOrAnotherPhotoIsOpened) {
    FakeServices services;
    Editor e;
    e.open();
    const auto panel = [&]() -> sharing::ServicePage* {
        e.w->action("file_share/Mastodon")->trigger();
        if (!waitUntil([&] { return e.w->sharing()->shareWindow() != nullptr; }, 5000)) return nullptr;
        return qobject_cast<sharing::ServicePage*>(e.w->sharing()->shareWindow()->currentPage());
    };
    const auto close = [&] {
        QTest::mouseClick(e.w->sharing()->dialog()->closeButton(), Qt::LeftButton);
        EXPECT_TRUE(waitUntil([&] { return !e.w->sharing()->shareWindow(); }, 5000));
    };
    const auto type = [&](sharing::ServicePage* p) {
        p->altTextField()->clear();
        QTest::keyClicks(p->altTextField(), "A water drop");
        p->descriptionField()->clear();
        QTest::keyClicks(p->descriptionField(), "Rain");
    };

    auto* p = panel();
    ASSERT_TRUE(p && p->altTextField() && p->descriptionField());
    const QString defaultPost = p->descriptionField()->toPlainText();
    type(p);
    close();
    p = panel();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->altTextField()->text(), "A water drop");
    EXPECT_EQ(p->descriptionField()->toPlainText(), "Rain");
    // Posted: the next post starts afresh.
    QTest::mouseClick(e.w->sharing()->shareWindow()->uploadButton(), Qt::LeftButton);
    ASSERT_EQ(services.last()->uploads.size(), 1u);
    services.last()->uploading_ = false;
    emit services.last()->uploadFinished(QUrl());
    processPendingEvents();
    close();
    p = panel();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->altTextField()->text(), "");
    EXPECT_EQ(p->descriptionField()->toPlainText(), defaultPost);
    // Typed again, then another photo: its words were not written for this one.
    type(p);
    close();
    e.open();
    p = panel();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->altTextField()->text(), "");
    EXPECT_EQ(p->descriptionField()->toPlainText(), defaultPost);
    close();
}

TEST(ShareMenuWindow, ShareMenuHoldsEveryWayOutAndExportTo) {
    FakeServices services;
    Editor e;
    e.open();
    QMenu* share = nullptr;
    QStringList menus;
    for (QAction* a : e.w->menuBar()->actions()) {
        menus << titleFromMenuText(a->text());
        if (titleFromMenuText(a->text()) == "Share") share = a->menu();
    }
    ASSERT_TRUE(share);
    // Just before Help.
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[menus.size() - 2], "Share");
    QStringList items;
    for (QAction* a : share->actions()) items << (a->isSeparator() ? "-" : titleFromMenuText(a->text()));
    EXPECT_EQ(items, (QStringList{"Mail", "Flickr", "Tumblr", "Mastodon", "Facebook", "-", "Export To"}));
    // Export To lives here now, not in File.
    for (QAction* a : e.w->menuBar()->actions()) {
        if (!a->menu() || a->menu() == share) continue;
        for (QAction* item : a->menu()->actions()) {
            EXPECT_NE(titleFromMenuText(item->text()), "Export To");
        }
    }
    // An item opens the window on its tab.
    e.w->action("file_share/Tumblr")->trigger();
    EXPECT_TRUE(waitUntil([&] { return e.w->sharing()->shareWindow() != nullptr; }, 5000));
    EXPECT_EQ(e.w->sharing()->shareWindow()->currentPage()->sharingType(), W::Tumblr);
    EXPECT_FALSE(e.w->action("file_share/Flickr")->isEnabled());
}

TEST(ShareMenuWindow, PaneMailAttachesTheWholePictureAsAJpeg) {
    FakeServices services;
    QStringList handed;
    QSize sizeThen;
    bool mailWorks = true;
    auto saved = sharing::MailPage::composer();
    sharing::MailPage::composer() = [&](const QString& path, const QString&) {
        handed << path;
        sizeThen = vipsSize(path);
        return mailWorks ? sharing::MailResult{true, {}, {}, {}}
                         : sharing::MailResult{false, "Mail application not found", {}, {}};
    };
    {
        Editor e;
        e.open();
        e.clickShare();
        e.choose(sharing::SharingRoute::Mail);
        ASSERT_EQ(handed.size(), 1);
        EXPECT_EQ(QFileInfo(handed[0]).fileName(), "PimavoExportedImage.jpg");
        EXPECT_EQ(sizeThen, QSize(2560, 1600));
        EXPECT_EQ(exifTag(handed[0], "FileType"), "JPEG");
        EXPECT_TRUE(e.alerts.isEmpty());
        EXPECT_FALSE(e.w->sharing()->shareWindow());
        // Mail needs no network: the message waits in the mail client.
        e.online = false;
        mailWorks = false;
        e.w->action("file_share/Mail")->trigger();
        EXPECT_TRUE(waitUntil([&] { return handed.size() == 2; }, 5000));
        EXPECT_EQ(QFileInfo(handed[1]).fileName(), "PimavoExportedImage 2.jpg");
        EXPECT_EQ(
            e.alerts,
            QStringList{QString(
                "Mail application not found. Install a mail program, or attach the picture yourself.")});
        EXPECT_TRUE(QFileInfo::exists(handed[0]));
    }
    // Gone with the editor.
    EXPECT_FALSE(QFileInfo::exists(handed[0]));
    sharing::MailPage::composer() = saved;
}

} // namespace
} // namespace pimavo::test
