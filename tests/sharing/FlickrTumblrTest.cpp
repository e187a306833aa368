// Flickr and Tumblr against their fakes: signing in through the browser, uploads as the services
// take them, and what happens when a token is no longer accepted.
#include "FakeServices.h"
#include "SharingFixture.h"
#include "SharingTestSupport.h"
#include "sharing/services/FacebookService.h"

#include <QJsonArray>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

class FlickrTest : public SharingTest {
protected:
    void SetUp() override {
        SharingTest::SetUp();
        qputenv("PIMAVO_FLICKR_URL", fake.server.base().toEncoded());
    }
    FakeFlickr fake;
};

TEST_F(FlickrTest, SignsInAndUploadsWithTheChosenVisibility) {
    auto service = createPhotoService(ServiceKind::Flickr);
    Recorder events(*service);
    ASSERT_TRUE(signIn(*service, events));
    EXPECT_EQ(service->accountName(), "painter");
    EXPECT_EQ(service->maxPixelSide(), 2048);

    struct Case {
        QString visibility;
        const char *isPublic, *isFriend, *isFamily;
    };
    const Case cases[] = {{"", "0", "0", "0"},
                          {"private", "0", "0", "0"},
                          {"friends", "0", "1", "0"},
                          {"family", "0", "0", "1"},
                          {"public", "1", "0", "0"}};
    const QString photo = makeJpeg(300, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visibility.toStdString());
        const std::size_t before = fake.uploads.size();
        events.progress.clear();
        UploadRequest request{photo,
                              "Red poppy",
                              "In a grey field — “quotes” & more, 100% + ünïcode",
                              "",
                              {"poppy", "red field"},
                              c.visibility,
                              ""};
        service->upload(request);
        ASSERT_TRUE(events.waitForEnd());
        ASSERT_TRUE(events.errors.empty()) << events.errors.back().message.toStdString();
        ASSERT_EQ(fake.uploads.size(), before + 1);
        const auto& up = fake.uploads.back();
        EXPECT_EQ(up.fields.value("is_public"), c.isPublic);
        EXPECT_EQ(up.fields.value("is_friend"), c.isFriend);
        EXPECT_EQ(up.fields.value("is_family"), c.isFamily);
        EXPECT_EQ(up.fields.value("title"), "Red poppy");
        EXPECT_EQ(up.fields.value("description"), "In a grey field — “quotes” & more, 100% + ünïcode");
        EXPECT_EQ(up.fields.value("tags"), "poppy \"red field\"");
        QFile file(photo);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(up.photo, file.readAll());
        EXPECT_EQ(events.finished.back().path(),
                  QString("/photos/12345@N01/%1").arg(52000000000LL + qint64(fake.uploads.size())));
        ASSERT_FALSE(events.progress.empty());
        EXPECT_EQ(events.progress.back().first, events.progress.back().second);
        EXPECT_FALSE(service->isUploading());
    }
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(FlickrTest, ARevokedTokenIsDroppedWhenCheckedAndRefusedOnUpload) {
    auto service = createPhotoService(ServiceKind::Flickr);
    Recorder events(*service);
    ASSERT_TRUE(signIn(*service, events));
    fake.tokenRevoked = true;

    // The next start checks the stored sign-in with flickr.test.login and forgets it.
    auto again = createPhotoService(ServiceKind::Flickr);
    Recorder later(*again);
    ASSERT_TRUE(spinUntil([&] { return later.ready; }));
    ASSERT_TRUE(spinUntil([&] { return later.signedInChanges > 0; }));
    EXPECT_FALSE(again->isSignedIn());
    EXPECT_TRUE(again->accountName().isEmpty());

    service->upload({makeJpeg(64, 64), "t", "", "", {}, "", ""});
    ASSERT_TRUE(events.waitForEnd());
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].kind, ShareErrorKind::TokenExpired);
    EXPECT_FALSE(events.errors[0].message.isEmpty());
    EXPECT_FALSE(service->isSignedIn());
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(FlickrTest, SignInFailsWhenDeclinedUnansweredUnreachableOrWithoutKeys) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        ShareErrorKind expected;
    };
    const Case cases[] = {
        {"declined", [&] { fake.userApproves = false; }, ShareErrorKind::SignInDenied},
        {"no answer",
         [] {
             qputenv("BROWSER", "true");
             BrowserSignIn::setTimeout(std::chrono::milliseconds(300));
         },
         ShareErrorKind::SignInDenied},
        {"nothing listening", [] { qputenv("PIMAVO_FLICKR_URL", "http://127.0.0.1:1"); },
         ShareErrorKind::Offline},
        {"no keys",
         [] {
             qunsetenv("PIMAVO_FLICKR_KEY");
             qunsetenv("PIMAVO_FLICKR_SECRET");
         },
         ShareErrorKind::NotConfigured},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.arrange();
        auto service = createPhotoService(ServiceKind::Flickr);
        Recorder events(*service);
        ASSERT_TRUE(spinUntil([&] { return events.ready; }));
        service->signIn();
        ASSERT_TRUE(events.waitForEnd());
        ASSERT_EQ(events.errors.size(), 1u);
        EXPECT_EQ(events.errors[0].kind, c.expected);
        EXPECT_FALSE(service->isSignedIn());
        if (c.expected == ShareErrorKind::NotConfigured) {
            EXPECT_TRUE(service->setupProblem().contains("PIMAVO_FLICKR_KEY"));
            EXPECT_EQ(events.errors[0].message, service->setupProblem());
        }
    }
}

class TumblrTest : public SharingTest {
protected:
    void SetUp() override {
        SharingTest::SetUp();
        qputenv("PIMAVO_TUMBLR_URL", fake.server.base().toEncoded());
    }
    FakeTumblr fake;
};

TEST_F(TumblrTest, SignsInListsBlogsAndPostsInTheNeuePostFormat) {
    auto service = createPhotoService(ServiceKind::Tumblr);
    Recorder events(*service);
    ASSERT_TRUE(signIn(*service, events));
    EXPECT_EQ(service->accountName(), "painter");
    const std::vector<ShareDestination> expected{{"painter", "Painter's Blog"}, {"sketches", "Sketches"}};
    EXPECT_EQ(service->destinations(), expected);

    const QString photo = makeJpeg(320, 240);
    service->upload({photo,
                     "Poppies",
                     "Red on grey",
                     "A red poppy in a grey field",
                     {"poppy", "bw"},
                     "private",
                     "sketches"});
    ASSERT_TRUE(events.waitForEnd());
    ASSERT_TRUE(events.errors.empty()) << events.errors.back().message.toStdString();
    ASSERT_EQ(fake.posts.size(), 1u);
    const auto& post = fake.posts[0];
    EXPECT_EQ(post.blog, "sketches");
    const QJsonArray content = post.json.value("content").toArray();
    ASSERT_EQ(content.size(), 3);
    EXPECT_EQ(content[0].toObject().value("text").toString(), "Poppies");
    EXPECT_EQ(content[1].toObject().value("type").toString(), "image");
    EXPECT_EQ(content[1].toObject().value("alt_text").toString(), "A red poppy in a grey field");
    EXPECT_EQ(content[2].toObject().value("type").toString(), "text");
    EXPECT_EQ(content[2].toObject().value("text").toString(), "Red on grey");
    EXPECT_EQ(post.json.value("tags").toString(), "poppy,bw");
    EXPECT_EQ(post.json.value("state").toString(), "private");
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(post.photo, file.readAll());
    ASSERT_EQ(events.finished.size(), 1u);
    EXPECT_EQ(events.finished[0].path(), "/sketches/7654321");
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(TumblrTest, AnExpiredTokenIsRefreshedAndARefusedRefreshAsksForSignInAgain) {
    auto service = createPhotoService(ServiceKind::Tumblr);
    Recorder events(*service);
    ASSERT_TRUE(signIn(*service, events));
    const QString photo = makeJpeg(100, 80);

    fake.expireAccessToken();
    service->upload({photo, "", "first", "", {}, "", ""});
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(fake.refreshes, 1);
    ASSERT_EQ(fake.posts.size(), 1u);
    EXPECT_EQ(fake.posts[0].blog, "painter"); // the primary blog when none is chosen

    fake.expireAccessToken();
    fake.revokeRefreshToken();
    service->upload({photo, "", "second", "", {}, "", ""});
    ASSERT_TRUE(events.waitForEnd());
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].kind, ShareErrorKind::TokenExpired);
    EXPECT_FALSE(service->isSignedIn());
    EXPECT_EQ(fake.posts.size(), 1u);
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(TumblrTest, AnAnswerWithAnotherStateIsRefusedBeforeAnyTokenIsAskedFor) {
    fake.oauth.tamperState = true;
    auto service = createPhotoService(ServiceKind::Tumblr);
    Recorder events(*service);
    EXPECT_FALSE(signIn(*service, events));
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].kind, ShareErrorKind::SignInDenied);
    EXPECT_EQ(fake.server.count("/v2/oauth2/token"), 0);
}

TEST(FacebookTest, HandsThePictureOverInsteadOfUploading) {
    qputenv("PIMAVO_FACEBOOK_URL", "http://127.0.0.1:9/");
    auto service = createPhotoService(ServiceKind::Facebook);
    Recorder events(*service);
    EXPECT_FALSE(service->uploadsDirectly());
    EXPECT_FALSE(service->handOverNote().isEmpty());
    service->upload({"/nonexistent.jpg", "", "", "", {}, "", ""});
    ASSERT_TRUE(events.waitForEnd());
    ASSERT_EQ(events.finished.size(), 1u);
    EXPECT_EQ(events.finished[0], QUrl("http://127.0.0.1:9/"));
    service->signIn();
    ASSERT_TRUE(events.waitForEnd());
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].message, service->handOverNote());
    EXPECT_FALSE(service->isSignedIn());
    qunsetenv("PIMAVO_FACEBOOK_URL");
}

} // namespace
